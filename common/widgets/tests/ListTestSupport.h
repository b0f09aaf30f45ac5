#pragma once
// A parent window for the skinned lists that reflects their notifications and
// keeps what they told it, the skin files the cases load, and mouse input
// posted as the system posts it.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ListCtrlOwnData.h"
#include "RecordListCtrl.h"
#include "SkinTestSupport.h"

class ListParent : public fw::Wnd {
 public:
  std::vector<CellLinkClick> linkClicks;
  std::vector<WPARAM> linkClickWParams;
  std::vector<RecordListNotify> recordNotifications;
  // The text of every callback cell, as a parent copies it into the list's
  // buffer, cut to the buffer's length.
  std::function<std::wstring(int row, int column)> cellText;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_NOTIFY && cellText && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynW(item.pszText, cellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
      return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == LCN_LINKCLICKED) {
      linkClicks.push_back(*reinterpret_cast<const CellLinkClick*>(lParam));
      linkClickWParams.push_back(wParam);
      return true;
    }
    if (message == WM_NOTIFY) {
      auto* notify = reinterpret_cast<const RecordListNotify*>(lParam);
      int code = static_cast<int>(notify->hdr.code);
      if (code == RLN_BUTTONCLICK || code == RLN_ROWCLICK) {
        recordNotifications.push_back(*notify);
        result = 0;
        return true;
      }
    }
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
};

inline void InsertColumns(HWND list, const std::vector<std::wstring>& names, int width) {
  for (size_t i = 0; i < names.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(names[i].c_str());
    column.cx = width;
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

// A row with its cells' texts, inserted at `at` (the end for -1); its index.
inline int InsertRow(HWND list, const std::vector<std::wstring>& cells, int at = -1) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = at < 0 ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : at;
  item.pszText = const_cast<wchar_t*>(cells.empty() ? L"" : cells[0].c_str());
  int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t i = 1; i < cells.size(); ++i) {
    LVITEMW sub{};
    sub.iSubItem = static_cast<int>(i);
    sub.pszText = const_cast<wchar_t*>(cells[i].c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
  }
  return row;
}

inline fw::CreateArgs ListArgs(HWND parent, int width, int height, DWORD style = 0) {
  fw::CreateArgs args;
  args.parent = parent;
  args.style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | style;
  args.width = width;
  args.height = height;
  args.x = args.y = 0;
  args.idOrMenu = 77;
  return args;
}

// A press and release at a client point, posted as the mouse posts them, and
// handled before this returns.
inline void ClickAt(HWND window, POINT point) {
  LPARAM at = MAKELPARAM(point.x, point.y);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(window, WM_LBUTTONUP, 0, at);
  PumpFor(60);
}

inline void MoveTo(HWND window, POINT point) {
  POINT screen = point;
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
  PumpFor(30);
}

// What the window shows on the screen after it painted.
inline std::unique_ptr<DibCanvas> ShownPixels(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(50);
  RECT client{};
  GetClientRect(window, &client);
  auto canvas = std::make_unique<DibCanvas>(client.right, client.bottom);
  HDC dc = GetDC(window);
  BitBlt(canvas->Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  return canvas;
}

inline RECT SubItemRect(HWND list, int row, int column) {
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  rect.top = column;
  SendMessageW(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

inline bool IsSelected(HWND list, int row) {
  return (SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

inline std::wstring ColourText(COLORREF colour) { return std::to_wstring(static_cast<unsigned>(colour)); }

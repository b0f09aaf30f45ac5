#pragma once
// Report lists read from another thread, and the parent's real keys and
// clicks (SendInput) on them.
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace paneltest {

inline int RowCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

inline std::wstring CellText(HWND list, int row, int column) {
  wchar_t text[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 1024;
  ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

inline std::vector<std::vector<std::wstring>> Rows(HWND list, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  for (int row = 0, count = RowCount(list); row < count; ++row) {
    rows.emplace_back();
    for (int column = 0; column < columns; ++column) rows.back().push_back(CellText(list, row, column));
  }
  return rows;
}

inline void SetCellText(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

inline int SelectedRow(HWND list) {
  return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// A point inside the cell, in the list's client coordinates.
inline POINT CellPoint(HWND list, int row, int column) {
  RECT rect{};
  rect.top = column;
  rect.left = LVIR_LABEL;
  ::SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  return POINT{rect.left + 8, (rect.top + rect.bottom) / 2};
}

inline INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

// Presses `key` while holding `modifiers`.
inline void PressKey(WORD key, std::initializer_list<WORD> modifiers = {}) {
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
  inputs.push_back(KeyInput(key, false));
  inputs.push_back(KeyInput(key, true));
  for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, true));
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t letter : text) {
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = letter;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Moves the pointer to `point` of `window`'s client area.
inline void MoveTo(HWND window, POINT point) {
  ::ClientToScreen(window, &point);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = point.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = point.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ::SendInput(1, &move, sizeof(INPUT));
}

inline void LeftButton(bool down) {
  INPUT button{};
  button.type = INPUT_MOUSE;
  button.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &button, sizeof(INPUT));
}

// One or two left clicks at `point` of `window`'s client area. The pointer
// moves first and settles: a move arriving between the button events would
// look like a drag to the list.
inline void ClickAt(HWND window, POINT point, int clicks = 1) {
  MoveTo(window, point);
  ::Sleep(150);
  std::vector<INPUT> inputs;
  for (int i = 0; i < clicks; ++i) {
    for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
      INPUT button{};
      button.type = INPUT_MOUSE;
      button.mi.dwFlags = flag;
      inputs.push_back(button);
    }
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Presses the left button at `from` and lets it go at `to`, both in
// `window`'s client area, passing through the points between.
inline void DragAt(HWND window, POINT from, POINT to) {
  MoveTo(window, from);
  ::Sleep(150);
  LeftButton(true);
  ::Sleep(100);
  for (int step = 1; step <= 4; ++step) {
    MoveTo(window, POINT{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    ::Sleep(50);
  }
  LeftButton(false);
}

}  // namespace paneltest

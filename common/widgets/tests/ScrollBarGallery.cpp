// Shows skinned scroll bars for a screenshot: a report list of 100 rows
// attached through the patch (flat), and a window with both bars and an
// inserted button (hot-tracked). Closes itself after the given milliseconds.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "CoolScrollBar.h"
#include "ScrollBarHook.h"
#include "ScrollTestWindow.h"

namespace {
LRESULT CALLBACK ListRows(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
    static std::wstring text;
    text = L"第 " + std::to_wstring(info->item.iItem + 1) + L" 行";
    if (info->item.mask & LVIF_TEXT) lstrcpynW(info->item.pszText, text.c_str(), info->item.cchTextMax);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}
}  // namespace

int main(int argc, char** argv) {
  const DWORD show = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 5000;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSW wc{};
  wc.lpfnWndProc = ListRows;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ScrollGalleryFrame";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassW(&wc);
  HWND frame = CreateWindowW(wc.lpszClassName, L"skinned scroll bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300,
                             260, nullptr, nullptr, wc.hInstance, nullptr);
  HWND list = CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDATA, 10, 10,
                            260, 190, frame, nullptr, nullptr, nullptr);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH | LVCF_TEXT;
  column.cx = 400;
  column.pszText = const_cast<wchar_t*>(L"名称");
  ListView_InsertColumn(list, 0, &column);
  CScrollBarHook::GetInstance().AttachWithStyle(list, SB_BOTH, 0);
  ListView_SetItemCountEx(list, 100, 0);

  ScrollTestWindow both(WS_VSCROLL | WS_HSCROLL, 220, 180);
  SetWindowPos(both.Hwnd(), nullptr, 360, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  CoolScrollInit(both.Hwnd());
  CoolScrollSetStyle(both.Hwnd(), SB_BOTH, kCsbHotTracked);
  both.SetRange(SB_VERT, 0, 99, 20, 30);
  both.SetRange(SB_HORZ, 0, 49, 25, 0);
  CoolScrollButton button{};
  button.mask = kSbbmKind | kSbbmId;
  button.kindStyle = kSbbToggle | kSbbsArrowDown;
  button.commandId = 1;
  CoolScrollInsertButton(both.Hwnd(), SB_HORZ, -1, &button);
  CoolScrollRedrawFrame(both.Hwnd(), TRUE);
  PumpMessagesFor(show);
  DestroyWindow(frame);
  return 0;
}

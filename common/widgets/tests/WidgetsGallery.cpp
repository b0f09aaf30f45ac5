// Shows the widgets in the default theme for a screenshot; closes itself
// after 30 seconds.
#include <windows.h>

#include "SkinTab.h"

namespace {

class GalleryWindow : public fw::Wnd {
 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    if (message == WM_CTLCOLORSTATIC) {
      result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
      return true;
    }
    return false;
  }
};

void ShowTabStrip(HWND parent, CSkinTab& tabs) {
  HWND control = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 700, 29, parent, nullptr,
                                   nullptr, nullptr);
  tabs.Subclass(control);
  const wchar_t* titles[] = {L"首页", L"收藏夹", L"历史记录"};
  tabs.SetItemCount(3);
  for (int i = 0; i < 3; ++i) {
    tabs.SetItemRect(i, i * 225, 0, i * 225 + 230, 29);
    tabs.SetItemBitmaps(i, L"theme\\default\\tab_nor_normal.bmp", L"theme\\default\\tab_nor_hover.bmp",
                        L"theme\\default\\tab_sel_normal.bmp");
    tabs.SetItemText(i, titles[i], DT_CENTER);
  }
  tabs.SelectItem(2);
  tabs.Send(WM_MOUSEMOVE, 0, MAKELPARAM(500, 10));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  GalleryWindow window;
  fw::CreateArgs args;
  args.title = L"Widgets";
  args.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
  args.x = 20, args.y = 20, args.width = 760, args.height = 480;
  if (!window.Create(args)) return 1;
  CSkinTab tabs;
  ShowTabStrip(window.Hwnd(), tabs);
  ::SetTimer(nullptr, 0, 30000, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && !msg.hwnd) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

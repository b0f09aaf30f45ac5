// Shows the widgets in the default theme for a screenshot; closes itself
// after 30 seconds.
#include <windows.h>

#include "ImageListHandle.h"

#include "CommHelper.h"
#include "MoveBarCtrl.h"
#include "SkinTab.h"

namespace {

class GalleryWindow : public fw::Wnd {
 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    if (message == WM_MOVEBAR_NOTIFY) {
      result = 1;  // every folder may open, every item may move
      return true;
    }
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

HIMAGELIST SystemIcons() {
  HIMAGELIST list = ::ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 4, 0);
  for (const wchar_t* icon : {IDI_INFORMATION, IDI_WARNING, IDI_QUESTION, IDI_APPLICATION}) {
    ::ImageList_AddIcon(list, ::LoadIconW(nullptr, icon));
  }
  return list;
}

void ShowFolderBar(HWND parent, CMoveBarCtrl& bar, HIMAGELIST icons) {
  bar.Create(WS_VISIBLE, {10, 60, 210, 440}, parent, 7, 0x3FC & ~MBS_ANIMATE);
  std::wstring skin = GetExeDir() + L"\\theme\\default\\skin.xml";
  bar.LoadSkin(L"movebar", skin.c_str());
  bar.SetImageList(icons, CMoveBarCtrl::kLarge);
  const wchar_t* folders[] = {L"我的游戏", L"故事", L"儿歌", L"动画片"};
  for (const wchar_t* name : folders) bar.AddFolder(name);
  const wchar_t* items[] = {L"拼图", L"找不同", L"涂色", L"数一数", L"记忆翻牌", L"连连看"};
  for (int i = 0; i < 6; ++i) bar.InsertItem(1, -1, items[i], i % 4);
  bar.SetSelFolder(1);
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
  CMoveBarCtrl bar;
  fw::ScopedImageList icons(SystemIcons());
  ShowFolderBar(window.Hwnd(), bar, icons.Get());
  ::SetTimer(nullptr, 0, 30000, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && !msg.hwnd) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

// Opens an owner-drawn menu for screenshots: the XP-like look, or the
// classic look with --classic. The first item is selected by a key press so
// that the highlight shows.
#include <windows.h>

#include <string>

#include "BCMenu.h"
#include "MenuTestResources.h"
#include "SkinTestSupport.h"
#include "Wnd.h"

namespace {

class Host : public fw::Wnd {
 public:
  BCMenu menu;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_MEASUREITEM:
        result = menu.MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return true;
      case WM_DRAWITEM:
        result = menu.DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return true;
      case WM_MENUCHAR:
        result = BCMenu::FindMnemonicItem(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return true;
      case WM_ENTERIDLE:
        if (!selected_) {
          selected_ = true;
          // Down, down: the second item (the first past the image) shows selected.
          PostMessageW(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, VK_DOWN, 0);
          PostMessageW(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, VK_DOWN, 0);
        }
        return false;
    }
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }

 private:
  bool selected_ = false;
};

void CALLBACK CloseMenu(HWND window, UINT, UINT_PTR, DWORD) {
  KillTimer(window, 1);
  EndMenu();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bool classic = argc > 1 && std::wstring(argv[1]) == L"--classic";
  DWORD stayMs = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 8000;
  BCMenu::SetDrawStyle(classic ? 0 : 1);

  Host host;
  fw::CreateArgs args;
  args.title = classic ? L"Menu gallery (classic)" : L"Menu gallery";
  args.x = 40;
  args.y = 40;
  args.width = 480;
  args.height = 360;
  if (!host.Create(args)) return 1;
  ShowWindow(host.Hwnd(), SW_SHOW);
  UpdateWindow(host.Hwnd());

  if (!host.menu.LoadMenu(IDR_TEST_MENU)) return 2;
  host.menu.AddToolbarImages(IDR_MENU_TOOLBAR);
  BCMenu* file = host.menu.GetSubMenu(0);
  file->AppendItem(L"", MF_STRING, 0);
  file->AppendItem(L"Single image", MF_STRING | MF_GRAYED, 120, IDB_MENU_SINGLE);
  file->AppendItem(L"Red square", MF_STRING, 121);
  file->ChangeItem(121, static_cast<const wchar_t*>(nullptr), RGB(220, 40, 40), RGB(0, 0, 0));
  file->AppendItem(L"Checked option", MF_STRING | MF_CHECKED, 122);

  // Closes the menu after a while so the program ends on its own.
  SetTimer(host.Hwnd(), 1, stayMs, CloseMenu);
  SetForegroundWindow(host.Hwnd());
  TrackPopupMenu(file->GetSafeHmenu(), TPM_LEFTALIGN | TPM_TOPALIGN, 80, 80, 0, host.Hwnd(), nullptr);
  return 0;
}

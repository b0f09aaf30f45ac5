// Shows the popup notifier with a text for a few seconds, to look at.
#include <windows.h>

#include "SkinTestSupport.h"
#include "TaskbarNotifier.h"

int main() {
  fw::Wnd owner;
  fw::CreateArgs args;
  args.style = WS_POPUP;
  owner.Create(args);
  CTaskbarNotifier notifier;
  notifier.SetCloseButtonRect(RECT{196, 6, 216, 24});
  notifier.Create(owner.Hwnd());
  HBITMAP skin = TwoToneBitmap(220, 90, RGB(255, 244, 200));
  notifier.SetSkin(skin, 255, 0, 255);
  DeleteObject(skin);
  notifier.SetTextFont(L"WenQuanYi Micro Hei", 120, 1, 5);
  notifier.SetTextColor(RGB(200, 60, 40), RGB(20, 80, 200));
  notifier.SetTextRect(RECT{10, 10, 190, 80});
  notifier.ShowText(L"噢，这个网页妈妈不让看哦...", 300, 4000, 300);
  PumpFor(4000);
  return 0;
}

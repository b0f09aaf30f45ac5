// Shows the popup notifier with a text for a few seconds, to look at.
#include <windows.h>

#include "TaskbarNotifier.h"

int main() {
  fw::Wnd owner;
  fw::CreateArgs args;
  args.style = WS_POPUP;
  owner.Create(args);
  CTaskbarNotifier notifier;
  notifier.SetCloseButtonRect(RECT{196, 6, 216, 24});
  notifier.Create(owner.Hwnd());
  HDC screen = GetDC(nullptr);
  HBITMAP skin = CreateCompatibleBitmap(screen, 220, 90);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, skin);
  RECT all{0, 0, 220, 90};
  HBRUSH fill = CreateSolidBrush(RGB(255, 244, 200));
  FillRect(dc, &all, fill);
  DeleteObject(fill);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  notifier.SetSkin(skin, 255, 0, 255);
  DeleteObject(skin);
  notifier.SetTextFont(L"WenQuanYi Micro Hei", 120, 1, 5);
  notifier.SetTextColor(RGB(200, 60, 40), RGB(20, 80, 200));
  notifier.SetTextRect(RECT{10, 10, 190, 80});
  notifier.ShowText(L"噢，这个网页妈妈不让看哦...", 300, 4000, 300);
  ULONGLONG end = GetTickCount64() + 4000;
  MSG message;
  while (GetTickCount64() < end) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(5);
  }
  return 0;
}

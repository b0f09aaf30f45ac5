// Gallery: a frame dialog from the shipped default theme hosting a child
// window, for screenshots. The first argument "max" opens it maximised; the
// second is how many seconds it stays (default 60).
#include <windows.h>

#include <cstdlib>
#include <string>

#include "FrameDlg.h"
#include "MessageLoop.h"
#include "SkinDialogsTestResources.h"
#include "SkinTestSupport.h"

int main(int argc, char** argv) {
  bool maximise = argc > 1 && std::string(argv[1]) == "max";
  int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
  HWND pane = CreateWindowExW(0, L"Static", L"儿童浏览器 - 画框对话框", WS_POPUP | SS_CENTER | SS_CENTERIMAGE, 0,
                              0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  CFrameDlg frame(IDD_FRAMEDLG_TEST, nullptr);
  frame.SetChildWnd(pane, 0, 0);
  if (!frame.CreateModeless()) return 1;
  ShowWindow(frame.Hwnd(), SW_SHOW);
  if (maximise) frame.OnMaxButton();
  PumpUntil([&] { return !IsWindow(frame.Hwnd()); }, static_cast<DWORD>(seconds) * 1000);
  return 0;
}

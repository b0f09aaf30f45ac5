// Gallery: a frame dialog from the shipped default theme hosting a child
// window, for screenshots. The first argument "max" opens it maximised;
// "captions" shows captioned buttons in the frame instead of the child (the
// caption font: the default, a height with bold, a skin's size without a
// face). The second is how many seconds it stays (default 60).
#include <windows.h>

#include <cstdlib>
#include <string>

#include "BkgBtn.h"
#include "ButtonST.h"
#include "FrameDlg.h"
#include "MessageLoop.h"
#include "SkinDialogsTestResources.h"
#include "SkinTestSupport.h"

namespace {

const COLORREF kBody = 15662079;  // the default theme's body colour

HWND MakeButton(HWND frame, const wchar_t* text, int y, UINT id) {
  return CreateWindowExW(0, L"Button", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 40, y, 300, 50, frame,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
  HWND pane = CreateWindowExW(0, L"Static", L"儿童浏览器 - 画框对话框", WS_POPUP | SS_CENTER | SS_CENTERIMAGE, 0,
                              0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  CFrameDlg frame(IDD_FRAMEDLG_TEST, nullptr);
  bool captions = mode == "captions";
  if (!captions) frame.SetChildWnd(pane, 0, 0);
  if (!frame.CreateModeless()) return 1;
  CButtonST plain, bold;
  CBkgBtn skinned;
  if (captions) {
    frame.Skin().SetItemText(L"title", L"按钮文字 Button captions", 0, false);
    plain.SubclassButton(MakeButton(frame.Hwnd(), L"默认字体 Default 12", 70, 101));
    bold.SubclassButton(MakeButton(frame.Hwnd(), L"加粗 Bold 24", 140, 102));
    bold.SetCaptionFont(L"", 24, CButtonST::BTNST_FONT_BOLD);
    skinned.SubclassButton(MakeButton(frame.Hwnd(), L"皮肤字号 Skin size 20", 210, 103));
    skinned.ApplyTextStyle(L"", 20, RGB(0, 70, 160), RGB(200, 0, 0));
    for (CButtonST* button : {static_cast<CButtonST*>(&plain), &bold, static_cast<CButtonST*>(&skinned)}) {
      button->SetColor(CButtonST::BTNST_COLOR_BK_OUT, kBody);
      button->SetColor(CButtonST::BTNST_COLOR_BK_FOCUS, kBody);
    }
  }
  ShowWindow(frame.Hwnd(), SW_SHOW);
  if (mode == "max") frame.OnMaxButton();
  PumpUntil([&] { return !IsWindow(frame.Hwnd()); }, static_cast<DWORD>(seconds) * 1000);
  return 0;
}

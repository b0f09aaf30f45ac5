// Shows a frame dialog and the message dialog of both types with the default
// theme for a few seconds, to look at.
#include <windows.h>

#include <cstdlib>

#include "FrameDlg.h"
#include "MsgDialog.h"
#include "SkinTestSupport.h"

namespace {

class GalleryFrame : public CFrameDlg {
 public:
  GalleryFrame() : CFrameDlg(300, nullptr) {}

 protected:
  BOOL OnInitDialog() override {
    CFrameDlg::OnInitDialog();
    SetText(L"小小浏览器");
    m_skin.SetItemText(L"title", L"小小浏览器", 0, true);
    return TRUE;
  }
};

void Place(HWND window, int x, int y) { SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }

}  // namespace

int main(int argc, char** argv) {
  DWORD seconds = argc > 1 ? static_cast<DWORD>(atoi(argv[1])) : 6;
  GalleryFrame frame;
  frame.CreateModeless();
  ShowWindow(frame.Hwnd(), SW_SHOW);
  Place(frame.Hwnd(), 20, 20);

  CMsgDialog okOnly(L"今天的上网时间已经用完啦，\n明天再来和小伙伴们一起玩吧！", nullptr, CMsgDialog::kOkOnly);
  okOnly.CreateModeless();
  ShowWindow(okOnly.Hwnd(), SW_SHOW);
  Place(okOnly.Hwnd(), 580, 20);

  CMsgDialog okCancel(L"确定要关闭浏览器吗？\n没看完的网页下次还能找到。", nullptr, CMsgDialog::kOkCancel);
  okCancel.CreateModeless();
  ShowWindow(okCancel.Hwnd(), SW_SHOW);
  Place(okCancel.Hwnd(), 580, 280);

  // The pointer rests on Cancel, to show the hover picture.
  PumpFor(500);
  RECT cancel{};
  GetWindowRect(okCancel.CancelButton().Hwnd(), &cancel);
  SetCursorPos((cancel.left + cancel.right) / 2, (cancel.top + cancel.bottom) / 2);
  PumpFor(seconds * 1000);
  return 0;
}

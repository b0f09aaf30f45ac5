#include "MessageLoop.h"

#include "Dialog.h"
#include "Wnd.h"

namespace fw {

bool PreTranslate(MSG& message) {
  HWND top = nullptr;
  for (HWND hwnd = message.hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
    if (Wnd* window = Wnd::FromHandle(hwnd); window && window->PreTranslateMessage(message)) return true;
    top = hwnd;
    if (!(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) break;
  }
  if (top && dynamic_cast<Dialog*>(Wnd::FromHandle(top))) return ::IsDialogMessageW(top, &message) != FALSE;
  return false;
}

void DispatchOne(MSG& message) {
  if (PreTranslate(message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

int RunMessageLoop() {
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) DispatchOne(message);
  return static_cast<int>(message.wParam);
}

bool RunModalLoop(const bool& ended) {
  MSG message{};
  while (!ended) {
    BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    if (got < 0) return false;
    DispatchOne(message);
  }
  return true;
}

}  // namespace fw

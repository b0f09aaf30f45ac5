#include "MessageLoop.h"

#include "Dialog.h"
#include "Wnd.h"

namespace fw {

bool PreTranslate(MSG& message) {
  // The outermost dialog owns keyboard navigation, also for a dialog placed
  // as a child inside another one.
  HWND outermostDialog = nullptr;
  for (HWND hwnd = message.hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
    Wnd* window = Wnd::FromHandle(hwnd);
    if (window && window->PreTranslateMessage(message)) return true;
    if (dynamic_cast<Dialog*>(window)) outermostDialog = hwnd;
    if (!(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) break;
  }
  return outermostDialog && ::IsDialogMessageW(outermostDialog, &message) != FALSE;
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

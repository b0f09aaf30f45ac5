#include "ModalOwner.h"

#include "App.h"

namespace fw {

HWND DefaultModalOwner() {
  if (HWND active = ::GetActiveWindow()) return active;
  App* app = App::Current();
  HWND main = app ? app->MainWindow() : nullptr;
  return main && ::IsWindow(main) ? main : nullptr;
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  return ::MessageBoxW(owner ? owner : DefaultModalOwner(), text.c_str(), caption.c_str(), type);
}

}  // namespace fw

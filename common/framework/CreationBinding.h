#pragma once
#include <windows.h>

namespace fw {

class Wnd;

// Binds the next window created on this thread to an object, from before its
// first message (WM_GETMINMAXINFO, WM_NCCREATE) on, for as long as the scope
// lives. Create and the dialog's DoModal/CreateModeless use it; scopes nest,
// so a window created inside another's WM_CREATE binds to its own object.
// Windows created inside the scope after the first one (a dialog's controls,
// a tooltip made in WM_CREATE) are left alone.
class CreationBinding {
 public:
  explicit CreationBinding(Wnd& window);
  ~CreationBinding();
  CreationBinding(const CreationBinding&) = delete;
  CreationBinding& operator=(const CreationBinding&) = delete;

  // The window bound in this scope, or nullptr while none was created.
  HWND Bound() const { return bound_; }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  bool Take(HWND hwnd);

  Wnd& window_;
  HWND bound_ = nullptr;
  CreationBinding* outer_ = nullptr;
  HHOOK hook_ = nullptr;
};

}  // namespace fw

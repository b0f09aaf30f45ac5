#include "CreationBinding.h"

#include "Wnd.h"

namespace fw {
namespace {

thread_local CreationBinding* innermostBinding = nullptr;
thread_local HHOOK creationHook = nullptr;

// The input-method windows the system makes beside a thread's first window
// are never the window being created by the caller.
bool IsInputMethodWindow(HWND hwnd) {
  wchar_t className[32] = {};
  ::GetClassNameW(hwnd, className, 32);
  return ::lstrcmpiW(className, L"IME") == 0 || ::lstrcmpiW(className, L"MSCTFIME UI") == 0;
}

}  // namespace

CreationBinding::CreationBinding(Wnd& window) : window_(window), outer_(innermostBinding) {
  // One hook serves all nested scopes of the thread: the outermost installs it.
  if (!creationHook) {
    creationHook = ::SetWindowsHookExW(WH_CBT, &HookProc, nullptr, ::GetCurrentThreadId());
    hook_ = creationHook;
  }
  innermostBinding = this;
}

CreationBinding::~CreationBinding() {
  innermostBinding = outer_;
  if (hook_) {
    ::UnhookWindowsHookEx(hook_);
    creationHook = nullptr;
  }
}

bool CreationBinding::Take(HWND hwnd) {
  if (bound_ || IsInputMethodWindow(hwnd)) return false;
  if (!window_.BindFromCreation(hwnd)) return false;
  bound_ = hwnd;
  return true;
}

LRESULT CALLBACK CreationBinding::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && innermostBinding) innermostBinding->Take(reinterpret_cast<HWND>(wParam));
  return ::CallNextHookEx(creationHook, code, wParam, lParam);
}

}  // namespace fw

#include "ActivityHook.h"

namespace {

bool ChainContains(HWND window, HWND ancestor) {
  for (HWND at = window; at; at = ::GetParent(at)) {
    if (at == ancestor) return true;
  }
  return false;
}

}  // namespace

ActivityHook& ActivityHook::Instance() {
  static ActivityHook instance;
  return instance;
}

ActivityHook::ActivityHook() {
  hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, &HookProc, nullptr, ::GetCurrentThreadId());
}

ActivityHook::~ActivityHook() {
  if (hook_) ::UnhookWindowsHookEx(hook_);
}

bool ActivityHook::Add(INotify* listener, HWND window) { return listeners_.Add(listener, window); }

void ActivityHook::Remove(INotify* listener) { listeners_.Remove(listener); }

bool ActivityHook::IsRegistered(INotify* listener) { return listeners_.Contains(listener); }

LRESULT CALLBACK ActivityHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  ActivityHook& self = Instance();
  if (code == HC_ACTION && lParam) {
    const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call.message == WM_SETFOCUS || call.message == WM_KILLFOCUS) self.Dispatch(call);
  }
  return ::CallNextHookEx(self.hook_, code, wParam, lParam);
}

void ActivityHook::Dispatch(const CWPSTRUCT& call) {
  listeners_.TellEach([&call](INotify* listener, HWND window) {
    if (ChainContains(call.hwnd, window)) listener->OnActivityChanged(call.message == WM_SETFOCUS, call.hwnd);
  });
}

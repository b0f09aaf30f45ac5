#include "ActivityHook.h"

#include <new>
#include <vector>

namespace {

class Lock {
 public:
  explicit Lock(CRITICAL_SECTION& section) : section_(section) { ::EnterCriticalSection(&section_); }
  ~Lock() { ::LeaveCriticalSection(&section_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CRITICAL_SECTION& section_;
};

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
  ::InitializeCriticalSection(&lock_);
  hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, &HookProc, nullptr, ::GetCurrentThreadId());
}

ActivityHook::~ActivityHook() {
  if (hook_) ::UnhookWindowsHookEx(hook_);
  ::DeleteCriticalSection(&lock_);
}

bool ActivityHook::Add(INotify* listener, HWND window) {
  Lock lock(lock_);
  try {
    listeners_[listener] = window;
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void ActivityHook::Remove(INotify* listener) {
  Lock lock(lock_);
  listeners_.erase(listener);
}

bool ActivityHook::IsRegistered(INotify* listener) {
  Lock lock(lock_);
  return listeners_.count(listener) != 0;
}

LRESULT CALLBACK ActivityHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  ActivityHook& self = Instance();
  if (code == HC_ACTION && lParam) {
    const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call.message == WM_SETFOCUS || call.message == WM_KILLFOCUS) self.Dispatch(call);
  }
  return ::CallNextHookEx(self.hook_, code, wParam, lParam);
}

void ActivityHook::Dispatch(const CWPSTRUCT& call) {
  Lock lock(lock_);
  // A listener may add or remove listeners (itself included) while it is
  // called: walk a copy and skip whoever left meanwhile.
  std::vector<std::pair<INotify*, HWND>> snapshot;
  try {
    snapshot.assign(listeners_.begin(), listeners_.end());
  } catch (const std::bad_alloc&) {
    return;
  }
  for (const auto& [listener, window] : snapshot) {
    auto still = listeners_.find(listener);
    if (still == listeners_.end() || still->second != window) continue;
    if (ChainContains(call.hwnd, window)) listener->OnActivityChanged(call.message == WM_SETFOCUS, call.hwnd);
  }
}

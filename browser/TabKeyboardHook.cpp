#include "TabKeyboardHook.h"

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

}  // namespace

KeyboardHook& KeyboardHook::Instance() {
  static KeyboardHook instance;
  return instance;
}

KeyboardHook::KeyboardHook() {
  ::InitializeCriticalSection(&lock_);
  hook_ = ::SetWindowsHookExW(WH_KEYBOARD, &HookProc, nullptr, ::GetCurrentThreadId());
}

KeyboardHook::~KeyboardHook() {
  if (hook_) ::UnhookWindowsHookEx(hook_);
  ::DeleteCriticalSection(&lock_);
}

bool KeyboardHook::Add(Notify* listener) {
  Lock lock(lock_);
  try {
    listeners_.insert(listener);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void KeyboardHook::Remove(Notify* listener) {
  Lock lock(lock_);
  listeners_.erase(listener);
}

bool KeyboardHook::IsRegistered(Notify* listener) {
  Lock lock(lock_);
  return listeners_.count(listener) != 0;
}

LRESULT CALLBACK KeyboardHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  KeyboardHook& self = Instance();
  // Bit 31 of the key data is set for a key going up.
  if (code == HC_ACTION && (static_cast<DWORD>(lParam) & 0x80000000u) == 0)
    self.Dispatch(static_cast<UINT>(wParam), lParam);
  return ::CallNextHookEx(self.hook_, code, wParam, lParam);
}

void KeyboardHook::Dispatch(UINT virtualKey, LPARAM keyData) {
  Lock lock(lock_);
  // A listener may leave (or let others leave) while it is called: walk a
  // copy and skip whoever left meanwhile.
  std::vector<Notify*> snapshot;
  try {
    snapshot.assign(listeners_.begin(), listeners_.end());
  } catch (const std::bad_alloc&) {
    return;
  }
  for (Notify* listener : snapshot) {
    if (listeners_.count(listener)) listener->OnKeyDown(virtualKey, keyData);
  }
}

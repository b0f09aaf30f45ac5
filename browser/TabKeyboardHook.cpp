#include "TabKeyboardHook.h"

KeyboardHook& KeyboardHook::Instance() {
  static KeyboardHook instance;
  return instance;
}

KeyboardHook::KeyboardHook() {
  hook_ = ::SetWindowsHookExW(WH_KEYBOARD, &HookProc, nullptr, ::GetCurrentThreadId());
}

KeyboardHook::~KeyboardHook() {
  if (hook_) ::UnhookWindowsHookEx(hook_);
}

bool KeyboardHook::Add(Notify* listener) { return listeners_.Add(listener); }

void KeyboardHook::Remove(Notify* listener) { listeners_.Remove(listener); }

bool KeyboardHook::IsRegistered(Notify* listener) { return listeners_.Contains(listener); }

LRESULT CALLBACK KeyboardHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  KeyboardHook& self = Instance();
  // Bit 31 of the key data is set for a key going up.
  if (code == HC_ACTION && (static_cast<DWORD>(lParam) & 0x80000000u) == 0)
    self.Dispatch(static_cast<UINT>(wParam), lParam);
  return ::CallNextHookEx(self.hook_, code, wParam, lParam);
}

void KeyboardHook::Dispatch(UINT virtualKey, LPARAM keyData) {
  listeners_.TellEach([virtualKey, keyData](Notify* listener, bool) { listener->OnKeyDown(virtualKey, keyData); });
}

#include "KeyWatch.h"

#include <thread>

#include "BrowserDriver.h"

namespace {

KeyWatch* g_watch = nullptr;
// A key no combination names and no window acts on.
const WORD kMarkerKey = VK_F24;

bool IsModifier(DWORD key) {
  switch (key) {
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL:
    case VK_MENU: case VK_LMENU: case VK_RMENU:
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT:
      return true;
    default:
      return false;
  }
}

}  // namespace

KeyWatch::KeyWatch() {
  g_watch = this;
  WNDCLASSW type{};
  type.lpszClassName = L"HollinKeyWatch";
  type.lpfnWndProc = &KeyWatch::WindowProc;
  type.hInstance = ::GetModuleHandleW(nullptr);
  ::RegisterClassW(&type);
  window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, type.lpszClassName, L"keys", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40,
                              nullptr, nullptr, type.hInstance, nullptr);
  hook_ = ::SetWindowsHookExW(WH_KEYBOARD_LL, &KeyWatch::HookProc, ::GetModuleHandleW(nullptr), 0);
}

KeyWatch::~KeyWatch() {
  if (hook_) ::UnhookWindowsHookEx(hook_);
  if (window_) ::DestroyWindow(window_);
  g_watch = nullptr;
}

bool KeyWatch::TakeFocus() const {
  ::SetForegroundWindow(window_);
  ::SetFocus(window_);
  return BrowserDriver::WaitUntil([this] { return ::GetForegroundWindow() == window_; }, 3000);
}

std::set<DWORD> KeyWatch::Type(const std::vector<WORD>& chord) {
  pressed_.clear();
  markerSeen_ = false;
  std::thread typist([chord] {
    BrowserDriver::PressChord(chord);
    BrowserDriver::PressChord({kMarkerKey});
  });
  // Long enough for every key of a chord to wait out a hook the system then
  // gives up on (two seconds each under Wine).
  BrowserDriver::WaitUntil([this] { return markerSeen_; }, 15000);
  typist.join();
  return std::set<DWORD>(pressed_.begin(), pressed_.end());
}

void KeyWatch::Received(UINT message, DWORD key) {
  if (message == WM_KEYUP && key == kMarkerKey) markerSeen_ = true;
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) pressed_.push_back(key);
}

LRESULT CALLBACK KeyWatch::HookProc(int code, WPARAM message, LPARAM event) {
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
  if (code != HC_ACTION || !g_watch || !key) return ::CallNextHookEx(nullptr, code, message, event);
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  if (key->vkCode == kMarkerKey) {
    if (!down) g_watch->markerSeen_ = true;
    return 1;
  }
  if (down) g_watch->pressed_.push_back(key->vkCode);
  return IsModifier(key->vkCode) ? ::CallNextHookEx(nullptr, code, message, event) : 1;
}

LRESULT CALLBACK KeyWatch::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_watch) g_watch->Received(message, static_cast<DWORD>(wParam));
  // A lone Alt released here must not open a menu loop.
  if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR) return 0;
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) return 0;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

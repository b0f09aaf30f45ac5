#pragma once
#include <windows.h>

#include <set>
#include <vector>

// The driver's own low-level keyboard hook and a window of its own to take
// the keyboard focus. Installed before the browser starts, the hook is
// called after the browser's (the newest hook is asked first), so it sees
// exactly the keys the browser let pass. It keeps every key but the
// modifiers from going further, so that no passed Tab, Esc or Windows key
// acts on the desktop; the modifiers pass so that the browser reads them as
// held. A key whose hook the system gave up waiting for goes to the focused
// window without the later hooks being asked, so the watch's window, which
// holds the focus while it types, records what reaches it as well.
class KeyWatch {
 public:
  KeyWatch();
  ~KeyWatch();
  KeyWatch(const KeyWatch&) = delete;
  KeyWatch& operator=(const KeyWatch&) = delete;

  bool Installed() const { return hook_ != nullptr && window_ != nullptr; }
  // Gives the focus to the watch's window.
  bool TakeFocus() const;
  bool HasFocus() const { return ::GetForegroundWindow() == window_; }
  // Presses the keys in order and releases them in reverse order from
  // another thread while this one answers the hook, then a marker key;
  // returns the keys whose press reached the hook or the window before the
  // marker's.
  std::set<DWORD> Type(const std::vector<WORD>& chord);

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM message, LPARAM event);
  // A key message that reached the window past every hook.
  void Received(UINT message, DWORD key);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HHOOK hook_ = nullptr;
  HWND window_ = nullptr;
  std::vector<DWORD> pressed_;
  bool markerSeen_ = false;
};

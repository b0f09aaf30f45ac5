#pragma once
#include <windows.h>

// The two words every browser process of the machine shares: word 0 the main
// window of the registered browser, word 1 the flag that the day's online
// time is used up. Word 0 is 32 bits on every build: window handles are
// 32-bit values that 64-bit Windows sign-extends.
class CSharedState {
 public:
  // Over the program's shared section.
  CSharedState();
  // Over two words of the caller's (tests).
  explicit CSharedState(volatile LONG* words) : words_(words) {}

  // Registers `window` when word 0 names no live main window of this
  // program; a stale handle is replaced in one interlocked step, so two
  // browsers registering at once never both win.
  void SetMainWindowIfEmpty(HWND window);
  void ClearMainWindowIfOwn(HWND window);
  // Empties word 0 when it holds `window`, which stays marked as a browser's
  // main window (also when it never held word 0): a browser that may not
  // count any more hands the registration to one that may.
  void GiveUpMainWindow(HWND window);
  HWND GetMainWindow() const;
  int IsTimeUp() const;
  void SetTimeUp(int value);

  bool IsOwnMainWindow(HWND window) const { return window && GetMainWindow() == window; }

  // A window that registration marked and that still exists. Anything else
  // in word 0 (a handle whose browser died, since reused by an unrelated
  // window) counts as empty.
  static bool IsLiveMainWindow(HWND window);

  static HWND FromWord(LONG word);
  static LONG ToWord(HWND window);

 private:
  static void Mark(HWND window);

  volatile LONG* words_;
};

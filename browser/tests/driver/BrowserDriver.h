#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Drives one running browser process from outside, as the child and the
// parent would: its main window (found by the process and the mark the
// window gets when it registers), its pages, its notifier, its dialogs and
// message boxes, the hand-over message and the minute timer. Every wait has
// a deadline; the waits poll the windows, they never sleep a fixed time.
class BrowserDriver {
 public:
  static const int kStripId = 3001;
  static const int kPageId = 3010;
  static const int kAddressBoxId = 1031;
  static const UINT_PTR kMinuteTimer = 1002;
  static const ULONG_PTR kOpenUrl = 10056;

  explicit BrowserDriver(DWORD processId) : processId_(processId) {}

  // Polls `done` until it holds or the time is up.
  static bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds = 10000);

  // The process's main window once it shows and has finished the start it
  // shows in (the tabs' page pool, the timers), or null.
  HWND WaitForMainWindow(DWORD milliseconds = 15000, bool untilStarted = true);
  HWND Main() const { return main_; }
  // The browser's main windows of the process, shown or not.
  std::vector<HWND> MainWindows() const;
  // Visible top-level windows of the process.
  std::vector<HWND> TopLevelWindows() const;

  int PageCount() const;
  // The page window of the selected tab: the one page that shows.
  HWND ShownPage() const;
  std::wstring AddressText() const;
  // Returns once the browser's thread has handled everything posted to it
  // before this call (it answers a sent message only between two posted ones).
  bool Sync() const;

  // WM_COPYDATA with `kind` and `bytes` as they are; its reply.
  LRESULT HandOver(const std::string& bytes, ULONG_PTR kind = kOpenUrl) const;
  // The URL in the ANSI code page with its terminating zero, as a starting
  // browser sends it.
  LRESULT HandOverUrl(const std::wstring& url) const;
  // One tick of the minute timer, handled before this returns.
  void StepMinute() const;

  // The popup notifier: owned by the main window, with its close button.
  HWND Notifier() const;
  std::wstring NotifierText() const;
  // Empties the notifier's window text so that the next text shown is seen
  // even when it equals the last one.
  void ForgetNotifierText() const;
  // The next text the notifier shows, "" when none comes in time.
  std::wstring WaitForNotifierText(DWORD milliseconds = 5000) const;

  // A visible top-level window of the process with this caption.
  HWND FindWindowTitled(const std::wstring& caption) const;
  HWND WaitForWindowTitled(const std::wstring& caption, DWORD milliseconds = 8000) const;
  // A message box of the process: a dialog titled "提示" with the box's text.
  HWND FindMessageBox() const;
  HWND WaitForMessageBox(DWORD milliseconds = 8000) const;
  static std::wstring MessageBoxText(HWND box);
  // Posts a button's click to a dialog of the process.
  static void Click(HWND dialog, int id);
  static void SetItemText(HWND dialog, int id, const std::wstring& text);
  static std::wstring Text(HWND window);
  static bool WaitGone(HWND window, DWORD milliseconds = 8000);

  // Makes the main window the foreground window with its focus where the
  // browser put it, so that typed keys reach it.
  bool BringToFront() const;
  // Keys through SendInput: each virtual key pressed in order, then all
  // released in reverse order.
  static void PressChord(const std::vector<WORD>& keys);

 private:
  DWORD processId_;
  HWND main_ = nullptr;
};

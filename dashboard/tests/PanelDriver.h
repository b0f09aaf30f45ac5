#pragma once
// Runs the control panel on the test's thread while a driver thread acts on
// its windows the way a parent would: clicks, typing, answering the "提示"
// boxes. Every wait has a deadline; a script that cannot go on ends all modal
// loops with WM_QUIT, so a fault shows as a failure, never as a hang.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace paneltest {

// What a wait's finder returns for "the awaited state holds" when there is
// no window to return.
inline const HWND kDone = reinterpret_cast<HWND>(static_cast<INT_PTR>(1));

struct DriverError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Driver {
 public:
  explicit Driver(DWORD uiThread) : uiThread_(uiThread) {}
  // Windows of the thread that were there before the panel (the caller's).
  void IgnoreExisting() { ignored_ = TopLevelWindows(); }

  // The first window `find` returns within the deadline.
  HWND WaitFor(const std::function<HWND()>& find, const char* what, DWORD milliseconds = 8000) const {
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
      if (HWND found = find()) return found;
      ::Sleep(30);
    }
    throw DriverError(std::string("timed out waiting for ") + what);
  }
  // True when `find` returns a window within the time.
  bool Appears(const std::function<HWND()>& find, DWORD milliseconds) const {
    try {
      WaitFor(find, "", milliseconds);
      return true;
    } catch (const DriverError&) {
      return false;
    }
  }

  std::vector<HWND> TopLevelWindows() const {
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        uiThread_,
        [](HWND window, LPARAM list) CALLBACK {
          if (::IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    for (HWND old : ignored_) windows.erase(std::remove(windows.begin(), windows.end(), old), windows.end());
    return windows;
  }
  // The visible top-level dialog of the panel's thread that holds control `id`.
  HWND DialogWith(int id, const wchar_t* controlClass = nullptr) const {
    for (HWND window : TopLevelWindows()) {
      HWND control = ::GetDlgItem(window, id);
      if (!control || !IsClass(window, L"#32770")) continue;
      if (controlClass && !IsClass(control, controlClass)) continue;
      return window;
    }
    return nullptr;
  }
  HWND FindPanel() const { return DialogWith(1009); }
  HWND FindPrompt() const { return DialogWith(1042, L"Edit"); }
  // A message box titled "提示".
  HWND FindNotice() const {
    for (HWND window : TopLevelWindows()) {
      if (IsClass(window, L"#32770") && Text(window) == L"提示" && ::GetDlgItem(window, 0xFFFF)) return window;
    }
    return nullptr;
  }
  HWND Panel() const { return WaitFor([this] { return FindPanel(); }, "the panel"); }
  HWND Prompt() const { return WaitFor([this] { return FindPrompt(); }, "the password prompt"); }
  HWND Notice() const { return WaitFor([this] { return FindNotice(); }, "a message box"); }
  // Waits for a message box, reads it and answers it.
  std::wstring Answer(int button) const {
    HWND box = Notice();
    std::wstring text = Text(::GetDlgItem(box, 0xFFFF));
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
    WaitFor([box] { return ::IsWindow(box) ? nullptr : kDone; }, "the message box to close");
    return text;
  }
  // Gives the prompt a password and presses its OK.
  void EnterPassword(const std::wstring& password) const {
    HWND prompt = Prompt();
    ::SendMessageW(::GetDlgItem(prompt, 1042), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password.c_str()));
    Click(prompt, IDOK);
  }

  // The page of the panel that holds control `id`, visible or not.
  // Pages share control ids, so the page that shows is preferred.
  HWND Page(int id) const {
    HWND panel = Panel();
    HWND hidden = nullptr;
    for (HWND child = ::GetWindow(panel, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (!IsClass(child, L"#32770") || !::GetDlgItem(child, id)) continue;
      if (::IsWindowVisible(child)) return child;
      if (!hidden) hidden = child;
    }
    if (hidden) return hidden;
    throw DriverError("no page holds control " + std::to_string(id));
  }
  // The pages of the panel that show now.
  std::vector<HWND> VisiblePages() const {
    std::vector<HWND> pages;
    HWND panel = Panel();
    for (HWND child = ::GetWindow(panel, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (IsClass(child, L"#32770") && ::IsWindowVisible(child)) pages.push_back(child);
    }
    return pages;
  }
  bool Shows(int id) const {
    std::vector<HWND> pages = VisiblePages();
    return pages.size() == 1 && ::GetDlgItem(pages[0], id);
  }
  // The panel slides in before it shows its first page: a page just after
  // the panel appeared is awaited, not read at once.
  bool ComesToShow(int id, DWORD milliseconds = 3000) const {
    return Appears([&] { return Shows(id) ? kDone : nullptr; }, milliseconds);
  }

  // A button press as Windows reports it; posted, since it may open a modal box.
  static void Click(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
  }
  // A check box or radio button the parent clicked into `checked`.
  static void SetCheck(HWND page, int id, bool checked) {
    HWND box = ::GetDlgItem(page, id);
    ::SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(box));
  }
  static bool IsChecked(HWND page, int id) { return ::SendMessageW(::GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  static bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }
  // Typing into an edit: the edit reports the change itself.
  static void Type(HWND page, int id, const std::wstring& text) {
    ::SendMessageW(::GetDlgItem(page, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  static void Choose(HWND page, int id, const std::wstring& entry) {
    HWND combo = ::GetDlgItem(page, id);
    LRESULT index = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
    if (index == CB_ERR) throw DriverError("no such entry");
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }
  static std::wstring ComboSelection(HWND page, int id) {
    HWND combo = ::GetDlgItem(page, id);
    LRESULT index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return L"<none>";
    wchar_t text[512] = {};
    ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
  }
  static std::vector<std::wstring> ComboEntries(HWND page, int id) {
    HWND combo = ::GetDlgItem(page, id);
    std::vector<std::wstring> entries;
    LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t text[512] = {};
      ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      entries.push_back(text);
    }
    return entries;
  }
  static std::wstring Text(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
  }
  static std::wstring ItemText(HWND dialog, int id) { return Text(::GetDlgItem(dialog, id)); }
  static bool IsClass(HWND window, const wchar_t* name) {
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    return ::lstrcmpiW(className, name) == 0;
  }
  // Waits until `window` is gone (the panel closed, the prompt ended).
  void WaitGone(HWND window, const char* what) const {
    WaitFor([window] { return ::IsWindow(window) ? nullptr : kDone; }, what);
  }

  DWORD UiThread() const { return uiThread_; }

 private:
  DWORD uiThread_;
  std::vector<HWND> ignored_;
};

// Puts the pointer in the screen's corner, away from where the panel
// opens: left over a link or a button by an earlier program, it would show
// the control's tooltip, one more window of the panel's thread.
inline void ParkPointer() { ::SetCursorPos(0, 0); }

struct PanelRun {
  int result = -1;
  std::string failure;  // empty when the script went through
};

// Calls `show` (ShowDashBoard) on this thread while `script` drives it.
inline PanelRun RunPanel(const std::function<int()>& show, const std::function<void(Driver&)>& script) {
  PanelRun run;
  ParkPointer();
  Driver driver(::GetCurrentThreadId());
  driver.IgnoreExisting();
  std::thread actor([&] {
    try {
      script(driver);
      driver.WaitFor([&] { return driver.TopLevelWindows().empty() ? kDone : nullptr; },
                     "the panel's windows to close after the script");
    } catch (const std::exception& error) {
      run.failure = error.what();
      // Ends the message box, prompt and panel loops the script left open.
      for (int i = 0; i < 10 && !driver.TopLevelWindows().empty(); ++i) {
        ::PostThreadMessageW(driver.UiThread(), WM_QUIT, 0, 0);
        ::Sleep(300);
      }
    }
  });
  run.result = show();
  actor.join();
  MSG quit;
  while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  return run;
}

}  // namespace paneltest

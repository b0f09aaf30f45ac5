#pragma once
// Drives the real modal sheet from the test thread: a thread timer runs one
// step per tick inside whatever modal loop is running (the sheet's, a message
// box's). Each step waits until it can act, then acts as the user would:
// clicks by BM_CLICK, typing by WM_CHAR, keys by WM_KEYDOWN.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "AutoStart.h"
#include "WizardMain.h"
#include "ComSupport.h"
#include "CommHelper.h"
#include "DataFolderTest.h"
#include "ProgramStarter.h"

namespace wizard_test {

const int kBack = 0x3023;
const int kNext = 0x3024;
const int kFinish = 0x3025;
const int kHelp = 9;
const wchar_t kQuestion[] = L"您已经对设置作了修改，是否保存？";

inline std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  return name;
}

inline std::wstring TextOf(HWND hwnd) {
  wchar_t text[512] = {};
  ::GetWindowTextW(hwnd, text, 512);
  return text;
}

// A visible top-level dialog of this thread titled `title` whose texts hold
// `containing`.
struct DialogSearch {
  DWORD pid;  // 0: this thread's windows
  std::wstring title, containing;
  int childId;
  HWND found = nullptr;
};

// A visible dialog titled `title` (any when empty), with a child `childId`
// (any when 0) and texts holding `containing`.
inline BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM data) {
  auto* s = reinterpret_cast<DialogSearch*>(data);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if ((s->pid && owner != s->pid) || !::IsWindowVisible(hwnd) || ClassOf(hwnd) != L"#32770") return TRUE;
  if (!s->title.empty() && TextOf(hwnd) != s->title) return TRUE;
  if (s->childId && !::GetDlgItem(hwnd, s->childId)) return TRUE;
  std::wstring texts;
  for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    texts += TextOf(child) + L"\n";
  if (texts.find(s->containing) == std::wstring::npos) return TRUE;
  s->found = hwnd;
  return FALSE;
}

// A dialog of this thread.
inline HWND FindDialog(const std::wstring& title, const std::wstring& containing = L"") {
  DialogSearch search{0, title, containing, 0};
  ::EnumThreadWindows(::GetCurrentThreadId(), &MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A dialog of process `pid`.
inline HWND FindProcessDialog(DWORD pid, const std::wstring& title, int childId = 0,
                              const std::wstring& containing = L"") {
  DialogSearch search{pid, title, containing, childId};
  ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Counts the message boxes titled "提示" made on this thread.
class BoxCounter {
 public:
  BoxCounter() {
    current = this;
    hook_ = ::SetWindowsHookExW(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId());
  }
  ~BoxCounter() {
    ::UnhookWindowsHookEx(hook_);
    current = nullptr;
  }
  int Count() const { return static_cast<int>(seen_.size()); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    // The system titles its boxes after creation: counted when first shown.
    // Wine also calls this thread's hook when it activates another program's
    // window (the next one in line when the sheet goes): a box of another
    // test on the display is none of ours.
    if (code == HCBT_ACTIVATE && current) {
      HWND box = reinterpret_cast<HWND>(wParam);
      if (::GetWindowThreadProcessId(box, nullptr) == ::GetCurrentThreadId() && TextOf(box) == L"提示" &&
          ClassOf(box) == L"#32770")
        current->seen_.insert(box);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline BoxCounter* current = nullptr;
  HHOOK hook_ = nullptr;
  std::set<HWND> seen_;
};

// The steps of one run of the wizard.
class WizardRun {
 public:
  explicit WizardRun(CWizardMain& sheet) : sheet_(sheet) {}

  HWND Sheet() const { return sheet_.Hwnd(); }
  HWND CurrentPage() const { return Sheet() ? PropSheet_GetCurrentPageHwnd(Sheet()) : nullptr; }
  int CurrentIndex() const {
    HWND page = CurrentPage();
    return page ? static_cast<int>(::SendMessageW(Sheet(), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0)) : -1;
  }
  HWND PageItem(int id) const { return ::GetDlgItem(CurrentPage(), id); }
  bool Idle() const { return Sheet() && ::IsWindowEnabled(Sheet()) && CurrentPage(); }

  // Clicks a button of the sheet itself.
  WizardRun& Click(int id) {
    return Step("click sheet button " + std::to_string(id), [this, id] {
      HWND button = ::GetDlgItem(Sheet(), id);
      if (!Idle() || !button || !::IsWindowEnabled(button)) return false;
      ::PostMessageW(button, BM_CLICK, 0, 0);
      return true;
    });
  }
  // Clicks a control of page `page` once it shows.
  WizardRun& ClickOn(int page, int id) {
    return Step("click page control " + std::to_string(id), [this, page, id] {
      if (!Idle() || CurrentIndex() != page || !PageItem(id)) return false;
      ::PostMessageW(PageItem(id), BM_CLICK, 0, 0);
      return true;
    });
  }
  // Replaces the text of an edit of page `page` by typing.
  WizardRun& Type(int page, int id, const std::wstring& text) {
    return Step("type into " + std::to_string(id), [this, page, id, text] {
      if (!Idle() || CurrentIndex() != page || !PageItem(id)) return false;
      HWND edit = PageItem(id);
      ::PostMessageW(edit, EM_SETSEL, 0, -1);
      if (text.empty()) ::PostMessageW(edit, WM_CHAR, VK_BACK, 0);
      for (wchar_t c : text) ::PostMessageW(edit, WM_CHAR, c, 0);
      return true;
    });
  }
  // Picks an entry of a drop-down list as the list reports it.
  WizardRun& Pick(int page, int id, const std::wstring& entry) {
    return Step("pick in " + std::to_string(id), [this, page, id, entry] {
      if (!Idle() || CurrentIndex() != page || !PageItem(id)) return false;
      ::SendMessageW(PageItem(id), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
      ::PostMessageW(CurrentPage(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(PageItem(id)));
      return true;
    });
  }
  // Sends a message to the sheet window (posted, as the system would).
  WizardRun& Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return Step("post " + std::to_string(message), [this, message, wParam, lParam] {
      if (!Idle()) return false;
      ::PostMessageW(Sheet(), message, wParam, lParam);
      return true;
    });
  }
  // A key pressed in the focused control of the current page.
  WizardRun& Key(int page, UINT key) {
    return Step("key " + std::to_string(key), [this, page, key] {
      if (!Idle() || CurrentIndex() != page) return false;
      HWND target = ::GetFocus();
      if (!target || (target != Sheet() && !::IsChild(Sheet(), target))) target = ::GetDlgItem(Sheet(), kNext);
      ::PostMessageW(target, WM_KEYDOWN, key, 0);
      return true;
    });
  }
  // Clicks `button` of the box titled "提示" that says `text`.
  WizardRun& Answer(const std::wstring& text, int button) {
    return Step("answer the box", [text, button] {
      HWND box = FindDialog(L"提示", text);
      if (!box || !::GetDlgItem(box, button)) return false;
      ::PostMessageW(::GetDlgItem(box, button), BM_CLICK, 0, 0);
      return true;
    });
  }
  // While the box saying `text` is open, asks the sheet to close again.
  WizardRun& CloseWhileAsked(const std::wstring& text) {
    return Step("close while asked", [this, text] {
      if (!FindDialog(L"提示", text)) return false;
      ::PostMessageW(Sheet(), WM_CLOSE, 0, 0);
      return true;
    });
  }
  // Runs `check` once page `page` shows and no box is open.
  WizardRun& At(int page, std::function<void()> check) {
    return Step("check", [this, page, check] {
      if (!Idle() || CurrentIndex() != page) return false;
      check();
      return true;
    });
  }

  // Runs the sheet modally with the steps; false with the stuck step in
  // Failure() when a step or the end of the sheet did not come in time.
  bool Go(DWORD timeoutMs = 20000) {
    current = this;
    deadline_ = ::GetTickCount() + timeoutMs;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 40, &Tick);
    sheet_.Flags() |= PSH_WIZARD | PSH_HASHELP;
    sheet_.DoModal();
    ::KillTimer(nullptr, timer);
    current = nullptr;
    MSG quit;
    while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) ++quitPosted_;
    if (next_ < steps_.size() && failure_.empty()) failure_ = "the sheet ended before: " + steps_[next_].name;
    return failure_.empty();
  }
  const std::string& Failure() const { return failure_; }
  int QuitPosted() const { return quitPosted_; }

 private:
  struct Named {
    std::string name;
    std::function<bool()> act;
  };
  WizardRun& Step(std::string name, std::function<bool()> act) {
    steps_.push_back({std::move(name), std::move(act)});
    return *this;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    WizardRun* run = current;
    if (!run) return;
    if (::GetTickCount() > run->deadline_) {
      if (run->failure_.empty())
        run->failure_ = run->next_ < run->steps_.size() ? "stuck at: " + run->steps_[run->next_].name
                                                        : "the sheet did not end";
      ::PostQuitMessage(0);  // ends every modal loop on the way out
      return;
    }
    if (run->next_ >= run->steps_.size()) return;
    // Taken before acting: an act may run a modal loop whose ticks go on.
    Named& step = run->steps_[run->next_];
    ++run->next_;
    if (!step.act()) --run->next_;
  }
  static inline WizardRun* current = nullptr;

  CWizardMain& sheet_;
  std::vector<Named> steps_;
  size_t next_ = 0;
  DWORD deadline_ = 0;
  std::string failure_;
  int quitPosted_ = 0;
};

// Records the programs the wizard starts.
struct StartRecord {
  std::wstring program, arguments;
};
inline std::vector<StartRecord>& Starts() {
  static std::vector<StartRecord> starts;
  return starts;
}
inline bool RecordStart(const std::wstring& program, const std::wstring& arguments) {
  Starts().push_back({program, arguments});
  return true;
}

// A value of the Run key, kept to be put back.
struct RegistryValue {
  std::wstring name;
  DWORD type = 0;
  std::vector<BYTE> data;
};

inline std::vector<RegistryValue> RunKeyValues() {
  std::vector<RegistryValue> values;
  HKEY key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kAutoStartKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256, type = 0, size = 0;
    if (::RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    RegistryValue value{name, type, std::vector<BYTE>(size)};
    nameLength = 256;
    ::RegEnumValueW(key, i, name, &nameLength, nullptr, &type, value.data.data(), &size);
    values.push_back(value);
  }
  ::RegCloseKey(key);
  return values;
}

inline void RestoreRunKey(const std::vector<RegistryValue>& values) {
  HKEY key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kAutoStartKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  ::RegDeleteValueW(key, kAutoStartValueName);
  for (const RegistryValue& value : values)
    ::RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
  ::RegCloseKey(key);
}

// The Run value's text, or "(none)".
inline std::wstring RunValue() {
  wchar_t text[520] = {};
  DWORD size = sizeof(text) - sizeof(wchar_t), type = 0;
  HKEY key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kAutoStartKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"(none)";
  LONG read = ::RegQueryValueExW(key, kAutoStartValueName, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  ::RegCloseKey(key);
  return read == ERROR_SUCCESS && type == REG_SZ ? std::wstring(text) : L"(none)";
}

// Each case: an empty data folder, no Run value of ours (both put back
// after), and program starts recorded.
class WizardTest : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    savedRunKey_ = RunKeyValues();
    RestoreRunKey(savedRunKey_);
    HKEY key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kAutoStartKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      ::RegDeleteValueW(key, kAutoStartValueName);
      ::RegCloseKey(key);
    }
    Starts().clear();
    CWizardMain::startProgram = &RecordStart;
  }
  void TearDown() override {
    CWizardMain::startProgram = &CProgramStarter::Start;
    RestoreRunKey(savedRunKey_);
  }

  // Stores a record as another program would have left it.
  void StoreSettings(const std::function<void(CSysConf&)>& change) {
    CSysConf settings;
    change(settings);
    ASSERT_EQ(1, settings.Save());
  }
  std::string Files() const { return ReadFile(L"conf\\sys.conf") + "|" + ReadFile(L"conf\\acc.conf"); }
  static std::wstring ExpectedRunValue() {
    return L"\"" + CCommHelper::GetExeDir() + L"\\Brivan.exe\" -startup";
  }
  static std::wstring Program(const wchar_t* name) { return CCommHelper::GetThisModuleDir() + L"\\" + name; }

  std::vector<RegistryValue> savedRunKey_;
  fw::ComThreadScope com_;
};

}  // namespace wizard_test

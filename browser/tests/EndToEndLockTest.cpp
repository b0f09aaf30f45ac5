// Lock mode as a child meets it: the browser covers the screen, stays on
// top, and neither closes, hides, moves nor lets the system keys through
// without the parent password.
#include "EndToEndTest.h"
#include "Handles.h"
#include "KeyWatch.h"

namespace {

const wchar_t kAuthCaption[] = L"安全验证";
const wchar_t kWrongPassword[] = L"密码错误，请重新输入";
const int kPasswordEdit = 1042;

class LockEndToEnd : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    settings_.fullscreen_always = 1;
    settings_.exit_need_pwd = 1;
    settings_.block_key = 1;
    SaveSettings();
  }

  // The password prompt a way out brings up, owned by the main window.
  HWND Prompt(const BrowserDriver& browser) {
    HWND prompt = browser.WaitForWindowTitled(kAuthCaption);
    EXPECT_TRUE(prompt) << "no password prompt";
    if (prompt) {
      EXPECT_EQ(browser.Main(), ::GetWindow(prompt, GW_OWNER)) << "the prompt is not the window's";
    }
    return prompt;
  }
  static void Answer(HWND prompt, const std::wstring& password) {
    BrowserDriver::SetItemText(prompt, kPasswordEdit, password);
    BrowserDriver::Click(prompt, IDOK);
  }
  static void Cancel(HWND prompt) {
    BrowserDriver::Click(prompt, IDCANCEL);
    EXPECT_TRUE(BrowserDriver::WaitGone(prompt)) << "Cancel left the prompt";
  }
};

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

TEST_F(LockEndToEnd, TheLockedWindowCoversTheScreenAndEveryWayOutAsksForThePassword) {
  BrowserDriver browser = Open();
  HWND main = browser.Main();
  ASSERT_TRUE(main);
  RECT client{};
  ::GetClientRect(main, &client);
  ::MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_TRUE(SameRect(screen, client)) << "the client area is not the screen";
  EXPECT_TRUE(::GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(::GetWindowLongPtrW(main, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
  EXPECT_EQ(nullptr, ::GetParent(main));

  struct Way {
    const char* name;
    UINT message;
    WPARAM wParam;
  } ways[] = {{"close", WM_CLOSE, 0},
              {"OK", WM_COMMAND, IDOK},
              {"Cancel", WM_COMMAND, IDCANCEL},
              {"minimise", WM_SYSCOMMAND, SC_MINIMIZE},
              {"minimise with the low bits of the menu key", WM_SYSCOMMAND, SC_MINIMIZE | 2}};
  bool triedWrongPassword = false;
  for (const Way& way : ways) {
    ::PostMessageW(main, way.message, way.wParam, 0);
    HWND prompt = Prompt(browser);
    if (!prompt) continue;
    if (!triedWrongPassword) {
      triedWrongPassword = true;
      Answer(prompt, L"secret!");
      HWND box = browser.WaitForMessageBox();
      ASSERT_TRUE(box) << "a wrong password said nothing";
      EXPECT_EQ(kWrongPassword, BrowserDriver::MessageBoxText(box));
      BrowserDriver::Click(box, IDOK);
      EXPECT_TRUE(BrowserDriver::WaitGone(box));
      EXPECT_TRUE(::IsWindow(prompt)) << "the prompt closed on a wrong password";
    }
    Cancel(prompt);
    browser.Sync();
    EXPECT_TRUE(::IsWindowVisible(main)) << way.name;
    EXPECT_FALSE(::IsIconic(main)) << way.name;
  }

  // Moving, sizing and maximising are dropped: no move or size loop starts,
  // and the keys such a loop would read find none.
  const RECT placed = [&] {
    RECT r{};
    ::GetWindowRect(main, &r);
    return r;
  }();
  for (WPARAM command : {WPARAM(SC_MOVE), WPARAM(SC_SIZE | WMSZ_BOTTOMRIGHT), WPARAM(SC_MAXIMIZE),
                         WPARAM(SC_MAXIMIZE | 2), WPARAM(SC_MOVE | HTCAPTION)}) {
    ::PostMessageW(main, WM_SYSCOMMAND, command, 0);
    browser.Sync();
    GUITHREADINFO gui{sizeof(gui)};
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &gui);
    EXPECT_FALSE(gui.flags & GUI_INMOVESIZE) << std::hex << command << " started a move or size loop";
    for (WPARAM key : {VK_RIGHT, VK_DOWN, VK_RETURN}) ::PostMessageW(main, WM_KEYDOWN, key, 0);
    browser.Sync();
    RECT now{};
    ::GetWindowRect(main, &now);
    EXPECT_TRUE(SameRect(placed, now)) << std::hex << command;
    EXPECT_FALSE(::IsZoomed(main)) << std::hex << command;
  }
  EXPECT_EQ(nullptr, browser.FindWindowTitled(kAuthCaption)) << "moving asked for the password";

  // The password in other letters' case ends the browser.
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  HWND prompt = Prompt(browser);
  ASSERT_TRUE(prompt);
  Answer(prompt, L"sECRET");
  EXPECT_TRUE(processes_.back()->WaitForExit(10000)) << "the right password did not end the browser";
}

// The keys a locked browser keeps from the system; the modifiers come first.
const std::vector<std::vector<WORD>> kBlockedChords = {
    {VK_LWIN}, {VK_LWIN, VK_NUMPAD4}, {VK_LWIN, 'D'}, {VK_RWIN}, {VK_RWIN, VK_NUMPAD4}, {VK_RWIN, 'D'},
    {VK_MENU, VK_TAB}, {VK_CONTROL, VK_ESCAPE}, {VK_MENU, VK_ESCAPE}, {VK_CONTROL, VK_MENU, VK_DELETE}};

DWORD Generic(DWORD key) {
  if (key == VK_LCONTROL || key == VK_RCONTROL) return VK_CONTROL;
  if (key == VK_LMENU || key == VK_RMENU) return VK_MENU;
  return key;
}

// True when every key of the chord reached the watch: the system saw it whole.
bool GotPast(KeyWatch& watch, const std::vector<WORD>& chord) {
  std::set<DWORD> seen;
  for (DWORD key : watch.Type(chord)) seen.insert(Generic(key));
  for (WORD key : chord)
    if (!seen.count(key)) return false;
  return true;
}

std::string Name(const std::vector<WORD>& chord) {
  std::string name;
  for (WORD key : chord) name += (name.empty() ? "" : "+") + std::to_string(key);
  return name;
}

TEST_F(LockEndToEnd, TheSystemKeysPassOnlyWhileThePasswordHasTheWindowMinimised) {
  KeyWatch watch;  // first, so the browser's hook is asked before it
  ASSERT_TRUE(watch.Installed());
  BrowserDriver browser = Open();
  HWND main = browser.Main();
  ASSERT_TRUE(main);
  ASSERT_TRUE(watch.TakeFocus());
  ASSERT_TRUE(GotPast(watch, {'A'})) << "the watch sees no typed key";

  for (const auto& chord : kBlockedChords) EXPECT_FALSE(GotPast(watch, chord)) << Name(chord) << " got past";

  ::PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  HWND prompt = Prompt(browser);
  ASSERT_TRUE(prompt);
  Answer(prompt, kPassword);
  ASSERT_TRUE(BrowserDriver::WaitUntil([&] { return ::IsIconic(main) != FALSE; })) << "the password did not minimise";
  ASSERT_TRUE(watch.TakeFocus());
  for (const auto& chord : kBlockedChords) EXPECT_TRUE(GotPast(watch, chord)) << Name(chord) << " kept while minimised";

  // Restoring asks nothing, and the keys are kept again.
  ::PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(BrowserDriver::WaitUntil([&] { return !::IsIconic(main); })) << "the window did not restore";
  EXPECT_EQ(nullptr, browser.FindWindowTitled(kAuthCaption));
  ASSERT_TRUE(watch.TakeFocus());
  EXPECT_FALSE(GotPast(watch, {VK_MENU, VK_TAB}));
}

// Holds a thread still, as a long page load or a tab being made holds the
// window's thread, until the object goes.
class HeldThread {
 public:
  explicit HeldThread(HWND window)
      : thread_(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, ::GetWindowThreadProcessId(window, nullptr))) {
    held_ = thread_ && ::SuspendThread(thread_.Get()) != static_cast<DWORD>(-1);
  }
  ~HeldThread() {
    if (held_) ::ResumeThread(thread_.Get());
  }
  HeldThread(const HeldThread&) = delete;
  HeldThread& operator=(const HeldThread&) = delete;
  bool Held() const { return held_; }

 private:
  fw::ScopedHandle thread_;
  bool held_ = false;
};

const std::vector<std::vector<WORD>> kBusyChords = {{VK_MENU, VK_TAB}, {VK_LWIN}, {VK_RWIN}};

// A key that goes past a hook the system gave up on reaches the watch only
// through its window, so the watch must keep the keyboard: the browser's
// start may still take it back once.
bool SettleFocus(const KeyWatch& watch, const BrowserDriver& browser) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (!watch.TakeFocus() || !browser.Sync()) continue;
    if (!BrowserDriver::WaitUntil([&] { return !watch.HasFocus(); }, 500)) return true;
  }
  return false;
}

TEST_F(LockEndToEnd, TheSystemKeysStayBlockedWhileTheWindowsThreadIsBusy) {
  KeyWatch watch;  // first, so the browser's hook is asked before it
  ASSERT_TRUE(watch.Installed());
  BrowserDriver browser = Open();
  HWND main = browser.Main();
  ASSERT_TRUE(main);
  ASSERT_TRUE(SettleFocus(watch, browser)) << "the watch could not keep the keyboard";
  {
    // Each key waits on a hook that the busy thread would have to answer,
    // past the time the system gives a hook.
    HeldThread busy(main);
    ASSERT_TRUE(busy.Held());
    for (const std::vector<WORD>& chord : kBusyChords) {
      EXPECT_FALSE(GotPast(watch, chord)) << Name(chord) << " got past while the window was busy";
      EXPECT_TRUE(watch.HasFocus()) << Name(chord) << " took the keyboard from the watch";
    }
  }
  ASSERT_TRUE(browser.Sync()) << "the window did not answer again";
  // A hook the system gave up on would stay gone for the rest of the session.
  for (const std::vector<WORD>& chord : kBusyChords)
    EXPECT_FALSE(GotPast(watch, chord)) << Name(chord) << " got past after the window was busy";
}

}  // namespace

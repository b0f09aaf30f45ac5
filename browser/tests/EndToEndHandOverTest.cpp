// How a browser starts: from the start-with-Windows entry on a new user's
// settings, and beside a browser that runs, which takes the addresses other
// starts hand over to it.
#include "EndToEndTest.h"

#include <cstring>

namespace {

class HandOverEndToEnd : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    SaveSettings();
    SetTodayMinutes(0);
  }
  // Only the registered browser counts minutes: it is the one a tick adds to
  // tl.dat. Ticks the window until it has counted one.
  static bool CountsMinutes(const BrowserDriver& browser, DWORD milliseconds) {
    const int before = TodayMinutes();
    return BrowserDriver::WaitUntil(
        [&] {
          browser.StepMinute();
          return TodayMinutes() > before;
        },
        milliseconds);
  }
};

// The settings as a new user has them: nothing saved yet.
class FirstStartEndToEnd : public EndToEndTest {
 protected:
  // The question about the default browser, which a new user's start asks.
  static HWND DefaultBrowserQuestion(const BrowserDriver& browser) {
    for (HWND window : browser.TopLevelWindows())
      if (window != browser.Main() && ::GetDlgItem(window, 1032)) return window;
    return nullptr;
  }
  // Who holds the front instead of `main`, for a failure that says where to look.
  static std::string ForegroundBesides(HWND main) {
    HWND window = ::GetForegroundWindow();
    if (!window) return "no window";
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof(className));
    DWORD owner = 0, browser = 0;
    ::GetWindowThreadProcessId(window, &owner);
    ::GetWindowThreadProcessId(main, &browser);
    const char* whose = owner == browser                  ? "the browser's"
                        : owner == ::GetCurrentProcessId() ? "the test's"
                                                           : "another program's";
    return std::string(whose) + " window of class " + className;
  }
};

TEST_F(FirstStartEndToEnd, TheStartWithWindowsOpensTheHomePageAndOnlyTheFirstStartRunsTheWizard) {
  server_.Route("/kids/index.html", servicetest::HttpRoute(200, {"Content-Type: text/html"}, "<html>home</html>"));
  for (int start = 1; start <= 2; ++start) {
    SCOPED_TRACE(start == 1 ? "first start" : "second start");
    BrowserDriver browser = Open(L"-startup");
    ASSERT_TRUE(browser.Main());
    EXPECT_EQ(staged_->NavHomeUrl(), browser.AddressText()) << "the entry's option was taken for an address";
    // The wizard comes a second after the question is answered.
    const bool wizard = BrowserDriver::WaitUntil(
        [&] {
          if (HWND question = DefaultBrowserQuestion(browser)) BrowserDriver::Click(question, IDCANCEL);
          return staged_->Runs(L"Wizard.exe");
        },
        start == 1 ? 10000 : 3000);
    EXPECT_EQ(start == 1, wizard);
    EXPECT_TRUE(BrowserDriver::WaitUntil([] { return CSysConf().first_run == 0; }, 3000)) << "the first run is not saved";
    staged_->EndProcesses(L"Wizard.exe");
    ::PostMessageW(browser.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(processes_.back()->WaitForExit(10000)) << "the browser did not close";
  }
}

// A window of the test's own that takes the foreground from the browser.
class OtherWindow {
 public:
  OtherWindow()
      : window_(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 60, 60, nullptr,
                                  nullptr, nullptr, nullptr)) {}
  ~OtherWindow() {
    if (window_) ::DestroyWindow(window_);
  }
  OtherWindow(const OtherWindow&) = delete;
  OtherWindow& operator=(const OtherWindow&) = delete;
  bool TakeForeground() const {
    ::SetForegroundWindow(window_);
    return BrowserDriver::WaitUntil([this] { return ::GetForegroundWindow() == window_; }, 3000);
  }

 private:
  HWND window_;
};

TEST_F(FirstStartEndToEnd, AnAddressStartedBesideTheBrowserBringsItToTheFrontRestoredWhenMinimised) {
  BrowserDriver browser = Open();
  HWND main = browser.Main();
  ASSERT_TRUE(main);
  // A new user's start asks about the default browser, then runs the wizard.
  ASSERT_TRUE(BrowserDriver::WaitUntil(
      [&] {
        if (HWND question = DefaultBrowserQuestion(browser)) BrowserDriver::Click(question, IDCANCEL);
        return staged_->Runs(L"Wizard.exe");
      },
      10000))
      << "the first start ran no wizard";
  staged_->EndProcesses(L"Wizard.exe");

  OtherWindow other;
  for (bool minimised : {false, true}) {
    SCOPED_TRACE(minimised ? "minimised" : "behind another window");
    if (minimised) {
      ::PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      ASSERT_TRUE(BrowserDriver::WaitUntil([&] { return ::IsIconic(main) != FALSE; })) << "the browser did not minimise";
    }
    ASSERT_TRUE(other.TakeForeground());
    // The browser takes in the loss of the front on its own thread, in its
    // own time; left pending, it would land after the hand-over.
    browser.Sync();
    const int pages = browser.PageCount();
    ASSERT_TRUE(Start(L"http://kids.test/front").WaitForExit(15000)) << "the start did not hand over";
    EXPECT_EQ(pages + 1, browser.PageCount());
    EXPECT_TRUE(BrowserDriver::WaitUntil([&] { return ::GetForegroundWindow() == main; }, 3000))
        << "the browser did not come to the front: " << ForegroundBesides(main) << " holds it";
    EXPECT_FALSE(::IsIconic(main)) << "the browser stayed minimised";
  }
}

TEST_F(HandOverEndToEnd, TheHandOverMessageOpensATabOnlyForItsOwnKind) {
  BrowserDriver browser = Open();
  ASSERT_TRUE(browser.Main());
  const int pages = browser.PageCount();
  EXPECT_EQ(1, pages);

  EXPECT_EQ(0, browser.HandOverUrl(L"http://kids.test/first"));
  EXPECT_EQ(pages + 1, browser.PageCount());
  EXPECT_EQ(L"http://kids.test/first", browser.AddressText());

  struct Refused {
    const char* name;
    std::string bytes;
    ULONG_PTR kind;
  } refused[] = {{"another kind", std::string("http://kids.test/other", 23), BrowserDriver::kOpenUrl + 1},
                 {"kind zero", std::string("http://kids.test/zero", 22), 0},
                 {"over 64 KB", std::string(64 * 1024 + 1, 'a'), BrowserDriver::kOpenUrl}};
  for (const Refused& r : refused) {
    EXPECT_NE(0, browser.HandOver(r.bytes, r.kind)) << r.name;
    EXPECT_EQ(pages + 1, browser.PageCount()) << r.name;
  }
  EXPECT_EQ(L"http://kids.test/first", browser.AddressText()) << "a refused hand-over changed the address";
}

TEST_F(HandOverEndToEnd, ASecondStartHandsItsUrlToTheFirstAndTheNextBrowserTakesOverWhenTheFirstDies) {
  BrowserDriver first = Open();
  ASSERT_TRUE(first.Main());

  // With a URL: the running browser takes it, the new process ends windowless.
  BrowserProcess& handing = Start(L"http://kids.test/handed");
  // It ends from its start-up, before any window of its own is made.
  ASSERT_TRUE(handing.WaitForExit(15000)) << "the start that had a browser to hand to kept running";
  EXPECT_EQ(2, first.PageCount());
  EXPECT_EQ(L"http://kids.test/handed", first.AddressText());

  // Without one: a second complete browser, which counts no minute while the
  // first lives.
  BrowserProcess& secondProcess = Start();
  BrowserDriver second(secondProcess.Id());
  ASSERT_TRUE(second.WaitForMainWindow()) << "a start without a URL showed no second browser";
  EXPECT_NE(first.Main(), second.Main());
  const int minutes = TodayMinutes();
  second.StepMinute();
  EXPECT_EQ(minutes, TodayMinutes()) << "the unregistered browser counted a minute";
  ASSERT_TRUE(CountsMinutes(first, 3000)) << "the first browser is not the registered one";

  // The first dies without deregistering; the second registers within its
  // one-second check, and the next start hands over to it.
  processes_.front()->Kill();
  ASSERT_TRUE(CountsMinutes(second, 5000)) << "the second browser never took over the registration";
  BrowserProcess& third = Start(L"http://kids.test/after");
  ASSERT_TRUE(third.WaitForExit(15000)) << "the start after the first died did not hand over";
  EXPECT_EQ(2, second.PageCount());
  EXPECT_EQ(L"http://kids.test/after", second.AddressText());
}

}  // namespace

#ifdef HOLLIN_RELEASE_BIN
// Whether a program names the function among its imports, read from its
// lookup table: mapped without its imports bound, nothing of it runs. One
// that cannot be mapped counts as naming it.
namespace {
bool ImportsByName(const std::wstring& program, const char* function) {
  HMODULE module = ::LoadLibraryExW(program.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  if (!module) return true;
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  bool found = false;
  for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       directory.VirtualAddress && dll->Name && !found; ++dll) {
    for (auto* entry = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
         entry->u1.AddressOfData && !found; ++entry) {
      if (IMAGE_SNAP_BY_ORDINAL(entry->u1.Ordinal)) continue;
      found = !std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + entry->u1.AddressOfData)->Name, function);
    }
  }
  ::FreeLibrary(module);
  return found;
}
}  // namespace

// A test tree of another thread model than the release's drives the release's
// own programs, whose runtime imports nothing Windows XP lacks; the posix
// model's imports GetTickCount64, so a program of the test tree staged in
// their place shows.
TEST(StagedReleaseFolder, HoldsTheProgramsOfTheRelease) {
  const StagedBrowserFolder staged(L"http://127.0.0.1:1");
  ASSERT_TRUE(staged.Ok());
  for (const wchar_t* name : {L"Brivan.exe", L"Wizard.exe", L"Pelvin.exe"})
    EXPECT_FALSE(ImportsByName(staged.Path(name), "GetTickCount64")) << fw::ToAnsi(name);
}
#endif

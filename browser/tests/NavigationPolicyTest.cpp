#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "CommHelper.h"
#include "DataFolderTest.h"
#include "NavigationPolicy.h"
#include "PolicyTestSupport.h"
#include "SiteList.h"
#include "StringConv.h"
#include "SysConf.h"
#include "TimeLog.h"

namespace {

std::tm testDay{};
bool TestClock(std::tm* now) {
  *now = testDay;
  return true;
}
void SetDay(int day) {
  testDay = std::tm{};
  testDay.tm_year = 2026 - 1900;
  testDay.tm_mon = 11;
  testDay.tm_mday = day;
}

// A browser: its main window with its policy, over the test's shared words.
struct Browser {
  Browser(const CSysConf& settings, volatile LONG* words) : policy(settings, window, CSharedState(words)) {
    window.policy = &policy;
  }
  PolicyHostWindow window;
  CNavigationPolicy policy;
};

class NavigationPolicyTest : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    settings_ = CSysConf();  // read again: built with the fixture, it read the earlier test's files
    SetDay(9);
    CTimeLog::SetClock(&TestClock);
  }
  void TearDown() override { CTimeLog::SetClock(nullptr); }

  static int MinutesInFile() {
    CTimeLog log;
    log.Reload();
    return log.time_sum;
  }

  CSysConf settings_;
  volatile LONG words_[2] = {0, 0};
};

TEST_F(NavigationPolicyTest, RulesApplyInOrderWithTheirTexts) {
  CNavCtrlList sites;
  sites.Add(L"http://www.allowed.cn/", L"allowed");
  ASSERT_TRUE(sites.Save());
  settings_.limited = 1;
  settings_.time = 600;
  settings_.enable_filter = 1;
  Browser browser(settings_, words_);
  CNavigationPolicy& policy = browser.policy;
  const std::wstring site = CNavigationPolicy::kSiteRefusedText;
  const std::wstring timeUp = CNavigationPolicy::kTimeUpText;

  struct Case {
    const wchar_t* url;
    int reply;
    std::wstring notice;
  };
  const Case beforeTimeUp[] = {
      {L"about:blank", 0, L""},
      {L"ABOUT:Blank", 0, L""},
      {L"http://news.allowed.cn/today", 0, L""},
      {L"http://other.cn/", 1, site},
  };
  for (const Case& c : beforeTimeUp) {
    browser.window.notices.clear();
    EXPECT_EQ(c.reply, policy.OnBeforeNavigate(c.url));
    EXPECT_EQ(c.notice.empty() ? 0u : 1u, browser.window.notices.size());
    if (!c.notice.empty() && !browser.window.notices.empty()) {
      EXPECT_EQ(c.notice, browser.window.notices[0]);
    }
  }

  policy.OnTimeUp();
  EXPECT_EQ(1, browser.window.tabClosings);
  EXPECT_EQ(timeUp, browser.window.notices.back());
  const Case afterTimeUp[] = {
      {L"About:Blank", 0, L""},
      {L"http://news.allowed.cn/today", 1, timeUp},
      {L"http://other.cn/", 1, timeUp},
  };
  for (const Case& c : afterTimeUp) {
    browser.window.notices.clear();
    EXPECT_EQ(c.reply, policy.OnBeforeNavigate(c.url));
    ASSERT_EQ(c.notice.empty() ? 0u : 1u, browser.window.notices.size());
    if (!c.notice.empty()) {
      EXPECT_EQ(c.notice, browser.window.notices[0]);
    }
  }

  // Settings are read at each decision: the limit off lifts the time rule,
  // the filter still holds; the filter off lets everything through.
  settings_.limited = 0;
  EXPECT_EQ(0, policy.OnBeforeNavigate(L"http://news.allowed.cn/today"));
  EXPECT_EQ(1, policy.OnBeforeNavigate(L"http://other.cn/"));
  settings_.enable_filter = 0;
  EXPECT_EQ(0, policy.OnBeforeNavigate(L"http://other.cn/"));
}

TEST_F(NavigationPolicyTest, AnEmptyAllowedListRefusesEverySiteWithTheFilterOn) {
  settings_.enable_filter = 1;
  Browser browser(settings_, words_);
  EXPECT_EQ(1, browser.policy.OnBeforeNavigate(L"http://www.example.org/"));
  EXPECT_EQ(0, browser.policy.OnBeforeNavigate(L"about:blank"));
}

TEST_F(NavigationPolicyTest, LockModeOpensOnlyWebAndProgramPagesWithTheFilterOff) {
  const std::wstring native = CCommHelper::GetExeDir();
  std::wstring folder = native;
  std::replace(folder.begin(), folder.end(), L'\\', L'/');
  const std::wstring program = L"file:///" + folder;
  // A folder named like a page is still a folder.
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((native + L"\\theme\\default\\caption_logo.bmp").c_str()));
  const std::wstring pageLikeFolder = native + L"\\shelf.htm";
  ASSERT_TRUE(::CreateDirectoryW(pageLikeFolder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  struct Case {
    std::wstring url;
    bool opensLocked;
  } cases[] = {{L"http://www.example.org/", true},
               {L"https://www.example.org/", true},
               {L"about:blank", true},
               {L"javascript:void(0)", true},
               {L"res://ieframe.dll/navcancl.htm", true},
               {program + L"/help/index.html", true},
               {program + L"/theme/../help/INDEX.HTM", true},
               {program + L"/../beside.html", false},
               // The program folder's own folders and files: the control
               // shows a folder as the shell's view, a way out of the lock.
               {program + L"/theme/", false},
               {program + L"/theme", false},
               {program + L"/%74heme/", false},
               {L"file:///" + native + L"\\theme\\", false},
               {program + L"/theme/../conf/", false},
               {program + L"/conf/urls.conf", false},
               {program + L"/conf/urls.conf%00.htm", false},
               {program + L"/conf/urls.conf:x.htm", false},
               {program + L"/theme/default/caption_logo.bmp", false},
               {program + L"/shelf.htm", false},
               {program + L"/shelf.htm/", false},
               {program + L"/", false},
               {L"file:///c:/windows/system32/", false},
               {L"file://server/share/page.html", false},
               {L"view-source:http://www.example.org/", false},
               {L"mailto:mother@example.org", false},
               {L"ftp://ftp.example.org/", false},
               {L"about:home", false}};
  ASSERT_EQ(0, settings_.enable_filter) << "a new user's filter";
  Browser browser(settings_, words_);
  for (const int locked : {0, 1}) {
    settings_.fullscreen_always = locked;
    for (const Case& c : cases) {
      SCOPED_TRACE(fw::ToAnsi(c.url, CP_UTF8) + (locked ? " locked" : " unlocked"));
      browser.window.notices.clear();
      const bool opens = !locked || c.opensLocked;
      EXPECT_EQ(opens ? 0 : 1, browser.policy.OnBeforeNavigate(c.url));
      EXPECT_EQ(opens ? std::vector<std::wstring>{} : std::vector<std::wstring>{CNavigationPolicy::kSiteRefusedText},
                browser.window.notices);
    }
  }

  ::RemoveDirectoryW(pageLikeFolder.c_str());

  // Time up keeps its own text first.
  settings_.limited = 1;
  browser.policy.OnTimeUp();
  browser.window.notices.clear();
  EXPECT_EQ(1, browser.policy.OnBeforeNavigate(L"mailto:mother@example.org"));
  EXPECT_EQ(std::vector<std::wstring>{CNavigationPolicy::kTimeUpText}, browser.window.notices);
}

TEST_F(NavigationPolicyTest, ALimitOfNWarnsAfterNMinusOneMinutesAndEndsAfterN) {
  settings_.limited = 1;
  settings_.time = 3;
  Browser browser(settings_, words_);
  CSharedState state(words_);
  state.SetMainWindowIfEmpty(browser.window.Hwnd());
  EXPECT_FALSE(browser.policy.CheckAtStart());
  browser.policy.StartCounting();
  EXPECT_TRUE(KillTimer(browser.window.Hwnd(), CNavigationPolicy::kMinuteTimer)) << "the minute timer runs";

  browser.window.Tick();  // starts the day, counts nothing
  browser.window.Tick();  // 1 minute
  EXPECT_TRUE(browser.window.notices.empty());
  browser.window.Tick();  // 2 minutes: 1 left
  ASSERT_EQ(1u, browser.window.notices.size());
  EXPECT_EQ(CNavigationPolicy::kOneMinuteLeftText, browser.window.notices[0]);
  EXPECT_EQ(0, state.IsTimeUp());
  browser.window.Tick();  // 3 minutes: used up
  ASSERT_EQ(2u, browser.window.notices.size());
  EXPECT_EQ(CNavigationPolicy::kTimeUpText, browser.window.notices[1]);
  EXPECT_EQ(1, browser.policy.IsTimeUp());
  EXPECT_EQ(1, browser.window.tabClosings);
  EXPECT_EQ(1, state.IsTimeUp()) << "the registered browser tells the others";
  EXPECT_EQ(3, MinutesInFile());

  EXPECT_EQ(nullptr, state.GetMainWindow()) << "the window in time up kept the registration";
  browser.policy.KeepRegistered();  // the registration timer
  EXPECT_EQ(nullptr, state.GetMainWindow()) << "the window in time up took the registration back";
  browser.window.Tick();
  EXPECT_EQ(3, MinutesInFile()) << "a window in time up counts on";
  EXPECT_EQ(2u, browser.window.notices.size()) << "time up is entered once";

  // A limit of 0 is used up at start.
  settings_.time = 0;
  Browser late(settings_, words_);
  EXPECT_TRUE(late.policy.CheckAtStart());
  EXPECT_EQ(1, late.policy.IsTimeUp());
  late.policy.KeepRegistered();
  EXPECT_EQ(nullptr, state.GetMainWindow()) << "a window in time up from its start registered";
}

TEST_F(NavigationPolicyTest, ARunningBrowserEndsTheDayAtTheLimitWhateverBecomesOfTlDat) {
  settings_.limited = 1;
  settings_.time = 2;
  // Today has started, and the file is read-only (or another account's).
  CTimeLog().AddUsage(settings_.time, 0);
  const std::wstring file = folder_ + L"tl.dat";
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  {
    Browser browser(settings_, words_);
    CSharedState(words_).SetMainWindowIfEmpty(browser.window.Hwnd());
    EXPECT_FALSE(browser.policy.CheckAtStart());
    browser.window.Tick();
    ASSERT_EQ(1u, browser.window.notices.size());
    EXPECT_EQ(CNavigationPolicy::kOneMinuteLeftText, browser.window.notices[0]);
    browser.window.Tick();
    EXPECT_EQ(1, browser.policy.IsTimeUp()) << "a read-only tl.dat gave the child more time";
    EXPECT_EQ(0, MinutesInFile());
    // The browser that ended gave the registration up; one beside it takes
    // it and must not start the day again from the file.
    Browser beside(settings_, words_);
    CSharedState(words_).SetMainWindowIfEmpty(beside.window.Hwnd());
    beside.window.Tick();
    EXPECT_EQ(1, beside.policy.IsTimeUp()) << "a browser beside the one that ended got the day again";
  }
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(::DeleteFileW(file.c_str()));

  settings_.time = 3;
  words_[0] = words_[1] = 0;
  Browser browser(settings_, words_);
  CSharedState(words_).SetMainWindowIfEmpty(browser.window.Hwnd());
  browser.window.Tick();  // starts the day
  browser.window.Tick();  // 1 minute
  SetDay(10);             // midnight: the count starts again at 0
  browser.window.Tick();  // starts the new day
  browser.window.Tick();  // 1 minute
  browser.window.Tick();  // 2 minutes: 1 left
  ASSERT_EQ(1u, browser.window.notices.size());
  EXPECT_EQ(CNavigationPolicy::kOneMinuteLeftText, browser.window.notices[0]);
  EXPECT_EQ(0, browser.policy.IsTimeUp());
  ASSERT_TRUE(::DeleteFileW(file.c_str()));
  browser.window.Tick();
  EXPECT_EQ(1, browser.policy.IsTimeUp()) << "tl.dat deleted mid-day gave the child more time";
  EXPECT_EQ(3, MinutesInFile()) << "the file did not get the day's minutes back";
}

TEST_F(NavigationPolicyTest, OnlyTheRegisteredBrowserCountsAndTheOtherFollowsTheFile) {
  settings_.limited = 1;
  settings_.time = 3;
  Browser registered(settings_, words_);
  Browser other(settings_, words_);
  CSharedState(words_).SetMainWindowIfEmpty(registered.window.Hwnd());
  CSharedState(words_).SetMainWindowIfEmpty(other.window.Hwnd());

  for (int i = 0; i < 3; ++i) other.window.Tick();
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder_ + L"tl.dat").c_str())) << "an unregistered browser wrote tl.dat";

  registered.window.Tick();
  registered.window.Tick();
  registered.window.Tick();  // 2 minutes
  other.window.Tick();
  other.window.Tick();
  ASSERT_EQ(1u, other.window.notices.size()) << "the warning shows once";
  EXPECT_EQ(CNavigationPolicy::kOneMinuteLeftText, other.window.notices[0]);
  EXPECT_EQ(2, MinutesInFile());

  registered.window.Tick();
  other.window.Tick();
  EXPECT_EQ(1, other.policy.IsTimeUp());
  EXPECT_EQ(1, other.window.tabClosings);
  EXPECT_EQ(3, MinutesInFile());
}

TEST_F(NavigationPolicyTest, TheRegisteredBrowserCountsWithTheLimitOffAndWarnsNothing) {
  settings_.limited = 0;
  settings_.time = 2;
  Browser browser(settings_, words_);
  CSharedState(words_).SetMainWindowIfEmpty(browser.window.Hwnd());
  browser.policy.StartCounting();
  EXPECT_TRUE(KillTimer(browser.window.Hwnd(), CNavigationPolicy::kMinuteTimer));
  for (int i = 0; i < 4; ++i) browser.window.Tick();
  EXPECT_EQ(3, MinutesInFile());
  EXPECT_TRUE(browser.window.notices.empty());
  EXPECT_EQ(0, browser.policy.IsTimeUp());
  EXPECT_EQ(0, CSharedState(words_).IsTimeUp());
}

TEST_F(NavigationPolicyTest, AWindowInTimeUpWhoseLimitIsTurnedOffCountsAndRegistersUntilItIsOnAgain) {
  CSysConf parent;  // the settings as the control panel saves them
  parent.limited = 1;
  parent.time = 1;
  ASSERT_EQ(1, parent.Save());
  settings_.Load();
  Browser browser(settings_, words_);
  CSharedState state(words_);
  const HWND window = browser.window.Hwnd();
  browser.policy.KeepRegistered();
  browser.policy.StartCounting();
  browser.window.Tick();  // starts the day
  browser.window.Tick();  // used up
  ASSERT_EQ(1, browser.policy.IsTimeUp());
  ASSERT_EQ(nullptr, state.GetMainWindow());

  parent.limited = 0;
  ASSERT_EQ(1, parent.Save());
  settings_.Load();
  browser.policy.KeepRegistered();  // the registration timer
  EXPECT_EQ(window, state.GetMainWindow()) << "the usable window never registered again";
  EXPECT_TRUE(KillTimer(window, CNavigationPolicy::kMinuteTimer)) << "the minute timer stayed stopped";
  SetTimer(window, CNavigationPolicy::kMinuteTimer, CNavigationPolicy::kMinuteMs, nullptr);
  EXPECT_EQ(0, browser.policy.OnBeforeNavigate(L"http://www.example.org/"));
  browser.window.Tick();
  browser.window.Tick();
  EXPECT_EQ(3, MinutesInFile()) << "the usable window counted nothing";

  parent.limited = 1;
  ASSERT_EQ(1, parent.Save());
  settings_.Load();
  EXPECT_EQ(1, browser.policy.OnBeforeNavigate(L"http://www.example.org/"));
  EXPECT_EQ(CNavigationPolicy::kTimeUpText, browser.window.notices.back());
  browser.policy.KeepRegistered();
  EXPECT_EQ(nullptr, state.GetMainWindow());
  EXPECT_FALSE(KillTimer(window, CNavigationPolicy::kMinuteTimer)) << "the minute timer ran on in time up";
  browser.window.Tick();
  EXPECT_EQ(3, MinutesInFile());
}

TEST_F(NavigationPolicyTest, YesterdaysUsedUpDayAndFlagLeaveANewBrowserCounting) {
  settings_.limited = 1;
  settings_.time = 5;
  // Yesterday's browser used the whole day up and still holds the flag.
  SetDay(8);
  for (int i = 0; i < 6; ++i) CTimeLog().AddUsage(5, 1);
  SetDay(9);
  words_[1] = 1;

  Browser browser(settings_, words_);
  EXPECT_FALSE(browser.policy.CheckAtStart());
  CSharedState(words_).SetMainWindowIfEmpty(browser.window.Hwnd());
  browser.window.Tick();
  browser.window.Tick();
  EXPECT_EQ(0, browser.policy.IsTimeUp()) << "yesterday's flag ended a new day";
  EXPECT_TRUE(browser.window.notices.empty());
  EXPECT_EQ(1, MinutesInFile());
  EXPECT_EQ(0, browser.policy.OnBeforeNavigate(L"http://www.example.org/"));
}

}  // namespace

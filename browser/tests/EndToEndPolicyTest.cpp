// The parent's rules in the running browser: the allowed sites and the
// daily time, as the child meets them.
#include <ctime>

#include "EndToEndTest.h"

namespace {

const wchar_t kSiteRefused[] = L"噢，这个网页妈妈不让看哦...";
const wchar_t kTimeUp[] = L"今天上网的时间已到，注意休息哦";
const wchar_t kOneMinuteLeft[] = L"今天的上网时间还剩下 1 分钟";
const wchar_t kRulesUnreadable[] =
    L"暂时无法读取爸爸妈妈的设置（设置文件正被其他程序占用），浏览器现在不能打开，请稍后再试哦。";

// Sets an environment variable for the browsers started while it lives.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
    ::SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedEnvironment() { ::SetEnvironmentVariableW(name_, nullptr); }

 private:
  const wchar_t* name_;
};

// The date a day ago, for tl.dat written as on the day before.
bool Yesterday(std::tm* now) {
  const std::time_t dayAgo = std::time(nullptr) - 24 * 60 * 60;
  const std::tm* local = std::localtime(&dayAgo);
  if (!local) return false;
  *now = *local;
  return true;
}

class PolicyEndToEnd : public EndToEndTest {
 protected:
  // tl.dat as a browser left it yesterday with `minutes` used.
  static void SetYesterdayMinutes(int minutes) {
    CTimeLog::SetClock(&Yesterday);
    SetTodayMinutes(minutes);
    CTimeLog::SetClock(nullptr);
  }
  // Opens `url` by hand-over and tells what the child saw: the notifier's
  // text, "" when none showed.
  std::wstring Visit(const BrowserDriver& browser, const std::wstring& url) {
    browser.ForgetNotifierText();
    EXPECT_EQ(0, browser.HandOverUrl(url)) << "no tab opened for " << fw::ToAnsi(url, CP_UTF8);
    browser.Sync();
    return browser.NotifierText();
  }
  // Requests for `url` that reached this process's server as the proxy,
  // which names the port in the address.
  size_t ProxyRequests(const std::string& url) {
    const size_t path = url.find('/', url.find("//") + 2);
    return server_.CountRequests(url) + server_.CountRequests(url.substr(0, path) + ":80" + url.substr(path));
  }
};

TEST_F(PolicyEndToEnd, OnlyListedSitesAndTheirSubHostsReachTheNetwork) {
  settings_.enable_filter = 1;
  SaveSettings();
  AllowSites({L"http://kids.test/"});
  // Every page request goes to this process's server as a proxy, so a page
  // that passes the filter is seen arriving.
  ScopedEnvironment proxy(L"http_proxy", Address(""));
  BrowserDriver browser = Open();
  ASSERT_TRUE(browser.Main());
  if (!PagesAskThePolicy(browser)) GTEST_SKIP() << "the stand-in page navigates without asking the policy";

  struct Case {
    const wchar_t* url;
    bool passes;
  } cases[] = {{L"http://kids.test/a.html", true},
               {L"http://www.kids.test/b.html", true},
               {L"http://KIDS.test/c.html", true},
               {L"about:blank", true},
               {L"ABOUT:BLANK", true},
               {L"http://blocked.test/d.html", false},
               {L"HTTP://BLOCKED.TEST/E.HTML", false},
               {L"http://kids.test.blocked.test/f.html", false}};
  for (const Case& c : cases) {
    const std::string url = fw::ToAnsi(fw::ToLower(c.url), CP_UTF8);
    EXPECT_EQ(c.passes ? L"" : kSiteRefused, Visit(browser, c.url)) << url;
    if (c.passes && url.rfind("http", 0) == 0) {
      EXPECT_TRUE(BrowserDriver::WaitUntil([&] { return ProxyRequests(url) > 0; })) << url << " never arrived";
    }
  }
  for (const char* url : {"http://blocked.test/d.html", "http://blocked.test/e.html", "http://kids.test.blocked.test/f.html"})
    EXPECT_EQ(0u, ProxyRequests(url)) << url << " reached the network";
}

TEST_F(PolicyEndToEnd, TypedChosenAndHomeAddressesGoThroughTheFilterToTheirPages) {
  settings_.enable_filter = 1;
  settings_.home_url = L"http://kids.test/home.html";
  SaveSettings();
  AllowSites({L"http://kids.test/"});
  ScopedEnvironment proxy(L"http_proxy", Address(""));
  BrowserDriver browser = Open(L"http://kids.test/start.html");
  ASSERT_TRUE(browser.Main());
  if (!PagesAskThePolicy(browser)) GTEST_SKIP() << "the stand-in page navigates without asking the policy";
  HWND main = browser.Main();
  HWND box = ::GetDlgItem(main, BrowserDriver::kAddressBoxId);
  HWND edit = ::GetWindow(box, GW_CHILD);
  ASSERT_TRUE(edit);

  enum How { kEnter, kGo, kList };
  auto send = [&](How how, const wchar_t* text) {
    if (how == kList) {
      const LRESULT index = ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
      ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(BrowserDriver::kAddressBoxId, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box));
      return;
    }
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    if (how == kEnter)
      ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    else
      BrowserDriver::Click(main, 1008);
  };
  const struct {
    How how;
    const wchar_t* given;
    const char* reached;  // null: refused
  } cases[] = {{kEnter, L"KIDS.test/Typed.html", "http://kids.test/typed.html"},
               {kEnter, L"blocked.test/typed.html", nullptr},
               {kGo, L"Kids.Test/Go.html", "http://kids.test/go.html"},
               {kGo, L"http://blocked.test/go.html", nullptr},
               {kList, L"http://kids.test/listed.html", "http://kids.test/listed.html"},
               {kList, L"http://blocked.test/listed.html", nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(fw::ToAnsi(c.given, CP_UTF8));
    browser.ForgetNotifierText();
    send(c.how, c.given);
    ASSERT_TRUE(browser.Sync());
    // The control may ask after the command is handled: a refusal is waited for.
    EXPECT_EQ(c.reached ? L"" : kSiteRefused, c.reached ? browser.NotifierText() : browser.WaitForNotifierText());
    if (c.reached) {
      EXPECT_TRUE(BrowserDriver::WaitUntil([&] { return ProxyRequests(c.reached) > 0; })) << "it never arrived";
      EXPECT_EQ(fw::ToWide(c.reached, CP_UTF8), browser.AddressText());
    }
  }
  browser.ForgetNotifierText();
  BrowserDriver::Click(main, 1022);
  ASSERT_TRUE(browser.Sync());
  EXPECT_EQ(L"", browser.NotifierText());
  EXPECT_TRUE(BrowserDriver::WaitUntil([&] { return ProxyRequests("http://kids.test/home.html") > 0; }))
      << "Home never arrived";
  for (const char* url : {"http://blocked.test/typed.html", "http://blocked.test/go.html", "http://blocked.test/listed.html"})
    EXPECT_EQ(0u, ProxyRequests(url)) << url << " reached the network";
}

TEST_F(PolicyEndToEnd, AServersRedirectIsFilteredWhereItArrives) {
  settings_.enable_filter = 1;
  SaveSettings();
  AllowSites({Address("/").c_str()});
  std::string away = server_.NarrowUrl("/away.html");
  away.replace(away.find("127.0.0.1"), 9, "localhost");  // the same server, on a host not listed
  const servicetest::HttpRoute page(200, {"Content-Type: text/html"}, "<html><title>page</title></html>");
  server_.Route("/away.html", page);
  server_.Route("/here.html", page);
  server_.Route("/moved", servicetest::HttpRoute(301, {"Location: " + away}, ""));
  server_.Route("/found", servicetest::HttpRoute(302, {"Location: " + away}, ""));
  server_.Route("/listed", servicetest::HttpRoute(302, {"Location: " + server_.NarrowUrl("/here.html")}, ""));
  BrowserDriver browser = Open();
  ASSERT_TRUE(browser.Main());
  if (!PagesAskThePolicy(browser)) GTEST_SKIP() << "the stand-in page navigates without asking the policy";

  for (const char* path : {"/moved", "/found"}) {
    SCOPED_TRACE(path);
    browser.ForgetNotifierText();
    ASSERT_EQ(0, browser.HandOverUrl(Address(path)));
    EXPECT_EQ(kSiteRefused, browser.WaitForNotifierText());
    ASSERT_TRUE(browser.Sync());
    EXPECT_EQ(L"about:blank", browser.AddressText());
    EXPECT_EQ(std::wstring::npos, BrowserDriver::Text(browser.Main()).find(L"localhost"));
  }

  browser.ForgetNotifierText();
  ASSERT_EQ(0, browser.HandOverUrl(Address("/listed")));
  EXPECT_TRUE(BrowserDriver::WaitUntil([&] { return server_.CountRequests("/here.html") > 0; }));
  EXPECT_EQ(L"", browser.WaitForNotifierText(1500));
  EXPECT_NE(L"about:blank", browser.AddressText());
}

TEST_F(PolicyEndToEnd, AUsedUpDayStartsOnOneBlankTabAndRefusesEveryAddress) {
  settings_.limited = 1;
  settings_.time = 5;
  SaveSettings();
  SetTodayMinutes(5);
  BrowserDriver browser = Open(L"http://kids.test/start.html");
  ASSERT_TRUE(browser.Main());
  EXPECT_EQ(kTimeUp, browser.WaitForNotifierText());
  EXPECT_EQ(1, browser.PageCount());
  EXPECT_EQ(L"about:blank", browser.AddressText());
  EXPECT_TRUE(::IsWindowVisible(browser.Notifier()));

  EXPECT_EQ(L"", Visit(browser, L"about:blank"));
  if (!PagesAskThePolicy(browser)) GTEST_SKIP() << "the stand-in page navigates without asking the policy";
  for (const wchar_t* url : {L"http://kids.test/", L"http://127.0.0.1/", L"ftp://kids.test/"})
    EXPECT_EQ(kTimeUp, Visit(browser, url)) << fw::ToAnsi(url, CP_UTF8);
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(PolicyEndToEnd, TheLastMinuteIsAnnouncedAndTheNextEndsTheDay) {
  const int limit = 3;
  settings_.limited = 1;
  settings_.time = limit;
  SaveSettings();
  SetTodayMinutes(0);
  BrowserDriver browser = Open();
  ASSERT_TRUE(browser.Main());
  for (const wchar_t* url : {L"about:blank", L"about:blank"}) browser.HandOverUrl(url);
  ASSERT_EQ(3, browser.PageCount());

  for (int used = 1; used <= limit; ++used) {
    browser.ForgetNotifierText();
    browser.StepMinute();
    EXPECT_EQ(used, TodayMinutes());
    const std::wstring expected = used == limit - 1 ? kOneMinuteLeft : used == limit ? kTimeUp : L"";
    EXPECT_EQ(expected, browser.NotifierText()) << used << " of " << limit << " minutes used";
    EXPECT_EQ(used == limit ? 1 : 3, browser.PageCount()) << used << " of " << limit << " minutes used";
  }
  EXPECT_EQ(L"about:blank", browser.AddressText());
}

TEST_F(PolicyEndToEnd, AWindowInTimeUpSpendsNothingOfTheNextDayAndABrowserBesideItCounts) {
  settings_.limited = 1;
  settings_.time = 2;
  SaveSettings();
  SetTodayMinutes(1);
  BrowserDriver timedOut = Open();
  ASSERT_TRUE(timedOut.Main());
  timedOut.ForgetNotifierText();
  timedOut.StepMinute();
  ASSERT_EQ(kTimeUp, timedOut.NotifierText());

  // Left open past midnight.
  SetYesterdayMinutes(2);
  for (int tick = 0; tick < 3; ++tick) timedOut.StepMinute();
  EXPECT_EQ(0, TodayMinutes()) << "the window in time up spent the new day";

  // Started seconds later, when the one in time up could have taken the
  // registration back.
  BrowserDriver beside = Open();
  ASSERT_TRUE(beside.Main());
  beside.StepMinute();  // starts the day
  beside.StepMinute();
  EXPECT_EQ(1, TodayMinutes()) << "the browser beside the one in time up counted nothing";
  timedOut.StepMinute();
  EXPECT_EQ(1, TodayMinutes());
}

TEST_F(PolicyEndToEnd, ARulesFileAnotherProgramHoldsKeepsTheBrowserClosedOrItsDayUsedUp) {
  settings_.limited = 1;
  settings_.time = 60;
  settings_.enable_filter = 1;
  settings_.exit_need_pwd = 1;
  SaveSettings();
  AllowSites({L"http://kids.test/"});
  SetTodayMinutes(30);
  for (DWORD sharing : {0ul, static_cast<unsigned long>(FILE_SHARE_DELETE)}) {
    for (const std::wstring name : {L"conf\\sys.conf", L"conf\\acc.conf", L"navctrl.dat", L"tl.dat"}) {
      SCOPED_TRACE(::testing::Message() << fw::ToAnsi(name) << " held with sharing " << sharing);
      const std::string bytes = ReadFile(name);
      {
        HeldFile held(folder_ + name, sharing);
        ASSERT_TRUE(held.Held());
        BrowserProcess& process = Start();
        BrowserDriver browser(process.Id());
        if (name == L"tl.dat") {
          // The minutes cannot be read: none are left today.
          ASSERT_TRUE(browser.WaitForMainWindow());
          EXPECT_EQ(kTimeUp, browser.WaitForNotifierText());
        } else {
          HWND box = browser.WaitForMessageBox(20000);
          ASSERT_TRUE(box) << "the browser said nothing";
          EXPECT_EQ(kRulesUnreadable, BrowserDriver::MessageBoxText(box));
          EXPECT_TRUE(browser.MainWindows().empty()) << "a window came up without the rules";
          BrowserDriver::Click(box, IDOK);
          EXPECT_TRUE(process.WaitForExit(10000)) << "the browser went on";
        }
        process.Kill();
      }
      EXPECT_EQ(bytes, ReadFile(name));
    }
  }

  // Held once the browser counts: the next minute ends the day. Its start
  // may still read the minutes after the window answers (making the pages
  // pumps messages), and would end the day itself: the text is forgotten
  // before the file is held, not after.
  BrowserDriver browser = Open();
  ASSERT_TRUE(browser.Main());
  const std::string minutes = ReadFile(L"tl.dat");
  browser.ForgetNotifierText();
  {
    HeldFile held(folder_ + L"tl.dat", FILE_SHARE_DELETE);
    ASSERT_TRUE(held.Held());
    browser.StepMinute();
    EXPECT_EQ(kTimeUp, browser.WaitForNotifierText());
  }
  EXPECT_EQ(minutes, ReadFile(L"tl.dat"));
}

}  // namespace

// Lock mode, the hand-over receiver and long use of the main window.
#include "MainWindowTestSupport.h"

#include "CoreResources.h"
#include "GdiObjectCount.h"
#include "HandOver.h"
#include "TimeLog.h"

namespace {

// Keys a system move or size loop would read from the queue; left behind
// when the command was dropped, so they are taken away undispatched.
void QueueLoopKeys(HWND window) {
  PostMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
  PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
}

void DropLoopKeys() {
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
  }
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

bool IsAbove(HWND upper, HWND lower) {
  for (HWND below = GetWindow(upper, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT))
    if (below == lower) return true;
  return false;
}

TEST_F(MainWindowTest, LockedWindowEndsOrHidesOnlyWithThePassword) {
  Open(true);
  ASSERT_TRUE(window_->IsLocked());
  // Every page is locked, the first one too, which opens before the lock.
  EXPECT_TRUE(window_->Selected()->locked) << "the first tab";
  ASSERT_TRUE(window_->OpenUrlInNewTab(L"about:blank"));
  EXPECT_TRUE(window_->Selected()->locked) << "a new tab";
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT client = window_->ClientRect();
  MapWindowPoints(Hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_TRUE(SameRect(client, screen));
  EXPECT_FALSE(GetWindowLongPtrW(Hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
  EXPECT_TRUE(GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(window_->layouts, 1) << "laid out once, at the size it shows at";
  // A notice shows above the window.
  SendMessageW(Hwnd(), WM_SHOW_NOTIFY, reinterpret_cast<WPARAM>(L"notice"), 0);
  Pump();
  ASSERT_TRUE(IsWindowVisible(window_->Notifier().Hwnd()));
  EXPECT_TRUE(IsAbove(window_->Notifier().Hwnd(), Hwnd()));

  // Every way out asks once; a refused password keeps the window as it was.
  struct Way {
    const char* name;
    UINT message;
    WPARAM wParam;
  } ways[] = {{"close", WM_CLOSE, 0},
              {"ok", WM_COMMAND, IDOK},
              {"cancel", WM_COMMAND, IDCANCEL},
              {"minimise", WM_SYSCOMMAND, SC_MINIMIZE},
              {"minimise from the menu key", WM_SYSCOMMAND, SC_MINIMIZE | 2}};
  for (const Way& way : ways) {
    const int before = window_->asks;
    SendMessageW(Hwnd(), way.message, way.wParam, 0);
    Pump();
    EXPECT_EQ(window_->asks, before + 1) << way.name;
    ASSERT_TRUE(IsWindow(Hwnd())) << way.name;
    EXPECT_FALSE(IsIconic(Hwnd())) << way.name;
  }

  // The min button asks once, not again for the command it sends.
  const int before = window_->asks;
  window_->OnMinButton();
  EXPECT_EQ(window_->asks, before + 1);
  EXPECT_FALSE(IsIconic(Hwnd()));

  // Moving, sizing and maximising are not offered at all.
  const RECT placed = window_->WindowRect();
  for (WPARAM command : {WPARAM(SC_MOVE), WPARAM(SC_SIZE | WMSZ_RIGHT), WPARAM(SC_MAXIMIZE), WPARAM(SC_MAXIMIZE | 2)}) {
    QueueLoopKeys(Hwnd());
    SendMessageW(Hwnd(), WM_SYSCOMMAND, command, 0);
    DropLoopKeys();
    EXPECT_TRUE(SameRect(window_->WindowRect(), placed)) << std::hex << command;
    EXPECT_FALSE(IsZoomed(Hwnd())) << std::hex << command;
  }
  EXPECT_FALSE(window_->CanMaximize());

  // With the password it minimises, the blocked keys pass, and it restores
  // without another question.
  window_->answer = true;
  SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_TRUE(IsIconic(Hwnd()));
  EXPECT_EQ(window_->OnKeyCombination(0, WM_KEYDOWN, nullptr), 1);
  const int asked = window_->asks;
  SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  EXPECT_FALSE(IsIconic(Hwnd()));
  EXPECT_EQ(window_->asks, asked);
  EXPECT_EQ(window_->OnKeyCombination(0, WM_KEYDOWN, nullptr), 0);

  // A minimise allowed through the min button leaves nothing allowed behind:
  // the next one, from the window menu, asks again.
  window_->OnMinButton();
  Pump();
  EXPECT_EQ(window_->asks, asked + 1);
  ASSERT_TRUE(IsIconic(Hwnd()));
  SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  window_->answer = false;
  SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_EQ(window_->asks, asked + 2);
  EXPECT_FALSE(IsIconic(Hwnd())) << "minimised without the password";

  window_->answer = true;
  SendMessageW(Hwnd(), WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindow(Hwnd()));
}

TEST_F(MainWindowTest, UnlockedWindowStartsMaximisedLaidOutOncePaintedOnceAndClosesWithoutAsking) {
  Open(false);
  ASSERT_EQ(Caption(), window_->Skin().GetItemCaption(L"appshowname"));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT client = window_->ClientRect();
  MapWindowPoints(Hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_TRUE(IsZoomed(Hwnd()));
  EXPECT_TRUE(SameRect(client, work));
  // Sized to the skin, centred and maximised before it shows: one layout
  // and one paint, at the size it shows at.
  EXPECT_EQ(window_->layouts, 1);
  EXPECT_EQ(window_->paints, 1);
  EXPECT_NE(window_->Tabs().GetToolTip(), nullptr) << "the strip's tooltip refused its tool";
  EXPECT_GT(ToolInfoSizeCheck::Seen(), 0) << "the strip's tool records went unchecked";
  // Restored, it has the skin's size in the middle of the work area, cut to
  // its shape at that size.
  SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  const int width = window_->Skin().Width(), height = window_->Skin().Height();
  const int left = work.left + (work.right - work.left - width) / 2;
  const int top = work.top + (work.bottom - work.top - height) / 2;
  EXPECT_TRUE(SameRect(window_->WindowRect(), RECT{left, top, left + width, top + height}));
  EXPECT_TRUE(SameRect(window_->ClientRect(), RECT{0, 0, width, height}));
  fw::ScopedRegion shape(CreateRectRgn(0, 0, 0, 0));
  RECT box{};
  ASSERT_NE(GetWindowRgn(Hwnd(), shape.Get()), ERROR);
  GetRgnBox(shape.Get(), &box);
  EXPECT_TRUE(SameRect(box, RECT{0, 0, width, height}));

  EXPECT_FALSE(window_->IsLocked());
  EXPECT_FALSE(window_->Selected()->locked);
  EXPECT_TRUE(window_->CanMaximize());
  EXPECT_FALSE(GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  SendMessageW(Hwnd(), WM_CLOSE, 0, 0);
  Pump();
  EXPECT_EQ(window_->asks, 0);
  EXPECT_FALSE(IsWindow(Hwnd()));
}

// What a probe saw from inside the default-browser question's modal loop.
struct QuestionProbe {
  HWND main = nullptr;
  bool seen = false;
  bool counting = false;
  bool registering = false;
  int minutes = -1;
};
QuestionProbe questionProbe;

BOOL CALLBACK FindQuestion(HWND window, LPARAM found) {
  if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != questionProbe.main ||
      !GetDlgItem(window, IDC_ASK_AT_START))
    return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Looks at the main window's timers while the question is open, delivers two
// minutes as the timer would, then answers Cancel.
void CALLBACK ProbeQuestion(HWND, UINT, UINT_PTR, DWORD) {
  HWND question = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindQuestion, reinterpret_cast<LPARAM>(&question));
  if (!question || questionProbe.seen) return;
  questionProbe.seen = true;
  HWND main = questionProbe.main;
  questionProbe.counting = KillTimer(main, CNavigationPolicy::kMinuteTimer) != FALSE;
  questionProbe.registering = KillTimer(main, CBroswerDlg::kRegisterTimer) != FALSE;
  SendMessageW(main, WM_TIMER, CNavigationPolicy::kMinuteTimer, 0);
  SendMessageW(main, WM_TIMER, CNavigationPolicy::kMinuteTimer, 0);
  questionProbe.minutes = CTimeLog().TodayMinutes();
  PostMessageW(question, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(MainWindowTest, MinutesAreCountedWhileTheDefaultBrowserQuestionIsOpen) {
  // A new user's settings (the question asked, no limit) without the wizard
  // and the update check.
  settings_.first_run = 0;
  settings_.auto_update = 0;
  ASSERT_EQ(1, settings_.Save());
  CTimeLog().AddUsage(CSysConf::kMaxMinutes, 0);  // today, nothing used yet
  questionProbe = QuestionProbe();
  window_ = std::make_unique<TestMainWindow>(settings_, newTabUrl_, history_, minuteMs_);
  ASSERT_TRUE(window_->CreateModeless(nullptr));
  questionProbe.main = Hwnd();
  const UINT_PTR probe = SetTimer(nullptr, 0, 50, ProbeQuestion);
  for (int waited = 0; waited < 10000 && !questionProbe.seen; waited += 20) {
    Pump();
    Sleep(20);
  }
  KillTimer(nullptr, probe);
  Pump();
  ASSERT_TRUE(questionProbe.seen) << "no question: the prefix holds this browser as the default one";
  EXPECT_TRUE(questionProbe.counting) << "the minute timer waits for the answer";
  EXPECT_TRUE(questionProbe.registering) << "the registration waits for the answer";
  EXPECT_EQ(2, questionProbe.minutes);
  EXPECT_TRUE(IsWindowEnabled(Hwnd())) << "the question is still open";
}

// Minutes of two seconds, so that the registration check runs inside each
// one, on the window's own timers from a new user's empty data folder.
TEST_F(MainWindowTest, TheRealTimersCountEachMinuteIntoTlDatUntilTheTimeIsUp) {
  settings_.limited = 1;
  settings_.time = 3;
  minuteMs_ = 2000;
  Start();
  ASSERT_TRUE(PumpUntil([this] { return window_->Policy().IsTimeUp() != 0; }, 60000))
      << window_->Ran(CNavigationPolicy::kMinuteTimer) << " minutes elapsed, " << CTimeLog().TodayMinutes()
      << " counted";
  // The first tick starts the day; the warning follows the second minute
  // counted, the time-up the third.
  const std::vector<std::pair<std::wstring, int>> notices{{CNavigationPolicy::kOneMinuteLeftText, 2},
                                                          {CNavigationPolicy::kTimeUpText, 3}};
  EXPECT_EQ(window_->notices, notices);
  ASSERT_EQ(window_->Ran(CNavigationPolicy::kMinuteTimer), 4);
  ASSERT_EQ(window_->Ran(CBroswerDlg::kStartTimer), 1) << "the delayed start ran again";
  // The four minutes last as long as given from the delayed start, which
  // starts the minute timer: not longer (with room for a loaded machine),
  // nor much shorter.
  const auto& timers = window_->timers;
  const size_t start = std::find(timers.begin(), timers.end(), CBroswerDlg::kStartTimer) - timers.begin();
  const size_t fourth =
      timers.size() - 1 - (std::find(timers.rbegin(), timers.rend(), CNavigationPolicy::kMinuteTimer) - timers.rbegin());
  const DWORD elapsed = window_->timerEnds[fourth] - window_->timerEnds[start];
  EXPECT_LE(elapsed, 4 * minuteMs_ * 3 / 2) << "four minutes of " << minuteMs_ << " ms";
  EXPECT_GE(elapsed, 4 * minuteMs_ * 3 / 4) << "four minutes of " << minuteMs_ << " ms";
  // Every minute elapsed with registration checks inside it.
  int checks = 0, minute = 0;
  for (UINT_PTR timer : timers) {
    if (timer == CBroswerDlg::kRegisterTimer) ++checks;
    if (timer != CNavigationPolicy::kMinuteTimer) continue;
    ++minute;
    EXPECT_GT(checks, 0) << "minute " << minute;
    checks = 0;
  }
  EXPECT_FALSE(KillTimer(Hwnd(), CNavigationPolicy::kMinuteTimer)) << "the minute timer runs on in time up";
  CSharedState shared;
  EXPECT_NE(shared.GetMainWindow(), Hwnd()) << "the window in time up stayed registered";
  EXPECT_EQ(shared.IsTimeUp(), 1);
  shared.SetTimeUp(0);
}

LRESULT SendCopyData(HWND window, ULONG_PTR kind, const void* data, DWORD size) {
  COPYDATASTRUCT copy{kind, size, const_cast<void*>(data)};
  return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

TEST_F(MainWindowTest, HandOverOpensATabOnlyForASoundText) {
  Open(false);
  TabCtrl& tabs = window_->Tabs();
  const int start = tabs.GetCount();

  const char url[] = "http://kids.test/page";
  EXPECT_EQ(SendCopyData(Hwnd(), COPYDATA_OPEN_URL, url, sizeof(url)), 0);
  ASSERT_EQ(tabs.GetCount(), start + 1);
  EXPECT_EQ(window_->Selected()->GetURL(), L"http://kids.test/page");

  // Without its terminating zero the text ends with the data.
  EXPECT_EQ(SendCopyData(Hwnd(), COPYDATA_OPEN_URL, url, 10), 0);
  EXPECT_EQ(window_->Selected()->GetURL(), L"http://kid");
  const int opened = tabs.GetCount();

  std::vector<char> oversized(CBroswerDlg::kMaxHandOverBytes + 1, 'a');
  struct Case {
    const char* name;
    ULONG_PTR kind;
    const void* data;
    DWORD size;
  } refused[] = {{"another kind", COPYDATA_OPEN_URL + 1, url, sizeof(url)},
                 {"no data", COPYDATA_OPEN_URL, nullptr, 64},
                 {"over 64 KB", COPYDATA_OPEN_URL, oversized.data(), static_cast<DWORD>(oversized.size())}};
  for (const Case& c : refused) {
    EXPECT_NE(SendCopyData(Hwnd(), c.kind, c.data, c.size), 0) << c.name;
    EXPECT_EQ(tabs.GetCount(), opened) << c.name;
  }
}

// An afternoon's use in a few seconds: Windows ends a process at 10,000 GDI
// objects, so a browser left open must hold its count.
TEST_F(MainWindowTest, LongUseHoldsTheGdiObjectCount) {
  Open(false);
  TabCtrl& tabs = window_->Tabs();
  auto use = [&](int round) {
    for (int i = 0; i < 2; ++i) window_->OpenUrlInNewTab(L"http://kids.test/" + std::to_wstring(round * 2 + i));
    while (tabs.GetCount() > 1) window_->StripEvents().OnTabClose(&tabs, nullptr, POINT{});
    SendMessageW(Hwnd(), WM_SHOW_NOTIFY, reinterpret_cast<WPARAM>(L"今天还可以玩10分钟"), 0);
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    UpdateWindow(window_->Notifier().Hwnd());
    window_->Notifier().Hide();
    Pump();
  };
  use(0);  // the first round makes what the window keeps
  ASSERT_TRUE(IsWindowVisible(Hwnd()));
  const DWORD before = GdiObjectCount::Now();
  const int paintsBefore = window_->paints;
  for (int round = 1; round <= 200; ++round) use(round);
  EXPECT_GE(window_->paints - paintsBefore, 200);
  EXPECT_EQ(1, tabs.GetCount());
  EXPECT_LE(GdiObjectCount::Now(), before + 5);
}

}  // namespace

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "UrlsConf.h"
#include "WizardResources.h"
#include "WizardTestSupport.h"

namespace wizard_test {
namespace {

TEST_F(WizardTest, FinishStoresEveryPageKeepsTypedTextAcrossPagesAndWritesTheRunValueLast) {
  StoreSettings([](CSysConf& s) {
    s.nick_name = L"老虎";
    s.password = L"old";
    s.time = 30;
  });
  CWizardMain sheet;
  WizardRun run(sheet);
  run.Type(0, IDC_PWD_FIRST, L"Secret").Type(0, IDC_PWD_SECOND, L"Secret").ClickOn(0, IDC_PWD_LOGIN_NEEDS);
  run.Click(kNext).Type(1, IDC_KID_NICK, L"小明").Pick(1, IDC_KID_SEX, L"女孩").Pick(1, IDC_KID_AGE, L"09");
  run.ClickOn(1, IDC_KID_LIMITED).Type(1, IDC_KID_MINUTES, L"45");
  run.Click(kBack).At(0, [&] { EXPECT_EQ(L"Secret", TextOf(run.PageItem(IDC_PWD_FIRST))); });
  run.Click(kNext).At(1, [&] {
    EXPECT_EQ(L"小明", TextOf(run.PageItem(IDC_KID_NICK)));
    EXPECT_EQ(L"45", TextOf(run.PageItem(IDC_KID_MINUTES)));
    EXPECT_TRUE(::IsWindowEnabled(run.PageItem(IDC_KID_MINUTES)));
  });
  run.Click(kNext).At(2, [&] { EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(run.CurrentPage(), IDC_CTRL_AUTOSTART)); });
  run.ClickOn(2, IDC_CTRL_FILTER).Click(kNext).At(3, [] { EXPECT_EQ(L"(none)", RunValue()); });
  run.Click(kFinish);
  ASSERT_TRUE(run.Go()) << run.Failure();

  CSysConf stored;
  EXPECT_EQ(L"Secret", stored.password);
  EXPECT_EQ(1, stored.login_need_pwd);
  EXPECT_EQ(0, stored.exit_need_pwd);
  EXPECT_EQ(L"小明", stored.nick_name);
  EXPECT_EQ(0, stored.is_boy);
  EXPECT_EQ(L"09", stored.age);
  EXPECT_EQ(1, stored.limited);
  EXPECT_EQ(45, stored.time);
  EXPECT_EQ(1, stored.enable_filter);
  EXPECT_EQ(0, stored.fullscreen_always);
  // Windows runs the value at logon; Wine does not, so check how it splits.
  EXPECT_EQ(ExpectedRunValue(), RunValue());
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(RunValue().c_str(), &count);
  ASSERT_EQ(2, count);
  EXPECT_EQ(CCommHelper::GetExeDir() + L"\\Brivan.exe", argv[0]);
  EXPECT_STREQ(L"-startup", argv[1]);
  ::LocalFree(argv);
  EXPECT_TRUE(Starts().empty());
}

TEST_F(WizardTest, YesSavesLikeFinishWhileUnvisitedPagesAndEmptyPasswordEditsKeepTheStoredValues) {
  StoreSettings([](CSysConf& s) {
    s.password = L"Pw";
    s.nick_name = L"老虎";
    s.limited = 1;
    s.time = 30;
    s.enable_filter = 1;
  });
  CWizardMain sheet;
  WizardRun run(sheet);
  run.ClickOn(0, IDC_PWD_EXIT_NEEDS).Click(IDCANCEL).Answer(kQuestion, IDYES);
  ASSERT_TRUE(run.Go()) << run.Failure();

  CSysConf stored;
  EXPECT_EQ(1, stored.exit_need_pwd);
  EXPECT_EQ(L"Pw", stored.password);
  EXPECT_EQ(L"老虎", stored.nick_name);
  EXPECT_EQ(1, stored.limited);
  EXPECT_EQ(30, stored.time);
  EXPECT_EQ(1, stored.enable_filter);
  EXPECT_EQ(L"(none)", RunValue()) << "the control page was never shown";
}

TEST_F(WizardTest, RefusedFinishWritesNothingAndNoRunValue) {
  struct Case {
    const char* name;
    int page, id;
    const wchar_t *first, *second;
    const wchar_t* message;
  } cases[] = {
      {"passwords differ in case", 0, IDC_PWD_FIRST, L"abc", L"ABC", L"密码输入不一致,请重新输入"},
      // Stored in the ANSI code page (936) it would become the look-alike "2"
      // and never match again.
      {"a character the code page holds only as a look-alike", 0, IDC_PWD_FIRST, L"pa\u00b2s", L"pa\u00b2s",
       CSysConf::kUnstorablePasswordText},
      {"empty nick", 1, IDC_KID_NICK, L"", nullptr, L"请输入小孩的昵称..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreSettings([](CSysConf& s) { s.password = L"Pw"; });
    std::string before = Files();
    CWizardMain sheet;
    WizardRun run(sheet);
    if (c.page == 0) run.Type(0, IDC_PWD_FIRST, c.first).Type(0, IDC_PWD_SECOND, c.second);
    run.Click(kNext);
    if (c.page == 1) run.Type(1, c.id, c.first);
    run.Click(kNext).Click(kNext).Click(kFinish).Answer(c.message, IDOK);
    run.At(3, [&] {
      EXPECT_EQ(before, Files());
      EXPECT_EQ(L"(none)", RunValue());
    });
    run.Click(IDCANCEL).Answer(kQuestion, IDNO);
    ASSERT_TRUE(run.Go()) << run.Failure();
    EXPECT_EQ(before, Files());
    EXPECT_EQ(L"(none)", RunValue());
  }
}

TEST_F(WizardTest, AFinishThatCannotWriteTheSettingsKeepsTheWizardOpenAndStartsNothing) {
  const struct {
    const char* name;
    std::function<void(const std::wstring&)> block;
  } blocks[] = {
      {"a folder where sys.conf goes",
       [](const std::wstring& path) {
         ::DeleteFileW(path.c_str());
         ::CreateDirectoryW(path.c_str(), nullptr);
         ::CreateDirectoryW((path + L"\\inside").c_str(), nullptr);
       }},
      {"a read-only sys.conf",
       [](const std::wstring& path) { ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY); }},
  };
  for (const auto& block : blocks) {
    SCOPED_TRACE(block.name);
    StoreSettings([](CSysConf& s) { s.password = L"Pw"; });
    block.block(folder_ + L"conf\\sys.conf");
    const std::string before = Files();
    BoxCounter counter;
    CWizardMain sheet;
    WizardRun run(sheet);
    run.Click(kNext).Type(1, IDC_KID_NICK, L"小明").Click(kNext).Click(kNext).Click(kFinish);
    run.At(3, [&] {
      EXPECT_TRUE(::IsWindowVisible(run.Sheet())) << "Finish closed the wizard";
      EXPECT_EQ(0, counter.Count()) << "a box told of the save";
      EXPECT_TRUE(Starts().empty());
      EXPECT_EQ(L"(none)", RunValue()) << "the start-with-Windows value was written";
    });
    run.Click(IDCANCEL).Answer(kQuestion, IDNO);
    ASSERT_TRUE(run.Go()) << run.Failure();
    EXPECT_EQ(before, Files());
    EXPECT_TRUE(Starts().empty());
    RemoveTree(folder_ + L"conf");
  }
}

// The state of the start-with-Windows box as its window goes.
int checkedAtEnd = -1;
LRESULT CALLBACK RecordAutoStartAtDestroy(int code, WPARAM wParam, LPARAM lParam) {
  auto* message = reinterpret_cast<CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && message->message == WM_DESTROY && ::GetDlgCtrlID(message->hwnd) == IDC_CTRL_AUTOSTART &&
      ClassOf(message->hwnd) == L"Button")
    checkedAtEnd = static_cast<int>(::SendMessageW(message->hwnd, BM_GETCHECK, 0, 0));
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(WizardTest, WithoutTheRunKeyTheBoxEndsUncheckedAndTheSaveSucceeds) {
  ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteKeyW(HKEY_CURRENT_USER, kAutoStartKey));
  checkedAtEnd = -1;
  HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &RecordAutoStartAtDestroy, nullptr, ::GetCurrentThreadId());
  CWizardMain sheet;
  WizardRun run(sheet);
  run.Click(kNext).Click(kNext).ClickOn(2, IDC_CTRL_FULLSCREEN).Click(kNext).Click(kFinish);
  bool ended = run.Go();
  ::UnhookWindowsHookEx(hook);
  ASSERT_TRUE(ended) << run.Failure();
  EXPECT_EQ(BST_UNCHECKED, checkedAtEnd);
  EXPECT_EQ(1, CSysConf().fullscreen_always);
}

// Every way out of the wizard, with and without changes.
struct Way {
  const char* name;
  int page;                 // the page it is taken from
  const wchar_t* program;   // what it starts, or nullptr
  const wchar_t* arguments;
  std::function<void(WizardRun&)> take;
};

void PrintTo(const Way& way, std::ostream* out) { *out << way.name; }

class WizardLeavingTest : public WizardTest, public ::testing::WithParamInterface<Way> {
 protected:
  // Runs the wizard: `change` on page 1, then to the way's page, then `rest`.
  void Leave(const std::function<void(WizardRun&)>& change, const std::function<void(WizardRun&)>& rest,
             int* boxes) {
    CWizardMain sheet;
    WizardRun run(sheet);
    BoxCounter counter;
    change(run);
    // The last page is reached with a step back on the way: coming back to a
    // page reloads its controls, which is no change.
    if (GetParam().page == 3) run.Click(kNext).Click(kBack);
    for (int page = 0; page < GetParam().page; ++page) run.Click(kNext);
    GetParam().take(run);
    rest(run);
    ASSERT_TRUE(run.Go()) << run.Failure();
    *boxes = counter.Count();
  }
  void ExpectStarted(size_t times) {
    const Way& way = GetParam();
    if (!way.program) {
      EXPECT_TRUE(Starts().empty());
      return;
    }
    ASSERT_EQ(times, Starts().size());
    for (const StartRecord& start : Starts()) {
      EXPECT_EQ(Program(way.program), start.program);
      EXPECT_EQ(way.arguments, start.arguments);
    }
  }
};

TEST_P(WizardLeavingTest, AsksOnceOnlyAfterChangesAndLeavesOrStaysAsAnswered) {
  StoreSettings([](CSysConf& s) { s.password = L"Pw"; });
  const std::string before = Files();
  const int page = GetParam().page;
  auto nothing = [](WizardRun&) {};
  auto change = [](WizardRun& run) { run.ClickOn(0, IDC_PWD_EXIT_NEEDS); };
  int boxes = 0;

  {
    SCOPED_TRACE("unmodified: no question");
    ASSERT_NO_FATAL_FAILURE(Leave(nothing, nothing, &boxes));
    EXPECT_EQ(0, boxes);
    EXPECT_EQ(before, Files());
    ExpectStarted(1);
  }
  {
    SCOPED_TRACE("Cancel stays and starts nothing, No leaves without saving");
    Starts().clear();
    ASSERT_NO_FATAL_FAILURE(Leave(change, [&](WizardRun& run) {
      run.CloseWhileAsked(kQuestion).Answer(kQuestion, IDCANCEL).At(page, [] { EXPECT_TRUE(Starts().empty()); });
      GetParam().take(run);
      run.Answer(kQuestion, IDNO);
    }, &boxes));
    EXPECT_EQ(2, boxes) << "one question per request, none for a request while it is open";
    EXPECT_EQ(before, Files());
    ExpectStarted(1);
  }
  {
    SCOPED_TRACE("a refused Yes shows the refusing page and starts nothing");
    Starts().clear();
    auto mismatch = [](WizardRun& run) { run.Type(0, IDC_PWD_FIRST, L"a").Type(0, IDC_PWD_SECOND, L"b"); };
    ASSERT_NO_FATAL_FAILURE(Leave(mismatch, [&](WizardRun& run) {
      run.Answer(kQuestion, IDYES).Answer(L"密码输入不一致", IDOK);
      run.At(0, [&] {
        EXPECT_TRUE(Starts().empty());
        EXPECT_EQ(before, Files());
      });
      run.Click(IDCANCEL).Answer(kQuestion, IDNO);
    }, &boxes));
    EXPECT_EQ(3, boxes);
    EXPECT_EQ(before, Files());
    EXPECT_TRUE(Starts().empty());
  }
  {
    SCOPED_TRACE("Yes saves, then leaves as No does");
    Starts().clear();
    ASSERT_NO_FATAL_FAILURE(
        Leave(change, [](WizardRun& run) { run.Answer(kQuestion, IDYES); }, &boxes));
    EXPECT_EQ(1, boxes);
    EXPECT_EQ(1, CSysConf().exit_need_pwd);
    EXPECT_EQ(L"Pw", CSysConf().password);
    ExpectStarted(1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, WizardLeavingTest,
    ::testing::Values(
        Way{"Cancel", 0, nullptr, nullptr, [](WizardRun& run) { run.Click(IDCANCEL); }},
        Way{"Esc", 0, nullptr, nullptr, [](WizardRun& run) { run.Key(0, VK_ESCAPE); }},
        Way{"CloseBox", 0, nullptr, nullptr, [](WizardRun& run) { run.Post(WM_SYSCOMMAND, SC_CLOSE); }},
        Way{"WmClose", 0, nullptr, nullptr, [](WizardRun& run) { run.Post(WM_CLOSE); }},
        Way{"SwitchToPanel", 0, L"Pelvin.exe", L"0", [](WizardRun& run) { run.Click(IDC_SWITCH_TO_PANEL); }},
        Way{"CancelOnLastPage", 3, nullptr, nullptr, [](WizardRun& run) { run.Click(IDCANCEL); }},
        Way{"PanelPicture", 3, L"Pelvin.exe", L"0",
            [](WizardRun& run) { run.ClickOn(3, IDC_DONE_CONTROL_PANEL); }},
        Way{"BrowserPicture", 3, L"Brivan.exe", L"", [](WizardRun& run) { run.ClickOn(3, IDC_DONE_BROWSER); }}),
    [](const ::testing::TestParamInfo<Way>& info) { return std::string(info.param.name); });

TEST_F(WizardTest, EveryChangeOnTheChildAndControlPagesAsksBeforeLeaving) {
  StoreSettings([](CSysConf& s) {
    s.limited = 1;
    s.time = 30;
    s.is_boy = 1;
    s.age = L"07";
  });
  const std::string before = Files();
  const struct {
    const char* name;
    std::function<void(WizardRun&)> change;
  } changes[] = {
      {"limit", [](WizardRun& run) { run.ClickOn(1, IDC_KID_LIMITED); }},
      {"no limit", [](WizardRun& run) { run.ClickOn(1, IDC_KID_UNLIMITED); }},
      {"minutes", [](WizardRun& run) { run.Type(1, IDC_KID_MINUTES, L"45"); }},
      {"sex", [](WizardRun& run) { run.Pick(1, IDC_KID_SEX, L"女孩"); }},
      {"age", [](WizardRun& run) { run.Pick(1, IDC_KID_AGE, L"09"); }},
      {"filter", [](WizardRun& run) { run.Click(kNext).ClickOn(2, IDC_CTRL_FILTER); }},
      {"full screen", [](WizardRun& run) { run.Click(kNext).ClickOn(2, IDC_CTRL_FULLSCREEN); }},
      {"start with Windows", [](WizardRun& run) { run.Click(kNext).ClickOn(2, IDC_CTRL_AUTOSTART); }},
  };
  for (const auto& c : changes) {
    SCOPED_TRACE(c.name);
    BoxCounter counter;
    CWizardMain sheet;
    WizardRun run(sheet);
    run.Click(kNext);
    c.change(run);
    run.Click(IDCANCEL).Answer(kQuestion, IDNO);
    EXPECT_TRUE(run.Go()) << run.Failure();
    EXPECT_EQ(1, counter.Count());
    EXPECT_EQ(before, Files());
  }
}

TEST_F(WizardTest, OneClickSetupLeavesWithItsMessageAfterChangesAndWritesNothing) {
  StoreSettings([](CSysConf& s) { s.password = L"Pw"; });
  const std::string before = Files();
  CWizardMain sheet;
  WizardRun run(sheet);
  BoxCounter counter;
  run.ClickOn(0, IDC_PWD_EXIT_NEEDS).Click(IDC_ONE_CLICK_SETUP);
  run.Answer(L"已经为您使用了我们的默认安全设置，谢谢使用。", IDOK);
  ASSERT_TRUE(run.Go()) << run.Failure();
  EXPECT_EQ(1, counter.Count());
  EXPECT_EQ(before, Files());
  EXPECT_EQ(L"(none)", RunValue());
  EXPECT_TRUE(Starts().empty());
  EXPECT_GE(run.QuitPosted(), 1);
}

TEST_F(WizardTest, HelpStartsTheBrowserWithTheQuotedHelpAddress) {
  ASSERT_FALSE(GetHelpUrl().empty());
  CWizardMain sheet;
  WizardRun run(sheet);
  run.Click(kHelp).At(0, [&] {
    ASSERT_EQ(1u, Starts().size());
    EXPECT_EQ(Program(L"Brivan.exe"), Starts()[0].program);
    EXPECT_EQ(L"\"" + GetHelpUrl() + L"\"", Starts()[0].arguments);
  });
  run.Click(IDCANCEL);
  ASSERT_TRUE(run.Go()) << run.Failure();
}

// The screen's pixels of `rect`, 0x00RRGGBB row after row.
std::vector<DWORD> ScreenPixels(const RECT& rect) {
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  ::GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

TEST_F(WizardTest, WindowKeepsItsSizeCentredOnTheWorkAreaWithItsButtonsAndWhitePages) {
  CWizardMain sheet;
  WizardRun run(sheet);
  auto repaint = [&] {
    ::RedrawWindow(run.Sheet(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(200);
  };
  run.At(0, [&] {
    RECT window{}, work{};
    ::GetWindowRect(run.Sheet(), &window);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(CWizardMain::kWidth, window.right - window.left);
    EXPECT_EQ(CWizardMain::kHeight, window.bottom - window.top);
    EXPECT_NEAR((work.left + work.right) / 2, (window.left + window.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (window.top + window.bottom) / 2, 1);

    ::SetWindowPos(run.Sheet(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT after{};
    ::GetWindowRect(run.Sheet(), &after);
    EXPECT_EQ(window.left, after.left);
    EXPECT_EQ(window.top, after.top);
    EXPECT_EQ(CWizardMain::kWidth, after.right - after.left);
    EXPECT_EQ(CWizardMain::kHeight, after.bottom - after.top);

    // Every button of the sheet whole inside it, in one row with its own two,
    // none over another.
    RECT client{}, own{};
    std::vector<RECT> placed;
    ::GetClientRect(run.Sheet(), &client);
    ::GetWindowRect(::GetDlgItem(run.Sheet(), IDC_SWITCH_TO_PANEL), &own);
    for (int id : {kBack, kNext, IDCANCEL, kHelp, IDC_SWITCH_TO_PANEL, IDC_ONE_CLICK_SETUP}) {
      RECT button{};
      ::GetWindowRect(::GetDlgItem(run.Sheet(), id), &button);
      ::MapWindowPoints(nullptr, run.Sheet(), reinterpret_cast<POINT*>(&button), 2);
      EXPECT_GE(button.left, 0) << id;
      EXPECT_LE(button.right, client.right) << id;
      EXPECT_LE(button.bottom, client.bottom) << id;
      RECT screen{};
      ::GetWindowRect(::GetDlgItem(run.Sheet(), id), &screen);
      EXPECT_NEAR(own.bottom, screen.bottom, 4) << id;
      for (const RECT& other : placed) {
        RECT overlap{};
        EXPECT_FALSE(::IntersectRect(&overlap, &other, &screen)) << id;
      }
      placed.push_back(screen);
    }
  });
  run.Click(kNext).Click(kNext).Click(kNext).At(3, [&] {
    const RECT expected[] = {{115, 80, 440, 181}, {115, 180, 440, 281}};
    for (int i = 0; i < 2; ++i) {
      RECT button{};
      HWND item = run.PageItem(IDC_DONE_CONTROL_PANEL + i);
      ::GetWindowRect(item, &button);
      ::MapWindowPoints(nullptr, run.CurrentPage(), reinterpret_cast<POINT*>(&button), 2);
      EXPECT_EQ(expected[i].left, button.left);
      EXPECT_EQ(expected[i].top, button.top);
      EXPECT_EQ(expected[i].right, button.right);
      EXPECT_EQ(expected[i].bottom, button.bottom);
    }
    // Above whatever other windows share the display while it is read.
    ::SetWindowPos(run.Sheet(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    repaint();
    RECT window{};
    ::GetWindowRect(run.Sheet(), &window);
    std::vector<DWORD> pixels = ScreenPixels(window);
    EXPECT_EQ(0, std::count(pixels.begin(), pixels.end(), 0xFF00FFu)) << "magenta shows";
    RECT page{};
    ::GetWindowRect(run.CurrentPage(), &page);
    int width = window.right - window.left;
    // Right of the buttons, above and below them.
    for (POINT at : {POINT{page.left + 460, page.top + 200}, POINT{page.left + 300, page.top + 40},
                     POINT{page.left + 300, page.top + 300}}) {
      DWORD pixel = pixels[static_cast<size_t>(at.y - window.top) * width + (at.x - window.left)];
      EXPECT_EQ(0xFFFFFFu, pixel & 0xFFFFFF) << at.x << "," << at.y;
    }
  });
  run.Click(IDCANCEL);
  ASSERT_TRUE(run.Go()) << run.Failure();
}

}  // namespace
}  // namespace wizard_test

// The control panel run through its export, from a copy of the program
// folder, with a driver thread acting as the parent.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ComSupport.h"
#include "CommHelper.h"
#include "DashboardTestFixture.h"
#include "SkinEngine.h"
#include "StringConv.h"
#include "SysConf.h"
#include "UrlsConf.h"

namespace {

using paneltest::Driver;
using paneltest::PanelRun;
using paneltest::DashboardTest;
using namespace paneltest::ids;

const wchar_t kSaved[] = L"保存成功,要使您的设置生效，请重启浏览器。";
const wchar_t kSaveQuestion[] = L"您已经对设置作了修改，是否保存？";
const wchar_t kWrongPassword[] = L"密码错误，请重新输入";
const wchar_t kTypeHere[] = L"-请输入您想要的网址-";


void RequirePassword(CSysConf& conf) {
  conf.login_need_pwd = 1;
  conf.password = L"Secret";
}

TEST_F(DashboardTest, ModeOneAsksBeforeThePanelAndCancelOrAWrongPasswordReturnsTwo) {
  Store(RequirePassword);
  // Only the whole password passes: more after it, nothing, or its first letters are refused.
  const std::vector<std::wstring> wrong = {L"secret!", L"", L"Sec"};
  std::vector<std::wstring> refusals;
  bool panelShown = false;
  PanelRun run = Run(1, [&](Driver& d) {
    for (const std::wstring& typed : wrong) {
      d.EnterPassword(typed);
      refusals.push_back(d.Answer(IDOK));
      panelShown = panelShown || d.FindPanel() != nullptr;
    }
    Driver::Click(d.Prompt(), IDCANCEL);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(2, run.result);
  EXPECT_EQ(std::vector<std::wstring>(wrong.size(), kWrongPassword), refusals);
  EXPECT_FALSE(panelShown);
  // The panel object was built but never opened: its COM set-up is undone all
  // the same, so this thread starts COM afresh.
  HRESULT fresh = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  EXPECT_EQ(S_OK, fresh);
  if (SUCCEEDED(fresh)) ::CoUninitialize();
}

TEST_F(DashboardTest, ModeOneOpensTheSecurityPageAndAsksOncePerRunInAnyLetterCase) {
  Store(RequirePassword);
  bool security = false, kidInfoWithoutAsking = false;
  PanelRun run = Run(1, [&](Driver& d) {
    d.EnterPassword(L"sEcReT");
    HWND panel = d.Panel();
    security = d.Appears([&] { return d.Shows(kPassword) ? panel : nullptr; }, 3000);
    Driver::Click(panel, kTabKidInfo);
    kidInfoWithoutAsking = d.Appears([&] { return d.Shows(kNick) ? panel : nullptr; }, 3000) && !d.FindPrompt();
    Driver::Click(panel, kCancel);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(2, run.result) << "closed through Cancel with nothing changed";
  EXPECT_TRUE(security);
  EXPECT_TRUE(kidInfoWithoutAsking);
}

TEST_F(DashboardTest, ModeOneWithAnEmptyPasswordNeverAsksAndItsLinksStartNothing) {
  Store([](CSysConf& conf) {
    conf.login_need_pwd = 1;
    conf.password.clear();
  });
  bool security = false, asked = true, errorShown = true;
  PanelRun run = Run(1, [&](Driver& d) {
    HWND panel = d.Panel();
    asked = d.FindPrompt() != nullptr;
    security = d.ComesToShow(kPassword);
    for (int link : {kLinkBrowser, kLinkWizard})
      ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(link, STN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(panel, link)));
    errorShown = d.Appears([&] { return d.TopLevelWindows().size() > 1 ? panel : nullptr; }, 1500);
    Driver::Click(panel, kOK);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(1, run.result);
  EXPECT_FALSE(asked);
  EXPECT_TRUE(security);
  EXPECT_FALSE(errorShown) << "a link without a command must not open its text";
  EXPECT_EQ("", copy_->RecordedArgs(copy_->Path(L"Brivan.exe"), 500));
  EXPECT_EQ("", copy_->RecordedArgs(copy_->Path(L"Wizard.exe"), 0));
}

TEST_F(DashboardTest, ModeZeroShowsGeneralAtOnceGatesOtherTabsOnceAndDisablesTheCaller) {
  Store([](CSysConf& conf) {
    RequirePassword(conf);
    conf.can_change_mp = 0;
  });
  std::string before = Files();
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"caller", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
  ::SetForegroundWindow(owner);
  ::SetActiveWindow(owner);
  bool general = false, homeLocked = false, homeUnlocked = false, callerDisabled = false, ownedByCaller = false;
  bool controlTabShown = false, notAskedAgain = false;
  std::vector<int> cancelledButShown;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND panel = d.Panel();
    callerDisabled = d.Appears([&] { return ::IsWindowEnabled(owner) ? nullptr : owner; }, 2000);
    ownedByCaller = ::GetWindow(panel, GW_OWNER) == owner;
    general = d.ComesToShow(kHomeUrl) && !d.FindPrompt();
    // Cancel in the prompt keeps each guarded page away, and the next still asks.
    for (int tab : {kTabSecurity, kTabRecommend, kTabLog, kTabKidInfo, kTabControl, kTabWords}) {
      Driver::Click(panel, tab);
      HWND prompt = d.Prompt();
      Driver::Click(prompt, IDCANCEL);
      d.WaitGone(prompt, "the cancelled prompt");
      ::SendMessageW(panel, WM_NULL, 0, 0);  // answered once the tab's handler is done
      if (!d.Shows(kDbClose)) cancelledButShown.push_back(tab);
    }
    homeLocked = !Driver::IsEnabled(d.Page(kHomeUrl), kHomeUrl);
    Driver::Click(panel, kTabSecurity);
    d.EnterPassword(L"SECRET");
    d.WaitFor([&] { return d.Shows(kPassword) ? panel : nullptr; }, "the security page");
    Driver::Click(panel, kTabControl);
    controlTabShown = d.Appears([&] { return d.Shows(kEnableFilter) ? panel : nullptr; }, 3000);
    notAskedAgain = !d.FindPrompt();
    Driver::Click(panel, kTabGeneral);
    d.WaitFor([&] { return d.Shows(kDbClose) ? panel : nullptr; }, "the general page");
    homeUnlocked = Driver::IsEnabled(d.Page(kHomeUrl), kHomeUrl);
    Driver::Click(panel, kOK);
  });
  bool enabledAfter = ::IsWindowEnabled(owner) != FALSE;
  ::DestroyWindow(owner);
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(1, run.result);
  EXPECT_TRUE(general);
  EXPECT_EQ(std::vector<int>(), cancelledButShown) << "a cancelled prompt let its page show";
  EXPECT_TRUE(homeLocked) << "can_change_mp off and no password given yet";
  EXPECT_TRUE(controlTabShown);
  EXPECT_TRUE(notAskedAgain);
  EXPECT_TRUE(homeUnlocked) << "the password given in this run unlocks the home page";
  EXPECT_TRUE(callerDisabled);
  EXPECT_TRUE(ownedByCaller);
  EXPECT_TRUE(enabledAfter);
  EXPECT_EQ(before, Files()) << "OK without a change saves nothing";
}

TEST_F(DashboardTest, ApplySavesThePagesTellsTheParentAndOkAfterwardsReturnsOne) {
  Store([](CSysConf& conf) {
    conf.dbclose = 1;
    conf.hide_single_tab = 0;
    conf.home_url = L"http://before.example/";
  });
  std::wstring saved;
  bool applyEnabledWhenDirty = false, applyDisabledAfter = false, secondMessage = true;
  std::string afterApply;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND panel = d.Panel();
    HWND general = d.Page(kHomeUrl);
    Driver::SetCheck(general, kDbClose, false);
    Driver::SetCheck(general, kHideSingleTab, true);
    Driver::Choose(general, kHomeUrl, L"空白页");
    applyEnabledWhenDirty = Driver::IsEnabled(panel, kApply);
    Driver::Click(panel, kApply);
    saved = d.Answer(IDOK);
    applyDisabledAfter = !Driver::IsEnabled(panel, kApply);
    afterApply = Files();
    Driver::Click(panel, kOK);
    secondMessage = d.Appears([&] { return d.FindNotice(); }, 800);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(1, run.result);
  EXPECT_EQ(kSaved, saved);
  EXPECT_TRUE(applyEnabledWhenDirty);
  EXPECT_TRUE(applyDisabledAfter);
  EXPECT_FALSE(secondMessage) << "OK after Apply has nothing left to save";
  EXPECT_EQ(afterApply, Files());
  CSysConf conf = Stored();
  EXPECT_EQ(0, conf.dbclose);
  EXPECT_EQ(1, conf.hide_single_tab);
  EXPECT_EQ(L"about:blank", conf.home_url);
}

TEST_F(DashboardTest, EachBoxOfTheGeneralAndSecurityPagesShowsAndSavesItsOwnSetting) {
  // The boxes by the ids the pages are known by, general page first.
  const struct {
    int id;
    int CSysConf::*setting;
  } boxes[] = {{1007, &CSysConf::auto_update},     {1038, &CSysConf::dbclose},
               {1039, &CSysConf::dbnewtab},        {1041, &CSysConf::hide_single_tab},
               {1042, &CSysConf::show_tab_top},    {1040, &CSysConf::open_btn_sound},
               {1004, &CSysConf::exit_need_pwd},   {1047, &CSysConf::fullscreen_always},
               {1006, &CSysConf::login_need_pwd},  {1043, &CSysConf::block_key},
               {1049, &CSysConf::start_check},     {1048, &CSysConf::can_change_mp}};
  const size_t kGeneralBoxes = 6;
  // Box i holds the number i + 1, one of its four bits per round: any two
  // boxes differ in some round, so a box tied to another's setting shows.
  auto bit = [](size_t box, int round) { return static_cast<int>(((box + 1) >> (round % 4)) & 1); };
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(::testing::Message() << "round " << round);
    Store([&](CSysConf& conf) {
      for (size_t i = 0; i < std::size(boxes); ++i) conf.*boxes[i].setting = bit(i, round);
      conf.password.clear();  // the security page opens without a prompt
      conf.limited = 1;
      conf.time = 77;
      conf.enable_filter = 1;
      conf.enable_log = 1;
      conf.first_run = 0;
      conf.is_boy = 0;
    });
    std::vector<int> shown;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND panel = d.Panel();
      d.WaitFor([&] { return d.Shows(kDbClose) ? panel : nullptr; }, "the general page");
      HWND general = d.Page(kDbClose);
      Driver::Click(panel, kTabSecurity);
      d.WaitFor([&] { return d.Shows(kPassword) ? panel : nullptr; }, "the security page");
      HWND security = d.Page(kPassword);
      for (size_t i = 0; i < std::size(boxes); ++i) {
        HWND page = i < kGeneralBoxes ? general : security;
        shown.push_back(Driver::IsChecked(page, boxes[i].id) ? 1 : 0);
        Driver::SetCheck(page, boxes[i].id, bit(i, round + 1) != 0);
      }
      Driver::Click(panel, kOK);
      d.Answer(IDOK);
    });
    EXPECT_EQ("", run.failure);
    ASSERT_EQ(std::size(boxes), shown.size());
    CSysConf conf = Stored();
    for (size_t i = 0; i < std::size(boxes); ++i) {
      EXPECT_EQ(bit(i, round), shown[i]) << "box " << boxes[i].id << " as the page opened";
      EXPECT_EQ(bit(i, round + 1), conf.*boxes[i].setting) << "box " << boxes[i].id << " as saved";
    }
    EXPECT_EQ(1, conf.limited);
    EXPECT_EQ(77, conf.time);
    EXPECT_EQ(1, conf.enable_filter);
    EXPECT_EQ(1, conf.enable_log);
    EXPECT_EQ(0, conf.first_run);
    EXPECT_EQ(0, conf.is_boy);
    EXPECT_EQ(L"", conf.password);
  }
}

TEST_F(DashboardTest, HomePageEntriesLoadAndSave) {
  fw::ComThreadScope com;  // the address book is read through MSXML
  std::wstring navHome, navTitle;
  ReadUrlsConfValue(navHome, L"navhome");
  ReadUrlsConfValue(navTitle, L"navtitle");
  ASSERT_FALSE(navHome.empty());
  const struct {
    std::wstring stored;
    std::wstring shownFirst;  // the selected entry when the page opens
    std::wstring choose;      // "" keeps the selection
    std::wstring expected;
  } cases[] = {
      {L"", navTitle, L"", navHome},
      {L"http://custom.example/", L"http://custom.example/", L"", L"http://custom.example/"},
      {L"ABOUT:BLANK", L"空白页", navTitle, navHome},
      // The prompt entry is no address: the stored home page stays.
      {L"http://custom.example/", L"http://custom.example/", kTypeHere, L"http://custom.example/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(fw::ToAnsi(c.stored + L" -> " + c.choose, CP_UTF8));
    Store([&](CSysConf& conf) {
      conf.home_url = c.stored;
      conf.can_change_mp = 1;
    });
    std::wstring shown, first;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND panel = d.Panel();
      HWND general = d.Page(kHomeUrl);
      shown = Driver::ComboSelection(general, kHomeUrl);
      first = Driver::ComboEntries(general, kHomeUrl).at(0);
      if (!c.choose.empty())
        Driver::Choose(general, kHomeUrl, c.choose);
      else
        Driver::SetCheck(general, kDbClose, !Driver::IsChecked(general, kDbClose));  // something to save
      Driver::Click(panel, kOK);
      d.Answer(IDOK);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_EQ(1, run.result);
    EXPECT_EQ(c.shownFirst, shown);
    if (c.stored.find(L"custom") != std::wstring::npos) {
      EXPECT_EQ(c.stored, first) << "a custom page leads the list";
    }
    EXPECT_EQ(c.expected, Stored().home_url);
  }
}

TEST_F(DashboardTest, ChildPageLoadsAndSavesLimitNickSexAndAge) {
  Store([](CSysConf& conf) {
    conf.limited = 0;
    conf.time = 45;
    conf.nick_name = L"小明";
    conf.is_boy = 0;
    conf.age = L"03";
  });
  std::wstring sex, age, minutes, nickRefusal;
  std::vector<std::wstring> sexes;
  bool minutesDisabled = false, stillOpen = false, minutesEnabledByLimit = false;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND panel = d.Panel();
    HWND kid = d.Page(kNick);
    sexes = Driver::ComboEntries(kid, kSex);
    sex = Driver::ComboSelection(kid, kSex);
    age = Driver::ComboSelection(kid, kAge);
    minutes = Driver::ItemText(kid, kMinutes);
    minutesDisabled = !Driver::IsEnabled(kid, kMinutes);
    Driver::SetCheck(kid, kUnlimited, false);
    Driver::SetCheck(kid, kLimited, true);
    minutesEnabledByLimit = Driver::IsEnabled(kid, kMinutes);
    Driver::Type(kid, kMinutes, L"90");
    Driver::Type(kid, kNick, L"");
    Driver::Click(panel, kApply);
    nickRefusal = d.Answer(IDOK);
    stillOpen = ::IsWindow(panel) && Driver::IsEnabled(panel, kApply) && !d.FindNotice();
    Driver::Type(kid, kNick, L"小红");
    Driver::Choose(kid, kSex, L"男孩");
    Driver::Click(panel, kOK);
    d.Answer(IDOK);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(1, run.result);
  EXPECT_EQ((std::vector<std::wstring>{L"男孩", L"女孩"}), sexes) << "entries from the module, sorted by the list";
  EXPECT_EQ(L"女孩", sex);
  EXPECT_EQ(L"<none>", age) << "03 lies outside 04 to 16";
  EXPECT_EQ(L"45", minutes);
  EXPECT_TRUE(minutesDisabled);
  EXPECT_TRUE(minutesEnabledByLimit);
  EXPECT_EQ(L"请输入小孩的昵称...", nickRefusal);
  EXPECT_TRUE(stillOpen);
  CSysConf conf = Stored();
  EXPECT_EQ(1, conf.limited);
  EXPECT_EQ(90, conf.time);
  EXPECT_EQ(L"小红", conf.nick_name);
  EXPECT_EQ(1, conf.is_boy);
  EXPECT_EQ(L"03", conf.age) << "no age chosen keeps the stored one";
}

TEST_F(DashboardTest, UnlimitedKeepsTheStoredMinutes) {
  Store([](CSysConf& conf) {
    conf.limited = 1;
    conf.time = 75;
    conf.age = L"09";
  });
  std::wstring age;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND kid = d.Page(kNick);
    age = Driver::ComboSelection(kid, kAge);
    Driver::SetCheck(kid, kLimited, false);
    Driver::SetCheck(kid, kUnlimited, true);
    Driver::Type(kid, kMinutes, L"");
    Driver::Click(d.Panel(), kOK);
    d.Answer(IDOK);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(L"09", age);
  CSysConf conf = Stored();
  EXPECT_EQ(0, conf.limited);
  EXPECT_EQ(75, conf.time);
}

TEST_F(DashboardTest, SecurityPageRefusesPasswordsThatDifferOrThatTheCodePageCannotHold) {
  Store(RequirePassword);
  std::string before = Files();
  const struct {
    std::wstring password, again, message;
  } refusals[] = {
      {L"Secret2", L"secret2", L"密码输入不一致,请重新输入"},
      // Code page 936 stores this character only as the look-alike "2".
      {L"pa\u00b2s", L"pa\u00b2s", L"密码中含有无法保存的字符，请只使用字母、数字或常用符号。"},
  };
  for (const auto& refusal : refusals) {
    std::wstring message;
    bool applyStillEnabled = false;
    PanelRun run = Run(1, [&](Driver& d) {
      d.EnterPassword(L"Secret");
      HWND panel = d.Panel();
      HWND security = d.Page(kPassword);
      Driver::Type(security, kPassword, refusal.password);
      Driver::Type(security, kPasswordAgain, refusal.again);
      Driver::Click(panel, kApply);
      message = d.Answer(IDOK);
      applyStillEnabled = Driver::IsEnabled(panel, kApply) && !d.Appears([&] { return d.FindNotice(); }, 500);
      Driver::Click(panel, kCancel);
      d.Answer(IDNO);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_EQ(2, run.result);
    EXPECT_EQ(refusal.message, message);
    EXPECT_TRUE(applyStillEnabled);
    EXPECT_EQ(before, Files()) << "nothing stored";
  }
}

TEST_F(DashboardTest, EmptyPasswordsStoreNoPasswordAndTheNextRunDoesNotAsk) {
  Store(RequirePassword);
  PanelRun run = Run(1, [&](Driver& d) {
    d.EnterPassword(L"secret");
    HWND security = d.Page(kPassword);
    Driver::Type(security, kPassword, L"");
    Driver::Type(security, kPasswordAgain, L"");
    Driver::SetCheck(security, kFullscreen, true);
    Driver::Click(d.Panel(), kOK);
    d.Answer(IDOK);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(1, run.result);
  CSysConf conf = Stored();
  EXPECT_EQ(L"", conf.password);
  EXPECT_EQ(1, conf.fullscreen_always);
  EXPECT_EQ(1, conf.login_need_pwd);
  bool asked = true;
  run = Run(1, [&](Driver& d) {
    HWND panel = d.Panel();
    asked = d.FindPrompt() != nullptr;
    Driver::Click(panel, kCancel);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_FALSE(asked);
}

TEST_F(DashboardTest, CloseBoxAsksOnceAndNoLeavesTheFiles) {
  Store([](CSysConf&) {});
  std::string before = Files();
  std::wstring question;
  bool askedTwice = true, stillOpen = false;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND panel = d.Panel();
    Driver::SetCheck(d.Page(kHomeUrl), kDbClose, false);
    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    question = d.Answer(IDCANCEL);
    askedTwice = d.Appears([&] { return d.FindNotice(); }, 1200);
    if (askedTwice) d.Answer(IDCANCEL);
    stillOpen = ::IsWindowVisible(panel) != FALSE;
    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    d.Answer(IDNO);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(2, run.result);
  EXPECT_EQ(kSaveQuestion, question);
  EXPECT_FALSE(askedTwice);
  EXPECT_TRUE(stillOpen) << "Cancel in the question keeps the panel";
  EXPECT_EQ(before, Files());
}

TEST_F(DashboardTest, YesInTheSaveQuestionSavesAndReturnsOne) {
  Store([](CSysConf& conf) { conf.dbclose = 1; });
  PanelRun run = Run(0, [&](Driver& d) {
    Driver::SetCheck(d.Page(kHomeUrl), kDbClose, false);
    Driver::Click(d.Panel(), kCancel);
    d.Answer(IDYES);
    d.Answer(IDOK);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(1, run.result);
  EXPECT_EQ(0, Stored().dbclose);
}

TEST_F(DashboardTest, AFailedSaveIsReportedAndThePanelStaysOpenAndDirty) {
  Store([](CSysConf& conf) { conf.dbclose = 1; });
  std::wstring sysConf = folder_ + L"conf\\sys.conf";
  ASSERT_TRUE(::SetFileAttributesW(sysConf.c_str(), FILE_ATTRIBUTE_READONLY));
  std::wstring applyMessage, okMessage;
  bool openAndDirty = false;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND panel = d.Panel();
    Driver::SetCheck(d.Page(kHomeUrl), kDbClose, false);
    Driver::Click(panel, kApply);
    applyMessage = d.Answer(IDOK);
    Driver::Click(panel, kOK);
    okMessage = d.Answer(IDOK);
    openAndDirty = ::IsWindowVisible(panel) && Driver::IsEnabled(panel, kApply);
    Driver::Click(panel, kCancel);
    d.Answer(IDNO);
  });
  ::SetFileAttributesW(sysConf.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(2, run.result);
  EXPECT_EQ(L"设置没有保存成功，请检查数据文件夹是否可以写入后再试。", applyMessage);
  EXPECT_EQ(applyMessage, okMessage);
  EXPECT_TRUE(openAndDirty);
  EXPECT_EQ(1, Stored().dbclose);
}

TEST_F(DashboardTest, EachCallReadsTheFilesAsTheyStandNow) {
  // The library stays loaded between the calls, as the browser keeps it;
  // between them the wizard saves a new password and nick name.
  const struct {
    std::wstring password, typed, nick;
  } calls[] = {{L"Alt", L"alt", L"甲"}, {L"Neu", L"NEU", L"小兰"}};
  for (const auto& call : calls) {
    Store([&](CSysConf& conf) {
      conf.login_need_pwd = 1;
      conf.password = call.password;
      conf.nick_name = call.nick;
    });
    std::wstring nick;
    PanelRun run = Run(1, [&](Driver& d) {
      d.EnterPassword(call.typed);
      HWND panel = d.Panel();
      Driver::Click(panel, kTabKidInfo);
      d.WaitFor([&] { return d.Shows(kNick) ? panel : nullptr; }, "the child page");
      nick = Driver::ItemText(d.Page(kNick), kNick);
      Driver::Click(panel, kCancel);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_EQ(2, run.result);
    EXPECT_EQ(call.nick, nick);
  }
}

TEST_F(DashboardTest, ModeZeroLinksStartTheQuotedProgramsOfTheLibrarysFolder) {
  Store([](CSysConf&) {});
  PanelRun run = Run(0, [&](Driver& d) {
    HWND panel = d.Panel();
    for (int link : {kLinkBrowser, kLinkWizard})
      ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(link, STN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(panel, link)));
    copy_->RecordedArgs(copy_->Path(L"Wizard.exe"), 5000);
    if (d.Appears([&] { return d.TopLevelWindows().size() > 1 ? panel : nullptr; }, 800))
      throw paneltest::DriverError("a box showed after a link click");
    Driver::Click(panel, kOK);
  });
  EXPECT_EQ("", run.failure);
  for (const wchar_t* name : {L"Brivan.exe", L"Wizard.exe"}) {
    std::string line = copy_->RecordedArgs(copy_->Path(name), 3000);
    EXPECT_EQ(fw::ToAnsi(L"\"" + copy_->Path(name) + L"\"", CP_UTF8), line);
  }
  EXPECT_EQ("", copy_->RecordedArgs(copy_->Decoy(), 0)) << "the unquoted prefix ran";
}

DWORD FindProcess(const wchar_t* name, DWORD other = 0) {
  DWORD found = 0;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found; more = ::Process32NextW(snapshot, &entry)) {
    if (::lstrcmpiW(entry.szExeFile, name) == 0 && entry.th32ProcessID != other) found = entry.th32ProcessID;
  }
  ::CloseHandle(snapshot);
  return found;
}

// A process named `name` other than `other`, awaited for up to `milliseconds`.
DWORD WaitForProcess(const wchar_t* name, DWORD other, DWORD milliseconds) {
  DWORD start = ::GetTickCount();
  DWORD found = FindProcess(name, other);
  while (!found && ::GetTickCount() - start < milliseconds) {
    ::Sleep(100);
    found = FindProcess(name, other);
  }
  return found;
}

void EndProcess(DWORD id) {
  HANDLE process = id ? ::OpenProcess(PROCESS_TERMINATE, FALSE, id) : nullptr;
  if (!process) return;
  ::TerminateProcess(process, 0);
  ::CloseHandle(process);
}

TEST_F(DashboardTest, InternetOptionsButtonStartsTheControlPanelApplet) {
  Store([](CSysConf&) {});
  DWORD earlier = FindProcess(L"control.exe");
  DWORD started = 0;
  bool marked = true;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND panel = d.Panel();
    Driver::Click(d.Page(kInetOptions), kInetOptions);
    started = WaitForProcess(L"control.exe", earlier, 8000);
    marked = Driver::IsEnabled(panel, kApply);
    Driver::Click(panel, kCancel);
  });
  EndProcess(started);
  EXPECT_EQ("", run.failure);
  EXPECT_NE(0u, started);
  EXPECT_FALSE(marked) << "opening the options changes no setting";
  EXPECT_EQ(2, run.result);
}

void ClickLink(HWND panel, int link) {
  ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(link, STN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(panel, link)));
}

TEST_F(DashboardTest, LockedPanelStartsTheWizardAndTheInternetOptionsOnlyAfterThePassword) {
  // The lock guards the password even where the panel itself asks for none.
  Store([](CSysConf& conf) {
    conf.fullscreen_always = 1;
    conf.login_need_pwd = 0;
    conf.can_change_mp = 0;
    conf.password = L"Secret";
  });
  const std::wstring wizard = copy_->Path(L"Wizard.exe");
  DWORD earlier = FindProcess(L"control.exe");
  DWORD options = 0;
  bool browserWithoutAsking = false, startedWithoutPassword = true, wizardStarted = false, askedAgain = true;
  bool homeUnlocked = false;
  std::wstring refusal;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND panel = d.Panel();
    d.WaitFor([&] { return d.Shows(kDbClose) ? panel : nullptr; }, "the general page");
    // The browser link only takes the child back into the lock.
    ClickLink(panel, kLinkBrowser);
    browserWithoutAsking = !copy_->RecordedArgs(copy_->Path(L"Brivan.exe"), 5000).empty() && !d.FindPrompt();
    Driver::Click(d.Page(kInetOptions), kInetOptions);
    HWND prompt = d.Prompt();
    Driver::Click(prompt, IDCANCEL);
    d.WaitGone(prompt, "the cancelled prompt");
    ClickLink(panel, kLinkWizard);
    d.EnterPassword(L"Secre");
    refusal = d.Answer(IDOK);
    prompt = d.Prompt();
    Driver::Click(prompt, IDCANCEL);
    d.WaitGone(prompt, "the prompt cancelled after a wrong password");
    ::SendMessageW(panel, WM_NULL, 0, 0);  // answered once the link's handler is done
    startedWithoutPassword =
        !copy_->RecordedArgs(wizard, 1500).empty() || FindProcess(L"control.exe", earlier) != 0;
    // Given once, for the wizard, the password lets the options through too.
    ClickLink(panel, kLinkWizard);
    d.EnterPassword(L"secret");
    wizardStarted = !copy_->RecordedArgs(wizard, 5000).empty();
    Driver::Click(d.Page(kInetOptions), kInetOptions);
    options = WaitForProcess(L"control.exe", earlier, 8000);
    askedAgain = d.FindPrompt() != nullptr;
    if (askedAgain) Driver::Click(d.Prompt(), IDCANCEL);
    // It is the panel's own authentication: the home page opens up.
    Driver::Click(panel, kTabGeneral);
    homeUnlocked = d.Appears([&] { return Driver::IsEnabled(d.Page(kHomeUrl), kHomeUrl) ? panel : nullptr; }, 2000);
    Driver::Click(panel, kCancel);
  });
  EndProcess(options);
  EndProcess(WaitForProcess(L"control.exe", earlier, 0));
  EXPECT_EQ("", run.failure);
  EXPECT_TRUE(browserWithoutAsking);
  EXPECT_EQ(kWrongPassword, refusal);
  EXPECT_FALSE(startedWithoutPassword) << "Cancel or a wrong password started a program";
  EXPECT_TRUE(wizardStarted);
  EXPECT_NE(0u, options);
  EXPECT_FALSE(askedAgain);
  EXPECT_TRUE(homeUnlocked);

  // Nothing to ask: a new user's settings, a password without the lock, the
  // lock without a password. Both start at once.
  const struct {
    const char* name;
    std::function<void(CSysConf&)> settings;
  } unasked[] = {
      {"new user", [](CSysConf&) {}},
      {"password, unlocked", RequirePassword},
      {"locked, no password", [](CSysConf& conf) { conf.fullscreen_always = 1; }},
  };
  for (const auto& c : unasked) {
    SCOPED_TRACE(c.name);
    RemoveTree(CCommHelper::GetDataDir());
    Store(c.settings);
    copy_->ForgetRecords();
    earlier = FindProcess(L"control.exe");
    bool asked = true;
    run = Run(0, [&](Driver& d) {
      HWND panel = d.Panel();
      ClickLink(panel, kLinkWizard);
      Driver::Click(d.Page(kInetOptions), kInetOptions);
      wizardStarted = !copy_->RecordedArgs(wizard, 5000).empty();
      options = WaitForProcess(L"control.exe", earlier, 8000);
      asked = d.FindPrompt() != nullptr;
      if (asked) Driver::Click(d.Prompt(), IDCANCEL);
      Driver::Click(panel, kCancel);
    });
    EndProcess(options);
    EXPECT_EQ("", run.failure);
    EXPECT_FALSE(asked);
    EXPECT_TRUE(wizardStarted);
    EXPECT_NE(0u, options);
  }
}

}  // namespace

// The allowed-site and recommended-site pages inside the real panel, with the
// site files of the data folder and the add-site dialog driven as a parent
// would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "DashboardTestFixture.h"
#include "ListInput.h"
#include "SiteList.h"
#include "StringConv.h"

namespace {

using paneltest::DashboardTest;
using paneltest::Driver;
using paneltest::PanelRun;
using namespace paneltest::ids;

enum : int {
  kSiteList = 1018, kSiteAddress = 1028, kSiteName = 1029, kAddSite = 1030,
  kRecommended = 1031, kRefetch = 1032, kCustom = 1033, kFilter = 1034, kDeleteAll = 1035,
  kDeleteWord = 1045,
};

const wchar_t kSaved[] = L"保存成功,要使您的设置生效，请重启浏览器。";
const wchar_t kRefusal[] = L"请输入标准网站地址.（包含http开头，如：http://www.example.com/）";

using Sites = std::vector<std::pair<std::wstring, std::wstring>>;  // name, address

// A parent's click at the middle of a control: the pointer goes there and
// settles before the button goes down.
void MouseClick(HWND control) {
  RECT client{};
  ::GetClientRect(control, &client);
  paneltest::ClickAt(control, POINT{client.right / 2, client.bottom / 2});
}

void PressKey(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, input, sizeof(INPUT));
  ::Sleep(300);
}

Sites Rows(HWND page) {
  HWND list = ::GetDlgItem(page, kSiteList);
  Sites rows;
  int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::wstring cells[2];
    for (int column = 0; column < 2; ++column) {
      wchar_t text[4096] = {};
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = text;
      item.cchTextMax = 4096;
      ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
      cells[column] = text;
    }
    rows.emplace_back(cells[0], cells[1]);
  }
  return rows;
}

template <class List, class Record, std::wstring Record::*Address>
Sites StoredSites(const std::wstring& path) {
  List list(path);
  Sites sites;
  list.ForEach([](Record* record, void* user) { static_cast<Sites*>(user)->emplace_back(record->title, record->*Address); },
               &sites);
  return sites;
}

// The two pages: both hold the list, 1033 and 1035; only the control page
// holds the filter box.
// Pages share control ids: a page is found by one it has and one it lacks.
HWND PageWith(const Driver& d, int has, int lacks, const char* what) {
  HWND panel = d.Panel();
  for (HWND child = ::GetWindow(panel, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (Driver::IsClass(child, L"#32770") && ::GetDlgItem(child, has) && !::GetDlgItem(child, lacks)) return child;
  }
  throw paneltest::DriverError(std::string("no ") + what);
}
HWND ControlPage(const Driver& d) { return PageWith(d, kRefetch, kDeleteWord, "allowed-sites page"); }
HWND RecommendPage(const Driver& d) { return PageWith(d, kRecommendAdd, kFilter, "recommended-sites page"); }

void ShowTab(const Driver& d, int tab, HWND page) {
  Driver::Click(d.Panel(), tab);
  d.WaitFor([&] { return ::IsWindowVisible(page) ? page : nullptr; }, "the page to show");
}

HWND FindBox(const Driver& d, const std::wstring& title) {
  for (HWND window : d.TopLevelWindows()) {
    if (Driver::IsClass(window, L"#32770") && Driver::Text(window) == title && ::GetDlgItem(window, 0xFFFF)) return window;
  }
  return nullptr;
}
// Waits for a message box with this title, reads it and presses its OK.
std::wstring AnswerBox(const Driver& d, const std::wstring& title) {
  HWND box = d.WaitFor([&] { return FindBox(d, title); }, "a message box");
  std::wstring text = Driver::Text(::GetDlgItem(box, 0xFFFF));
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
  d.WaitGone(box, "the message box to close");
  return text;
}

HWND OpenAddDialog(const Driver& d, HWND page, int addButton) {
  Driver::Click(page, addButton);
  return d.WaitFor([&] { return d.DialogWith(kSiteName, L"Edit"); }, "the add-site dialog");
}
void Fill(HWND dialog, const std::wstring& name, const std::wstring& address) {
  Driver::Type(dialog, kSiteName, name);
  Driver::Type(dialog, kSiteAddress, address);
}
// Adds one site through the page's own dialog and waits for its row.
void AddSite(const Driver& d, HWND page, int addButton, const std::wstring& name, const std::wstring& address) {
  size_t before = Rows(page).size();
  HWND dialog = OpenAddDialog(d, page, addButton);
  Fill(dialog, name, address);
  Driver::Click(dialog, kAddSite);
  d.WaitGone(dialog, "the add-site dialog to close");
  d.WaitFor([&] { return Rows(page).size() > before ? page : nullptr; }, "the new row");
}

std::string SiteFile(const std::string& root, const char* attribute, const std::vector<std::pair<std::wstring, std::string>>& sites) {
  std::string text = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<" + root + ">\r\n";
  for (const auto& [title, address] : sites)
    text += "<site " + std::string(attribute) + "=\"" + address + "\" title=\"" + fw::ToAnsi(title, 936) + "\" />\r\n";
  return text + "</" + root + ">\r\n";
}

TEST_F(DashboardTest, ControlPageListsTheAllowedSitesInAddressOrderAndItsSwitchesFollowTheSettings) {
  WriteFile(L"navctrl.dat", SiteFile("navctrl", "url",
                                     {{L"儿童乐园", "http://www.kids.example/"},
                                      {L"动画", "http://cartoon.example/"},
                                      {L"学习", "https://learn.example/"}}));
  const Sites inKeyOrder = {{L"动画", L"http://cartoon.example/"},
                            {L"儿童乐园", L"http://www.kids.example/"},
                            {L"学习", L"https://learn.example/"}};
  const struct {
    int custom, filter;
  } cases[] = {{0, 1}, {1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.custom ? "custom list" : "recommended list");
    Store([&](CSysConf& conf) {
      conf.cus_ctrl = c.custom;
      conf.enable_filter = c.filter;
    });
    Sites rows;
    bool recommendedChecked = false, customChecked = false, refetchEnabled = false, addEnabled = false;
    bool deleteAllEnabled = false, filterChecked = false, cleanAfterDisabledClick = false;
    bool recommendedAfterClick = true, switched = false, dirtyAfterSwitch = false, refetchMarks = false;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND panel = d.Panel();
      HWND page = ControlPage(d);
      ShowTab(d, kTabControl, page);
      rows = Rows(page);
      recommendedChecked = Driver::IsChecked(page, kRecommended);
      customChecked = Driver::IsChecked(page, kCustom);
      refetchEnabled = Driver::IsEnabled(page, kRefetch);
      addEnabled = Driver::IsEnabled(page, kAddSite);
      deleteAllEnabled = Driver::IsEnabled(page, kDeleteAll);
      filterChecked = Driver::IsChecked(page, kFilter);
      if (c.custom) {
        // The recommended choice, once left, cannot be taken again.
        MouseClick(::GetDlgItem(page, kRecommended));
        ::Sleep(300);  // nothing to wait for: a disabled button takes no click
        recommendedAfterClick = Driver::IsChecked(page, kRecommended);
        cleanAfterDisabledClick = !Driver::IsEnabled(panel, kApply);
        Driver::Click(page, kRefetch);
        refetchMarks = d.Appears([&] { return Driver::IsEnabled(panel, kApply) ? panel : nullptr; }, 1500);
      } else {
        MouseClick(::GetDlgItem(page, kCustom));
        // The OK posted next would overtake a click still queued as input.
        const auto taken = [&] { return Driver::IsChecked(page, kCustom) && Driver::IsEnabled(panel, kApply); };
        d.Appears([&] { return taken() ? paneltest::kDone : nullptr; }, 3000);
        switched = Driver::IsChecked(page, kCustom) && !Driver::IsChecked(page, kRecommended) &&
                   Driver::IsEnabled(page, kAddSite) && !Driver::IsEnabled(page, kRefetch);
        dirtyAfterSwitch = Driver::IsEnabled(panel, kApply);
      }
      Driver::SetCheck(page, kFilter, !c.filter);
      Driver::Click(panel, kOK);
      d.Answer(IDOK);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_EQ(inKeyOrder, rows);
    EXPECT_EQ(!c.custom, recommendedChecked);
    EXPECT_EQ(c.custom != 0, customChecked);
    EXPECT_EQ(!c.custom, refetchEnabled);
    EXPECT_EQ(c.custom != 0, addEnabled);
    EXPECT_TRUE(deleteAllEnabled);
    EXPECT_EQ(c.filter != 0, filterChecked);
    CSysConf conf = Stored();
    EXPECT_EQ(!c.filter, conf.enable_filter);
    EXPECT_EQ(1, conf.cus_ctrl) << "either it was custom, or the parent switched to custom";
    if (c.custom) {
      EXPECT_FALSE(recommendedAfterClick);
      EXPECT_TRUE(cleanAfterDisabledClick);
      EXPECT_TRUE(refetchMarks) << "\"重新获取\" marks the panel changed";
    } else {
      EXPECT_TRUE(switched);
      EXPECT_TRUE(dirtyAfterSwitch);
    }
    EXPECT_EQ(inKeyOrder, (StoredSites<CNavCtrlList, SiteRecord, &SiteRecord::url>(folder_ + L"navctrl.dat")));
  }
}

TEST_F(DashboardTest, AddSiteDialogKeepsAskingUntilNameAndAWebAddressAreGiven) {
  Store([](CSysConf& conf) { conf.cus_ctrl = 1; });
  const struct {
    std::wstring name, address, title, message;
  } refusals[] = {
      {L"", L"http://www.example.org/", L"提示", L"请输入网站名称..."},
      {L"例子", L"", L"提示", L"请输入网站地址..."},
      {L"例子", L"www.example.org", L"出错提示", kRefusal},
      {L"例子", L"file:///C:/kids.html", L"出错提示", kRefusal},
      {L"例子", L"mailto:kids@example.org", L"出错提示", kRefusal},
      {L"例子", L"http://", L"出错提示", kRefusal},
      {L"例子", L"http:///kids.html", L"出错提示", kRefusal},
  };
  // Longer than a first read of a row takes.
  const std::wstring longAddress = L"https://secure.example.org/" + std::wstring(700, L'p') + L"?q=1";
  std::vector<std::wstring> titles, messages;
  bool openAfterRefusals = false, openAfterKeys = false, typedIntoIt = false, closeBoxAddedNothing = false;
  Sites rows;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND page = ControlPage(d);
    ShowTab(d, kTabControl, page);
    HWND dialog = OpenAddDialog(d, page, kAddSite);
    for (const auto& refusal : refusals) {
      Fill(dialog, refusal.name, refusal.address);
      Driver::Click(dialog, kAddSite);
      HWND box = d.WaitFor([&] { return FindBox(d, L"提示") ? FindBox(d, L"提示") : FindBox(d, L"出错提示"); }, "a box");
      titles.push_back(Driver::Text(box));
      messages.push_back(AnswerBox(d, Driver::Text(box)));
    }
    openAfterRefusals = ::IsWindowVisible(dialog) && Rows(page).empty();
    // Enter and Esc end nothing; the typed letter shows the keys reach it.
    Fill(dialog, L"", L"http://www.example.org/");
    ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, kSiteName)), TRUE);
    // Keys reach the panel's thread later; a letter typed after Enter and Esc
    // shows in the box only once both were handled, with the dialog still open.
    const auto shows = [&](const wchar_t* text) {
      return d.Appears([&] { return Driver::ItemText(dialog, kSiteName) == text ? paneltest::kDone : nullptr; }, 8000);
    };
    PressKey('K');
    typedIntoIt = shows(L"k");
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    PressKey('Z');
    openAfterKeys = shows(L"kz") && ::IsWindowVisible(dialog) && !FindBox(d, L"提示") && Rows(page).empty();
    ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    d.WaitGone(dialog, "the dialog to close through its close box");
    closeBoxAddedNothing = Rows(page).empty();
    AddSite(d, page, kAddSite, L"安全", longAddress);
    AddSite(d, page, kAddSite, L"文件", L"ftp://files.example.org/");
    rows = Rows(page);
    Driver::Click(d.Panel(), kOK);
    d.Answer(IDOK);
  });
  EXPECT_EQ("", run.failure);
  ASSERT_EQ(std::size(refusals), messages.size());
  for (size_t i = 0; i < messages.size(); ++i) {
    SCOPED_TRACE(fw::ToAnsi(refusals[i].address, CP_UTF8));
    EXPECT_EQ(refusals[i].title, titles[i]);
    EXPECT_EQ(refusals[i].message, messages[i]);
  }
  EXPECT_TRUE(openAfterRefusals);
  EXPECT_TRUE(typedIntoIt);
  EXPECT_TRUE(openAfterKeys);
  EXPECT_TRUE(closeBoxAddedNothing);
  const Sites added = {{L"安全", longAddress}, {L"文件", L"ftp://files.example.org/"}};
  EXPECT_EQ(added, rows) << "rows are appended at the end";
  Sites stored = StoredSites<CNavCtrlList, SiteRecord, &SiteRecord::url>(folder_ + L"navctrl.dat");
  EXPECT_EQ((Sites{added[1], added[0]}), stored) << "the file keeps its records in address order";
}

// Adding to each page, with one address twice, and deleting every row.
struct SitePage {
  const char* name;
  int tab, add;
  const wchar_t* file;
  HWND (*find)(const Driver&);
  Sites (*stored)(const std::wstring&);
};
const SitePage kSitePages[] = {
    {"control page", kTabControl, kAddSite, L"navctrl.dat", &ControlPage,
     &StoredSites<CNavCtrlList, SiteRecord, &SiteRecord::url>},
    {"recommended page", kTabRecommend, kRecommendAdd, L"pr.dat", &RecommendPage,
     &StoredSites<CRecommendList, RecommendRecord, &RecommendRecord::uri>},
};

TEST_F(DashboardTest, TwoRowsWithOneAddressSaveAsOneRecordWithTheLaterName) {
  Store([](CSysConf& conf) { conf.cus_ctrl = 1; });
  for (const SitePage& sitePage : kSitePages) {
    SCOPED_TRACE(sitePage.name);
    Sites rows;
    bool markedChanged = false;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND page = sitePage.find(d);
      ShowTab(d, sitePage.tab, page);
      AddSite(d, page, sitePage.add, L"旧名字", L"http://same.example/");
      markedChanged = Driver::IsEnabled(d.Panel(), kApply);
      AddSite(d, page, sitePage.add, L"新名字", L"http://same.example/");
      rows = Rows(page);
      Driver::Click(d.Panel(), kApply);
      d.Answer(IDOK);
      Driver::Click(d.Panel(), kOK);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_TRUE(markedChanged);
    EXPECT_EQ(2u, rows.size()) << "the page does not merge rows itself";
    EXPECT_EQ((Sites{{L"新名字", L"http://same.example/"}}), sitePage.stored(folder_ + sitePage.file));
  }
}

// Deleting every row: nothing to delete marks nothing; deleted rows stay in
// the file until the panel saves.
TEST_F(DashboardTest, DeletingEveryRowChangesTheFileOnlyThroughTheSave) {
  Store([](CSysConf& conf) { conf.cus_ctrl = 1; });
  for (const SitePage& sitePage : kSitePages) {
    SCOPED_TRACE(sitePage.name);
    bool cleanAfterEmptyDelete = false;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND page = sitePage.find(d);
      ShowTab(d, sitePage.tab, page);
      Driver::Click(page, kDeleteAll);
      cleanAfterEmptyDelete = !d.Appears([&] { return Driver::IsEnabled(d.Panel(), kApply) ? page : nullptr; }, 1000);
      Driver::Click(d.Panel(), kCancel);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_EQ(2, run.result) << "nothing to save, no question";
    EXPECT_TRUE(cleanAfterEmptyDelete);

    bool control = sitePage.tab == kTabControl;
    WriteFile(sitePage.file, SiteFile(control ? "navctrl" : "recs", control ? "url" : "uri",
                                      {{L"一", "http://one.example/"}, {L"二", "http://two.example/"}}));
    std::string before = ReadFile(sitePage.file);
    for (bool save : {false, true}) {
      size_t rowsBefore = 0;
      std::wstring answered;
      run = Run(0, [&](Driver& d) {
        HWND page = sitePage.find(d);
        ShowTab(d, sitePage.tab, page);
        rowsBefore = Rows(page).size();
        Driver::Click(page, kDeleteAll);
        d.WaitFor([&] { return Rows(page).empty() && Driver::IsEnabled(d.Panel(), kApply) ? page : nullptr; },
                  "the rows to go and the change mark");
        Driver::Click(d.Panel(), save ? kOK : kCancel);
        answered = d.Answer(save ? IDOK : IDNO);
      });
      EXPECT_EQ("", run.failure);
      EXPECT_EQ(save ? 1 : 2, run.result);
      EXPECT_EQ(2u, rowsBefore);
      EXPECT_EQ(save ? kSaved : L"您已经对设置作了修改，是否保存？", answered);
      if (save)
        EXPECT_TRUE(sitePage.stored(folder_ + sitePage.file).empty());
      else
        EXPECT_EQ(before, ReadFile(sitePage.file));
    }
  }
}

TEST_F(DashboardTest, ASiteFileThatCannotBeWrittenIsNamedAndNothingIsReportedSaved) {
  Store([](CSysConf& conf) { conf.cus_ctrl = 1; });
  for (const SitePage& sitePage : kSitePages) {
    SCOPED_TRACE(sitePage.name);
    std::wstring blocked = folder_ + sitePage.file;
    std::vector<std::wstring> messages;
    bool openAndDirty = false;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND page = sitePage.find(d);
      ShowTab(d, sitePage.tab, page);
      AddSite(d, page, sitePage.add, L"站", L"http://site.example/");
      // A folder where the file should be: the file cannot be written.
      ::CreateDirectoryW(blocked.c_str(), nullptr);
      ::CreateDirectoryW((blocked + L"\\inside").c_str(), nullptr);
      Driver::Click(d.Panel(), kApply);
      messages.push_back(d.Answer(IDOK));
      Driver::Click(d.Panel(), kOK);
      messages.push_back(d.Answer(IDOK));
      openAndDirty = !d.Appears([&] { return d.FindNotice(); }, 800) && Driver::IsEnabled(d.Panel(), kApply);
      Driver::Click(d.Panel(), kCancel);
      d.Answer(IDNO);
    });
    RemoveTree(blocked);
    EXPECT_EQ("", run.failure);
    EXPECT_EQ(2, run.result);
    ASSERT_EQ(2u, messages.size());
    for (const std::wstring& message : messages) {
      EXPECT_NE(std::wstring::npos, message.find(blocked)) << "the message names the file";
      EXPECT_NE(kSaved, message);
    }
    EXPECT_TRUE(openAndDirty);
  }
}

TEST_F(DashboardTest, AFileAnotherProgramHoldsIsNamedAndKeepsThePanelClosedOrItsListUnsaved) {
  Store([](CSysConf& conf) {
    conf.cus_ctrl = 1;
    conf.login_need_pwd = 0;
    conf.password = L"Secret";
  });
  for (const SitePage& sitePage : kSitePages)
    WriteFile(sitePage.file, "<recs><site uri=\"http://kept.example/\" url=\"http://kept.example/\" /></recs>");
  for (const wchar_t* name : {L"conf\\sys.conf", L"conf\\acc.conf"}) {
    SCOPED_TRACE(fw::ToAnsi(name));
    const std::string files = Files();
    std::wstring message;
    {
      HeldFile held(folder_ + name, FILE_SHARE_DELETE);
      ASSERT_TRUE(held.Held());
      PanelRun run = Run(0, [&](Driver& d) { message = d.Answer(IDOK); });
      EXPECT_EQ("", run.failure);
      EXPECT_EQ(2, run.result);
    }
    EXPECT_NE(std::wstring::npos, message.find(folder_ + name)) << "the message names the file";
    EXPECT_EQ(files, Files());
  }
  for (const SitePage& sitePage : kSitePages) {
    SCOPED_TRACE(sitePage.name);
    const std::string list = ReadFile(sitePage.file);
    std::wstring message;
    {
      HeldFile held(folder_ + sitePage.file, FILE_SHARE_DELETE);
      ASSERT_TRUE(held.Held());
      PanelRun run = Run(0, [&](Driver& d) {
        HWND page = sitePage.find(d);
        ShowTab(d, sitePage.tab, page);
        // Let go once the rows are filled: they are still not the list.
        held.Release();
        AddSite(d, page, sitePage.add, L"站", L"http://site.example/");
        Driver::Click(d.Panel(), kApply);
        message = d.Answer(IDOK);
        Driver::Click(d.Panel(), kCancel);
        d.Answer(IDNO);
      });
      EXPECT_EQ("", run.failure);
      EXPECT_EQ(2, run.result);
    }
    EXPECT_EQ(0u, message.find(L"无法读取文件：\n" + folder_ + sitePage.file)) << "the message names the file";
    EXPECT_EQ(list, ReadFile(sitePage.file));
    EXPECT_FALSE(Has(sitePage.file + std::wstring(L".damaged")));
  }
}

}  // namespace

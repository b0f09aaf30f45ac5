// The log and messages pages inside the real panel: the history and the
// messages file on disk, the cell editor driven by real keys and clicks.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include "DashboardTestFixture.h"
#include "DataFile.h"
#include "Handles.h"
#include "ListInput.h"
#include "ModuleAllocationLimit.h"
#include "SiteList.h"
#include "SnapshotList.h"
#include "StringConv.h"
#include "WordsList.h"

namespace {

using paneltest::DashboardTest;
using paneltest::Driver;
using paneltest::PanelRun;
using namespace paneltest;

enum : int {
  kTabLog = 1015, kTabWords = 1044, kList = 1018, kClearLog = 1025, kEnableLog = 1034,
  kInterval = 1020, kAddWord = 1030, kDeleteWord = 1045, kRecommendedSites = 1031, kDeleteAllSites = 1035,
};
const char kEmptyHistory[] = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his />\r\n";
const wchar_t kSaved[] = L"保存成功,要使您的设置生效，请重启浏览器。";

class ListPagesTest : public DashboardTest {
 protected:
  void SetUp() override {
    DashboardTest::SetUp();
    words_ = copy_->Path(L"conf\\words.xml");
    RemoveWords();
  }
  void TearDown() override {
    RemoveWords();
    // The pointer leaves the panel's place, so no later test starts under it.
    INPUT corner{};
    corner.type = INPUT_MOUSE;
    corner.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &corner, sizeof(INPUT));
  }
  void RemoveWords() const {
    for (const std::wstring& path : {words_, words_ + L".damaged"}) {
      RemoveFileTree(path);
      ::DeleteFileW(path.c_str());
    }
  }
  // The messages in the file's order.
  std::vector<std::wstring> SavedWords() const {
    std::vector<std::wstring> words;
    TiXmlDocument document;
    if (!datafile::LoadXmlFile(words_, &document)) return {L"<unreadable>"};
    for (TiXmlElement* word = document.RootElement()->FirstChildElement("word"); word;
         word = word->NextSiblingElement("word"))
      words.push_back(fw::ToWide(word->Attribute("v") ? word->Attribute("v") : "?"));
    return words;
  }
  // Out of the list's own order by address, as the list never writes it: a
  // history written back by the panel shows.
  void WriteHistory() {
    WriteFile(L"his\\a.bmp", "BM");
    WriteFile(L"his\\b.bmp", "BM");
    std::string xml = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his>\r\n" +
                      Site("http://b.example/", "乙站", "b.bmp", "2024-05-02 09:00:00") +
                      Site("http://a.example/", "甲站", "a.bmp", "2024-05-01 08:30:00") + "</his>\r\n";
    WriteFile(L"his\\his.xml", xml);
  }
  std::string Site(const char* uri, const char* title, const char* image, const char* time) const {
    return "    <site uri=\"" + std::string(uri) + "\" title=\"" + fw::ToAnsi(fw::ToWide(title, CP_UTF8)) + "\" img=\"" +
           fw::ToAnsi(folder_) + "his\\" + image + "\" time=\"" + time + "\" />\r\n";
  }
  // A button press handled before this returns (one that opens no box).
  static void Press(HWND page, int id) {
    ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(page, id)));
  }
  // The row the list finds for the start of a title, searching after row
  // `after` and round from the top, as typing in the list does.
  static int FindTitle(HWND list, const wchar_t* start, int after) {
    LVFINDINFOW find{};
    find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
    find.psz = start;
    return static_cast<int>(
        ::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(&find)));
  }
  static HWND ShowPage(Driver& d, int tab, int control) {
    HWND panel = d.Panel();
    Driver::Click(panel, tab);
    HWND page = d.Page(control);
    d.WaitFor([&] { return ::IsWindowVisible(page) ? page : nullptr; }, "the page");
    return page;
  }

  std::wstring words_;
};

TEST_F(ListPagesTest, LogPageListsTheHistoryAndOnlyASavedClearEmptiesIt) {
  for (bool save : {true, false}) {
    SCOPED_TRACE(save ? "OK" : "Cancel, No");
    Store([](CSysConf& conf) { conf.enable_log = 1; });
    WriteHistory();
    std::string before = ReadFile(L"his\\his.xml");
    std::vector<std::vector<std::wstring>> rows;
    std::vector<int> found;
    bool clearEnabled = false, clearDisabledAfter = false, marked = false, enableChecked = false;
    std::wstring answered;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND page = ShowPage(d, kTabLog, kClearLog);
      HWND list = ::GetDlgItem(page, kList);
      rows = Rows(list, 3);
      found = {FindTitle(list, L"乙", -1), FindTitle(list, L"甲", 1), FindTitle(list, L"甲站。", -1)};
      clearEnabled = Driver::IsEnabled(page, kClearLog);
      enableChecked = Driver::IsChecked(page, kEnableLog);
      Driver::Click(page, kClearLog);
      d.WaitFor([&] { return RowCount(::GetDlgItem(page, kList)) == 0 ? page : nullptr; }, "the rows to go");
      clearDisabledAfter = !Driver::IsEnabled(page, kClearLog);
      marked = Driver::IsEnabled(d.Panel(), ids::kApply);
      Driver::Click(d.Panel(), save ? ids::kOK : ids::kCancel);
      answered = d.Answer(save ? IDOK : IDNO);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_EQ((std::vector<std::vector<std::wstring>>{{L"甲站", L"2024-05-01 08:30:00", L""},
                                                      {L"乙站", L"2024-05-02 09:00:00", L""}}),
              rows);
    EXPECT_EQ((std::vector<int>{1, 0, -1}), found);
    EXPECT_EQ(save ? kSaved : L"您已经对设置作了修改，是否保存？", answered);
    EXPECT_TRUE(clearEnabled && clearDisabledAfter && marked && enableChecked);
    EXPECT_EQ(save ? kEmptyHistory : before, ReadFile(L"his\\his.xml"));
    EXPECT_EQ(!save, Has(L"his\\a.bmp") && Has(L"his\\b.bmp"));
  }
}

// Page titles come from any web page: one longer than any buffer the list
// gives is cut inside that buffer, its terminator included.
TEST_F(ListPagesTest, ATitleLongerThanTheListsBufferIsCutInsideIt) {
  std::wstring title;
  for (int i = 0; title.size() < 5000; ++i) title += L"标题" + std::to_wstring(i) + L" ";
  WriteFile(L"his\\a.bmp", "BM");
  WriteFile(L"his\\his.xml", "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his>\r\n" +
                                 Site("http://long.example/", fw::ToAnsi(title, CP_UTF8).c_str(), "a.bmp",
                                      "2024-05-01 08:30:00") +
                                 "</his>\r\n");
  const int kGuard = 8;
  const int sizes[] = {1, 2, 17, 260, 4096};
  std::vector<std::wstring> cells;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND list = ::GetDlgItem(ShowPage(d, kTabLog, kClearLog), kList);
    for (int size : sizes) {
      std::wstring buffer(static_cast<size_t>(size + kGuard), L'#');
      LVITEMW item{};
      item.pszText = &buffer[0];
      item.cchTextMax = size;
      ::SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
      cells.push_back(buffer);
    }
    Driver::Click(d.Panel(), ids::kCancel);
  });
  EXPECT_EQ("", run.failure);
  ASSERT_EQ(std::size(sizes), cells.size());
  for (size_t i = 0; i < cells.size(); ++i) {
    const size_t size = static_cast<size_t>(sizes[i]);
    EXPECT_EQ(title.substr(0, size - 1) + L'\0' + std::wstring(kGuard, L'#'), cells[i]) << size;
  }
}

TEST_F(ListPagesTest, EnableLogAloneKeepsTheHistoryAndAnEmptyOneCannotBeCleared) {
  for (bool history : {true, false}) {
    DataFolderTest::SetUp();  // empty again
    Store([](CSysConf& conf) { conf.enable_log = 0; });
    if (history) WriteHistory();
    std::string before = ReadFile(L"his\\his.xml");
    bool clearEnabled = !history;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND page = ShowPage(d, kTabLog, kClearLog);
      clearEnabled = Driver::IsEnabled(page, kClearLog);
      Driver::SetCheck(page, kEnableLog, true);
      Driver::Click(d.Panel(), ids::kOK);
      d.Answer(IDOK);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_EQ(history, clearEnabled);
    EXPECT_EQ(1, Stored().enable_log);
    // Looking at the history leaves its file alone; a missing one is written as an empty list.
    EXPECT_EQ(history ? before : kEmptyHistory, ReadFile(L"his\\his.xml"));
    EXPECT_EQ(history, Has(L"his\\a.bmp"));
  }
}

TEST_F(ListPagesTest, AVisitRecordedBetweenTwoAppliesSurvivesTheSecond) {
  Store([](CSysConf&) {});
  WriteHistory();
  PanelRun run = Run(0, [&](Driver& d) {
    HWND page = ShowPage(d, kTabLog, kClearLog);
    Driver::Click(page, kClearLog);
    Driver::Click(d.Panel(), ids::kApply);
    d.Answer(IDOK);
    {
      CHistoryList history;  // the browser records a visit meanwhile
      history.AddVisit(L"http://later.example/", L"later", L"");
    }
    Driver::SetCheck(page, kEnableLog, !Driver::IsChecked(page, kEnableLog));
    Driver::Click(d.Panel(), ids::kApply);
    d.Answer(IDOK);
    Driver::Click(d.Panel(), ids::kCancel);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_NE(std::string::npos, ReadFile(L"his\\his.xml").find("http://later.example/"));
}

TEST_F(ListPagesTest, AMessagesFileThatCannotBeWrittenIsNamedAndStopsTheSave) {
  Store([](CSysConf& conf) { conf.enable_log = 0; });
  std::wstring message;
  bool stillDirty = false;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND log = ShowPage(d, kTabLog, kClearLog);
    Driver::SetCheck(log, kEnableLog, true);
    HWND page = ShowPage(d, kTabWords, kDeleteWord);
    // A folder where the file should be: it can be neither read nor replaced.
    ::CreateDirectoryW(words_.c_str(), nullptr);
    ::CreateDirectoryW((words_ + L"\\inside").c_str(), nullptr);
    Driver::Click(page, kAddWord);
    Driver::Click(d.Panel(), ids::kApply);
    message = d.Answer(IDOK);
    stillDirty = Driver::IsEnabled(d.Panel(), ids::kApply) && !d.Appears([&] { return d.FindNotice(); }, 600);
    Driver::Click(d.Panel(), ids::kCancel);
    d.Answer(IDNO);
  });
  RemoveFileTree(words_);
  EXPECT_EQ("", run.failure);
  EXPECT_NE(std::wstring::npos, message.find(words_)) << fw::ToAnsi(message, CP_UTF8);
  EXPECT_TRUE(stillDirty);
  EXPECT_EQ(0, Stored().enable_log) << "the save stopped at the page";
}

// The history is the child's file: made read-only, damaged and held open by
// another program, or replaced by a folder, it cannot be cleared.
// The parent is told, and the rules changed with the clear (a setting, the
// password, a site list) are saved all the same.
TEST_F(ListPagesTest, AHistoryThatCannotBeClearedIsNamedAndCostsNoRule) {
  enum Blocker { kReadOnly, kDamagedAndHeld, kFolderInPlace };
  const std::wstring history = folder_ + L"his\\his.xml";
  for (Blocker blocker : {kReadOnly, kDamagedAndHeld, kFolderInPlace}) {
    SCOPED_TRACE(blocker);
    DataFolderTest::SetUp();  // empty again
    Store([](CSysConf& conf) {
      conf.enable_log = 1;
      conf.dbclose = 0;
      conf.cus_ctrl = 1;
    });
    CNavCtrlList sites;
    sites.Add(L"http://one.example/", L"one");
    ASSERT_EQ(1, sites.Save());
    WriteHistory();
    std::vector<std::wstring> messages;
    fw::ScopedHandle holder;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND general = d.Page(ids::kHomeUrl);
      Driver::SetCheck(general, ids::kDbClose, true);
      HWND security = ShowPage(d, ids::kTabSecurity, ids::kPassword);
      Driver::Type(security, ids::kPassword, L"NewSecret");
      Driver::Type(security, ids::kPasswordAgain, L"NewSecret");
      HWND control = ShowPage(d, ids::kTabControl, kRecommendedSites);
      Driver::Click(control, kDeleteAllSites);
      d.WaitFor([&] { return RowCount(::GetDlgItem(control, kList)) == 0 ? control : nullptr; }, "the sites to go");
      HWND log = ShowPage(d, kTabLog, kClearLog);
      // What the child's account does while the panel is open.
      if (blocker == kReadOnly) {
        ::SetFileAttributesW(history.c_str(), FILE_ATTRIBUTE_READONLY);
      } else if (blocker == kDamagedAndHeld) {
        WriteFile(L"his\\his.xml", "<his><site uri=");
        // Readable, but neither renamed nor deleted while held.
        holder.Reset(::CreateFileW(history.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
      } else {
        ::DeleteFileW(history.c_str());
        ::CreateDirectoryW(history.c_str(), nullptr);
      }
      Driver::Click(log, kClearLog);
      Driver::Click(d.Panel(), blocker == kReadOnly ? ids::kApply : ids::kOK);
      messages.push_back(d.Answer(IDOK));
      messages.push_back(d.Answer(IDOK));
      if (blocker == kReadOnly) Driver::Click(d.Panel(), ids::kOK);
    });
    holder.Reset();
    std::string kept = blocker == kFolderInPlace ? "" : ReadFile(L"his\\his.xml");
    ::SetFileAttributesW(history.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveFileTree(history);
    EXPECT_EQ("", run.failure);
    EXPECT_EQ(1, run.result);
    ASSERT_EQ(2u, messages.size());
    EXPECT_NE(std::wstring::npos, messages[0].find(history)) << fw::ToAnsi(messages[0], CP_UTF8);
    EXPECT_EQ(kSaved, messages[1]);
    if (blocker != kFolderInPlace) EXPECT_NE(std::string::npos, kept.find("<his")) << "the history stays as it was";
    CSysConf conf = Stored();
    EXPECT_EQ(1, conf.dbclose);
    EXPECT_EQ(L"NewSecret", conf.password);
    EXPECT_EQ(0u, CNavCtrlList().Count());
  }
}

// A history the panel has no memory for at the moment is not damaged: the
// log page is empty, the file stays as it is, and every other page opens and
// saves.
TEST_F(ListPagesTest, AHistoryTheMemoryCannotTakeNowIsKeptAndTheOtherPagesOpen) {
  Store([](CSysConf& conf) { conf.dbclose = 0; });
  std::string xml = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his>\r\n";
  for (int i = 0; i < 8000; ++i)
    xml += Site(("http://www.site" + std::to_string(i) + ".example/").c_str(), "动物", "a.bmp", "2024-05-01 08:30:00");
  xml += "</his>\r\n";
  const size_t kRefused = 1024 * 1024;
  ASSERT_GT(xml.size(), kRefused);
  WriteFile(L"his\\his.xml", xml);
  int logRows = -1;
  std::vector<int> opened;
  PanelRun run;
  size_t refused = 0;
  {
    ModuleAllocationLimit limit(library_, kRefused);
    ASSERT_TRUE(limit.Ok());
    run = Run(0, [&](Driver& d) {
      logRows = RowCount(::GetDlgItem(ShowPage(d, kTabLog, kClearLog), kList));
      // Each tab and a control only its page has (the recommended page: the
      // add button without the control page's radio button).
      const struct {
        int tab, has, lacks;
      } tabs[] = {{ids::kTabSecurity, ids::kPassword, 0},       {ids::kTabControl, kRecommendedSites, 0},
                  {ids::kTabWords, kDeleteWord, 0},             {ids::kTabRecommend, ids::kRecommendAdd, kRecommendedSites},
                  {ids::kTabKidInfo, ids::kNick, 0},            {ids::kTabGeneral, ids::kDbClose, 0}};
      for (const auto& tab : tabs) {
        Driver::Click(d.Panel(), tab.tab);
        d.WaitFor([&]() -> HWND {
          std::vector<HWND> pages = d.VisiblePages();
          bool shows = pages.size() == 1 && ::GetDlgItem(pages[0], tab.has) &&
                       !(tab.lacks && ::GetDlgItem(pages[0], tab.lacks));
          return shows ? pages[0] : nullptr;
        }, "the page");
        opened.push_back(tab.tab);
      }
      Driver::SetCheck(d.Page(ids::kDbClose), ids::kDbClose, true);
      Driver::Click(d.Panel(), ids::kOK);
      d.Answer(IDOK);
    });
    refused = limit.RefusedCount();
  }
  EXPECT_EQ("", run.failure);
  EXPECT_EQ(1, run.result);
  EXPECT_GT(refused, 0u);
  EXPECT_EQ(0, logRows);
  EXPECT_EQ(6u, opened.size());
  EXPECT_EQ(1, Stored().dbclose);
  EXPECT_TRUE(xml == ReadFile(L"his\\his.xml")) << "kept byte for byte";
  EXPECT_FALSE(Has(L"his\\his.xml.damaged"));
}

// A history that loads but whose rows do not all fit in memory beside it:
// the page shows the rows that fit, and "清空" still empties all of it.
TEST_F(ListPagesTest, AHistoryWhoseRowsDoNotAllFitShowsThoseThatDoAndClearsWhole) {
  Store([](CSysConf&) {});
  const int kEntries = 12000;
  std::string xml = "<his>\r\n";
  for (int i = 0; i < kEntries; ++i) xml += "<site uri=\"http://s" + std::to_string(i) + "/\" />\r\n";
  xml += "</his>\r\n";
  WriteFile(L"his\\his.xml", xml);
  // Above the file's bytes, which load in one block, and below what the page
  // needs to hold every row (a row's two texts take more than its entry's
  // 30 bytes of file).
  const size_t kRefused = 2 * xml.size();
  int rows = -1;
  bool clearEnabled = false;
  PanelRun run;
  {
    ModuleAllocationLimit limit(library_, kRefused);
    ASSERT_TRUE(limit.Ok());
    run = Run(0, [&](Driver& d) {
      HWND page = ShowPage(d, kTabLog, kClearLog);
      rows = RowCount(::GetDlgItem(page, kList));
      clearEnabled = Driver::IsEnabled(page, kClearLog);
      Driver::Click(page, kClearLog);
      Driver::Click(d.Panel(), ids::kOK);
      d.Answer(IDOK);
    });
  }
  EXPECT_EQ("", run.failure);
  EXPECT_GT(rows, 0);
  EXPECT_LT(rows, kEntries);
  EXPECT_TRUE(clearEnabled);
  EXPECT_EQ(kEmptyHistory, ReadFile(L"his\\his.xml"));
}

TEST_F(ListPagesTest, IntervalShowsTheStoredEntryAndAnUnmatchedOneIsKeptOrDefaulted) {
  const struct {
    int stored;
    std::wstring shown;
    int saved;
    const wchar_t* choose;  // null: a message added is the change to save
  } cases[] = {{15, L"15", 15, nullptr}, {25, L"25", 12, L"12"}, {7, L"<none>", 7, nullptr},
               {0, L"<none>", 15, nullptr}, {-3, L"<none>", 15, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    Store([&](CSysConf& conf) { conf.interval = c.stored; });
    std::wstring shown;
    std::vector<std::wstring> entries;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND page = ShowPage(d, kTabWords, kDeleteWord);
      shown = Driver::ComboSelection(page, kInterval);
      entries = Driver::ComboEntries(page, kInterval);
      if (c.choose)
        Driver::Choose(page, kInterval, c.choose);
      else
        Driver::Click(page, kAddWord);
      Driver::Click(d.Panel(), ids::kOK);
      d.Answer(IDOK);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_EQ(c.shown, shown);
    EXPECT_EQ((std::vector<std::wstring>{L"5", L"8", L"10", L"12", L"15", L"18", L"20", L"25"}), entries);
    EXPECT_EQ(c.saved, Stored().interval);
  }
}

TEST_F(ListPagesTest, MessagesAreAddedDeletedByTheClickedRowAndSavedInRowOrder) {
  {
    CWordsList words(words_);
    words.Add(L"早上好");
    ASSERT_EQ(1, words.Save());
  }
  Store([](CSysConf& conf) { conf.interval = 8; });
  std::vector<std::vector<std::wstring>> loaded, afterEarlyDelete, afterDelete;
  bool unmarkedAfterEarlyDelete = false;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND page = ShowPage(d, kTabWords, kDeleteWord);
    HWND list = ::GetDlgItem(page, kList);
    loaded = Rows(list, 2);
    Press(page, kDeleteWord);
    afterEarlyDelete = Rows(list, 2);
    // A column made wider through the header changes no message.
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int numberWidth = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    DragAt(header, POINT{numberWidth - 1, 5}, POINT{numberWidth + 30, 5});
    d.WaitFor([&] { return ::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0) > numberWidth ? list : nullptr; },
              "the column to widen");
    unmarkedAfterEarlyDelete = !Driver::IsEnabled(d.Panel(), ids::kApply);
    ClickAt(list, CellPoint(list, 0, 1));
    d.WaitFor([&] { return Driver::IsEnabled(d.Panel(), ids::kApply) ? list : nullptr; }, "the click to mark");
    for (int i = 0; i < 3; ++i) Press(page, kAddWord);
    SetCellText(list, 2, 1, L"third");
    ClickAt(list, CellPoint(list, 1, 1));
    d.WaitFor([&] { return SelectedRow(list) == 1 ? list : nullptr; }, "the second row clicked");
    ::Sleep(300);  // the click's notice comes with the button's release
    Press(page, kDeleteWord);
    afterDelete = Rows(list, 2);
    Driver::Click(d.Panel(), ids::kOK);
    d.Answer(IDOK);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_EQ((std::vector<std::vector<std::wstring>>{{L"1", L"早上好"}}), loaded);
  EXPECT_EQ(loaded, afterEarlyDelete) << "no row was clicked yet";
  EXPECT_TRUE(unmarkedAfterEarlyDelete) << "a delete before any click or a header drag marked the panel changed";
  EXPECT_EQ((std::vector<std::vector<std::wstring>>{{L"1", L"早上好"}, {L"2", L"third"}, {L"3", L""}}), afterDelete);
  EXPECT_EQ((std::vector<std::wstring>{L"早上好", L"third", L""}), SavedWords());
  EXPECT_EQ(8, Stored().interval);
}

// The cell editor of a messages list, from the driver's thread.
struct EditorProbe {
  HWND list;
  HWND Editor() const {
    HWND editor = ::GetDlgItem(list, 1);
    return editor && ::IsWindowVisible(editor) ? editor : nullptr;
  }
  std::wstring Text() const { return Editor() ? Driver::Text(Editor()) : L"<hidden>"; }
  bool RowInView(int row) const {
    auto top = static_cast<int>(::SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    return row >= top && row < top + static_cast<int>(::SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  }
  // Double-clicks the cell and waits for the editor.
  void Open(const Driver& d, int row, int column) const {
    ClickAt(list, CellPoint(list, row, column), 2);
    d.WaitFor([&] { return Editor(); }, "the cell editor");
  }
  void WaitText(const Driver& d, const std::wstring& text) const {
    d.WaitFor([&] { return Text() == text ? list : nullptr; }, "the editor's text");
  }
};

TEST_F(ListPagesTest, TheCellEditorWritesOnEnterOrLeavingAndKeepsTheTextOnEscOrAHeaderClick) {
  Store([](CSysConf&) {});
  std::vector<std::vector<std::wstring>> rows;
  bool besideTheNumber = false;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND page = ShowPage(d, kTabWords, kDeleteWord);
    EditorProbe probe{::GetDlgItem(page, kList)};
    for (int i = 0; i < 4; ++i) Press(page, kAddWord);
    probe.Open(d, 0, 0);  // the number column: the message beside it is edited
    RECT editor{};
    ::GetWindowRect(probe.Editor(), &editor);
    ::MapWindowPoints(nullptr, probe.list, reinterpret_cast<POINT*>(&editor), 2);
    besideTheNumber = editor.left >= CellPoint(probe.list, 0, 1).x - 8;
    TypeText(L"甲");
    PressKey(VK_RETURN);
    d.WaitFor([&] { return CellText(probe.list, 0, 1) == L"甲" && !probe.Editor() ? page : nullptr; }, "Enter");
    probe.Open(d, 1, 1);
    TypeText(L"乙");
    probe.WaitText(d, L"乙");
    PressKey(VK_ESCAPE);
    probe.WaitText(d, L"<hidden>");
    probe.Open(d, 2, 1);
    TypeText(L"丙");
    probe.WaitText(d, L"丙");
    HWND header = reinterpret_cast<HWND>(::SendMessageW(probe.list, LVM_GETHEADER, 0, 0));
    ClickAt(header, POINT{60, 5});
    probe.WaitText(d, L"<hidden>");
    probe.Open(d, 3, 1);
    TypeText(L"丁");
    probe.WaitText(d, L"丁");
    ClickAt(::GetDlgItem(page, kAddWord), POINT{10, 10});  // the focus leaves the editor
    d.WaitFor([&] { return CellText(probe.list, 3, 1) == L"丁" && RowCount(probe.list) == 5 ? page : nullptr; },
              "the text written on leaving");
    ::Sleep(300);  // what Esc and the header click might still have posted
    rows = Rows(probe.list, 2);
    Driver::Click(d.Panel(), ids::kOK);
    d.Answer(IDOK);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_TRUE(besideTheNumber);
  EXPECT_EQ((std::vector<std::vector<std::wstring>>{{L"1", L"甲"}, {L"2", L""}, {L"3", L""}, {L"4", L"丁"}, {L"5", L""}}),
            rows);
  EXPECT_EQ((std::vector<std::wstring>{L"甲", L"", L"", L"丁", L""}), SavedWords());
}

TEST_F(ListPagesTest, TabKeysMoveTheEditorThroughAListLongerThanItsViewAndWrapAround) {
  Store([](CSysConf&) {});
  const int kRows = 20;
  std::vector<std::wstring> visited;
  std::vector<int> outOfView;
  int perPage = 0;
  std::wstring firstCell;
  PanelRun run = Run(0, [&](Driver& d) {
    HWND page = ShowPage(d, kTabWords, kDeleteWord);
    EditorProbe probe{::GetDlgItem(page, kList)};
    for (int i = 0; i < kRows; ++i) {
      Press(page, kAddWord);
      SetCellText(probe.list, i, 1, std::to_wstring(i + 1));
    }
    perPage = static_cast<int>(::SendMessageW(probe.list, LVM_GETCOUNTPERPAGE, 0, 0));
    probe.Open(d, 0, 1);
    TypeText(L"x");
    probe.WaitText(d, L"x");
    auto tab = [&](std::initializer_list<WORD> modifiers) {
      std::wstring before = probe.Text();
      PressKey(VK_TAB, modifiers);
      bool moved = d.Appears([&] { return probe.Text() != before ? probe.list : nullptr; }, 3000);
      visited.push_back(moved ? probe.Text() : L"<stuck>");
      int row = SelectedRow(probe.list);
      if (!probe.RowInView(row)) outOfView.push_back(row);
    };
    for (int i = 0; i < kRows; ++i) tab({});
    tab({VK_SHIFT});
    tab({VK_SHIFT});
    tab({VK_CONTROL});
    tab({VK_CONTROL});
    firstCell = CellText(probe.list, 0, 1);
    // The key comes through the system's input queue, the click is posted:
    // a click sent before the editor closes may overtake the key, which then
    // ends the save question instead.
    PressKey(VK_ESCAPE);
    probe.WaitText(d, L"<hidden>");
    Driver::Click(d.Panel(), ids::kCancel);
    d.Answer(IDNO);
  });
  EXPECT_EQ("", run.failure);
  EXPECT_LT(perPage, kRows) << "the list must be longer than its view";
  std::vector<std::wstring> expected;
  for (int row = 2; row <= kRows; ++row) expected.push_back(std::to_wstring(row));
  // Tab wraps to the first row; Shift+Tab goes back a row, from the first to
  // the last; Ctrl+Tab goes down, from the last to the first.
  for (const wchar_t* text : {L"x", L"20", L"19", L"20", L"x"}) expected.push_back(text);
  EXPECT_EQ(expected, visited);
  EXPECT_EQ(std::vector<int>{}, outOfView);
  EXPECT_EQ(L"x", firstCell) << "Tab writes the text back";
}

}  // namespace

// Each list page shows every column of its full list without a horizontal
// scroll bar, and its buttons end at the list's right edge, inside the page.
TEST_F(ListPagesTest, EveryListPageShowsAllItsColumnsWithTheButtonsAtTheListsRightEdge) {
  Store([](CSysConf&) {});
  // The log page's rows come from the history: its list holds no items of its own.
  std::string xml = "<his>\r\n";
  for (int row = 0; row < 40; ++row)
    xml += Site(("http://a.rather.long.address.example/" + std::to_string(row)).c_str(), "动物", "a.bmp",
                "2024-05-01 08:30:00");
  WriteFile(L"his\\his.xml", xml + "</his>\r\n");
  const struct {
    const char* page;
    int tab, has, lacks, button;
  } pages[] = {{"allowed sites", 1017, 1032, 1045, 1035}, {"recommended sites", 1014, 1033, 1034, 1035},
               {"log", kTabLog, kClearLog, kDeleteWord, kClearLog}, {"messages", kTabWords, kDeleteWord, 1032, kDeleteWord}};
  for (const auto& p : pages) {
    SCOPED_TRACE(p.page);
    int columns = 0, client = 0, listRight = 0, buttonRight = 0, pageRight = 0;
    LONG_PTR style = 0;
    PanelRun run = Run(0, [&](Driver& d) {
      HWND panel = d.Panel();
      Driver::Click(panel, p.tab);
      HWND page = d.WaitFor([&]() -> HWND {
        for (HWND child = ::GetWindow(panel, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
          if (::IsWindowVisible(child) && ::GetDlgItem(child, p.has) && !::GetDlgItem(child, p.lacks)) return child;
        }
        return nullptr;
      }, "the page");
      HWND list = ::GetDlgItem(page, kList);
      // More rows than the list shows, so the vertical scroll bar takes its share.
      for (int row = 0; row < 40; ++row) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(L"http://a.rather.long.address.example/with/a/path");
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      }
      HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
      for (int column = 0, count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)); column < count;
           ++column)
        columns += static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
      RECT area{}, listPlace{}, buttonPlace{}, pagePlace{};
      ::GetClientRect(list, &area);
      client = area.right;
      style = ::GetWindowLongPtrW(list, GWL_STYLE);
      ::GetWindowRect(list, &listPlace);
      ::GetWindowRect(::GetDlgItem(page, p.button), &buttonPlace);
      ::GetWindowRect(page, &pagePlace);
      listRight = listPlace.right;
      buttonRight = buttonPlace.right;
      pageRight = pagePlace.right;
      Driver::Click(panel, ids::kCancel);
    });
    EXPECT_EQ("", run.failure);
    EXPECT_NE(0, style & WS_VSCROLL) << "the rows overflow the list";
    EXPECT_EQ(0, style & WS_HSCROLL);
    EXPECT_GE(client, columns);
    EXPECT_EQ(listRight, buttonRight);
    EXPECT_LE(listRight, pageRight);
  }
}

// What the main window makes of its pages' messages, its tabs, the URL
// history, the update question and its exit.
#include <map>
#include <thread>

#include "MainWindowTestSupport.h"
#include "BroswerDlgResources.h"
#include "CIEDlg.h"
#include "CreationLog.h"
#include "DataFile.h"
#include "RegKey.h"
#include "SnapshotList.h"
#include "StringConv.h"
#include "UpdateCheck.h"
#include "WebUrl.h"

namespace {

template <typename List, typename Record>
std::map<std::wstring, std::wstring> Snapshots() {
  std::map<std::wstring, std::wstring> byUrl;
  List list;
  list.ForEach([](Record* record, void* user) { (*static_cast<std::map<std::wstring, std::wstring>*>(user))[record->uri] = record->img; },
               &byUrl);
  return byUrl;
}
auto HistorySnapshots = Snapshots<CHistoryList, HistoryRecord>;
auto FavoriteSnapshots = Snapshots<CFavorites, FavoriteRecord>;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

LRESULT SendPageMessage(HWND window, UINT message, CBrowserPage* page) {
  return SendMessageW(window, message, 0, page->MessageParam());
}

TEST_F(MainWindowTest, PageMessagesGiveCaptionTooltipHistoryAndFavourites) {
  settings_.enable_log = 1;
  // A data folder made before the record folders were made with it.
  ASSERT_TRUE(::RemoveDirectoryW(GetHistoryDir().c_str()) && ::RemoveDirectoryW(GetFavoritesDir().c_str()));
  CreationLog log;
  Open(false);
  TabCtrl& tabs = window_->Tabs();
  FakePage* first = window_->Selected();
  ASSERT_TRUE(first);
  first->Show(L"http://kids.test/zoo", L"动物园");

  // The title of the selected page becomes caption, tooltip and address.
  SendPageMessage(Hwnd(), WM_IE_TITLECHANGE, first);
  EXPECT_EQ(Caption(), L"动物园");
  EXPECT_EQ(tabs.GetTabTooltipText(first), L"动物园\r\nhttp://kids.test/zoo");
  EXPECT_EQ(window_->UrlBox().GetText(), L"http://kids.test/zoo");

  // A new window opens a selected blank tab and hands its browser back.
  IDispatch* target = nullptr;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  EXPECT_EQ(SendMessageW(Hwnd(), WM_IE_NEWWINDOW, reinterpret_cast<WPARAM>(&target), reinterpret_cast<LPARAM>(&cancel)), 0);
  ASSERT_EQ(tabs.GetCount(), 2);
  FakePage* second = window_->Selected();
  EXPECT_NE(second, first);
  EXPECT_EQ(second->GetURL(), L"about:blank");
  EXPECT_EQ(target, second->GetBrowserDispatch());
  EXPECT_EQ(cancel, VARIANT_FALSE);

  // A page that is not selected changes nothing on screen.
  first->Show(L"http://kids.test/farm", L"农场");
  SendPageMessage(Hwnd(), WM_IE_TITLECHANGE, first);
  EXPECT_NE(Caption(), L"农场");

  // Loaded pages are recorded with their snapshot; a blank one is not.
  SendPageMessage(Hwnd(), WM_IE_DOCCOMPLETE, first);
  SendPageMessage(Hwnd(), WM_IE_DOCCOMPLETE, second);
  auto history = HistorySnapshots();
  ASSERT_EQ(history.size(), 1u);
  ASSERT_EQ(first->snapshots.size(), 1u);
  EXPECT_EQ(history[L"http://kids.test/farm"], first->snapshots[0]);
  EXPECT_EQ(first->snapshots[0].rfind(GetHistoryDir() + L"\\{", 0), 0u);
  EXPECT_TRUE(Exists(first->snapshots[0]));

  // Favourites: the blank page is refused, a page is added, then known, and
  // its record names the newer snapshot.
  SendMessageW(Hwnd(), WM_COMMAND, IDC_ADDFAVORITE, 0);
  EXPECT_EQ(window_->Notifier().GetText(), CBroswerDlg::kBlankNotFavoriteText);
  tabs.SelectTab(first);
  SendMessageW(Hwnd(), WM_COMMAND, IDC_ADDFAVORITE, 0);
  EXPECT_EQ(window_->Notifier().GetText(), L"已经收藏成功了哦");
  SendMessageW(Hwnd(), WM_COMMAND, IDC_ADDFAVORITE, 0);
  EXPECT_EQ(window_->Notifier().GetText(), L"已经收藏过了哦");
  auto favourites = FavoriteSnapshots();
  ASSERT_EQ(favourites.size(), 1u);
  ASSERT_EQ(first->snapshots.size(), 3u);
  EXPECT_EQ(favourites[L"http://kids.test/farm"], first->snapshots[2]);
  EXPECT_TRUE(Exists(first->snapshots[2]));
  EXPECT_FALSE(Exists(first->snapshots[1]));
  // The browser of every account records into the two folders.
  EXPECT_EQ(log.GrantOf(GetHistoryDir()), kModifyInsideGrant);
  EXPECT_EQ(log.GrantOf(GetFavoritesDir().substr(0, GetFavoritesDir().size() - 1)), kModifyInsideGrant);

  // A new window that gets no tab is cancelled, not left to open on its own.
  window_->makesPages = false;
  for (int i = 0; i < 2 * CBroswerDlg::kPagePoolSize && window_->OpenUrlInNewTab(L"about:blank"); ++i) {
  }
  target = nullptr;
  SendMessageW(Hwnd(), WM_IE_NEWWINDOW, reinterpret_cast<WPARAM>(&target), reinterpret_cast<LPARAM>(&cancel));
  EXPECT_EQ(target, nullptr);
  EXPECT_EQ(cancel, VARIANT_TRUE);
}

TEST_F(MainWindowTest, WithoutTheLogNoPageIsRecorded) {
  settings_.enable_log = 0;
  Open(false);
  FakePage* page = window_->Selected();
  page->Show(L"http://kids.test/", L"kids");
  SendPageMessage(Hwnd(), WM_IE_DOCCOMPLETE, page);
  EXPECT_TRUE(HistorySnapshots().empty());
  EXPECT_TRUE(page->snapshots.empty());
}

TEST_F(MainWindowTest, TheLastTabIsNeverClosedButGoesBlank) {
  settings_.dbclose = 1;
  Open(false);
  TabCtrl& tabs = window_->Tabs();
  TabCtrlNotify& events = window_->StripEvents();
  const std::function<void(Tab*)> ways[] = {
      [&](Tab*) { events.OnTabClose(&tabs, nullptr, POINT{}); },
      [&](Tab* tab) { events.OnTabDblClick(&tabs, tab, POINT{}); },
      [&](Tab* tab) { events.OnTabDrag(&tabs, tab, POINT{}, true); },
  };
  for (const auto& close : ways) {
    window_->Selected()->Show(L"http://kids.test/", L"kids");
    window_->OpenUrlInNewTab(L"http://kids.test/second");
    ASSERT_EQ(tabs.GetCount(), 2);
    close(window_->Selected());
    ASSERT_EQ(tabs.GetCount(), 1);
    EXPECT_EQ(window_->Selected()->GetURL(), L"http://kids.test/");
    close(window_->Selected());
    ASSERT_EQ(tabs.GetCount(), 1);
    EXPECT_EQ(window_->Selected()->GetURL(), L"about:blank");
    EXPECT_EQ(window_->UrlBox().GetText(), L"about:blank");
    EXPECT_EQ(Caption(), L"about:blank");
  }
}

FILETIME Minutes(int minutes) {
  ULARGE_INTEGER value;
  value.QuadPart = 130000000000000000ULL + static_cast<ULONGLONG>(minutes) * 600000000ULL;
  return FILETIME{value.LowPart, value.HighPart};
}

std::vector<std::wstring> ListedUrls(CComboBoxExEx& box) {
  std::vector<std::wstring> urls;
  const int count = static_cast<int>(box.Send(CB_GETCOUNT));
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    box.Send(CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    urls.push_back(text);
  }
  return urls;
}

// How far the open list reaches below the closed box.
int ListLength(CComboBoxExEx& box) {
  RECT dropped{}, closed{};
  box.Send(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  GetWindowRect(box.Hwnd(), &closed);
  return dropped.bottom - closed.bottom;
}

TEST_F(MainWindowTest, TheAddressBoxListsTheTwentyNewestSiteRoots) {
  history_ = [](std::vector<UrlHistoryEntry>& entries) {
    // 30 site roots, visited one a minute, listed oldest first, among
    // addresses that are no site's root or no web address.
    for (int i = 0; i < 30; ++i)
      entries.push_back({L"http://site" + std::to_wstring(i) + L".test/", L"", Minutes(i)});
    entries.push_back({L"https://deep.test/page.html", L"", Minutes(100)});
    entries.push_back({L"file:///c:/kids.html", L"", Minutes(101)});
    entries.push_back({L"ftp://files.test", L"", Minutes(29)});
    return true;
  };
  Open(false);
  CComboBoxExEx& box = window_->UrlBox();
  const std::vector<std::wstring> urls = ListedUrls(box);
  ASSERT_EQ(urls.size(), 20u);
  EXPECT_EQ(urls[0], L"http://site29.test/");
  EXPECT_EQ(urls[1], L"ftp://files.test");
  EXPECT_EQ(urls[19], L"http://site11.test/");
  EXPECT_EQ(window_->UrlHistory().size(), 31u);
  EXPECT_EQ(box.Send(CB_GETITEMHEIGHT, 0), 20);

  // Dropping the list down fills it again from what was read; the address
  // shown stays, as it stayed when the list was first filled.
  EXPECT_FALSE(box.GetText().empty()) << "the start page's address was lost";
  box.Send(CB_RESETCONTENT);
  SetWindowTextW(box.Hwnd(), L"kids.te");
  SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_URLBOX, CBN_DROPDOWN), reinterpret_cast<LPARAM>(box.Hwnd()));
  EXPECT_EQ(ListedUrls(box), urls);
  EXPECT_EQ(box.GetText(), L"kids.te");

  // The list reaches as far as the kept entries in pixels, at least 100:
  // 31 kept give 100, 321 give 221 more. A new layout keeps the length.
  const int shortList = ListLength(box);
  EXPECT_GT(shortList, 50);
  SetWindowPos(Hwnd(), nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(ListLength(box), shortList);
  DestroyWindow(Hwnd());
  history_ = [](std::vector<UrlHistoryEntry>& entries) {
    for (int i = 0; i < 321; ++i) entries.push_back({L"http://site" + std::to_wstring(i) + L".test", L"", Minutes(i)});
    return true;
  };
  Open(false);
  EXPECT_EQ(ListLength(window_->UrlBox()) - shortList, 221);
}

TEST_F(MainWindowTest, AHistoryThatFailsLeavesTheBoxEmptyAndTheStartGoesOn) {
  history_ = [](std::vector<UrlHistoryEntry>& entries) -> bool {
    entries.push_back({L"http://half.test/", L"", Minutes(1)});
    throw std::runtime_error("enumeration failed");
  };
  Open(false);
  EXPECT_EQ(window_->UrlBox().Send(CB_GETCOUNT), 0);
  EXPECT_TRUE(KillTimer(Hwnd(), CBroswerDlg::kRegisterTimer)) << "the delayed start stopped early";
}

TEST(UrlHistoryTest, TheListGrowsByTheKeptEntriesWithinLimits) {
  const std::pair<size_t, int> cases[] = {{0, 100}, {20, 100}, {100, 100}, {321, 321}, {500, 500}, {5000, 500}};
  for (const auto& [kept, growth] : cases) EXPECT_EQ(CUrlHistory::DropDownGrowth(kept), growth) << kept;
}

TEST(UpdatePageTest, OnlyAPlainHttpAddressIsPassedAndAsOneArgument) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"http://update.test/new", L"\"http://update.test/new\""},
      {L"https://update.test/new?v=2", L"\"https://update.test/new?v=2\""},
      {L"ftp://update.test/new", L""},
      {L"file:///c:/windows/system32/calc.exe", L""},
      {L"calc.exe", L""},
      {L"http://update.test/\" -extoff \"x", L""},
      {L"http://update.test/a b", L""},
      {L"http://update.test/a\tb", L""},
      {L"", L""},
  };
  for (const auto& [url, argument] : cases) EXPECT_EQ(QuotedHttpArgument(url), argument) << url;
}

// The update question, answered by the test from inside its message loop.
struct ShellCall {
  std::wstring file, parameters;
};
std::vector<ShellCall> g_shellCalls;
HINSTANCE WINAPI RecordShellOpen(HWND, LPCWSTR, LPCWSTR file, LPCWSTR parameters, LPCWSTR, INT) {
  g_shellCalls.push_back({file ? file : L"", parameters ? parameters : L""});
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

int g_answer = IDNO;
int g_questions = 0;
BOOL CALLBACK AnswerQuestion(HWND window, LPARAM) {
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  if (std::wstring(title) != L"提示" || !IsWindowVisible(window)) return TRUE;
  ++g_questions;
  PostMessageW(window, WM_COMMAND, g_answer, 0);
  return FALSE;
}
void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), AnswerQuestion, 0); }

class UpdateQuestionTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    g_shellCalls.clear();
    g_questions = 0;
    CBroswerDlg::shellOpen = &RecordShellOpen;
  }
  void TearDown() override {
    CBroswerDlg::shellOpen = &::ShellExecuteW;
    MainWindowTest::TearDown();
  }
  void Downloaded(const std::string& version, const std::string& page) {
    std::ofstream file(GetUpdateTempPath().c_str(), std::ios::binary | std::ios::trunc);
    file << "[UPDATE]\r\nVersion=" << version << "\r\nUpdateUrl=" << page << "\r\n";
  }
  void Report(WPARAM failed, int answer) {
    g_answer = answer;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerTimer);
    SendMessageW(Hwnd(), CBroswerDlg::WM_UPDATE_DOWNLOADED, failed, 0);
    KillTimer(nullptr, timer);
    Pump();
  }
};

TEST_F(UpdateQuestionTest, YesOpensTheUpdatePageAndCloses) {
  Open(false);
  Downloaded("99.0", "http://update.test/new");
  Report(0, IDYES);
  EXPECT_EQ(g_questions, 1);
  ASSERT_EQ(g_shellCalls.size(), 1u);
  EXPECT_EQ(g_shellCalls[0].file, L"iexplore");
  EXPECT_EQ(g_shellCalls[0].parameters, L"\"http://update.test/new\"");
  EXPECT_FALSE(IsWindow(Hwnd()));
}

TEST_F(UpdateQuestionTest, ALockedWindowStartsTheUpdatePageOnlyWithThePasswordAndAsksItOnce) {
  Open(true);
  Downloaded("99.0", "http://update.test/new");
  Report(0, IDYES);
  EXPECT_EQ(g_questions, 1);
  EXPECT_EQ(window_->asks, 1);
  EXPECT_TRUE(g_shellCalls.empty()) << "started without the password";
  ASSERT_TRUE(IsWindow(Hwnd()));

  window_->answer = true;
  Downloaded("99.0", "http://update.test/new");
  Report(0, IDYES);
  EXPECT_EQ(window_->asks, 2) << "the close asked again";
  ASSERT_EQ(g_shellCalls.size(), 1u);
  EXPECT_EQ(g_shellCalls[0].parameters, L"\"http://update.test/new\"");
  EXPECT_FALSE(IsWindow(Hwnd()));
}

TEST_F(UpdateQuestionTest, NoAFailedDownloadOrAnUnsafePageChangeNothing) {
  Open(false);
  struct Case {
    const char* name;
    WPARAM failed;
    std::string version, page;
    int questions;
  } cases[] = {{"no", 0, "99.0", "http://update.test/new", 1},
               {"failed download", 1, "99.0", "http://update.test/new", 0},
               {"not newer", 0, "0.9", "http://update.test/new", 0},
               {"another scheme", 0, "99.0", "file:///c:/windows/calc.exe", 0},
               {"several arguments", 0, "99.0", "http://update.test/\" -extoff \"", 0}};
  for (const Case& c : cases) {
    g_questions = 0;
    Downloaded(c.version, c.page);
    Report(c.failed, IDNO);
    EXPECT_EQ(g_questions, c.questions) << c.name;
    EXPECT_TRUE(g_shellCalls.empty()) << c.name;
    ASSERT_TRUE(IsWindow(Hwnd())) << c.name;
  }
}

TEST_F(MainWindowTest, ExitDeletesUnnamedSnapshotsAndSavesTheRecords) {
  const std::wstring favourites = GetFavoritesDir(), history = GetHistoryDir() + L"\\";
  CCommHelper::MakeDirTree(favourites);
  CCommHelper::MakeDirTree(history);
  for (const std::wstring& file : {favourites + L"stray.jpg", history + L"kept.jpg", history + L"stray.jpg"})
    std::ofstream(file.c_str()) << "x";
  {
    CHistoryList list;
    list.AddVisit(L"http://kids.test/", L"kids", history + L"kept.jpg");
  }
  Open(false);
  SendMessageW(Hwnd(), WM_CLOSE, 0, 0);
  Pump();
  ASSERT_FALSE(IsWindow(Hwnd()));
  EXPECT_TRUE(Exists(history + L"kept.jpg"));
  EXPECT_FALSE(Exists(history + L"stray.jpg"));
  EXPECT_FALSE(Exists(favourites + L"stray.jpg"));
  EXPECT_EQ(HistorySnapshots().size(), 1u);
  EXPECT_TRUE(Exists(GetFavoritesFilePath())) << "the favourites were not saved";
}

// Another browser saves a visit and a favourite while this one's exit is
// purging: it starts on the first stray snapshot the purge deletes.
TEST_F(MainWindowTest, ExitKeepsWhatAnotherBrowserSavedWhileItPurged) {
  const std::wstring history = GetHistoryDir() + L"\\";
  CCommHelper::MakeDirTree(history);
  { CHistoryList().AddVisit(L"http://kids.test/", L"kids", L""); }
  { CFavorites().Add(L"http://kids.test/", L"kids", L""); }
  // Enough that the purge is still deleting them when the other save is done.
  for (int i = 0; i < 2000; ++i) {
    const std::wstring stray = history + L"stray" + std::to_wstring(i) + L".jpg";
    CloseHandle(CreateFileW(stray.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  Open(false);
  HANDLE change = FindFirstChangeNotificationW(history.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(change, INVALID_HANDLE_VALUE);
  bool purging = false;
  std::thread other([&] {
    if (WaitForSingleObject(change, 30000) != WAIT_OBJECT_0) return;
    { CHistoryList().AddVisit(L"http://other.test/", L"other", L""); }
    { CFavorites().Add(L"http://other.test/", L"other", L""); }
    WIN32_FIND_DATAW found;
    HANDLE left = FindFirstFileW((history + L"stray*.jpg").c_str(), &found);
    purging = left != INVALID_HANDLE_VALUE;
    if (purging) FindClose(left);
  });
  SendMessageW(Hwnd(), WM_CLOSE, 0, 0);
  Pump();
  other.join();
  FindCloseChangeNotification(change);
  ASSERT_FALSE(IsWindow(Hwnd()));
  ASSERT_TRUE(purging) << "the other browser saved only after the purge";
  EXPECT_EQ(HistorySnapshots().count(L"http://other.test/"), 1u);
  EXPECT_EQ(HistorySnapshots().size(), 2u);
  EXPECT_EQ(FavoriteSnapshots().count(L"http://other.test/"), 1u);
  EXPECT_FALSE(Exists(history + L"stray0.jpg"));
}

TEST_F(MainWindowTest, ListsThatCouldNotBeReadKeepTheirFilesAndSnapshotsThroughVisitsAndExit) {
  const std::wstring favourites = GetFavoritesDir(), history = GetHistoryDir() + L"\\";
  CCommHelper::MakeDirTree(favourites);
  CCommHelper::MakeDirTree(history);
  const std::wstring seen = history + L"{seen}.jpg", liked = favourites + L"{liked}.jpg";
  for (const std::wstring& file : {seen, liked}) std::ofstream(file.c_str()) << "x";
  // Both cut short mid-entry, as by a crash.
  const std::string damagedHistory = "<his><site uri=\"http://old.test/\" title=\"old\" img=\"" + fw::ToAnsi(seen);
  const std::string damagedFavourites = "<favs><fav uri=\"http://old.test/\" title=\"old\" img=\"" + fw::ToAnsi(liked);
  WriteFile(L"his\\his.xml", damagedHistory);
  WriteFile(L"favs\\favs.xml", damagedFavourites);
  settings_.enable_log = 1;
  Open(false);
  FakePage* page = window_->Selected();
  page->Show(L"http://kids.test/zoo", L"zoo");
  SendPageMessage(Hwnd(), WM_IE_DOCCOMPLETE, page);
  SendMessageW(Hwnd(), WM_COMMAND, IDC_ADDFAVORITE, 0);
  const std::vector<std::wstring> taken = page->snapshots;  // the page goes with the window
  SendMessageW(Hwnd(), WM_CLOSE, 0, 0);
  Pump();
  ASSERT_FALSE(IsWindow(Hwnd()));
  EXPECT_EQ(damagedHistory, ReadFile(L"his\\his.xml.damaged"));
  EXPECT_EQ(damagedFavourites, ReadFile(L"favs\\favs.xml.damaged"));
  EXPECT_TRUE(Exists(seen)) << "the set-aside history names it";
  EXPECT_TRUE(Exists(liked)) << "the set-aside favourites name it";
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(HistorySnapshots()[L"http://kids.test/zoo"], taken[0]);
  EXPECT_EQ(FavoriteSnapshots()[L"http://kids.test/zoo"], taken[1]);
  for (const std::wstring& snapshot : taken) EXPECT_TRUE(Exists(snapshot));
}

// Folders Wine's file system answers for as junctions.
unsigned long RecordFoldersLinked(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  const std::wstring favourites = GetFavoritesDir();
  const bool linked = fw::EqualsNoCase(folder, GetHistoryDir()) ||
                      fw::EqualsNoCase(folder, favourites.substr(0, favourites.size() - 1));
  return linked ? attributes | FILE_ATTRIBUTE_REPARSE_POINT : attributes;
}

// A junction put in place of the records' folders sends nothing there: no
// snapshot, no list, and the exit deletes nothing through it.
TEST_F(MainWindowTest, LinkedRecordFoldersTakeNoSnapshotAndLoseNothingAtExit) {
  const std::wstring favourites = GetFavoritesDir(), history = GetHistoryDir() + L"\\";
  CCommHelper::MakeDirTree(favourites);
  CCommHelper::MakeDirTree(history);
  const std::wstring strays[] = {favourites + L"stray.jpg", history + L"stray.jpg"};
  for (const std::wstring& file : strays) std::ofstream(file.c_str()) << "x";
  settings_.enable_log = 1;
  Open(false);
  datafile::SetFolderAttributesQuery(&RecordFoldersLinked);
  FakePage* page = window_->Selected();
  page->Show(L"http://kids.test/zoo", L"zoo");
  SendPageMessage(Hwnd(), WM_IE_DOCCOMPLETE, page);
  SendMessageW(Hwnd(), WM_COMMAND, IDC_ADDFAVORITE, 0);
  EXPECT_TRUE(page->snapshots.empty());
  SendMessageW(Hwnd(), WM_CLOSE, 0, 0);
  Pump();
  datafile::SetFolderAttributesQuery(nullptr);
  ASSERT_FALSE(IsWindow(Hwnd()));
  for (const std::wstring& file : strays) EXPECT_TRUE(Exists(file)) << fw::ToAnsi(file);
  EXPECT_FALSE(Exists(GetHistoryFilePath()));
  EXPECT_FALSE(Exists(GetFavoritesFilePath()));
}

TEST_F(MainWindowTest, TheTaskManagerPolicyIsWrittenAndDeleted) {
  Open(false);
  const wchar_t key[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
  EXPECT_EQ(window_->SetTaskManagerDisabled(1), 1);
  DWORD value = 0;
  EXPECT_TRUE(RegKey(HKEY_CURRENT_USER, key, KEY_READ).ReadValueDW(L"DisableTaskMgr", &value));
  EXPECT_EQ(value, 1u);
  EXPECT_EQ(window_->SetTaskManagerDisabled(0), 1);
  EXPECT_FALSE(RegKey(HKEY_CURRENT_USER, key, KEY_READ).ValueExists(L"DisableTaskMgr"));
}

}  // namespace

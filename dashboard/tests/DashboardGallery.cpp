// Shows the control panel for a look or a screenshot: "DashboardGallery
// <tab id>" opens the panel on that tab, "DashboardGallery prompt" shows the
// password prompt, "DashboardGallery about" the about box, "DashboardGallery
// addsite" the add-site dialog over the control page. "log" adds a few visits
// to the history and opens the log page, "words" opens the messages page with
// rows, "editor" also opens the cell editor on the second row. The parent's
// settings in the data folder are used as they are, with a password "gallery"
// for the prompt and the guarded tabs; site lists that do not exist yet get a
// few sample sites.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>

#include "PanelDriver.h"
#include "SiteList.h"
#include "SnapshotList.h"
#include "SysConf.h"

extern "C" __declspec(dllimport) int ShowDashBoard(int mode);

namespace {

const wchar_t* const kSampleSites[][2] = {
    {L"儿童乐园", L"http://www.kids.example.com/"},
    {L"动画城", L"http://cartoon.example.com/"},
    {L"学习天地", L"https://learn.example.org/"},
    {L"故事大全", L"http://stories.example.net/index.html"},
    {L"儿歌下载", L"ftp://songs.example.com/"},
};

template <class List>
void AddSamples(List&& list) {
  if (::GetFileAttributesW(list.Path().c_str()) != INVALID_FILE_ATTRIBUTES) return;
  for (const auto& site : kSampleSites) list.Add(site[1], site[0]);
  list.Save();
}

const int kTabLog = 1015;
const int kTabWords = 1044;
const int kAddWord = 1030;
const int kWordsList = 1018;
const int kDeleteWord = 1045;  // only the messages page has it

const wchar_t* const kVisits[][2] = {
    {L"http://www.example.com/", L"示例网站"},
    {L"http://kids.example.org/stories", L"儿童故事 - 每天一个新故事"},
    {L"http://zoo.example.net/", L"动物园里的朋友们"},
};
const wchar_t* const kWords[] = {L"宝贝，看一会儿就要休息眼睛哦！", L"今天的作业写完了吗？", L"妈妈爱你！"};

void FillHistory() {
  CHistoryList history;  // written when it goes
  for (const auto& visit : kVisits) history.AddVisit(visit[0], visit[1], L"");
}

// Adds rows through the page's own button and gives them texts; the file is
// written only if the panel saves.
void FillWords(const paneltest::Driver& driver, bool openEditor) {
  HWND page = driver.Page(kDeleteWord);
  HWND list = ::GetDlgItem(page, kWordsList);
  for (size_t i = 0; i < sizeof(kWords) / sizeof(kWords[0]); ++i) paneltest::Driver::Click(page, kAddWord);
  driver.WaitFor([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) >= 3 ? list : nullptr; }, "the rows");
  for (int row = 0; row < 3; ++row) {
    LVITEMW cell{};
    cell.iSubItem = 1;
    cell.pszText = const_cast<wchar_t*>(kWords[row]);
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  }
  if (!openEditor) return;
  RECT cell{};
  cell.top = 1;
  cell.left = LVIR_LABEL;
  ::SendMessageW(list, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
  ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(cell.left + 20, cell.top + 4));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  std::wstring what = commandLine ? commandLine : L"";
  {
    CSysConf conf;
    conf.login_need_pwd = 1;
    conf.password = L"gallery";
    conf.Save();
  }
  AddSamples(CNavCtrlList());
  AddSamples(CRecommendList());
  bool prompt = what == L"prompt";
  bool about = what == L"about";
  bool addSite = what == L"addsite";
  bool log = what == L"log";
  bool words = what == L"words" || what == L"editor";
  if (addSite) {
    CSysConf conf;
    conf.cus_ctrl = 1;
    conf.Save();
  }
  if (log) FillHistory();
  int tab = addSite ? 1017 : log ? kTabLog : words ? kTabWords : prompt ? 0 : _wtoi(what.c_str());
  paneltest::Driver driver(::GetCurrentThreadId());
  std::thread actor([&] {
    try {
      if (about) ::PostMessageW(driver.Panel(), WM_SYSCOMMAND, 0x10, 0);
      if (prompt || tab == 0) return;
      HWND panel = driver.Panel();
      paneltest::Driver::Click(panel, tab);
      if (tab != 1009) driver.EnterPassword(L"gallery");
      if (addSite) paneltest::Driver::Click(driver.Page(1034), 1030);
      if (words) FillWords(driver, what == L"editor");
    } catch (const paneltest::DriverError&) {
    }
  });
  ShowDashBoard(prompt ? 1 : 0);
  actor.join();
  return 0;
}

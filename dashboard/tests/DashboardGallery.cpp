// Shows the control panel for a look or a screenshot: "DashboardGallery
// <tab id>" opens the panel on that tab, "DashboardGallery prompt" shows the
// password prompt, "DashboardGallery about" the about box, "DashboardGallery
// addsite" the add-site dialog over the control page. The parent's settings in the data folder are used as they
// are, with a password "gallery" for the prompt and the guarded tabs; site
// lists that do not exist yet get a few sample sites.
#include <windows.h>

#include <string>
#include <thread>

#include "PanelDriver.h"
#include "SiteList.h"
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
  int tab = addSite ? 1017 : prompt ? 0 : _wtoi(what.c_str());
  if (addSite) {
    CSysConf conf;
    conf.cus_ctrl = 1;
    conf.Save();
  }
  paneltest::Driver driver(::GetCurrentThreadId());
  std::thread actor([&] {
    try {
      if (about) ::PostMessageW(driver.Panel(), WM_SYSCOMMAND, 0x10, 0);
      if (prompt || tab == 0) return;
      HWND panel = driver.Panel();
      paneltest::Driver::Click(panel, tab);
      if (tab != 1009) driver.EnterPassword(L"gallery");
      if (addSite) paneltest::Driver::Click(driver.Page(1034), 1030);
    } catch (const paneltest::DriverError&) {
    }
  });
  ShowDashBoard(prompt ? 1 : 0);
  actor.join();
  return 0;
}

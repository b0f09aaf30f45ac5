// Shows the control panel for a look or a screenshot: "DashboardGallery
// <tab id>" opens the panel on that tab, "DashboardGallery prompt" shows the
// password prompt, "DashboardGallery about" the about box. The parent's settings in the data folder are used as they
// are, with a password "gallery" for the prompt and the guarded tabs.
#include <windows.h>

#include <string>
#include <thread>

#include "PanelDriver.h"
#include "SysConf.h"

extern "C" __declspec(dllimport) int ShowDashBoard(int mode);

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  std::wstring what = commandLine ? commandLine : L"";
  {
    CSysConf conf;
    conf.login_need_pwd = 1;
    conf.password = L"gallery";
    conf.Save();
  }
  bool prompt = what == L"prompt";
  bool about = what == L"about";
  int tab = prompt ? 0 : _wtoi(what.c_str());
  paneltest::Driver driver(::GetCurrentThreadId());
  std::thread actor([&] {
    try {
      if (about) ::PostMessageW(driver.Panel(), WM_SYSCOMMAND, 0x10, 0);
      if (prompt || tab == 0) return;
      HWND panel = driver.Panel();
      paneltest::Driver::Click(panel, tab);
      if (tab != 1009) driver.EnterPassword(L"gallery");
    } catch (const paneltest::DriverError&) {
    }
  });
  ShowDashBoard(prompt ? 1 : 0);
  actor.join();
  return 0;
}

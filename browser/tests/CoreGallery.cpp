// Shows the control bar under a window of the size of a small browser, and
// the password prompt, the default-browser question and the about box
// beside it, for a look or a screenshot. Closes after the seconds given as
// its argument (default 30).
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "AboutDlg.h"
#include "AuthDlg.h"
#include "CheckDefaultBroswer.h"
#include "CtrlBar.h"
#include "SkinTestSupport.h"
#include "SysConf.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  int seconds = commandLine && *commandLine ? _wtoi(commandLine) : 30;
  CSysConf settings;
  settings.nick_name = L"小明";
  fw::Wnd browser;
  browser.Create(PopupArgs(10, 10, 1000, 120));
  CtrlBarServices services = CtrlBarServices::Defaults();
  CCtrlBar bar(settings, browser.Hwnd(), std::move(services));
  bar.CreateModeless();
  ::SetWindowPos(bar.Hwnd(), nullptr, 0, 80, 1000, 40, SWP_NOZORDER);
  ::ShowWindow(bar.Hwnd(), SW_SHOW);

  CAuthDlg auth(settings);
  auth.CreateModeless();
  ::SetWindowPos(auth.Hwnd(), nullptr, 20, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::ShowWindow(auth.Hwnd(), SW_SHOW);
  CCheckDefaultBroswer question(settings);
  question.CreateModeless();
  ::SetWindowPos(question.Hwnd(), nullptr, 400, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::ShowWindow(question.Hwnd(), SW_SHOW);
  CAboutDlg about;
  about.CreateModeless();
  ::SetWindowPos(about.Hwnd(), nullptr, 20, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::ShowWindow(about.Hwnd(), SW_SHOW);
  PumpFor(static_cast<DWORD>(seconds) * 1000);
  return 0;
}

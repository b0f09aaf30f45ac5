// Shows the browser's main window in the default theme with three tabs and
// the notifier up, for a look or a screenshot. Arguments: "locked" runs it in
// lock mode (full screen, topmost); a number of seconds to stay (default 30).
// It writes the settings it needs into the data folder.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "BroswerDlg.h"
#include "SysConf.h"

namespace {

CBroswerDlg* g_window = nullptr;

// Once the delayed start has run: two more tabs and a refusal's notice.
void CALLBACK Show(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  g_window->OpenUrlInNewTab(L"about:blank");
  g_window->OpenUrlInNewTab(L"about:blank");
  ::SendMessageW(g_window->Hwnd(), WM_SHOW_NOTIFY, reinterpret_cast<WPARAM>(L"噢，这个网页妈妈不让看哦..."), 0);
}

void CALLBACK Finish(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  ::PostQuitMessage(0);
}

}  // namespace

int main(int argc, char** argv) {
  bool locked = false;
  DWORD seconds = 30;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "locked") == 0) locked = true;
    else seconds = static_cast<DWORD>(std::atoi(argv[i]));
  }
  CSysConf settings;
  settings.fullscreen_always = locked ? 1 : 0;
  settings.exit_need_pwd = locked ? 1 : 0;
  settings.block_key = 0;
  settings.limited = 0;
  settings.first_run = 0;
  settings.auto_update = 0;
  settings.start_check = 0;
  settings.Save();
  std::wstring newTabUrl = L"about:blank";
  CBroswerDlg window(settings, newTabUrl);
  g_window = &window;
  ::SetTimer(nullptr, 0, 3000, Show);
  ::SetTimer(nullptr, 0, seconds * 1000, Finish);
  window.DoModal(nullptr);
  return 0;
}

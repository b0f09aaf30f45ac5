// The core's seam to the main window: Brivan.exe runs its one window here.
#include "BroswerApp.h"
#include "BroswerDlg.h"
#include "BrivanGlobals.h"
#include "WebUrl.h"

int RunBroswerMainWindow(const std::wstring& startUrl) {
  CBroswerDlg dialog(g_sysConf, g_newTabUrl);
  if (IsWebUrl(startUrl)) dialog.SetStartUrl(startUrl);
  return static_cast<int>(dialog.DoModal(nullptr));
}

#include "MarrotApp.h"

#include <commctrl.h>

extern "C" __declspec(dllimport) int ShowDashBoard(int mode);

FW_PROGRAM_ENTRY(CMarrotApp)

bool CMarrotApp::InitInstance() {
  ::InitCommonControls();
  SetRegistryKey(L"应用程序向导生成的本地应用程序");
  // The panel runs modally on this thread; whatever the command line, it
  // opens on its general page, and the program ends when it closes.
  ShowDashBoard(0);
  return false;
}

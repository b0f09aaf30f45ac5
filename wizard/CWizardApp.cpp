#include "CWizardApp.h"

#include <commctrl.h>

#include "CWizardAuthDlg.h"
#include "CWizardMain.h"

bool CWizardApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
  ::InitCommonControlsEx(&controls);

  CWizardMain sheet;
  // Asked before anything shows: Cancel ends the program, writing nothing.
  const CSysConf& settings = sheet.Settings();
  if (CWizardAuthDlg::IsNeeded(settings.login_need_pwd, settings.password)) {
    CWizardAuthDlg prompt(settings.password);
    prompt.DoModal();
    if (!prompt.Passed()) return false;
  }
  sheet.Flags() |= PSH_WIZARD | PSH_HASHELP;
  sheet.DoModal();
  return false;
}

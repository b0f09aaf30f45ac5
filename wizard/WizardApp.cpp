#include "WizardApp.h"

#include <commctrl.h>

#include "ComSupport.h"
#include "WizardAuthDlg.h"
#include "WizardMain.h"

bool CWizardApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
  ::InitCommonControlsEx(&controls);
  // The address book of the Help button is read through MSXML.
  fw::ComThreadScope com;

  CWizardMain sheet;
  // Asked before anything shows: Cancel ends the program, writing nothing.
  const CSysConf& settings = sheet.Settings();
  // Without the file's password anyone could change the rules, and a save
  // would replace the ones in the file.
  if (const std::wstring unread = settings.UnreadablePath(); !unread.empty()) {
    ::MessageBoxW(nullptr, CSysConf::UnreadableText(unread).c_str(), L"提示", MB_OK | MB_ICONWARNING);
    return false;
  }
  if (CWizardAuthDlg::IsNeeded(settings.login_need_pwd, settings.password)) {
    CWizardAuthDlg prompt(settings.password);
    prompt.DoModal();
    if (!prompt.Passed()) return false;
  }
  sheet.Flags() |= PSH_WIZARD | PSH_HASHELP;
  sheet.DoModal();
  return false;
}

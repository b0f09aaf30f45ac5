#include "CCtrlPage.h"

#include "AutoStart.h"
#include "SysConf.h"
#include "WizardResources.h"

CCtrlPage::CCtrlPage() : CWizardPage(IDD_CTRL_PAGE, PSWIZB_BACK | PSWIZB_NEXT) {}

void CCtrlPage::InitControls() {
  SetChecked(IDC_CTRL_FILTER, Settings().enable_filter != 0);
  SetChecked(IDC_CTRL_FULLSCREEN, Settings().fullscreen_always != 0);
  SetChecked(IDC_CTRL_AUTOSTART, true);
}

bool CCtrlPage::OnCommand(UINT id, UINT code, HWND control) {
  if (code != BN_CLICKED) return CWizardPage::OnCommand(id, code, control);
  switch (id) {
    case IDC_CTRL_FILTER:
      if (IsChecked(id) != (Settings().enable_filter != 0)) ReportModified();
      return true;
    case IDC_CTRL_FULLSCREEN:
      if (IsChecked(id) != (Settings().fullscreen_always != 0)) ReportModified();
      return true;
    case IDC_CTRL_AUTOSTART:
      ReportModified();
      return true;
    default:
      return CWizardPage::OnCommand(id, code, control);
  }
}

int CCtrlPage::SaveToConf() {
  Settings().enable_filter = IsChecked(IDC_CTRL_FILTER) ? 1 : 0;
  Settings().fullscreen_always = IsChecked(IDC_CTRL_FULLSCREEN) ? 1 : 0;
  return 1;
}

void CCtrlPage::ApplyAutoStart() {
  // A value written earlier stays when the box is unchecked.
  if (!Hwnd() || !IsChecked(IDC_CTRL_AUTOSTART)) return;
  if (!EnableAutoStart()) SetChecked(IDC_CTRL_AUTOSTART, false);
}

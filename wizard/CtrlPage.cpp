#include "CtrlPage.h"

#include "AutoStart.h"
#include "DataExchange.h"
#include "SysConf.h"
#include "WizardResources.h"

CCtrlPage::CCtrlPage() : CWizardPage(IDD_CTRL_PAGE, PSWIZB_BACK | PSWIZB_NEXT) {}

void CCtrlPage::InitControls() {
  filter_ = Settings().enable_filter ? BST_CHECKED : BST_UNCHECKED;
  fullscreen_ = Settings().fullscreen_always ? BST_CHECKED : BST_UNCHECKED;
  autoStart_ = BST_CHECKED;
}

void CCtrlPage::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Check(IDC_CTRL_FILTER, filter_);
  exchange.Check(IDC_CTRL_FULLSCREEN, fullscreen_);
  exchange.Check(IDC_CTRL_AUTOSTART, autoStart_);
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
  UpdateData(true);
  Settings().enable_filter = filter_ == BST_CHECKED ? 1 : 0;
  Settings().fullscreen_always = fullscreen_ == BST_CHECKED ? 1 : 0;
  return 1;
}

void CCtrlPage::ApplyAutoStart() {
  // A value written earlier stays when the box is unchecked.
  if (!Hwnd()) return;
  UpdateData(true);
  if (autoStart_ != BST_CHECKED || EnableAutoStart()) return;
  autoStart_ = BST_UNCHECKED;
  UpdateData(false);
}

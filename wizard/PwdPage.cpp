#include "PwdPage.h"

#include "DataExchange.h"
#include "SysConf.h"
#include "WizardResources.h"

CPwdPage::CPwdPage() : CWizardPage(IDD_PWD_PAGE, PSWIZB_NEXT, IDC_PWD_PICTURE) {}

void CPwdPage::InitControls() {
  exitNeedsPassword_ = Settings().exit_need_pwd ? BST_CHECKED : BST_UNCHECKED;
  loginNeedsPassword_ = Settings().login_need_pwd ? BST_CHECKED : BST_UNCHECKED;
}

void CPwdPage::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Check(IDC_PWD_EXIT_NEEDS, exitNeedsPassword_);
  exchange.Check(IDC_PWD_LOGIN_NEEDS, loginNeedsPassword_);
  exchange.Text(IDC_PWD_FIRST, first_);
  exchange.Text(IDC_PWD_SECOND, second_);
}

bool CPwdPage::OnCommand(UINT id, UINT code, HWND control) {
  const CSysConf& settings = Settings();
  if (code == BN_CLICKED && (id == IDC_PWD_EXIT_NEEDS || id == IDC_PWD_LOGIN_NEEDS)) {
    int flag = id == IDC_PWD_EXIT_NEEDS ? settings.exit_need_pwd : settings.login_need_pwd;
    if (IsChecked(id) != (flag != 0)) ReportModified();
    return true;
  }
  if (code == EN_CHANGE && (id == IDC_PWD_FIRST || id == IDC_PWD_SECOND)) {
    if (::lstrcmpiW(ItemText(id).c_str(), settings.password.c_str()) != 0) ReportModified();
    return true;
  }
  return CWizardPage::OnCommand(id, code, control);
}

int CPwdPage::SaveToConf() {
  CSysConf& settings = Settings();
  UpdateData(true);
  settings.exit_need_pwd = exitNeedsPassword_ == BST_CHECKED ? 1 : 0;
  settings.login_need_pwd = loginNeedsPassword_ == BST_CHECKED ? 1 : 0;
  if (first_ != second_) {
    ::MessageBoxW(hwnd_, L"密码输入不一致,请重新输入", L"提示", MB_OK | MB_ICONINFORMATION);
    ::SetFocus(Item(IDC_PWD_FIRST));
    return 0;
  }
  if (!CSysConf::CanStorePassword(first_)) {
    ::MessageBoxW(hwnd_, CSysConf::kUnstorablePasswordText, L"提示", MB_OK | MB_ICONINFORMATION);
    ::SetFocus(Item(IDC_PWD_FIRST));
    return 0;
  }
  // Skipping the step must not erase the password set earlier.
  if (!first_.empty()) settings.password = first_;
  return 1;
}

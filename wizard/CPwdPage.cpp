#include "CPwdPage.h"

#include "SysConf.h"
#include "WizardResources.h"

CPwdPage::CPwdPage() : CWizardPage(IDD_PWD_PAGE, PSWIZB_NEXT, IDC_PWD_PICTURE) {}

void CPwdPage::InitControls() {
  SetChecked(IDC_PWD_EXIT_NEEDS, Settings().exit_need_pwd != 0);
  SetChecked(IDC_PWD_LOGIN_NEEDS, Settings().login_need_pwd != 0);
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
  settings.exit_need_pwd = IsChecked(IDC_PWD_EXIT_NEEDS) ? 1 : 0;
  settings.login_need_pwd = IsChecked(IDC_PWD_LOGIN_NEEDS) ? 1 : 0;
  std::wstring first = ItemText(IDC_PWD_FIRST);
  std::wstring second = ItemText(IDC_PWD_SECOND);
  if (first != second) {
    ::MessageBoxW(hwnd_, L"密码输入不一致,请重新输入", L"提示", MB_OK | MB_ICONINFORMATION);
    ::SetFocus(Item(IDC_PWD_FIRST));
    return 0;
  }
  // Skipping the step must not erase the password set earlier.
  if (!first.empty()) settings.password = first;
  return 1;
}

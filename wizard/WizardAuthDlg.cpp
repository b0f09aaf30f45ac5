#include "WizardAuthDlg.h"

#include "WizardResources.h"

CWizardAuthDlg::CWizardAuthDlg(const std::wstring& password) : fw::Dialog(IDD_WIZARD_AUTH), password_(password) {}

bool CWizardAuthDlg::IsNeeded(int loginNeedsPassword, const std::wstring& password) {
  return loginNeedsPassword != 0 && !password.empty();
}

BOOL CWizardAuthDlg::OnInitDialog() {
  ::SetFocus(Item(IDC_AUTH_PASSWORD));
  return FALSE;
}

void CWizardAuthDlg::OnOK() {
  if (::lstrcmpiW(ItemText(IDC_AUTH_PASSWORD).c_str(), password_.c_str()) == 0) {
    passed_ = true;
    EndDialog(IDOK);
    return;
  }
  ::MessageBoxW(hwnd_, L"密码错误，请重新输入", L"提示", MB_OK | MB_ICONINFORMATION);
  HWND edit = Item(IDC_AUTH_PASSWORD);
  ::SetFocus(edit);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

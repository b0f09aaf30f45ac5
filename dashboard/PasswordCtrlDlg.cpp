#include "PasswordCtrlDlg.h"

#include <memory>

#include "AutoStart.h"
#include "BroswerRegister.h"
#include "DashboardResources.h"
#include "SysConf.h"

namespace {

struct FlagBox {
  int id;
  int CSysConf::*field;
};

const FlagBox kFlagBoxes[] = {
    {IDC_LOGIN_NEED_PWD, &CSysConf::login_need_pwd}, {IDC_EXIT_NEED_PWD, &CSysConf::exit_need_pwd},
    {IDC_BLOCK_KEY, &CSysConf::block_key},           {IDC_FULLSCREEN, &CSysConf::fullscreen_always},
    {IDC_CAN_CHANGE_MP, &CSysConf::can_change_mp},
};

const int kChangeBoxes[] = {IDC_EXIT_NEED_PWD, IDC_LOGIN_NEED_PWD, IDC_BLOCK_KEY,    IDC_AUTOSTART,
                            IDC_FULLSCREEN,    IDC_CAN_CHANGE_MP,  IDC_START_CHECK};

bool IsChangeBox(UINT id) {
  for (int box : kChangeBoxes) {
    if (static_cast<UINT>(box) == id) return true;
  }
  return false;
}

std::unique_ptr<CBroswerRegister> MakeRegister() {
  return std::unique_ptr<CBroswerRegister>(NewBroswerRegister(NewBroswerRegisterImpl()));
}

}  // namespace

CPasswordCtrlDlg::CPasswordCtrlDlg(HWND parent) : CPanelPage(IDD_PASSWORDCTRL, parent, L"pwddlg") {}

void CPasswordCtrlDlg::InitPage() {
  const CSysConf& conf = Conf();
  SetItemText(IDC_PASSWORD, conf.password);
  SetItemText(IDC_PASSWORD_AGAIN, conf.password);
  for (const FlagBox& box : kFlagBoxes) SetChecked(box.id, conf.*box.field != 0);
  SetChecked(IDC_AUTOSTART, IsAutoStartEnabled() != 0);
  SetChecked(IDC_START_CHECK, conf.start_check != 0);
  ShowDefaultBrowserState();
}

void CPasswordCtrlDlg::ShowDefaultBrowserState() {
  bool isDefault = MakeRegister()->IsDefault() != 0;
  SetChecked(IDC_DEFAULT_BROWSER, isDefault);
  ::EnableWindow(Item(IDC_DEFAULT_BROWSER), !isDefault);
}

void CPasswordCtrlDlg::OnDefaultBrowserClicked() {
  OnSettingChanged();
  if (!MakeRegister()->Register()) {
    SetChecked(IDC_DEFAULT_BROWSER, false);
    return;
  }
  // Registered: the box says so at once, as the next panel run would.
  SetChecked(IDC_DEFAULT_BROWSER, true);
  ::EnableWindow(Item(IDC_DEFAULT_BROWSER), FALSE);
}

void CPasswordCtrlDlg::SaveAutoStart() {
  if (IsChecked(IDC_AUTOSTART)) {
    if (!EnableAutoStart()) SetChecked(IDC_AUTOSTART, false);
  } else if (!DisableAutoStart()) {
    SetChecked(IDC_AUTOSTART, true);
  }
}

int CPasswordCtrlDlg::SaveToConf() {
  std::wstring password = ItemText(IDC_PASSWORD);
  if (password != ItemText(IDC_PASSWORD_AGAIN)) {
    Prompt(L"密码输入不一致,请重新输入");
    ::SetFocus(Item(IDC_PASSWORD));
    return 0;
  }
  if (!CSysConf::CanStorePassword(password)) {
    Prompt(CSysConf::kUnstorablePasswordText);
    ::SetFocus(Item(IDC_PASSWORD));
    return 0;
  }
  CSysConf& conf = Conf();
  for (const FlagBox& box : kFlagBoxes) conf.*box.field = IsChecked(box.id) ? 1 : 0;
  SaveAutoStart();
  conf.start_check = IsChecked(IDC_START_CHECK) ? 1 : 0;
  conf.password = password;
  return 1;
}

bool CPasswordCtrlDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (id == IDC_DEFAULT_BROWSER && code == BN_CLICKED) {
    OnDefaultBrowserClicked();
    return true;
  }
  if ((IsChangeBox(id) && code == BN_CLICKED) ||
      ((id == IDC_PASSWORD || id == IDC_PASSWORD_AGAIN) && code == EN_CHANGE)) {
    OnSettingChanged();
    return true;
  }
  return CPanelPage::OnCommand(id, code, control);
}

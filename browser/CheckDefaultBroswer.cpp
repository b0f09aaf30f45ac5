#include "CheckDefaultBroswer.h"

#include "CoreResources.h"
#include "SettingFlag.h"
#include "SysConf.h"

namespace {

HICON LoadProgramIcon(HINSTANCE module, int size) {
  return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
}

}  // namespace

CCheckDefaultBroswer::CCheckDefaultBroswer(CSysConf& settings, HWND parent)
    : fw::Dialog(IDD_CHECKDEFAULT, parent), settings_(settings) {}

BOOL CCheckDefaultBroswer::OnInitDialog() {
  askAtStart_ = Item(IDC_ASK_AT_START);
  SetChecked(IDC_ASK_AT_START, settings_.start_check != 0);
  largeIcon_.Reset(LoadProgramIcon(Module(), 32));
  smallIcon_.Reset(LoadProgramIcon(Module(), 16));
  if (largeIcon_) Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.Get()));
  if (smallIcon_) Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
  return TRUE;
}

void CCheckDefaultBroswer::OnAskAtStartClicked() {
  SaveSettingFlag(settings_, &CSysConf::start_check, IsChecked(IDC_ASK_AT_START) ? 1 : 0);
}

bool CCheckDefaultBroswer::OnCommand(UINT id, UINT code, HWND control) {
  if (id == IDC_ASK_AT_START && code == BN_CLICKED) {
    OnAskAtStartClicked();
    return true;
  }
  return fw::Dialog::OnCommand(id, code, control);
}

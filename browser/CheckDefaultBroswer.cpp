#include "CheckDefaultBroswer.h"

#include "CoreResources.h"
#include "DataExchange.h"
#include "SettingFlag.h"
#include "SysConf.h"

namespace {

HICON LoadProgramIcon(HINSTANCE module, int size) {
  return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
}

}  // namespace

CCheckDefaultBroswer::CCheckDefaultBroswer(CSysConf& settings, HWND parent)
    : fw::Dialog(IDD_CHECKDEFAULT, parent), settings_(settings), askAtStart_(settings.start_check ? 1 : 0) {}

void CCheckDefaultBroswer::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Check(IDC_ASK_AT_START, askAtStart_);
}

BOOL CCheckDefaultBroswer::OnInitDialog() {
  largeIcon_.Reset(LoadProgramIcon(Module(), 32));
  smallIcon_.Reset(LoadProgramIcon(Module(), 16));
  if (largeIcon_) Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.Get()));
  if (smallIcon_) Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
  return TRUE;
}

void CCheckDefaultBroswer::OnAskAtStartClicked() {
  askAtStart_ = IsChecked(IDC_ASK_AT_START) ? 1 : 0;
  SaveSettingFlag(settings_, &CSysConf::start_check, askAtStart_);
}

bool CCheckDefaultBroswer::OnCommand(UINT id, UINT code, HWND control) {
  if (id == IDC_ASK_AT_START && code == BN_CLICKED) {
    OnAskAtStartClicked();
    return true;
  }
  return fw::Dialog::OnCommand(id, code, control);
}

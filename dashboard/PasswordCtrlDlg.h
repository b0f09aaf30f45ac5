#pragma once
#include "PanelPage.h"

// The security page: the parent password, the password and lock flags, run
// at system start and the default-browser registration.
class CPasswordCtrlDlg : public CPanelPage {
 public:
  explicit CPasswordCtrlDlg(HWND parent);

  int SaveToConf() override;

 protected:
  void InitPage() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void ShowDefaultBrowserState();
  void OnDefaultBrowserClicked();
  void SaveAutoStart();
};

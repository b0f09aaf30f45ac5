#pragma once
#include "PanelPage.h"

// The child page: the daily time limit, the child's nick name, sex and age.
class CKidInfoDlg : public CPanelPage {
 public:
  explicit CKidInfoDlg(HWND parent);

  int SaveToConf() override;

 protected:
  void InitPage() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void SetLimited(bool limited);
  std::wstring SelectedText(int comboId) const;
};

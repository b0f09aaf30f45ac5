#pragma once
#include <string>

#include "WizardPage.h"

// Step 2: the child's nick name, sex and age, and the daily limit.
class CKidInfoPage : public CWizardPage {
 public:
  CKidInfoPage();

  // Stores limit, minutes, nick, sex and age; an empty nick is refused with a
  // message (limit and minutes are stored by then). 1 when stored.
  int SaveToConf();

 protected:
  void InitControls() override;
  LRESULT OnWizardSave() override { return SaveToConf() ? 0 : 1; }
  bool OnCommand(UINT id, UINT code, HWND control) override;
  void DoDataExchange(fw::DataExchange& exchange) override;

 private:
  void EnableMinutes(bool enable);

  std::wstring nick_;
  std::wstring sex_;
  std::wstring age_;  // empty: none selected
  int limited_ = 0;
  int unlimited_ = 0;
  std::wstring minutes_;
};

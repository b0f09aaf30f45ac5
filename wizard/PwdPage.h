#pragma once
#include <string>

#include "WizardPage.h"

// Step 1: the parent password and the two places it is asked for.
class CPwdPage : public CWizardPage {
 public:
  CPwdPage();

  // Stores the two flags and the password. Both edits empty keep the stored
  // password (the edits never show it); differing texts, and a password the
  // settings file cannot hold, are refused with a message. 1 when stored, 0
  // when refused.
  int SaveToConf();

 protected:
  void InitControls() override;
  LRESULT OnWizardSave() override { return SaveToConf() ? 0 : 1; }
  bool OnCommand(UINT id, UINT code, HWND control) override;
  void DoDataExchange(fw::DataExchange& exchange) override;

 private:
  int exitNeedsPassword_ = 0;
  int loginNeedsPassword_ = 0;
  // The edits start empty: the stored password is never shown.
  std::wstring first_;
  std::wstring second_;
};

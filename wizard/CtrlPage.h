#pragma once
#include "WizardPage.h"

// Step 3: the site filter, full screen, and starting with Windows.
class CCtrlPage : public CWizardPage {
 public:
  CCtrlPage();

  // Stores the filter and full-screen flags; always 1.
  int SaveToConf();
  // Writes the start-with-Windows value when its box is checked. The sheet
  // calls it only after the record was saved, so a refused or failed save
  // leaves the registry as it was. A failed write unchecks the box.
  void ApplyAutoStart();

 protected:
  void InitControls() override;
  LRESULT OnWizardSave() override { return SaveToConf() ? 0 : 1; }
  bool OnCommand(UINT id, UINT code, HWND control) override;
  void DoDataExchange(fw::DataExchange& exchange) override;

 private:
  int filter_ = 0;
  int fullscreen_ = 0;
  int autoStart_ = 0;
};

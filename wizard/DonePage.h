#pragma once
#include <string>

#include "ButtonST.h"
#include "WizardPage.h"

// Step 4: two picture buttons that leave the wizard for the control panel or
// the browser.
class CDonePage : public CWizardPage {
 public:
  CDonePage();

  static constexpr int kButtonWidth = 325;
  static constexpr int kButtonHeight = 101;

 protected:
  void InitControls() override;
  LRESULT OnWizardSave() override { return 0; }
  bool OnCommand(UINT id, UINT code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DoDataExchange(fw::DataExchange& exchange) override;

 private:
  void GiveBitmaps(CButtonST& button, UINT overId, UINT normalId);
  void PlaceButtons();
  // Leaves the wizard, when the sheet lets it, and starts the program.
  void LeaveFor(const wchar_t* program, const wchar_t* arguments);

  CButtonST controlPanel_;
  CButtonST browser_;
};

#pragma once
#include <string>

#include "Dialog.h"

// Asks for the parent password before the wizard shows, so that the wizard is
// no way around it. Compared ignoring case; a wrong one keeps the dialog open.
class CWizardAuthDlg : public fw::Dialog {
 public:
  explicit CWizardAuthDlg(const std::wstring& password);

  bool Passed() const { return passed_; }
  // The prompt is needed when the parent asked for the password at login and
  // one is stored (the control panel's condition).
  static bool IsNeeded(int loginNeedsPassword, const std::wstring& password);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  std::wstring password_;
  bool passed_ = false;
};

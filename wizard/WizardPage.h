#pragma once
#include <windows.h>

#include "Handles.h"
#include "PropertyPage.h"

class CSysConf;
class CWizardMain;

// What the four pages share: white background, the full-page picture under
// the controls, the sheet's buttons for the step, and the questions they put
// to the sheet on Cancel and Finish.
class CWizardPage : public fw::PropertyPage {
 public:
  // `wizardButtons`: the PSWIZB_* flags of this step. `transparentId`: a
  // control with an id whose background the picture shows through (0: only
  // the statics without an id).
  CWizardPage(UINT templateId, DWORD wizardButtons, int transparentId = 0);

 protected:
  BOOL OnInitDialog() final;
  // Fills the lists and takes the settings into the page's data, which the
  // data exchange then shows; changes made here are not reported.
  virtual void InitControls() = 0;
  bool OnSetActive() override;
  bool OnQueryCancel() override;
  bool OnWizardFinish() override;
  void OnHelp() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // Answers the sheet's WM_WIZARD_SAVE: 0 when stored, non-zero when refused.
  virtual LRESULT OnWizardSave() = 0;
  // Reports a change to the sheet, once the page's own start-up is over.
  void ReportModified() const;
  CSysConf& Settings() const;
  CWizardMain* WizardSheet() const;

 private:
  HBRUSH OnCtlColor(HDC dc, HWND control) const;

  DWORD wizardButtons_;
  int transparentId_;
  fw::ScopedBrush whiteBrush_;
  bool started_ = false;
  // The controls are being loaded again from the page's data.
  bool reloading_ = false;
};

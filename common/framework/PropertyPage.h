#pragma once
#include <windows.h>
#include <prsht.h>

#include "Dialog.h"

namespace fw {

class PropertySheet;

// One page of a property sheet, made from its own dialog template when the
// sheet first shows it. The page takes its window at WM_INITDIALOG and runs
// it from then on through its own window procedure, so the answers of the
// handlers below reach the sheet that sent the notification (a dialog
// procedure's plain return value would reach it as 0). Leaving the page
// saves its data exchange; coming back loads it again.
class PropertyPage : public Dialog {
 public:
  explicit PropertyPage(UINT templateId, HINSTANCE module = ThisModule());

  // The description the sheet is built from; `hasHelp` enables the sheet's
  // Help button while this page shows.
  PROPSHEETPAGEW Describe(bool hasHelp) const;
  // The sheet this page sits in, or nullptr before it is shown.
  PropertySheet* Sheet() const;
  HWND SheetHwnd() const { return hwnd_ ? ::GetParent(hwnd_) : nullptr; }

 protected:
  // The page becomes the current one; false refuses. Later activations load
  // the controls from the data exchange.
  virtual bool OnSetActive();
  // The page is left for another one; false keeps it. Saves the data
  // exchange.
  virtual bool OnKillActive() { return UpdateData(true); }
  // The sheet is about to be cancelled; false keeps it open.
  virtual bool OnQueryCancel() { return true; }
  // The sheet was cancelled.
  virtual void OnReset() {}
  // Finish was pressed; false keeps the sheet open on its page.
  virtual bool OnWizardFinish() { return true; }
  // Next and Back: 0 goes on, -1 stays, a template id jumps to that page.
  virtual LRESULT OnWizardNext() { return 0; }
  virtual LRESULT OnWizardBack() { return 0; }
  virtual void OnHelp() {}

  bool OnNotify(NMHDR& header, LRESULT& result) override;
  // A page never ends itself: OK and Cancel belong to the sheet.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  static INT_PTR CALLBACK StaticPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  bool activatedBefore_ = false;
};

}  // namespace fw

#pragma once
#include <windows.h>
#include <prsht.h>

#include "Dialog.h"

namespace fw {

class PropertySheet;

// One page of a property sheet, made from its own dialog template when the
// sheet first shows it. The sheet's notifications reach the virtual handlers
// below; their answers go back to the sheet through DWLP_MSGRESULT, since a
// dialog procedure's plain return value never reaches the sender.
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
  // The page becomes the current one; false refuses.
  virtual bool OnSetActive();
  // The page is left for another one; false keeps it.
  virtual bool OnKillActive() { return true; }
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
  // Later activations refresh the controls from the page's data.
  virtual void RefreshControls() {}

  bool OnNotify(NMHDR& header, LRESULT& result) override;
  // A page never ends itself: OK and Cancel belong to the sheet.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  static INT_PTR CALLBACK StaticPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  bool activatedBefore_ = false;
};

}  // namespace fw

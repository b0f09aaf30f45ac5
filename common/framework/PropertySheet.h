#pragma once
#include <windows.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "Wnd.h"

namespace fw {

class PropertyPage;

// A modal property sheet over PropertySheetW. The sheet window is subclassed
// as soon as it exists, so its own messages reach OnMessage before the
// system's sheet procedure; pages are created by the system when first shown.
class PropertySheet : public Wnd {
 public:
  explicit PropertySheet(const std::wstring& caption, HWND parent = nullptr, UINT startPage = 0);

  // Pages are kept by pointer: they must outlive the sheet's run.
  void AddPage(PropertyPage& page);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  PropertyPage& Page(int index) const { return *pages_[static_cast<size_t>(index)]; }
  int PageIndex(const PropertyPage& page) const;
  // Header flags (PSH_WIZARD, PSH_HASHELP, ...) added before DoModal.
  DWORD& Flags() { return flags_; }

  // Runs the sheet; answers what PropertySheetW answered (-1 on failure).
  INT_PTR DoModal();

  // Presses one of the sheet's buttons (PSBTN_*) as the user would, later,
  // from the message loop.
  void PostPressButton(int button) const { ::PostMessageW(hwnd_, PSM_PRESSBUTTON, button, 0); }
  void PostWizardButtons(DWORD buttons) const { ::PostMessageW(hwnd_, PSM_SETWIZBUTTONS, 0, buttons); }
  bool SetActivePage(int index) const { return Send(PSM_SETCURSEL, index, 0) != 0; }
  PropertyPage* ActivePage() const;

 protected:
  // The sheet window exists with its buttons; no page is shown yet.
  virtual void OnInitDialog() {}

 private:
  static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);

  std::wstring caption_;
  HWND parent_;
  UINT startPage_;
  DWORD flags_ = 0;
  std::vector<PropertyPage*> pages_;
};

}  // namespace fw

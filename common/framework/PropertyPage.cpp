#include "PropertyPage.h"

#include "PropertySheet.h"

namespace fw {

PropertyPage::PropertyPage(UINT templateId, HINSTANCE module) : Dialog(templateId, module) {}

PROPSHEETPAGEW PropertyPage::Describe(bool hasHelp) const {
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof(page);
  page.dwFlags = PSP_DEFAULT | (hasHelp ? PSP_HASHELP : 0);
  page.hInstance = Module();
  page.pszTemplate = MAKEINTRESOURCEW(TemplateId());
  page.pfnDlgProc = &StaticPageProc;
  page.lParam = reinterpret_cast<LPARAM>(this);
  return page;
}

PropertySheet* PropertyPage::Sheet() const { return dynamic_cast<PropertySheet*>(FromHandle(SheetHwnd())); }

bool PropertyPage::OnSetActive() {
  if (activatedBefore_) UpdateData(false);
  activatedBefore_ = true;
  return true;
}

bool PropertyPage::OnNotify(NMHDR& header, LRESULT& result) {
  // Only the sheet's own notifications; the controls' go to Dialog.
  if (header.hwndFrom != SheetHwnd()) return Dialog::OnNotify(header, result);
  switch (header.code) {
    case PSN_SETACTIVE:
      result = OnSetActive() ? 0 : -1;
      return true;
    case PSN_KILLACTIVE:
      result = OnKillActive() ? FALSE : TRUE;
      return true;
    case PSN_QUERYCANCEL:
      result = OnQueryCancel() ? FALSE : TRUE;
      return true;
    case PSN_RESET:
      OnReset();
      return true;
    case PSN_WIZFINISH:
      result = OnWizardFinish() ? FALSE : TRUE;
      return true;
    case PSN_WIZNEXT:
      result = OnWizardNext();
      return true;
    case PSN_WIZBACK:
      result = OnWizardBack();
      return true;
    case PSN_HELP:
      OnHelp();
      return true;
    default:
      return false;
  }
}

// The system makes the page's window with this dialog procedure; at
// WM_INITDIALOG the page subclasses it, and from then on every message
// reaches WndProc first and this procedure only for what the page leaves.
INT_PTR CALLBACK PropertyPage::StaticPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG || FromHandle(hwnd)) return FALSE;
  // The system hands over its copy of the page description.
  auto* self = reinterpret_cast<PropertyPage*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
  if (!self || !self->Subclass(hwnd)) return FALSE;
  self->activatedBefore_ = false;
  return static_cast<INT_PTR>(self->WndProc(message, wParam, lParam));
}

}  // namespace fw

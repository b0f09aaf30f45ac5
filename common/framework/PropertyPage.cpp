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
  if (activatedBefore_) RefreshControls();
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

INT_PTR CALLBACK PropertyPage::StaticPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<PropertyPage*>(FromHandle(hwnd));
  if (!self && message == WM_INITDIALOG) {
    // The system hands over its copy of the page description.
    self = reinterpret_cast<PropertyPage*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
    if (!self || !self->Attach(hwnd)) return FALSE;
    self->activatedBefore_ = false;
  }
  if (!self) return FALSE;
  INT_PTR answer = self->DialogMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    self->Forget();
    self->OnFinalMessage();
  }
  return answer;
}

}  // namespace fw

#include "WizardPage.h"

#include "CurrentSettings.h"
#include "WizardMain.h"
#include "WizardMessages.h"

CWizardPage::CWizardPage(UINT templateId, DWORD wizardButtons, int transparentId)
    : fw::PropertyPage(templateId), wizardButtons_(wizardButtons), transparentId_(transparentId) {}

BOOL CWizardPage::OnInitDialog() {
  whiteBrush_.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
  // The picture is the template's first control, so it starts on top of the
  // others; underneath, its WS_CLIPSIBLINGS keeps it off them.
  HWND picture = ::GetWindow(hwnd_, GW_CHILD);
  if (picture) ::SetWindowPos(picture, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  InitControls();
  UpdateData(false);
  started_ = true;
  return TRUE;
}

bool CWizardPage::OnSetActive() {
  ::PostMessageW(SheetHwnd(), PSM_SETWIZBUTTONS, 0, wizardButtons_);
  reloading_ = true;
  bool active = fw::PropertyPage::OnSetActive();
  reloading_ = false;
  return active;
}

bool CWizardPage::OnQueryCancel() { return ::SendMessageW(SheetHwnd(), WM_WIZARD_QUERYSAVE, 0, 0) == 0; }

bool CWizardPage::OnWizardFinish() { return ::SendMessageW(SheetHwnd(), WM_WIZARD_SAVE, 0, 0) == 0; }

void CWizardPage::OnHelp() { ::SendMessageW(SheetHwnd(), WM_COMMAND, ID_WIZARD_HELP, 0); }

void CWizardPage::ReportModified() const {
  if (started_ && !reloading_) ::SendMessageW(SheetHwnd(), WM_PAGE_MODIFIED, 0, 0);
}

CSysConf& CWizardPage::Settings() const { return CurrentSettings(); }

CWizardMain* CWizardPage::WizardSheet() const { return dynamic_cast<CWizardMain*>(Sheet()); }

bool CWizardPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
      result = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
      return true;
    case WM_WIZARD_SAVE:
      result = OnWizardSave();
      return true;
    default:
      return fw::PropertyPage::OnMessage(message, wParam, lParam, result);
  }
}

HBRUSH CWizardPage::OnCtlColor(HDC dc, HWND control) const {
  bool isStatic = control != hwnd_ && control && [&] {
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    return ::lstrcmpiW(className, L"Static") == 0;
  }();
  int id = control ? ::GetDlgCtrlID(control) : 0;
  bool transparent = isStatic && (id == static_cast<int>(static_cast<WORD>(-1)) || id == -1 ||
                                  (transparentId_ != 0 && id == transparentId_));
  if (!transparent) return whiteBrush_.Get();
  // Texts without an id draw straight onto what lies under them.
  ::SetBkColor(dc, RGB(255, 255, 255));
  ::SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

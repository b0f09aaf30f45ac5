#include "DonePage.h"

#include "DataExchange.h"
#include "WizardMain.h"
#include "WizardMessages.h"
#include "WizardResources.h"

namespace {

const COLORREF kTransparent = RGB(255, 0, 255);
const COLORREF kPage = RGB(255, 255, 255);

}  // namespace

CDonePage::CDonePage() : CWizardPage(IDD_DONE_PAGE, PSWIZB_BACK | PSWIZB_FINISH) {}

void CDonePage::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Control(IDC_DONE_CONTROL_PANEL, controlPanel_);
  exchange.Control(IDC_DONE_BROWSER, browser_);
}

void CDonePage::InitControls() {
  GiveBitmaps(browser_, IDB_BROWSER_OVER, IDB_BROWSER);
  GiveBitmaps(controlPanel_, IDB_CONTROL_PANEL_OVER, IDB_CONTROL_PANEL);
  PlaceButtons();
}

void CDonePage::GiveBitmaps(CButtonST& button, UINT overId, UINT normalId) {
  // The button keeps copies: these go when this function ends.
  fw::ScopedBitmap over(static_cast<HBITMAP>(
      ::LoadImageW(Module(), MAKEINTRESOURCEW(overId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  fw::ScopedBitmap normal(static_cast<HBITMAP>(
      ::LoadImageW(Module(), MAKEINTRESOURCEW(normalId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  // Masks key the magenta out; what shows there is the button's background,
  // the page's white rather than the button face.
  button.SetBuildMasks(TRUE);
  button.SetBitmaps(over.Get(), kTransparent, normal.Get(), kTransparent);
  for (BYTE colour : {CButtonST::BTNST_COLOR_BK_IN, CButtonST::BTNST_COLOR_BK_OUT, CButtonST::BTNST_COLOR_BK_FOCUS})
    button.SetColor(colour, kPage, FALSE);
}

void CDonePage::PlaceButtons() {
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  ::SetWindowPos(Item(IDC_DONE_CONTROL_PANEL), nullptr, 115, 80, kButtonWidth, kButtonHeight, flags);
  ::SetWindowPos(Item(IDC_DONE_BROWSER), nullptr, 115, 180, kButtonWidth, kButtonHeight, flags);
  ::InvalidateRect(Item(IDC_DONE_CONTROL_PANEL), nullptr, TRUE);
  ::InvalidateRect(Item(IDC_DONE_BROWSER), nullptr, TRUE);
}

bool CDonePage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_SIZE) {
    DefaultDialogProc(message, wParam, lParam);
    PlaceButtons();
    return true;
  }
  return CWizardPage::OnMessage(message, wParam, lParam, result);
}

bool CDonePage::OnCommand(UINT id, UINT code, HWND control) {
  if (code == BN_CLICKED && id == IDC_DONE_CONTROL_PANEL) {
    LeaveFor(L"Pelvin.exe", L"0");
    return true;
  }
  if (code == BN_CLICKED && id == IDC_DONE_BROWSER) {
    LeaveFor(L"Brivan.exe", L"");
    return true;
  }
  return CWizardPage::OnCommand(id, code, control);
}

void CDonePage::LeaveFor(const wchar_t* program, const wchar_t* arguments) {
  // Staying (Cancel, or a refused save) starts nothing: the program would
  // run beside a wizard whose later Finish overwrites what it set.
  if (::SendMessageW(SheetHwnd(), WM_WIZARD_QUERYSAVE, 0, 0) != 0) return;
  CWizardMain* sheet = WizardSheet();
  if (sheet) sheet->EndWizard();
  ::PostQuitMessage(0);
  CWizardMain::StartProgram(program, arguments);
}

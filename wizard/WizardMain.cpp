#include "WizardMain.h"

#include "CommHelper.h"
#include "CurrentSettings.h"
#include "ProgramStarter.h"
#include "UrlsConf.h"
#include "WizardMessages.h"
#include "WizardResources.h"

namespace {

const wchar_t kSaveQuestion[] = L"您已经对设置作了修改，是否保存？";
const wchar_t kNoticeTitle[] = L"提示";
// The wizard buttons of the system's sheet.
const int kBackButton = 0x3023;
const int kNextButton = 0x3024;
const int kFinishButton = 0x3025;

}  // namespace

CWizardMain::StartFunction CWizardMain::startProgram = &CProgramStarter::Start;

void CWizardMain::StartProgram(const std::wstring& name, const std::wstring& arguments) {
  // A failed start is not reported.
  startProgram(CCommHelper::GetThisModuleDir() + L"\\" + name, arguments);
}

CWizardMain::CWizardMain() : fw::PropertySheet(L"CWizardMainSheet") {
  PublishSettings(&settings_);
  AddPage(pwdPage_);
  AddPage(kidInfoPage_);
  AddPage(ctrlPage_);
  AddPage(donePage_);
}

CWizardMain::~CWizardMain() { PublishSettings(nullptr); }

void CWizardMain::OnInitDialog() {
  whiteBrush_.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
  ::SetWindowPos(hwnd_, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterOnWorkArea();
  CreateExtraButtons();
  ArrangeSheetButtons();
}

void CWizardMain::ArrangeSheetButtons() {
  // The system lays its buttons out for the font, wide enough to cover the
  // two buttons of ours on the left: one row, right-aligned, beside them.
  const int width = 80, height = 22, gap = 8;
  RECT client = ClientRect();
  int top = client.bottom - 31, right = client.right - 9;
  struct Slot {
    int ids[2];
    int gapBefore;
  } const slots[] = {{{IDHELP, 0}, gap}, {{IDCANCEL, 0}, 0}, {{kNextButton, kFinishButton}, 0}, {{kBackButton, 0}, 0}};
  for (const Slot& slot : slots) {
    for (int id : slot.ids)
      if (id) ::SetWindowPos(::GetDlgItem(hwnd_, id), nullptr, right - width, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    right -= width + slot.gapBefore;
  }
}

void CWizardMain::CreateExtraButtons() {
  RECT client = ClientRect();
  int h = client.bottom;
  HFONT font = reinterpret_cast<HFONT>(Send(WM_GETFONT));
  struct Extra {
    int id;
    const wchar_t* text;
    int left, right;
  };
  const Extra extras[] = {{IDC_SWITCH_TO_PANEL, L"切换到控制面板", 9, 109}, {IDC_ONE_CLICK_SETUP, L"一键设置", 119, 199}};
  for (const Extra& extra : extras) {
    HWND button = ::CreateWindowExW(0, L"Button", extra.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                    extra.left, h - 31, extra.right - extra.left, 22, hwnd_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(extra.id)), fw::ThisModule(),
                                    nullptr);
    if (button && font) ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

void CWizardMain::CenterOnWorkArea() {
  RECT work{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return;
  RECT window = WindowRect();
  int width = window.right - window.left, height = window.bottom - window.top;
  int left = work.left + ((work.right - work.left) - width) / 2;
  int top = work.top + ((work.bottom - work.top) - height) / 2;
  ::SetWindowPos(hwnd_, nullptr, left > work.left ? left : work.left, top > work.top ? top : work.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWizardMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_PAGE_MODIFIED:
      modified_ = 1;
      result = 0;
      return true;
    case WM_WIZARD_SAVE:
      result = OnWizardSave();
      return true;
    case WM_WIZARD_QUERYSAVE:
      result = OnQuerySave();
      return true;
    case WM_CLOSE:
      // Never passed on: the system's sheet would ask its pages twice.
      OnClose();
      result = 0;
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
      result = reinterpret_cast<LRESULT>(whiteBrush_.Get());
      return true;
    case WM_SIZE:
      result = DefaultProc(message, wParam, lParam);
      OnSize(wParam, lParam);
      return true;
    default:
      return fw::PropertySheet::OnMessage(message, wParam, lParam, result);
  }
}

bool CWizardMain::OnCommand(UINT id, UINT code, HWND control) {
  if (code != BN_CLICKED && control) return false;
  switch (id) {
    case IDC_SWITCH_TO_PANEL:
      OnSwitchToControlPanel();
      return true;
    case IDC_ONE_CLICK_SETUP:
      OnOneClickSetup();
      return true;
    case ID_WIZARD_HELP:
      WinHelp();
      return true;
    default:
      return false;
  }
}

LRESULT CWizardMain::OnWizardSave() {
  // The control page first, as the pages' order of saving; a page never shown
  // has no window and keeps the loaded values.
  refusedPage_ = nullptr;
  for (CWizardPage* page : {static_cast<CWizardPage*>(&ctrlPage_), static_cast<CWizardPage*>(&pwdPage_),
                            static_cast<CWizardPage*>(&kidInfoPage_), static_cast<CWizardPage*>(&donePage_)}) {
    if (!page->Hwnd()) continue;
    if (page->Send(WM_WIZARD_SAVE) != 0) {
      refusedPage_ = page;
      return 1;
    }
  }
  if (!settings_.Save()) return 1;
  // Only now: a refused or failed save must leave the registry untouched.
  ctrlPage_.ApplyAutoStart();
  return 0;
}

bool CWizardMain::ConfirmLeave() {
  if (leaving_) return true;
  if (asking_) return false;
  if (!modified_) {
    leaving_ = true;
    return true;
  }
  asking_ = true;
  int answer = ::MessageBoxW(hwnd_, kSaveQuestion, kNoticeTitle, MB_YESNOCANCEL);
  asking_ = false;
  if (answer == IDNO) {
    leaving_ = true;
    return true;
  }
  if (answer != IDYES) return false;
  if (OnWizardSave() == 0) {
    leaving_ = true;
    return true;
  }
  if (refusedPage_) SetActivePage(PageIndex(*refusedPage_));
  return false;
}

void CWizardMain::EndWizard() {
  leaving_ = true;
  PostPressButton(PSBTN_CANCEL);
}

void CWizardMain::OnClose() {
  if (ConfirmLeave()) EndWizard();
}

void CWizardMain::OnSize(WPARAM type, LPARAM size) {
  if (type == SIZE_MINIMIZED) return;
  (void)size;
  RECT window = WindowRect();
  if (window.right - window.left == kWidth && window.bottom - window.top == kHeight) return;
  ::SetWindowPos(hwnd_, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWizardMain::OnSwitchToControlPanel() {
  if (!ConfirmLeave()) return;
  EndWizard();
  ::PostQuitMessage(0);
  StartProgram(L"Pelvin.exe", L"0");
}

void CWizardMain::OnOneClickSetup() {
  ::MessageBoxW(hwnd_, L"已经为您使用了我们的默认安全设置，谢谢使用。", kNoticeTitle, MB_OK | MB_ICONINFORMATION);
  // Nothing is saved: the defaults apply wherever the files hold nothing.
  EndWizard();
  ::PostQuitMessage(0);
}

void CWizardMain::WinHelp() {
  std::wstring address = GetHelpUrl();
  StartProgram(L"Brivan.exe", address.empty() ? std::wstring() : L"\"" + address + L"\"");
}

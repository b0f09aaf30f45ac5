#include "AuthDlg.h"

#include "CoreResources.h"
#include "DataExchange.h"
#include "ModalOwner.h"
#include "StringConv.h"
#include "SysConf.h"

const wchar_t CAuthDlg::kCaption[] = L"安全验证";
const wchar_t CAuthDlg::kWrongPasswordText[] = L"密码错误，请重新输入";

CAuthDlg::CAuthDlg(const CSysConf& settings, HWND parent)
    : CSkinDlg(IDD_AUTHDLG, parent), settings_(settings), m_bPassed(settings.exit_need_pwd ? 0 : 1) {
  m_strSkinElement = L"authdlg";
  m_strSkinFile = L"skin.xml";
  m_strSkinTheme = L"default";
}

void CAuthDlg::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Control(IDC_PASSWORD, password_);
  exchange.Control(IDOK, ok_);
  exchange.Control(IDCANCEL, cancel_);
}

BOOL CAuthDlg::OnInitDialog() {
  SetText(kCaption);
  CSkinDlg::OnInitDialog();
  SetMovable(TRUE);
  if (m_skin.Width() && m_skin.Height())
    ::SetWindowPos(hwnd_, nullptr, 0, 0, m_skin.Width(), m_skin.Height(), SWP_NOMOVE | SWP_NOZORDER);
  ::SetFocus(password_.Hwnd());
  return FALSE;  // the focus is set
}

void CAuthDlg::BindSkinItems() {
  CSkinDlg::BindSkinItems();
  whiteBrush_.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
  SetButtonSkin(L"ok", &ok_);
  SetSkinItemWnd(L"ok", ok_.Hwnd());
  SetButtonSkin(L"cancel", &cancel_);
  SetSkinItemWnd(L"cancel", cancel_.Hwnd());
  // The texts and the edit sit where the skin draws their frames.
  SetSkinItemWndById(L"tip", IDC_AUTH_TIP);
  SetSkinItemWndById(L"label", IDC_AUTH_LABEL);
  SetSkinItemWnd(L"password", password_.Hwnd());
}

void CAuthDlg::OnOK() {
  const std::wstring typed = ItemText(IDC_PASSWORD);
  if (fw::EqualsNoCase(typed, settings_.password)) {
    m_bPassed = 1;
    EndDialog(IDOK);
    return;
  }
  fw::ShowMessageBox(hwnd_, kWrongPasswordText, L"提示", MB_OK | MB_ICONINFORMATION);
  ::SetFocus(password_.Hwnd());
  password_.Send(EM_SETSEL, 0, -1);
}

bool CAuthDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (!whiteBrush_) break;
      ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      result = reinterpret_cast<LRESULT>(whiteBrush_.Get());
      return true;
    default:
      break;
  }
  return CSkinDlg::OnMessage(message, wParam, lParam, result);
}

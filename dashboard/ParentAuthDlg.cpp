#include "ParentAuthDlg.h"

#include "DashboardApp.h"
#include "DataExchange.h"
#include "DashboardResources.h"
#include "StringConv.h"

CParentAuthDlg::CParentAuthDlg(HWND parent) : CSkinDlg(IDD_PARENTAUTH, parent) {
  m_strSkinElement = L"authdlg";
  m_strSkinFile = L"skin.xml";
  m_strSkinTheme = L"default";
  m_passed = g_pCurConf->login_need_pwd ? 0 : 1;
}

BOOL CParentAuthDlg::OnInitDialog() {
  SetText(L"安全验证");
  // White under the controls' white brush until the skin paints its own.
  m_skin.SetBkColor(RGB(255, 255, 255));
  CSkinDlg::OnInitDialog();
  ::SetFocus(Item(IDC_AUTH_PASSWORD));
  return FALSE;
}

void CParentAuthDlg::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Control(IDOK, m_ok);
  exchange.Control(IDCANCEL, m_cancel);
}

void CParentAuthDlg::BindSkinItems() {
  if (!m_brush) m_brush.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
  SetButtonSkin(L"ok", &m_ok);
  SetButtonSkin(L"cancel", &m_cancel);
  // The buttons' look comes from the skin; a theme without this window's
  // element still has to say which button is which.
  if (!SetSkinItemWndById(L"ok", IDOK)) m_ok.SetText(L"确定");
  if (!SetSkinItemWndById(L"cancel", IDCANCEL)) m_cancel.SetText(L"取消");
}

void CParentAuthDlg::OnOK() {
  if (fw::EqualsNoCase(ItemText(IDC_AUTH_PASSWORD), g_pCurConf->password)) {
    m_passed = 1;
    EndDialog(IDOK);
    return;
  }
  ::MessageBoxW(hwnd_, L"密码错误，请重新输入", L"提示", MB_OK | MB_ICONINFORMATION);
  HWND edit = Item(IDC_AUTH_PASSWORD);
  ::SetFocus(edit);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

bool CParentAuthDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      if (!m_brush) break;
      result = reinterpret_cast<LRESULT>(m_brush.Get());
      return true;
    default:
      break;
  }
  return CSkinDlg::OnMessage(message, wParam, lParam, result);
}

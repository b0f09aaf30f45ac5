#include "PanelPage.h"

#include <commctrl.h>

#include "DashboardApp.h"
#include "DashboardMessages.h"

CPanelPage::CPanelPage(UINT templateId, HWND parent, const wchar_t* skinElement) : CSkinDlg(templateId, parent) {
  m_strSkinElement = skinElement;
  m_strSkinFile = L"skin.xml";
  m_strSkinTheme = L"default";
}

bool CPanelPage::CreatePage() {
  // Pages hold list views: their class must exist whichever program loaded
  // this library, before the template is made.
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&classes);
  if (!CreateModeless()) return false;
  ::ShowWindow(hwnd_, SW_HIDE);
  return true;
}

CSysConf& CPanelPage::Conf() { return *g_pCurConf; }

bool CPanelPage::PreTranslateMessage(MSG& message) { return IsFilteredKey(message); }

bool CPanelPage::IsFilteredKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  return message.wParam == VK_RETURN || message.wParam == VK_ESCAPE || message.wParam == VK_F1;
}

BOOL CPanelPage::OnInitDialog() {
  CSkinDlg::OnInitDialog();
  InitPage();
  m_initialised = 1;
  return TRUE;
}

void CPanelPage::BindSkinItems() {
  if (!m_brush) m_brush.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
}

void CPanelPage::OnSettingChanged() {
  if (m_initialised) ::SendMessageW(::GetParent(hwnd_), WM_PAGE_MODIFIED, 0, 0);
}

int CPanelPage::Prompt(const wchar_t* text, UINT type) { return ::MessageBoxW(hwnd_, text, L"提示", type); }

int CPanelPage::ReportUnwrittenFile(const std::wstring& path) {
  std::wstring text = L"无法写入文件：\n" + path + L"\n设置没有保存成功，请检查数据文件夹是否可以写入后再试。";
  Prompt(text.c_str(), MB_OK | MB_ICONWARNING);
  return 0;
}

bool CPanelPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (fw::IsCtlColorMessage(message) && m_brush) {
    result = reinterpret_cast<LRESULT>(m_brush.Get());
    return true;
  }
  return CSkinDlg::OnMessage(message, wParam, lParam, result);
}

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

void CPanelPage::FitListToColumns(int listId, std::initializer_list<int> rightButtons) {
  HWND list = Item(listId);
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  int needed = ::GetSystemMetrics(SM_CXVSCROLL);
  for (int column = 0; column < columns; ++column)
    needed += static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
  RECT outer{}, client{};
  ::GetWindowRect(list, &outer);
  ::GetClientRect(list, &client);
  int width = outer.right - outer.left;
  int frame = width - client.right;
  if (::GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL) frame -= ::GetSystemMetrics(SM_CXVSCROLL);
  needed += frame;
  int shift = needed - width;
  if (shift == 0) return;
  ::SetWindowPos(list, nullptr, 0, 0, needed, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int id : rightButtons) {
    HWND button = Item(id);
    RECT place{};
    ::GetWindowRect(button, &place);
    ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&place), 2);
    ::SetWindowPos(button, nullptr, place.left + shift, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int CPanelPage::Prompt(const wchar_t* text, UINT type) { return ::MessageBoxW(hwnd_, text, L"提示", type); }

int CPanelPage::ReportUnwrittenFile(const std::wstring& path) {
  std::wstring text = L"无法写入文件：\n" + path + L"\n设置没有保存成功，请检查数据文件夹是否可以写入后再试。";
  Prompt(text.c_str(), MB_OK | MB_ICONWARNING);
  return 0;
}

int CPanelPage::ReportUnreadFile(const std::wstring& path) {
  std::wstring text = L"无法读取文件：\n" + path + L"\n它可能正被其他程序占用。为了不覆盖其中的内容，设置没有保存，请稍后再试。";
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

#include "PassList.h"

#include "DashboardResources.h"
#include "PanelPage.h"
#include "Url.h"

namespace {

const wchar_t kRefusal[] = L"请输入标准网站地址.（包含http开头，如：http://www.example.com/）";

}  // namespace

CPassList::CPassList(HWND parent) : CSkinDlg(IDD_PASSLIST, parent) {}

bool CPassList::IsValidSiteAddress(const std::wstring& address) {
  auto url = fw::Url::Parse(address);
  if (!url) return false;
  fw::Url::Service service = url->service();
  if (service != fw::Url::Service::Http && service != fw::Url::Service::Https && service != fw::Url::Service::Ftp)
    return false;
  // An address without a host could never be matched by the filter; some
  // crackers take "http:///page" apart without complaint.
  return !url->server().empty();
}

bool CPassList::PreTranslateMessage(MSG& message) { return CPanelPage::IsFilteredKey(message); }

BOOL CPassList::OnInitDialog() {
  // White under the controls' white brush: there is no skin element to paint.
  m_skin.SetBkColor(RGB(255, 255, 255));
  return CSkinDlg::OnInitDialog();
}

void CPassList::BindSkinItems() {
  if (!m_brush) m_brush.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
}

int CPassList::Warn(const wchar_t* text, const wchar_t* title) {
  return ::MessageBoxW(hwnd_, text, title, MB_OK | MB_ICONINFORMATION);
}

void CPassList::OnAdd() {
  std::wstring name = ItemText(IDC_SITE_NAME);
  std::wstring address = ItemText(IDC_SITE_ADDRESS);
  if (name.empty()) {
    Warn(L"请输入网站名称...", L"提示");
    return;
  }
  if (address.empty()) {
    Warn(L"请输入网站地址...", L"提示");
    return;
  }
  m_name = name;
  m_address = address;
  if (IsValidSiteAddress(address)) {
    EndDialog(IDOK);
    return;
  }
  Warn(kRefusal, L"出错提示");
}

bool CPassList::OnCommand(UINT id, UINT code, HWND control) {
  if (id == IDC_ADD_SITE && code == BN_CLICKED) {
    OnAdd();
    return true;
  }
  return CSkinDlg::OnCommand(id, code, control);
}

bool CPassList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (fw::IsCtlColorMessage(message) && m_brush) {
    result = reinterpret_cast<LRESULT>(m_brush.Get());
    return true;
  }
  return CSkinDlg::OnMessage(message, wParam, lParam, result);
}

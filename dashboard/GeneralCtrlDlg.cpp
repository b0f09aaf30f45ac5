#include "GeneralCtrlDlg.h"

#include <shellapi.h>

#include "DashboardMessages.h"
#include "DashboardResources.h"
#include "StringConv.h"
#include "SysConf.h"
#include "UrlsConf.h"

namespace {

const wchar_t kBlankPage[] = L"about:blank";
const wchar_t kBlankTitle[] = L"空白页";
const wchar_t kTypeHere[] = L"-请输入您想要的网址-";

struct FlagBox {
  int id;
  int CSysConf::*field;
};

const FlagBox kFlagBoxes[] = {
    {IDC_AUTO_UPDATE, &CSysConf::auto_update},   {IDC_DBCLOSE, &CSysConf::dbclose},
    {IDC_DBNEWTAB, &CSysConf::dbnewtab},         {IDC_HIDE_SINGLE_TAB, &CSysConf::hide_single_tab},
    {IDC_SHOW_TAB_TOP, &CSysConf::show_tab_top}, {IDC_BTN_SOUND, &CSysConf::open_btn_sound},
};

bool IsFlagBox(UINT id) {
  for (const FlagBox& box : kFlagBoxes) {
    if (static_cast<UINT>(box.id) == id) return true;
  }
  return false;
}

}  // namespace

CGeneralCtrlDlg::CGeneralCtrlDlg(HWND parent) : CPanelPage(IDD_GENERALCTRL, parent, L"gendlg") {}

void CGeneralCtrlDlg::InitPage() {
  CSysConf& conf = Conf();
  ReadUrlsConfValue(m_navHome, L"navhome");
  ReadUrlsConfValue(m_navTitle, L"navtitle");
  if (conf.home_url.empty()) conf.home_url = m_navHome;
  FillHomePages();
  for (const FlagBox& box : kFlagBoxes) SetChecked(box.id, conf.*box.field != 0);
  HWND combo = Item(IDC_HOME_URL);
  if (fw::EqualsNoCase(conf.home_url, kBlankPage))
    ::SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(kBlankTitle));
  else if (fw::EqualsNoCase(conf.home_url, m_navHome))
    ::SendMessageW(combo, CB_SETCURSEL, ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(m_navTitle.c_str())), 0);
  ::EnableWindow(combo, m_homeUnlocked || conf.can_change_mp);
}

void CGeneralCtrlDlg::FillHomePages() {
  const std::wstring& home = Conf().home_url;
  HWND combo = Item(IDC_HOME_URL);
  if (!fw::EqualsNoCase(home, m_navHome) && !fw::EqualsNoCase(home, kBlankPage)) {
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(home.c_str()));
    ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
  }
  for (const wchar_t* entry : {m_navTitle.c_str(), kBlankTitle, kTypeHere})
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
}

void CGeneralCtrlDlg::UnlockHomePage() {
  m_homeUnlocked = 1;
  if (hwnd_) ::EnableWindow(Item(IDC_HOME_URL), TRUE);
}

int CGeneralCtrlDlg::SaveToConf() {
  CSysConf& conf = Conf();
  for (const FlagBox& box : kFlagBoxes) conf.*box.field = IsChecked(box.id) ? 1 : 0;
  std::wstring text = ItemText(IDC_HOME_URL);
  if (fw::EqualsNoCase(text, kBlankTitle))
    conf.home_url = kBlankPage;
  else if (fw::EqualsNoCase(text, m_navTitle))
    conf.home_url = m_navHome;
  else if (text != kTypeHere)
    conf.home_url = text;  // the prompt entry is no address: the home page stays
  return 1;
}

void CGeneralCtrlDlg::OpenInternetOptions() {
  // The options can open Explorer: the panel may want the password first.
  if (!::SendMessageW(::GetParent(hwnd_), WM_PAGE_MAY_START, 0, 0)) return;
  ::ShellExecuteW(hwnd_, L"open", L"control.exe", L"inetcpl.cpl", L".", SW_SHOW);
}

bool CGeneralCtrlDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (id == IDC_INET_OPTIONS && code == BN_CLICKED) {
    OpenInternetOptions();
    return true;
  }
  if (IsFlagBox(id) && code == BN_CLICKED) {
    OnSettingChanged();
    return true;
  }
  if (id == IDC_HOME_URL && (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)) {
    OnSettingChanged();
    return true;
  }
  return CPanelPage::OnCommand(id, code, control);
}

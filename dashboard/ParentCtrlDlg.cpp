#include "ParentCtrlDlg.h"

#include "DashboardResources.h"
#include "SiteList.h"
#include "SysConf.h"

CParentCtrlDlg::CParentCtrlDlg(HWND parent) : CPanelPage(IDD_PARENTCTRL, parent, L"ctldlg") {
  CSiteRows::RegisterListClass();
}

bool CParentCtrlDlg::PreTranslateMessage(MSG&) { return false; }

void CParentCtrlDlg::InitPage() {
  const CSysConf& conf = Conf();
  m_rows.Attach(Item(IDC_SITE_LIST));
  m_rows.InsertColumns();
  FitListToColumns(IDC_SITE_LIST, {IDC_ADD_SITE, IDC_DELETE_ALL});
  {
    CNavCtrlList sites;
    m_sitesUnread = sites.Unreadable();
    m_rows.AppendAll<CNavCtrlList, SiteRecord, &SiteRecord::url>(sites);
  }
  m_custom = Item(IDC_CUSTOM_LIST);
  m_recommended = Item(IDC_RECOMMENDED_LIST);
  ChooseList(conf.cus_ctrl != 0);
  SetChecked(IDC_ENABLE_FILTER, conf.enable_filter != 0);
}

// "重新获取" belongs to the recommended list, "新加" to the custom one. Both
// radio buttons are set here: a click on one leaves the other checked when it
// is disabled, as "Tindra推荐" always is.
void CParentCtrlDlg::ChooseList(bool custom) {
  ::SendMessageW(m_custom, BM_SETCHECK, custom ? BST_CHECKED : BST_UNCHECKED, 0);
  ::SendMessageW(m_recommended, BM_SETCHECK, custom ? BST_UNCHECKED : BST_CHECKED, 0);
  ::EnableWindow(Item(IDC_REFETCH), !custom);
  ::EnableWindow(Item(IDC_ADD_SITE), custom);
}

void CParentCtrlDlg::OnRecommendedClicked() {
  ChooseList(false);
  OnSettingChanged();
}

void CParentCtrlDlg::OnCustomClicked() {
  ChooseList(true);
  OnSettingChanged();
}

void CParentCtrlDlg::OnAddSite() {
  if (m_rows.AppendAsked(hwnd_)) OnSettingChanged();
}

void CParentCtrlDlg::OnDeleteAll() {
  if (m_rows.Count() == 0) return;
  m_rows.DeleteAll();
  OnSettingChanged();
}

int CParentCtrlDlg::SaveToConf() {
  CSysConf& conf = Conf();
  conf.cus_ctrl = ::SendMessageW(m_custom, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  conf.enable_filter = IsChecked(IDC_ENABLE_FILTER) ? 1 : 0;
  // Rows filled from a list that could not be read are not the parent's
  // list, also when the file can be read now.
  if (m_sitesUnread) return ReportUnreadFile(GetNavCtrlPath());
  CNavCtrlList sites;
  sites.RemoveAll();
  for (int row = 0; row < m_rows.Count(); ++row) sites.Add(m_rows.Address(row), m_rows.Name(row));
  if (sites.Save()) return 1;
  return ReportUnwrittenFile(sites.Path());
}

bool CParentCtrlDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (code != BN_CLICKED) return CPanelPage::OnCommand(id, code, control);
  switch (id) {
    case IDC_RECOMMENDED_LIST:
      OnRecommendedClicked();
      return true;
    case IDC_CUSTOM_LIST:
      OnCustomClicked();
      return true;
    case IDC_REFETCH:
    case IDC_ENABLE_FILTER:
      OnSettingChanged();
      return true;
    case IDC_ADD_SITE:
      OnAddSite();
      return true;
    case IDC_DELETE_ALL:
      OnDeleteAll();
      return true;
    default:
      return CPanelPage::OnCommand(id, code, control);
  }
}

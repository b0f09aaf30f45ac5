#include "ParentRecommandDlg.h"

#include "DashboardResources.h"

CParentRecommandDlg::CParentRecommandDlg(HWND parent) : CPanelPage(IDD_PARENTRECOMMAND, parent, L"rcmdlg") {
  CSiteRows::RegisterListClass();
}

void CParentRecommandDlg::InitPage() {
  m_rows.Attach(Item(IDC_SITE_LIST));
  m_rows.InsertColumns();
  FitListToColumns(IDC_SITE_LIST, {IDC_RECOMMEND_ADD, IDC_DELETE_ALL});
  m_rows.AppendAll<CRecommendList, RecommendRecord, &RecommendRecord::uri>(m_sites);
}

void CParentRecommandDlg::OnAddSite() {
  if (m_rows.AppendAsked(hwnd_)) OnSettingChanged();
}

void CParentRecommandDlg::OnClearAll() {
  if (m_rows.Count() == 0) return;
  m_rows.DeleteAll();
  m_sites.RemoveAll();
  OnSettingChanged();
}

int CParentRecommandDlg::SaveToConf() {
  if (m_sites.Unreadable()) return ReportUnreadFile(m_sites.Path());
  m_sites.RemoveAll();
  for (int row = 0; row < m_rows.Count(); ++row) m_sites.Add(m_rows.Address(row), m_rows.Name(row));
  if (m_sites.Save()) return 1;
  return ReportUnwrittenFile(m_sites.Path());
}

bool CParentRecommandDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (id == IDC_RECOMMEND_ADD && code == BN_CLICKED) {
    OnAddSite();
    return true;
  }
  if (id == IDC_DELETE_ALL && code == BN_CLICKED) {
    OnClearAll();
    return true;
  }
  return CPanelPage::OnCommand(id, code, control);
}

#pragma once
#include "PanelPage.h"
#include "SiteList.h"
#include "SiteRows.h"

// The recommended-sites page: the sites of pr.dat, kept in one list for the
// page's life and rewritten from the rows at each save.
class CParentRecommandDlg : public CPanelPage {
 public:
  explicit CParentRecommandDlg(HWND parent);

  // The rows into pr.dat; the file's save result.
  int SaveToConf() override;

 protected:
  void InitPage() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void OnAddSite();
  void OnClearAll();

  CSiteRows m_rows;
  CRecommendList m_sites;
};

#pragma once
#include "PanelPage.h"
#include "SiteRows.h"

// The browsing-control page: the allowed sites of navctrl.dat, the filter
// switch, and the choice between the recommended and the custom list.
class CParentCtrlDlg : public CPanelPage {
 public:
  explicit CParentCtrlDlg(HWND parent);

  // The switches into the record, the rows into navctrl.dat; the file's
  // save result.
  int SaveToConf() override;
  // This page keeps no keys from the dialog manager: Enter and Esc act as
  // the panel's OK and Cancel.
  bool PreTranslateMessage(MSG& message) override;

 protected:
  void InitPage() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void OnRecommendedClicked();
  void OnCustomClicked();
  void OnAddSite();
  void OnDeleteAll();
  void ChooseList(bool custom);

  CSiteRows m_rows;
  HWND m_custom = nullptr;
  HWND m_recommended = nullptr;
  // navctrl.dat could not be read when the rows were filled.
  bool m_sitesUnread = false;
};

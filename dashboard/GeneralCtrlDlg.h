#pragma once
#include "ComSupport.h"
#include "PanelPage.h"

// The general page: home page, tab behaviour, automatic update, button
// sounds, and the Windows Internet options.
class CGeneralCtrlDlg : public CPanelPage {
 public:
  explicit CGeneralCtrlDlg(HWND parent);

  int SaveToConf() override;
  // The parent gave the password in this panel run: the home page may change.
  void UnlockHomePage();

 protected:
  void InitPage() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void FillHomePages();
  void OpenInternetOptions();

  fw::ComThreadScope m_com;
  int m_homeUnlocked = 0;
  std::wstring m_navHome;
  std::wstring m_navTitle;
};

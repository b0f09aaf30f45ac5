#pragma once
#include <array>
#include <memory>

#include "ButtonST.h"
#include "ComSupport.h"
#include "FrameDlg.h"
#include "Handles.h"
#include "HyperLink.h"
#include "PanelPages.h"

// The parent's control panel: a skinned frame with one tab button per page,
// the pages behind the parent password (all but the general one), OK, Cancel
// and Apply, and links that start the browser and the wizard.
class CMarrotDlg : public CFrameDlg {
 public:
  explicit CMarrotDlg(HWND parent);
  ~CMarrotDlg() override;

  // 0 opens on the general page; any other mode on the security page.
  void SetMode(int mode) { m_mode = mode; }
  // The password was already given before the panel opened.
  void SetAuthenticated() { m_authenticated = 1; }
  CPanelPage* Page(PageId id) const { return m_pages[static_cast<size_t>(id)].get(); }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::DataExchange& exchange) override;
  void OnSkinPreInit() override;
  void BindSkinItems() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void CreatePages();
  void HideAllPages();
  void ShowPage(PageId id);
  bool CheckParentAuth();
  bool MayStartProgram();
  bool AskPassword();
  void OnTabGeneral();
  void OnGuardedTab(UINT tabId);
  // The pages and the settings files, stopping at the first that fails (0);
  // then the cleared history, whose failure is shown but costs no rule.
  int SaveAll();
  bool Apply();
  void OnSettingChanged();
  LRESULT RunLinkCommand(const wchar_t* url);
  void PlaceLinks();
  void ShowAbout();
  bool OnCtlColor(HDC dc, HWND control, LRESULT& result);

  // First member: COM stays initialised for as long as the panel object
  // lives, and is released with it even when the window never opened.
  fw::ComThreadScope m_com;
  fw::ScopedIcon m_icon;
  fw::ScopedBrush m_brush;
  int m_mode = 0;
  std::array<std::unique_ptr<CPanelPage>, kPageCount> m_pages;
  int m_authenticated = 0;
  CButtonST m_btnOK;
  CButtonST m_btnCancel;
  CButtonST m_btnApply;
  int m_dirty = 0;
  fw::Wnd m_securityTab;
  CHyperLink m_linkBrowser;
  CHyperLink m_linkWizard;
};

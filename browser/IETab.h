#pragma once
#include "BrowserPage.h"
#include "CIEDlg.h"

// A tab of the strip and its browser page in one: the strip shows the page's
// window and the page's title as the tab text.
class IETab : public CBrowserPage, public CIEDlg {
 public:
  IETab(UINT templateId, HWND strip) : CIEDlg(templateId, strip) {}

  HWND PageWindow() const override { return CIEDlg::Hwnd(); }
  void OnTitleChange(const std::wstring& title) override;

  // CBrowserPage
  bool CreatePage(HWND strip) override;
  void DestroyPage() override;
  void SetLocked(bool locked) override { CIEDlg::SetLocked(locked); }
  void Navigate(const std::wstring& url) override { CIEDlg::Navigate(url); }
  void GoBack() override { CIEDlg::GoBack(); }
  void GoForward() override { CIEDlg::GoForward(); }
  void Refresh() override { CIEDlg::Refresh(); }
  std::wstring GetTitle() const override { return CIEDlg::GetTitle(); }
  std::wstring GetURL() const override { return CIEDlg::GetURL(); }
  IDispatch* GetBrowserDispatch() const override { return CIEDlg::GetBrowserDispatch(); }
  int SaveSnapshot(const std::wstring& fileName) override { return CIEDlg::SaveSnapshot(fileName); }
  // The page sends itself as a CIEDlg.
  LPARAM MessageParam() const override { return reinterpret_cast<LPARAM>(static_cast<const CIEDlg*>(this)); }
};

// Destroys the page dialog's window; the tab object stays.
void DestroyIETabWindow(IETab* tab);

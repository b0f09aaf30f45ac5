#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "Tab.h"

// A tab of the main window: a page that can be navigated. The page's window
// is a child of the strip with id 3010 while the tab is in the strip.
class CBrowserPage : public Tab {
 public:
  static const UINT kPageId = 3010;

  virtual bool CreatePage(HWND strip) = 0;
  virtual void DestroyPage() = 0;
  virtual void Navigate(const std::wstring& url) = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void Refresh() = 0;
  virtual std::wstring GetTitle() const = 0;
  virtual std::wstring GetURL() const = 0;
  // The browser object a new window is to be opened in, or none.
  virtual IDispatch* GetBrowserDispatch() = 0;
  virtual bool SaveSnapshot(const std::wstring& file) = 0;
};

// A page without an HTML engine: it keeps its address history and shows the
// address it is on.
class CPlainPage : public CBrowserPage {
 public:
  ~CPlainPage() override { DestroyPage(); }

  bool CreatePage(HWND strip) override;
  void DestroyPage() override;
  void Navigate(const std::wstring& url) override;
  void GoBack() override;
  void GoForward() override;
  void Refresh() override {}
  std::wstring GetTitle() const override { return GetURL(); }
  std::wstring GetURL() const override;
  IDispatch* GetBrowserDispatch() override { return nullptr; }
  bool SaveSnapshot(const std::wstring&) override { return false; }

 private:
  void ShowCurrent();

  std::vector<std::wstring> visited_;
  size_t current_ = 0;
};

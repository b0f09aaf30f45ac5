#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>

#include "Tab.h"

// What the main window asks of the page behind a tab: its window as a child
// of the strip (id 3010 while the tab is in the strip), navigation, and what
// the page shows. The browser's pages are IETab; a window can be given
// another kind through its page factory.
class CBrowserPage : public Tab {
 public:
  static const UINT kPageId = 3010;

  // Creates the page's window as a child of the strip and gives it id 3010.
  virtual bool CreatePage(HWND strip) = 0;
  virtual void DestroyPage() = 0;
  // Lock mode: the page shows no context menu, its own keys open no window
  // or dialog, and it downloads no file.
  virtual void SetLocked(bool locked) = 0;
  virtual void Navigate(const std::wstring& url) = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void Refresh() = 0;
  virtual std::wstring GetTitle() const = 0;
  virtual std::wstring GetURL() const = 0;
  // The browser object a new window is to be opened in, with a reference,
  // or none.
  virtual IDispatch* GetBrowserDispatch() const = 0;
  // 1 when the loaded document was written to `fileName`, else 0.
  virtual int SaveSnapshot(const std::wstring& fileName) = 0;
  // The lParam of the page messages (2025, 2027) this page sends.
  virtual LPARAM MessageParam() const { return reinterpret_cast<LPARAM>(this); }
};

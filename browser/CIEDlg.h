#pragma once
#include <windows.h>

#include <string>

#include "CHtmlCtrlEx.h"
#include "Dialog.h"
#include "Handles.h"

// Page messages, sent to the page's owner (the tab strip, which relays them).
const UINT WM_IE_TITLECHANGE = 2025;
const UINT WM_IE_NEWWINDOW = 2026;
const UINT WM_IE_DOCCOMPLETE = 2027;
const UINT WM_IE_NAVERROR = 2028;
const UINT WM_IE_PROGRESS = 2029;
const UINT WM_IE_BEFORENAVIGATE = 2030;

// One browser page: a child dialog filled by the browser control. It turns
// the control's events into messages for its owner, keeps the title and
// address, and writes the page's snapshot. OLE is started for the page's
// thread at WM_INITDIALOG and ended after its window and control are gone.
class CIEDlg : public fw::Dialog, public CHtmlEventSink {
 public:
  CIEDlg(UINT templateId, HWND parent);
  ~CIEDlg() override;

  virtual BOOL CreatePageWindow(HWND parent);
  virtual void OnBeforeNavigate2(IDispatch* browser, const std::wstring& url, DWORD flags,
                                 const std::wstring& targetFrame, VARIANT* postData, const std::wstring& headers,
                                 bool& cancel);
  virtual void OnDocumentComplete(IDispatch* browser, const std::wstring& url);
  virtual void OnNavigateError(IDispatch* browser, const std::wstring& url, const std::wstring& targetFrame,
                               LONG status, bool& cancel);
  virtual void OnTitleChange(const std::wstring& title);
  virtual LRESULT OnNewWindow2(IDispatch** newBrowser, VARIANT_BOOL* cancel);
  virtual LRESULT OnProgressChange(LONG progress, LONG progressMax);
  virtual void OnFileDownload(bool activeDocument, bool& cancel);
  virtual void OnNavigateComplete2(IDispatch* browser, const std::wstring& url);

  void Navigate(const std::wstring& url);
  void GoBack();
  void GoForward();
  void Refresh();
  void Stop();
  // Lock mode: no context menu (mode 0 instead of 1), and the control locked.
  void SetLocked(bool locked);
  std::wstring GetTitle() const;
  std::wstring GetURL() const;
  // The browser's application object with a reference, for a new window.
  IDispatch* GetBrowserDispatch() const;
  int IsLoaded() const { return loaded_; }
  HWND GetOwner() const { return owner_; }
  // 1 when the loaded document was drawn into `fileName`, else 0.
  int SaveSnapshot(const std::wstring& fileName);
  // Unused captures from the screen: the control's client area, or a
  // window's, less 15 pixels right and bottom.
  int CaptureControl(const std::wstring& fileName);
  static int CaptureWindow(HWND window, const std::wstring& fileName);
  CHtmlCtrlEx& Control() { return control_; }

  bool PreTranslateMessage(MSG& message) override;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::DataExchange&) override {}
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnFinalMessage() override;

 private:
  LRESULT Tell(UINT message, WPARAM wParam = 0);
  void ConnectEvents();
  bool IsRefused(const std::wstring& lower);
  bool CheckArrival(IDispatch* frame, const std::wstring& url);
  void TurnAway(IWebBrowser2* frame, const std::wstring& address, bool topLevel);

  CHtmlCtrlEx control_;
  UINT resourceId_;
  std::wstring title_;
  std::wstring url_;
  // The page's refused arrival, the location until the blank page replaces it.
  std::wstring refused_;
  HWND owner_;
  int loaded_ = 1;
  fw::ScopedBrush background_;
  bool oleStarted_ = false;
};

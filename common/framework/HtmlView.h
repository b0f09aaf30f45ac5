#pragma once
#include <exdisp.h>
#include <ole2.h>

#include <string>

#include "OleControlHost.h"
#include "WebBrowserEvents.h"

namespace fw {

// The WebBrowser control in-place in a child window of its own, with its
// events as typed calls. The events are cut before the control is closed,
// so nothing the browser still sends reaches a dead view.
class HtmlView : public OleControlHost, protected WebBrowserEventHandler {
 public:
  HtmlView() = default;
  ~HtmlView() override;

  // A visible child at `rect` of `parent` with control id `id`; false when
  // the window or the control could not be made.
  bool CreateView(HWND parent, const RECT& rect, UINT id);
  // The browser, without a reference; nullptr while none is hosted.
  IWebBrowser2* Browser() const { return browser_; }
  // The event sink the browser calls, without a reference.
  IDispatch* EventSink() const { return events_; }
  HRESULT Navigate(const std::wstring& url);
  std::wstring LocationURL() const;
  // The same for any browser, a frame of the page included.
  static HRESULT Navigate(IWebBrowser2* browser, const std::wstring& url);
  static std::wstring LocationURL(IWebBrowser2* browser);
  // The browser's own window; nullptr when it has none.
  HWND BrowserWindow() const { return ControlWindow(); }

 protected:
  // The view's own event handling: nothing by default.
  void OnBeforeNavigate2(IDispatch*, const std::wstring&, DWORD, const std::wstring&, VARIANT*,
                         const std::wstring&, bool&) override {}
  void OnDocumentComplete(IDispatch*, const std::wstring&) override {}
  void OnNavigateError(IDispatch*, const std::wstring&, const std::wstring&, LONG, bool&) override {}
  void OnTitleChange(const std::wstring&) override {}
  void OnNewWindow2(IDispatch**, VARIANT_BOOL*) override {}
  void OnProgressChange(LONG, LONG) override {}
  void OnFileDownload(bool, bool&) override {}
  void OnNavigateComplete2(IDispatch*, const std::wstring&) override {}

 private:
  bool OnControlActivated() override;
  void ReleaseControlInterfaces() override;

  IWebBrowser2* browser_ = nullptr;
  WebBrowserEvents* events_ = nullptr;
};

}  // namespace fw

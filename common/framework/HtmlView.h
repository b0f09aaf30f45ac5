#pragma once
#include <exdisp.h>
#include <ole2.h>

#include <string>

#include "OleControlSite.h"
#include "WebBrowserEvents.h"
#include "Wnd.h"

namespace fw {

// The WebBrowser control in-place in a child window of its own. The control
// is made at WM_CREATE through the site CreateControlSite gives, and torn
// down at WM_DESTROY: events cut, control closed without saving, site
// detached, so nothing the browser still holds reaches a dead window.
// Keys go to the control's TranslateAccelerator before any parent dialog's,
// so Tab and Backspace reach the page. The caller's thread has OLE started.
class HtmlView : public Wnd, protected WebBrowserEventHandler {
 public:
  HtmlView() = default;
  ~HtmlView() override;

  // A visible child at `rect` of `parent` with control id `id`; false when
  // the window or the control could not be made.
  bool CreateView(HWND parent, const RECT& rect, UINT id);
  // The browser, without a reference; nullptr while none is hosted.
  IWebBrowser2* Browser() const { return browser_; }
  OleControlSite* Site() const { return site_; }
  // The event sink the browser calls, without a reference.
  IDispatch* EventSink() const { return events_; }
  HRESULT Navigate(const std::wstring& url);
  std::wstring LocationURL() const;
  // The control's own window; nullptr when it has none.
  HWND BrowserWindow() const;
  bool PreTranslateMessage(MSG& message) override;

 protected:
  // The site the control is hosted through, with one reference for the
  // view; nullptr gives up the control.
  virtual OleControlSite* CreateControlSite() { return new OleControlSite(Hwnd()); }
  // The control is about to be closed: release what was got from it.
  virtual void OnControlClosing() {}
  // Places the control; by default over the whole client area.
  virtual void PlaceControl(const RECT& client);
  void SetControlRect(const RECT& rect);

  void PreCreateWindow(CreateArgs& args) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // The view's own event handling: nothing by default.
  void OnBeforeNavigate2(IDispatch*, const std::wstring&, DWORD, const std::wstring&, VARIANT*,
                         const std::wstring&, bool&) override {}
  void OnDocumentComplete(IDispatch*, const std::wstring&) override {}
  void OnNavigateError(IDispatch*, const std::wstring&, const std::wstring&, LONG, bool&) override {}
  void OnTitleChange(const std::wstring&) override {}
  void OnNewWindow2(IDispatch**, VARIANT_BOOL*) override {}
  void OnProgressChange(LONG, LONG) override {}

 private:
  bool CreateControl();
  void CloseControl();

  IOleObject* object_ = nullptr;
  IWebBrowser2* browser_ = nullptr;
  OleControlSite* site_ = nullptr;
  WebBrowserEvents* events_ = nullptr;
};

}  // namespace fw

#pragma once
#include <ole2.h>
#include <ocidl.h>
#include <windows.h>

#include <string>

namespace fw {

// The browser events a host handles, as typed calls.
class WebBrowserEventHandler {
 public:
  virtual ~WebBrowserEventHandler() = default;
  virtual void OnBeforeNavigate2(IDispatch* browser, const std::wstring& url, DWORD flags,
                                 const std::wstring& targetFrame, VARIANT* postData, const std::wstring& headers,
                                 bool& cancel) = 0;
  virtual void OnDocumentComplete(IDispatch* browser, const std::wstring& url) = 0;
  virtual void OnNavigateError(IDispatch* browser, const std::wstring& url, const std::wstring& targetFrame,
                               LONG status, bool& cancel) = 0;
  virtual void OnTitleChange(const std::wstring& title) = 0;
  // `newBrowser` receives the dispatch of the browser that opens the window;
  // `cancel` is the browser's own flag, for owners that answer through it.
  virtual void OnNewWindow2(IDispatch** newBrowser, VARIANT_BOOL* cancel) = 0;
  virtual void OnProgressChange(LONG progress, LONG progressMax) = 0;
  // A download the browser will not show itself. `activeDocument` is true
  // for a document it can host, and when the browser does not say (IE6,
  // which raises the event for ordinary pages too).
  virtual void OnFileDownload(bool activeDocument, bool& cancel) = 0;
  // `url` is where the navigation of `browser` (the top level or a frame)
  // arrived, past any redirect of the server.
  virtual void OnNavigateComplete2(IDispatch* browser, const std::wstring& url) = 0;
};

// The DWebBrowserEvents2 sink: decodes each event's arguments and writes a
// cancel back as VARIANT_TRUE. It lives by its count, so the host cuts it
// loose (Disconnect) before it goes; later events are then ignored.
class WebBrowserEvents final : public IDispatch {
 public:
  explicit WebBrowserEvents(WebBrowserEventHandler* handler) : handler_(handler) {}
  WebBrowserEvents(const WebBrowserEvents&) = delete;
  WebBrowserEvents& operator=(const WebBrowserEvents&) = delete;

  // Connects to the browser's event source; false when it offers none.
  bool Advise(IUnknown* browser);
  void Unadvise();
  void Disconnect() { handler_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

 private:
  ~WebBrowserEvents() = default;
  HRESULT Dispatch(DISPID id, DISPPARAMS& params);

  LONG references_ = 1;
  WebBrowserEventHandler* handler_;
  IConnectionPoint* point_ = nullptr;
  DWORD cookie_ = 0;
};

}  // namespace fw

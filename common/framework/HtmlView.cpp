#include "HtmlView.h"

namespace fw {

HtmlView::~HtmlView() {
  // While this class is still whole, so WM_DESTROY closes the control here.
  Destroy();
  CloseControl();
}

bool HtmlView::CreateView(HWND parent, const RECT& rect, UINT id) {
  CreateArgs args;
  args.parent = parent;
  args.style = WS_CHILD | WS_VISIBLE;
  args.x = rect.left;
  args.y = rect.top;
  args.width = rect.right - rect.left;
  args.height = rect.bottom - rect.top;
  args.idOrMenu = id;
  return CreateControl(CLSID_WebBrowser, args);
}

bool HtmlView::OnControlActivated() {
  if (FAILED(Control()->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_)))) {
    browser_ = nullptr;
    return false;
  }
  events_ = new WebBrowserEvents(this);
  events_->Advise(browser_);
  return true;
}

void HtmlView::ReleaseControlInterfaces() {
  if (events_) {
    events_->Unadvise();
    events_->Disconnect();
    events_->Release();
    events_ = nullptr;
  }
  if (browser_) {
    browser_->Release();
    browser_ = nullptr;
  }
}

HRESULT HtmlView::Navigate(const std::wstring& url) { return Navigate(browser_, url); }

std::wstring HtmlView::LocationURL() const { return LocationURL(browser_); }

HRESULT HtmlView::Navigate(IWebBrowser2* browser, const std::wstring& url) {
  if (!browser) return E_FAIL;
  BSTR address = ::SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
  VARIANT empty;
  ::VariantInit(&empty);
  const HRESULT hr = browser->Navigate(address, &empty, &empty, &empty, &empty);
  ::SysFreeString(address);
  return hr;
}

std::wstring HtmlView::LocationURL(IWebBrowser2* browser) {
  if (!browser) return std::wstring();
  BSTR location = nullptr;
  if (FAILED(browser->get_LocationURL(&location)) || !location) return std::wstring();
  std::wstring text(location, ::SysStringLen(location));
  ::SysFreeString(location);
  return text;
}

}  // namespace fw

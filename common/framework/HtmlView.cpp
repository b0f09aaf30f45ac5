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
  if (!Create(args)) return false;
  if (browser_) return true;
  Destroy();
  return false;
}

void HtmlView::PreCreateWindow(CreateArgs& args) { args.style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS; }

bool HtmlView::CreateControl() {
  site_ = CreateControlSite();
  if (!site_) return false;
  HRESULT hr = ::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&object_));
  if (SUCCEEDED(hr)) hr = object_->SetClientSite(static_cast<IOleClientSite*>(site_));
  if (SUCCEEDED(hr)) {
    RECT client = ClientRect();
    hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0, Hwnd(), &client);
  }
  if (SUCCEEDED(hr)) hr = object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_));
  if (FAILED(hr)) {
    CloseControl();
    return false;
  }
  events_ = new WebBrowserEvents(this);
  events_->Advise(browser_);
  return true;
}

void HtmlView::CloseControl() {
  if (events_) {
    events_->Unadvise();
    events_->Disconnect();
    events_->Release();
    events_ = nullptr;
  }
  if (object_ || browser_) OnControlClosing();
  if (browser_) {
    browser_->Release();
    browser_ = nullptr;
  }
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_->Release();
    object_ = nullptr;
  }
  if (site_) {
    site_->Detach();
    site_->Release();
    site_ = nullptr;
  }
}

HRESULT HtmlView::Navigate(const std::wstring& url) {
  if (!browser_) return E_FAIL;
  BSTR address = ::SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
  VARIANT empty;
  ::VariantInit(&empty);
  const HRESULT hr = browser_->Navigate(address, &empty, &empty, &empty, &empty);
  ::SysFreeString(address);
  return hr;
}

std::wstring HtmlView::LocationURL() const {
  if (!browser_) return std::wstring();
  BSTR location = nullptr;
  if (FAILED(browser_->get_LocationURL(&location)) || !location) return std::wstring();
  std::wstring text(location, ::SysStringLen(location));
  ::SysFreeString(location);
  return text;
}

HWND HtmlView::BrowserWindow() const {
  if (!object_) return nullptr;
  IOleWindow* window = nullptr;
  if (FAILED(object_->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)))) return nullptr;
  HWND handle = nullptr;
  if (FAILED(window->GetWindow(&handle))) handle = nullptr;
  window->Release();
  return handle;
}

void HtmlView::SetControlRect(const RECT& rect) {
  if (!object_) return;
  IOleInPlaceObject* inPlace = nullptr;
  if (FAILED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) return;
  inPlace->SetObjectRects(&rect, &rect);
  inPlace->Release();
}

void HtmlView::PlaceControl(const RECT& client) { SetControlRect(client); }

bool HtmlView::PreTranslateMessage(MSG& message) {
  if (!object_ || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  if (message.hwnd != Hwnd() && !::IsChild(Hwnd(), message.hwnd)) return false;
  IOleInPlaceActiveObject* active = nullptr;
  if (FAILED(object_->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active)))) return false;
  const bool translated = active->TranslateAccelerator(&message) == S_OK;
  active->Release();
  return translated;
}

bool HtmlView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      result = CreateControl() ? 0 : -1;
      return true;
    case WM_SIZE:
      PlaceControl(ClientRect());
      result = 0;
      return true;
    case WM_DESTROY:
      CloseControl();
      result = 0;
      return true;
    default:
      return Wnd::OnMessage(message, wParam, lParam, result);
  }
}

}  // namespace fw

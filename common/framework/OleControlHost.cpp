#include "OleControlHost.h"

namespace fw {

OleControlHost::~OleControlHost() {
  Destroy();
  CloseControl();
}

bool OleControlHost::CreateControl(REFCLSID clsid, const CreateArgs& args) {
  clsid_ = clsid;
  CreateArgs own = args;
  own.className = nullptr;
  // WM_CREATE fails when the control cannot be made, so no window is left.
  return Create(own);
}

void OleControlHost::PreCreateWindow(CreateArgs& args) { args.style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS; }

bool OleControlHost::MakeControl() {
  site_ = CreateControlSite();
  if (!site_) return false;
  HRESULT hr = ::CoCreateInstance(clsid_, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&object_));
  if (SUCCEEDED(hr)) hr = object_->SetClientSite(static_cast<IOleClientSite*>(site_));
  if (SUCCEEDED(hr)) {
    RECT client = ClientRect();
    hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0, Hwnd(), &client);
  }
  if (SUCCEEDED(hr) && OnControlActivated()) return true;
  CloseControl();
  return false;
}

void OleControlHost::CloseControl() {
  if (object_) {
    OnControlClosing();
    ReleaseControlInterfaces();
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

HWND OleControlHost::ControlWindow() const {
  if (!object_) return nullptr;
  IOleWindow* window = nullptr;
  if (FAILED(object_->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)))) return nullptr;
  HWND handle = nullptr;
  if (FAILED(window->GetWindow(&handle))) handle = nullptr;
  window->Release();
  return handle;
}

void OleControlHost::SetControlRect(const RECT& rect) {
  if (!object_) return;
  IOleInPlaceObject* inPlace = nullptr;
  if (FAILED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) return;
  inPlace->SetObjectRects(&rect, &rect);
  inPlace->Release();
}

void OleControlHost::PlaceControl(const RECT& client) { SetControlRect(client); }

bool OleControlHost::PreTranslateMessage(MSG& message) {
  if (!object_ || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  if (message.hwnd != Hwnd() && !::IsChild(Hwnd(), message.hwnd)) return false;
  IOleInPlaceActiveObject* active = nullptr;
  if (FAILED(object_->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active)))) return false;
  const bool translated = active->TranslateAccelerator(&message) == S_OK;
  active->Release();
  return translated;
}

bool OleControlHost::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      result = MakeControl() ? 0 : -1;
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

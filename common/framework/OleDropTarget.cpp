#include "OleDropTarget.h"

namespace fw {

bool OleDropTarget::Register(HWND window) {
  Revoke();
  if (FAILED(::RegisterDragDrop(window, &target_))) return false;
  window_ = window;
  return true;
}

void OleDropTarget::Revoke() {
  if (!window_) return;
  ::RevokeDragDrop(window_);
  window_ = nullptr;
}

STDMETHODIMP OleDropTarget::XDropTarget::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDropTarget) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP OleDropTarget::XDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = owner_.OnDragEnter(data, keys, point, *effect);
  return S_OK;
}

STDMETHODIMP OleDropTarget::XDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = owner_.OnDragOver(keys, point, *effect);
  return S_OK;
}

STDMETHODIMP OleDropTarget::XDropTarget::DragLeave() {
  owner_.OnDragLeave();
  return S_OK;
}

STDMETHODIMP OleDropTarget::XDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = owner_.OnDrop(data, keys, point, *effect);
  return S_OK;
}

}  // namespace fw

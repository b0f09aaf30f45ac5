#include "CMyOleDropTarget.h"

void CMyOleDropTarget::KeepBrowserTarget(IDropTarget* target) {
  if (target) target->AddRef();
  ReleaseBrowserTarget();
  browserTarget_ = target;
}

void CMyOleDropTarget::ReleaseBrowserTarget() {
  if (!browserTarget_) return;
  IDropTarget* kept = browserTarget_;
  browserTarget_ = nullptr;
  kept->Release();
}

STDMETHODIMP CMyOleDropTarget::XMyDropTarget::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDropTarget) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CMyOleDropTarget::XMyDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  return Target()->DragEnter(data, keys, point, effect);
}

STDMETHODIMP CMyOleDropTarget::XMyDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
  return Target()->DragOver(keys, point, effect);
}

STDMETHODIMP CMyOleDropTarget::XMyDropTarget::DragLeave() { return Target()->DragLeave(); }

STDMETHODIMP CMyOleDropTarget::XMyDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  return Target()->Drop(data, keys, point, effect);
}

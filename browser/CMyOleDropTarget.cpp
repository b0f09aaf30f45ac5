#include "CMyOleDropTarget.h"

namespace {

HRESULT Refused(DWORD* effect) {
  if (effect) *effect = DROPEFFECT_NONE;
  return E_UNEXPECTED;
}

}  // namespace

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

IDropTarget* CMyOleDropTarget::MyInterface() {
  if (!myTarget_) myTarget_ = new XMyDropTarget(*this);
  return myTarget_;
}

void CMyOleDropTarget::CutLoose() {
  if (myTarget_) {
    myTarget_->Detach();
    myTarget_->Release();
    myTarget_ = nullptr;
  }
  ReleaseBrowserTarget();
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

IDropTarget* CMyOleDropTarget::XMyDropTarget::Target() const {
  if (!owner_) return nullptr;
  return owner_->browserTarget_ ? owner_->browserTarget_ : owner_->Interface();
}

STDMETHODIMP CMyOleDropTarget::XMyDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  IDropTarget* target = Target();
  return target ? target->DragEnter(data, keys, point, effect) : Refused(effect);
}

STDMETHODIMP CMyOleDropTarget::XMyDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
  IDropTarget* target = Target();
  return target ? target->DragOver(keys, point, effect) : Refused(effect);
}

STDMETHODIMP CMyOleDropTarget::XMyDropTarget::DragLeave() {
  IDropTarget* target = Target();
  return target ? target->DragLeave() : E_UNEXPECTED;
}

STDMETHODIMP CMyOleDropTarget::XMyDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  IDropTarget* target = Target();
  return target ? target->Drop(data, keys, point, effect) : Refused(effect);
}

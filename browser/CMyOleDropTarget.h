#pragma once
#include "OleDropTarget.h"

// The browser's drop target behind the control's own: drag and drop over the
// page reaches the browser's target the host was given, or, without one, the
// framework's handling (nothing accepted).
class CMyOleDropTarget : public fw::OleDropTarget {
 public:
  CMyOleDropTarget() : myTarget_(*this) {}
  ~CMyOleDropTarget() override { ReleaseBrowserTarget(); }

  // Keeps `target` (a counted reference), releasing the one kept before.
  void KeepBrowserTarget(IDropTarget* target);
  void ReleaseBrowserTarget();
  IDropTarget* BrowserTarget() const { return browserTarget_; }
  // The interface handed to the browser in its place.
  IDropTarget* MyInterface() { return &myTarget_; }

 private:
  class XMyDropTarget : public IDropTarget {
   public:
    explicit XMyDropTarget(CMyOleDropTarget& owner) : owner_(owner) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(::InterlockedDecrement(&references_)); }
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

   private:
    IDropTarget* Target() { return owner_.browserTarget_ ? owner_.browserTarget_ : owner_.Interface(); }
    CMyOleDropTarget& owner_;
    LONG references_ = 0;
  };

  XMyDropTarget myTarget_;
  IDropTarget* browserTarget_ = nullptr;
};

#pragma once
#include "OleDropTarget.h"

// The browser's drop target behind the control's own: drag and drop over the
// page reaches the browser's target the host was given, or, without one, the
// framework's handling (nothing accepted).
class CMyOleDropTarget : public fw::OleDropTarget {
 public:
  CMyOleDropTarget() = default;
  ~CMyOleDropTarget() override { CutLoose(); }

  // Keeps `target` (a counted reference), releasing the one kept before.
  void KeepBrowserTarget(IDropTarget* target);
  void ReleaseBrowserTarget();
  IDropTarget* BrowserTarget() const { return browserTarget_; }
  // The interface handed to the browser in its place, without a reference.
  // It lives by its count, since the browser may release it after the page
  // is gone.
  IDropTarget* MyInterface();
  // The page is closing: the interface handed out answers no more (every
  // call fails with E_UNEXPECTED and accepts nothing), and the browser's
  // target is let go.
  void CutLoose();

 private:
  class XMyDropTarget final : public IDropTarget {
   public:
    explicit XMyDropTarget(CMyOleDropTarget& owner) : owner_(&owner) {}
    void Detach() { owner_ = nullptr; }
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

   private:
    ~XMyDropTarget() = default;
    // Where the calls go; nullptr once cut loose.
    IDropTarget* Target() const;
    CMyOleDropTarget* owner_;
    LONG references_ = 1;  // the owner's
  };

  XMyDropTarget* myTarget_ = nullptr;
  IDropTarget* browserTarget_ = nullptr;
};

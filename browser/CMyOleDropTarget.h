#pragma once
#include "OleDropTarget.h"
#include "TiedComObject.h"

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
  class XMyDropTarget final : public fw::TiedComObject<IDropTarget, CMyOleDropTarget> {
   public:
    using TiedComObject::TiedComObject;
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

   private:
    ~XMyDropTarget() override = default;
    // Where the calls go; nullptr once cut loose.
    IDropTarget* Target() const;
  };

  XMyDropTarget* myTarget_ = nullptr;
  IDropTarget* browserTarget_ = nullptr;
};

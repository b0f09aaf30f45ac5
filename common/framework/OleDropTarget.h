#pragma once
#include <ole2.h>
#include <windows.h>

namespace fw {

// A window's drop target. The object is owned by its C++ owner, not by its
// count: Register gives OLE a reference and Revoke takes it back, so the
// owner revokes before it goes (the destructor does too). The default
// handlers accept nothing.
class OleDropTarget {
 public:
  OleDropTarget() : target_(*this) {}
  virtual ~OleDropTarget() { Revoke(); }
  OleDropTarget(const OleDropTarget&) = delete;
  OleDropTarget& operator=(const OleDropTarget&) = delete;

  bool Register(HWND window);
  void Revoke();
  HWND Window() const { return window_; }
  IDropTarget* Interface() { return &target_; }

 protected:
  virtual DWORD OnDragEnter(IDataObject*, DWORD /*keys*/, POINTL, DWORD /*allowed*/) { return DROPEFFECT_NONE; }
  virtual DWORD OnDragOver(DWORD /*keys*/, POINTL, DWORD /*allowed*/) { return DROPEFFECT_NONE; }
  virtual void OnDragLeave() {}
  virtual DWORD OnDrop(IDataObject*, DWORD /*keys*/, POINTL, DWORD /*allowed*/) { return DROPEFFECT_NONE; }

 private:
  class XDropTarget : public IDropTarget {
   public:
    explicit XDropTarget(OleDropTarget& owner) : owner_(owner) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(::InterlockedDecrement(&references_)); }
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

   private:
    OleDropTarget& owner_;
    LONG references_ = 0;
  };

  XDropTarget target_;
  HWND window_ = nullptr;
};

}  // namespace fw

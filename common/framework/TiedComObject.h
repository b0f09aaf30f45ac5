#pragma once
#include <windows.h>

namespace fw {

// A COM object handed to a control on behalf of a C++ owner that may go
// first: it lives by its count (the owner holds the first reference) and the
// owner cuts it loose as it goes, after which `owner_` is null and the object
// answers calls without touching it.
template <typename Interface, typename Owner>
class TiedComObject : public Interface {
 public:
  explicit TiedComObject(Owner& owner) : owner_(&owner) {}
  TiedComObject(const TiedComObject&) = delete;
  TiedComObject& operator=(const TiedComObject&) = delete;

  void Detach() { owner_ = nullptr; }

  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  virtual ~TiedComObject() = default;
  Owner* owner_;

 private:
  LONG references_ = 1;
};

}  // namespace fw

#pragma once
#include <objbase.h>

// An owning pointer whose kind says how the object is freed: 1 delete,
// 2 CoTaskMemFree, 3 delete[]. Any other kind is inert: it stores nothing
// and frees nothing.
template <typename T, int kind>
class CCmnObjPtr {
 public:
  explicit CCmnObjPtr(T* object = nullptr) : object_(IsKnownKind() ? object : nullptr) {}
  virtual ~CCmnObjPtr() { Free(); }
  CCmnObjPtr(const CCmnObjPtr&) = delete;
  CCmnObjPtr& operator=(const CCmnObjPtr&) = delete;

  void Reset(T* object = nullptr) {
    if (!IsKnownKind() || object == object_) return;
    Free();
    object_ = object;
  }
  T* Get() const { return object_; }
  T* operator->() const { return object_; }
  // For out-parameters; whatever is stored there is owned from then on.
  T** operator&() { return &object_; }
  bool operator==(const T* other) const { return object_ == other; }
  bool operator!=(const T* other) const { return object_ != other; }
  T* Detach() {
    T* object = object_;
    object_ = nullptr;
    return object;
  }

 private:
  static constexpr bool IsKnownKind() { return kind >= 1 && kind <= 3; }
  void Free() {
    if (!object_) return;
    if constexpr (kind == 1) delete object_;
    if constexpr (kind == 2) ::CoTaskMemFree(object_);
    if constexpr (kind == 3) delete[] object_;
    object_ = nullptr;
  }

  T* object_;
};

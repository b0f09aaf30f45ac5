#pragma once
// The first five bytes of a function in this process replaced by a relative
// jump to a replacement, and put back. On x86_64 the replacement may lie
// gigabytes from the function, beyond a 32-bit displacement, so the jump goes
// through a relay (an absolute jump) placed within reach of the function. The
// function's own bytes are never moved: they may hold RIP-relative code.
#include <windows.h>

#include <utility>

class CCodePatch {
 public:
  static const size_t kJumpSize = 5;

  CCodePatch() = default;
  ~CCodePatch();
  CCodePatch(const CCodePatch&) = delete;
  CCodePatch& operator=(const CCodePatch&) = delete;

  // Reads the original bytes, then writes the jump. False, with the function
  // untouched, when the bytes cannot be read, no relay can be placed, the
  // displacement does not fit or the write fails.
  bool Install(void* function, const void* replacement);
  // Writes the original bytes back and frees the relay; true when nothing is
  // left patched.
  bool Remove();
  // Around a call of the original function: its bytes back, then the jump.
  bool Suspend();
  bool Resume();
  // The original function called with its own bytes back in place. When they
  // cannot be put back the call would land in the replacement again and
  // recurse until the stack is gone, so it is not made: the result is then
  // zero, the failure of every function patched here.
  template <typename Signature, typename... Args>
  auto CallOriginal(Args... args) {
    using Result = decltype(std::declval<Signature*>()(args...));
    if (!Suspend()) return Result();
    const Result result = reinterpret_cast<Signature*>(function_)(args...);
    Resume();
    return result;
  }

  bool IsInstalled() const { return installed_; }
  void* Function() const { return function_; }
  const BYTE* OriginalBytes() const { return original_; }
  const BYTE* JumpBytes() const { return jump_; }

 private:
  bool PrepareJump(const void* replacement);
  bool WriteEntry(const BYTE* bytes);
  void FreeRelay();

  void* function_ = nullptr;
  BYTE original_[kJumpSize] = {};
  BYTE jump_[kJumpSize] = {};
  void* relay_ = nullptr;
  bool installed_ = false;
};

#pragma once
// Makes the C runtime's malloc refuse every block of at least a given size
// to one module of this process (the control panel's library), so that its
// C++ runtime throws std::bad_alloc there as it does when the process runs
// out of memory, without needing the memory. Done through the module's own
// import of malloc, which is put back at the end; one limit at a time.
#include <windows.h>

#include <atomic>

#include "ScopedImportPatch.h"

namespace paneltest {

class ModuleAllocationLimit {
 public:
  ModuleAllocationLimit(HMODULE module, size_t refuseFrom)
      : patch_(module, Prepare(refuseFrom), reinterpret_cast<void*>(&LimitedMalloc)) {}
  ModuleAllocationLimit(const ModuleAllocationLimit&) = delete;
  ModuleAllocationLimit& operator=(const ModuleAllocationLimit&) = delete;

  bool Ok() const { return patch_.Patched(); }
  // Blocks refused so far.
  static size_t RefusedCount() { return Refused(); }

 private:
  using Malloc = void*(__cdecl*)(size_t);

  // Sets the limit and returns the runtime's malloc, which the patch replaces.
  static void* Prepare(size_t refuseFrom) {
    Limit() = refuseFrom;
    Refused() = 0;
    void* malloc = ScopedImportPatch::Function(L"msvcrt.dll", "malloc");
    Original() = reinterpret_cast<Malloc>(malloc);
    return malloc;
  }
  static void* __cdecl LimitedMalloc(size_t size) {
    if (size >= Limit()) {
      ++Refused();
      return nullptr;
    }
    return Original()(size);
  }
  static size_t& Limit() {
    static size_t limit = 0;
    return limit;
  }
  static std::atomic<size_t>& Refused() {
    static std::atomic<size_t> refused{0};
    return refused;
  }
  static Malloc& Original() {
    static Malloc original = nullptr;
    return original;
  }

  ScopedImportPatch patch_;
};

}  // namespace paneltest

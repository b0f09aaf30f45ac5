#pragma once
// Makes the C runtime's malloc refuse every block of at least a given size
// to one module of this process (the control panel's library), so that its
// C++ runtime throws std::bad_alloc there as it does when the process runs
// out of memory, without needing the memory. Done through the module's own
// import of malloc, which is put back at the end; one limit at a time.
#include <windows.h>

#include <atomic>
#include <cstring>

namespace paneltest {

class ModuleAllocationLimit {
 public:
  ModuleAllocationLimit(HMODULE module, size_t refuseFrom) {
    slot_ = FindImport(module, "msvcrt.dll", "malloc");
    if (!slot_) return;
    Limit() = refuseFrom;
    Refused() = 0;
    Original() = reinterpret_cast<Malloc>(*slot_);
    Replace(reinterpret_cast<void*>(&LimitedMalloc));
  }
  ~ModuleAllocationLimit() {
    if (slot_) Replace(reinterpret_cast<void*>(Original()));
  }
  ModuleAllocationLimit(const ModuleAllocationLimit&) = delete;
  ModuleAllocationLimit& operator=(const ModuleAllocationLimit&) = delete;

  bool Ok() const { return slot_ != nullptr; }
  // Blocks refused so far.
  static size_t RefusedCount() { return Refused(); }

 private:
  using Malloc = void*(__cdecl*)(size_t);

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

  // The address slot through which `module` calls `function` of `dll`.
  static void** FindImport(HMODULE module, const char* dll, const char* function) {
    if (!module) return nullptr;
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return nullptr;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name; ++entry) {
      if (::lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dll) != 0 || !entry->OriginalFirstThunk)
        continue;
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
      for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
          return reinterpret_cast<void**>(&slots->u1.Function);
      }
    }
    return nullptr;
  }
  void Replace(void* function) {
    DWORD protection = 0;
    ::VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
    *slot_ = function;
    ::VirtualProtect(slot_, sizeof(void*), protection, &protection);
  }

  void** slot_ = nullptr;
};

}  // namespace paneltest

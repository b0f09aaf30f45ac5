#pragma once
// Points every slot of a module's import table that holds one function at
// another for as long as the object lives, then puts the first back. Tests
// use it to make a system or runtime function answer as an older or fuller
// system would, for exactly the code of that module.
#include <windows.h>

#include <vector>

class ScopedImportPatch {
 public:
  ScopedImportPatch(HMODULE module, void* from, void* to) : from_(from) {
    if (!module || !from) return;
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return;
    for (auto* imported = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         imported->Name; ++imported) {
      for (auto* slot = reinterpret_cast<void**>(base + imported->FirstThunk); *slot; ++slot) {
        if (*slot != from) continue;
        Write(slot, to);
        slots_.push_back(slot);
      }
    }
  }
  ~ScopedImportPatch() {
    for (void** slot : slots_) Write(slot, from_);
  }
  ScopedImportPatch(const ScopedImportPatch&) = delete;
  ScopedImportPatch& operator=(const ScopedImportPatch&) = delete;

  // False when the module does not call the function through its imports.
  bool Patched() const { return !slots_.empty(); }

  // The function as the system's loader binds it.
  static void* Function(const wchar_t* dll, const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(dll), name));
  }

 private:
  static void Write(void** slot, void* value) {
    DWORD protection = 0;
    ::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
    *slot = value;
    ::VirtualProtect(slot, sizeof(*slot), protection, &protection);
  }

  void* from_;
  std::vector<void**> slots_;
};

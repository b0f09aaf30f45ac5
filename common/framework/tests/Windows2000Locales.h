#pragma once
// Windows 2000 has no LOCALE_INVARIANT (it came with XP): its LCMapStringW and
// CompareStringW fail for it. Wine has it, so while an object of this class
// lives, this program's own calls of the two (its import table, which the
// code under test shares) fail for it as Windows 2000's do.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

class Windows2000Locales {
 public:
  Windows2000Locales() {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    realMap_ = reinterpret_cast<MapFunction>(reinterpret_cast<void*>(::GetProcAddress(kernel, "LCMapStringW")));
    realCompare_ =
        reinterpret_cast<CompareFunction>(reinterpret_cast<void*>(::GetProcAddress(kernel, "CompareStringW")));
    mapped_ = Replace(reinterpret_cast<void*>(realMap_), reinterpret_cast<void*>(&Map));
    compared_ = Replace(reinterpret_cast<void*>(realCompare_), reinterpret_cast<void*>(&Compare));
    // A program imports only what its code calls; one of them at least.
    EXPECT_FALSE(mapped_.empty() && compared_.empty()) << "the locales go unchecked";
  }
  ~Windows2000Locales() {
    for (void** slot : mapped_) Write(slot, reinterpret_cast<void*>(realMap_));
    for (void** slot : compared_) Write(slot, reinterpret_cast<void*>(realCompare_));
  }
  Windows2000Locales(const Windows2000Locales&) = delete;
  Windows2000Locales& operator=(const Windows2000Locales&) = delete;

 private:
  using MapFunction = int(WINAPI*)(LCID, DWORD, LPCWSTR, int, LPWSTR, int);
  using CompareFunction = int(WINAPI*)(LCID, DWORD, LPCWSTR, int, LPCWSTR, int);

  static bool HasLocale(LCID locale) { return PRIMARYLANGID(LANGIDFROMLCID(locale)) != LANG_INVARIANT; }

  static int WINAPI Map(LCID locale, DWORD flags, LPCWSTR source, int sourceLength, LPWSTR target,
                        int targetLength) {
    if (!HasLocale(locale)) return Refuse();
    return realMap_(locale, flags, source, sourceLength, target, targetLength);
  }
  static int WINAPI Compare(LCID locale, DWORD flags, LPCWSTR first, int firstLength, LPCWSTR second,
                            int secondLength) {
    if (!HasLocale(locale)) return Refuse();
    return realCompare_(locale, flags, first, firstLength, second, secondLength);
  }
  static int Refuse() {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }

  // Every slot of this program's import table that holds `from` now holds `to`.
  static std::vector<void**> Replace(void* from, void* to) {
    std::vector<void**> slots;
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!from || !directory.VirtualAddress) return slots;
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); module->Name;
         ++module) {
      for (auto* slot = reinterpret_cast<void**>(base + module->FirstThunk); *slot; ++slot) {
        if (*slot != from) continue;
        Write(slot, to);
        slots.push_back(slot);
      }
    }
    return slots;
  }
  static void Write(void** slot, void* value) {
    DWORD protection = 0;
    ::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
    *slot = value;
    ::VirtualProtect(slot, sizeof(*slot), protection, &protection);
  }

  static inline MapFunction realMap_ = nullptr;
  static inline CompareFunction realCompare_ = nullptr;
  std::vector<void**> mapped_;
  std::vector<void**> compared_;
};

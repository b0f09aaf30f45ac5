#pragma once
// Windows 2000 has no LOCALE_INVARIANT (it came with XP): its LCMapStringW and
// CompareStringW fail for it. Wine has it, so while an object of this class
// lives, this program's own calls of the two (its import table, which the
// code under test shares) fail for it as Windows 2000's do.
#include <windows.h>

#include <gtest/gtest.h>

#include "ScopedImportPatch.h"

class Windows2000Locales {
 public:
  Windows2000Locales()
      : mapped_(::GetModuleHandleW(nullptr), SetReal(&realMap_, "LCMapStringW"), reinterpret_cast<void*>(&Map)),
        compared_(::GetModuleHandleW(nullptr), SetReal(&realCompare_, "CompareStringW"),
                  reinterpret_cast<void*>(&Compare)) {
    // A program imports only what its code calls; one of them at least.
    EXPECT_TRUE(mapped_.Patched() || compared_.Patched()) << "the locales go unchecked";
  }
  Windows2000Locales(const Windows2000Locales&) = delete;
  Windows2000Locales& operator=(const Windows2000Locales&) = delete;

 private:
  using MapFunction = int(WINAPI*)(LCID, DWORD, LPCWSTR, int, LPWSTR, int);
  using CompareFunction = int(WINAPI*)(LCID, DWORD, LPCWSTR, int, LPCWSTR, int);

  // Keeps the real function for the replacement to call, and hands it on.
  template <typename Function>
  static void* SetReal(Function* real, const char* name) {
    void* found = ScopedImportPatch::Function(L"kernel32.dll", name);
    *real = reinterpret_cast<Function>(found);
    return found;
  }

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

  static inline MapFunction realMap_ = nullptr;
  static inline CompareFunction realCompare_ = nullptr;
  ScopedImportPatch mapped_;
  ScopedImportPatch compared_;
};

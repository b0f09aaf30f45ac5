#include "DialogItems.h"

#include <string>

namespace fw {

int AddTemplateComboItems(HWND dialog, HINSTANCE module, UINT templateId) {
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(templateId), L"COMBOITEMS");
  if (!found || !dialog) return 0;
  HGLOBAL loaded = ::LoadResource(module, found);
  const auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
  if (!words) return 0;
  // Every read stays inside the resource, whatever its content.
  size_t count = ::SizeofResource(module, found) / sizeof(WORD);
  int added = 0;
  for (size_t at = 0; at + 1 < count && words[at] != 0; at += 2) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW gives the string in place.
    int length = ::LoadStringW(module, words[at + 1], reinterpret_cast<LPWSTR>(&text), 0);
    HWND combo = ::GetDlgItem(dialog, words[at]);
    if (!combo || length <= 0) continue;
    std::wstring entry(text, static_cast<size_t>(length));
    if (::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str())) >= 0) ++added;
  }
  return added;
}

}  // namespace fw

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
  size_t at = 0;
  int added = 0;
  while (at < count && words[at] != 0) {
    int id = words[at++];
    std::wstring text;
    while (at < count && words[at] != 0) text.push_back(static_cast<wchar_t>(words[at++]));
    if (at >= count) break;  // a text without its terminator is not added
    ++at;
    HWND combo = ::GetDlgItem(dialog, id);
    if (combo && ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) >= 0) ++added;
  }
  return added;
}

}  // namespace fw

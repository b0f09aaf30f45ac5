#include "ListSkinAttributes.h"

#include <cwchar>

#include "XmlDom.h"

namespace listskin {

bool Number(CXmlDom& dom, const wchar_t* name, long long& value) {
  std::wstring text;
  if (!dom.GetAttribString(name, text) || text.empty()) return false;
  wchar_t* end = nullptr;
  long long read = std::wcstoll(text.c_str(), &end, 10);
  if (end == text.c_str()) return false;
  value = read;
  return true;
}

int IntOr(CXmlDom& dom, const wchar_t* name, int fallback) {
  long long value = fallback;
  return Number(dom, name, value) ? static_cast<int>(value) : fallback;
}

void Colour(CXmlDom& dom, const wchar_t* name, COLORREF& colour) {
  long long value = 0;
  if (Number(dom, name, value)) colour = static_cast<COLORREF>(value);
}

std::wstring Text(CXmlDom& dom, const wchar_t* name) {
  std::wstring text;
  dom.GetAttribString(name, text);
  return text;
}

fw::ScopedBitmap LoadBitmapFile(const std::wstring& folder, const std::wstring& name) {
  if (name.empty()) return fw::ScopedBitmap();
  return fw::ScopedBitmap(static_cast<HBITMAP>(
      ::LoadImageW(nullptr, (folder + name).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

std::wstring WithBackslash(const std::wstring& folder) {
  if (folder.empty() || folder.back() == L'\\') return folder;
  return folder + L'\\';
}

CCellLinkGroup::SharedFont CopyFont(HFONT font, bool underline) {
  LOGFONTW description{};
  if (!font || !::GetObjectW(font, sizeof(description), &description)) return nullptr;
  description.lfUnderline = underline ? TRUE : FALSE;
  return std::make_shared<fw::ScopedFont>(::CreateFontIndirectW(&description));
}

}  // namespace listskin

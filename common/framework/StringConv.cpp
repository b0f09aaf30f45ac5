#include "StringConv.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>

namespace fw {

static_assert(kNoCaseLocale == MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));

std::wstring ToWide(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string ToAnsi(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
  if (length <= 0) return {};
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length,
                      nullptr, nullptr);
  return narrow;
}

size_t AnsiPrefixLength(std::string_view text, size_t maxBytes, unsigned codePage) {
  if (text.size() <= maxBytes) return text.size();
  size_t position = 0;
  while (position < maxBytes) {
    bool lead = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[position])) != 0;
    size_t width = lead ? 2 : 1;
    if (position + width > maxBytes) break;
    position += width;
  }
  return position;
}

std::wstring ToLower(std::wstring_view text) {
  std::wstring lower(text);
  if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
  return lower;
}

// The invariant upper case: the same for every user, as an ordinal comparison
// ignoring case is. CompareStringOrdinal does this from Vista on.
std::wstring NoCaseKey(std::wstring_view text) {
  std::wstring upper(text);
  if (!upper.empty())
    LCMapStringW(kNoCaseLocale, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()), upper.data(),
                 static_cast<int>(upper.size()));
  return upper;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) { return NoCaseKey(a) == NoCaseKey(b); }

// Windows 2000's msvcrt cannot measure a formatted text (_vscwprintf came
// with XP's), and its _vsnwprintf answers -1 for a text that does not fit:
// the buffer grows until the text and its terminator fit.
std::wstring Format(const wchar_t* format, ...) {
  constexpr size_t kLongestText = 1 << 20;
  std::wstring text(256, L'\0');
  for (;;) {
    va_list args;
    va_start(args, format);
    const int length = _vsnwprintf(text.data(), text.size(), format, args);
    va_end(args);
    if (length >= 0 && static_cast<size_t>(length) < text.size()) {
      text.resize(static_cast<size_t>(length));
      return text;
    }
    if (text.size() >= kLongestText) return {};
    text.resize(text.size() * 2);
  }
}

}  // namespace fw

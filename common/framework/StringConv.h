#pragma once
#include <string>
#include <string_view>

// Text crosses files, command lines and WM_COPYDATA in the ANSI code page of
// the calling thread; in memory it is always wide.
namespace fw {

std::wstring ToWide(std::string_view text, unsigned codePage = 3 /* CP_THREAD_ACP */);
std::string ToAnsi(std::wstring_view text, unsigned codePage = 3 /* CP_THREAD_ACP */);

// Length in bytes of the longest prefix of `text` (at most `maxBytes`) that
// does not split a double-byte character of the code page.
size_t AnsiPrefixLength(std::string_view text, size_t maxBytes, unsigned codePage = 3);

// The locale of the comparisons that ignore case: English (United States)
// with the default sort, MAKELCID(MAKELANGID(LANG_ENGLISH,
// SUBLANG_ENGLISH_US), SORT_DEFAULT). Its case mapping is the invariant one,
// and every Windows has it, where the invariant locale came only with XP.
inline constexpr unsigned long kNoCaseLocale = 0x0409;

// Case-insensitive comparison of wide strings (ordinal, invariant upper case).
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
// The form EqualsNoCase compares: texts equal ignoring case have equal keys,
// so a set of keys finds a name as EqualsNoCase would.
std::wstring NoCaseKey(std::wstring_view text);
std::wstring ToLower(std::wstring_view text);

// printf-style formatting into a wide string.
std::wstring Format(const wchar_t* format, ...);

}  // namespace fw

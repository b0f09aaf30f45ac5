#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StringConv.h"
#include "Windows2000Locales.h"

namespace {

TEST(StringConv, ChineseRoundTripsThroughTheThreadCodePage) {
  ASSERT_EQ(936u, GetACP()) << "the harness runs Wine with the Chinese code page";
  std::string ansi = fw::ToAnsi(L"乖儿子");
  EXPECT_EQ(std::string("\xB9\xD4\xB6\xF9\xD7\xD3"), ansi);
  EXPECT_EQ(L"乖儿子", fw::ToWide(ansi));
}

TEST(StringConv, PrefixNeverSplitsADoubleByteCharacter) {
  std::string ansi = fw::ToAnsi(L"a乖儿");  // 1 + 2 + 2 bytes
  EXPECT_EQ(1u, fw::AnsiPrefixLength(ansi, 2));
  EXPECT_EQ(3u, fw::AnsiPrefixLength(ansi, 3));
  EXPECT_EQ(3u, fw::AnsiPrefixLength(ansi, 4));
  EXPECT_EQ(5u, fw::AnsiPrefixLength(ansi, 9));
}

TEST(StringConv, FormatAndCase) {
  EXPECT_EQ(L"\"C:\\x\" -startup", fw::Format(L"\"%s\" %s", L"C:\\x", L"-startup"));
  EXPECT_TRUE(fw::EqualsNoCase(L"WWW.Example.COM", L"www.example.com"));
  EXPECT_TRUE(fw::EqualsNoCase(L"\u00C4RGER.de", L"\u00E4rger.DE"));
  EXPECT_FALSE(fw::EqualsNoCase(L"example.com", L"example.co"));
  EXPECT_FALSE(fw::EqualsNoCase(L"example.com", L"examplf.com"));
  EXPECT_EQ(L"http://a.b/", fw::ToLower(L"HTTP://A.B/"));
  EXPECT_EQ(L"", fw::Format(L"%s", L""));
  // Texts around and past the first buffer (256 characters) come out whole.
  for (size_t length : {253u, 254u, 255u, 5000u}) {
    const std::wstring text(length, L'x');
    EXPECT_EQ(text + L"|7", fw::Format(L"%s|%d", text.c_str(), 7)) << length;
  }
}

std::wstring InvariantUpperCase(const std::wstring& text) {
  std::wstring upper(text);
  LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()), upper.data(),
               static_cast<int>(upper.size()));
  return upper;
}

TEST(StringConv, KeysIgnoringCaseAreTheInvariantOnesAndNeedNoLocaleWindows2000Lacks) {
  wchar_t common[MAX_PATH] = {};
  ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common));
  const std::wstring data = std::wstring(common) + L"\\Hollin\\Orlat";
  const std::vector<std::wstring> texts{
      L"WWW.Example.COM",
      L"\u00C4rger \u00E9cole \u00DF \u00FF \u0131 \u0130",      // accented Latin, dotted and dotless i
      L"\u0391\u03B2\u03B3\u03B4 \u03C3\u03C2",                // Greek, with the final sigma
      L"\u041F\u0440\u0438\u0432\u0435\u0442 \u0451\u0401",  // Cyrillic
      L"\uFF21\uFF22\uFF43 \uFF44",                           // fullwidth Latin
      L"儿童浏览器 Tindra 妈妈",
      data + L"\\conf\\sys.conf",
      data + L"\\his\\his.xml",
      data + L"\\his\\{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}.bmp",
      data + L"\\favs\\favs.xml",
      data + L"\\tl.dat"};
  // Today's keys, made with the locale XP brought.
  std::vector<std::wstring> invariant;
  for (const std::wstring& text : texts) invariant.push_back(InvariantUpperCase(text));

  Windows2000Locales windows2000;
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(invariant[i], fw::NoCaseKey(texts[i])) << i;
    EXPECT_TRUE(fw::EqualsNoCase(texts[i], invariant[i])) << i;
  }
  EXPECT_FALSE(fw::EqualsNoCase(L"example.com", L"EXAMPLE.CON"));
}

}  // namespace

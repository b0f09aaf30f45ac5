#include <windows.h>

#include <gtest/gtest.h>

#include "StringConv.h"

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

}  // namespace

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "RegKey.h"

namespace {

const wchar_t kTestRoot[] = L"Software\\HollinTests\\RegKey";

class RegKeyTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }

  RegKey Writable() { return RegKey(HKEY_CURRENT_USER, kTestRoot, KEY_ALL_ACCESS); }
};

TEST_F(RegKeyTest, WriteAccessCreatesReadAccessOnlyOpens) {
  RegKey reader(HKEY_CURRENT_USER, kTestRoot, KEY_READ);
  EXPECT_FALSE(reader.Valid()) << "reading does not create the key";
  RegKey writer = Writable();
  EXPECT_TRUE(writer.Valid());
  RegKey empty(nullptr, kTestRoot, KEY_ALL_ACCESS);
  EXPECT_FALSE(empty.Valid());

  DWORD disposition = 0;
  RegKey again;
  ASSERT_TRUE(again.CreateWithDisposition(HKEY_CURRENT_USER, kTestRoot, &disposition, KEY_READ));
  EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
}

TEST_F(RegKeyTest, ValuesRoundTripAndEnumerate) {
  RegKey key = Writable();
  ASSERT_TRUE(key.WriteValue(L"name", L"乖儿子"));
  ASSERT_TRUE(key.WriteValue(L"count", DWORD{42}));
  EXPECT_EQ(2u, key.ValueCount());

  std::wstring text;
  EXPECT_TRUE(key.ReadValue(L"name", &text));
  EXPECT_EQ(L"乖儿子", text);
  DWORD number = 0;
  EXPECT_TRUE(key.ReadValueDW(L"count", &number));
  EXPECT_EQ(42u, number);
  EXPECT_FALSE(key.ReadValueDW(L"name", &number));
  EXPECT_FALSE(key.ReadValue(L"count", &text)) << "a number is not text";
  EXPECT_EQ(L"乖儿子", text) << "a failed read leaves the value alone";

  std::wstring first, second;
  EXPECT_TRUE(key.ReadName(0, &first));
  EXPECT_TRUE(key.ReadName(1, &second));
  EXPECT_TRUE(key.ReadName(1, nullptr));
  EXPECT_FALSE(key.ReadName(2, &first));
  EXPECT_NE(first, second);

  EXPECT_TRUE(key.DeleteValue(L"count"));
  EXPECT_FALSE(key.ValueExists(L"count"));
  EXPECT_TRUE(key.ValueExists(L"name"));
}

TEST_F(RegKeyTest, TextAtTheEdgeOfTheReadBuffer) {
  RegKey key = Writable();
  // The reader's buffer holds 1024 characters, its terminator included.
  struct Case {
    size_t characters;
    bool terminated;
    bool read;
  } cases[] = {{1023, true, true}, {1023, false, true}, {1024, false, false},
               {1024, true, false}, {3, false, true}};
  for (const Case& c : cases) {
    const std::wstring stored(c.characters, L'x');
    // The registry adds a terminator it finds right behind the data, so an
    // unterminated text is written from a longer one.
    const std::wstring source = c.terminated ? stored : stored + L"y";
    const DWORD bytes = static_cast<DWORD>((c.characters + (c.terminated ? 1 : 0)) * sizeof(wchar_t));
    ASSERT_TRUE(key.WriteValue(L"edge", source.c_str(), bytes, REG_SZ));
    std::wstring text = L"before";
    EXPECT_EQ(c.read, key.ReadValue(L"edge", &text)) << c.characters << (c.terminated ? " terminated" : "");
    EXPECT_EQ(c.read ? stored : L"before", text) << c.characters << (c.terminated ? " terminated" : "");
  }

  // A caller's smaller buffer: text one short of it fits, text as long as
  // it is refused, and nothing is written past it.
  for (const wchar_t* stored : {L"seven..", L"eight..."}) {
    ASSERT_TRUE(key.WriteValue(L"edge", stored));
    wchar_t buffer[9];
    wmemset(buffer, L'#', 9);
    const bool fits = wcslen(stored) < 8;
    EXPECT_EQ(fits, key.ReadText(L"edge", buffer, 8)) << stored;
    if (fits) EXPECT_STREQ(stored, buffer);
    EXPECT_EQ(L'#', buffer[8]) << stored;
  }
}

TEST_F(RegKeyTest, ExpansionAndNumberTypes) {
  RegKey key = Writable();
  std::wstring text;
  const wchar_t expandable[] = L"%SystemRoot%\\x";
  ASSERT_TRUE(key.WriteValue(L"expand", expandable, sizeof(expandable), REG_EXPAND_SZ));
  EXPECT_TRUE(key.ReadValue(L"expand", &text));
  EXPECT_EQ(std::wstring::npos, text.find(L'%'));
  EXPECT_EQ(L"\\x", text.substr(text.size() - 2));

  // Expands beyond 1023 characters.
  ASSERT_TRUE(SetEnvironmentVariableW(L"HOLLIN_LONG", std::wstring(100, L'L').c_str()));
  std::wstring huge;
  for (int i = 0; i < 20; ++i) huge += L"%HOLLIN_LONG%";
  ASSERT_TRUE(key.WriteValue(L"huge", huge.c_str(), static_cast<DWORD>((huge.size() + 1) * 2), REG_EXPAND_SZ));
  EXPECT_FALSE(key.ReadValue(L"huge", &text));

  const unsigned long long quad = 7;
  ASSERT_TRUE(key.WriteValue(L"quad", &quad, sizeof(quad), REG_QWORD));
  DWORD number = 0;
  EXPECT_FALSE(key.ReadValueDW(L"quad", &number));
}

TEST_F(RegKeyTest, SubkeysCreateOpenAndDeleteWithTheirTree) {
  RegKey key = Writable();
  ASSERT_TRUE(key.CreateKey(L"a\\b", KEY_ALL_ACCESS));
  ASSERT_TRUE(key.WriteValue(L"v", DWORD{1}));
  RegKey root = Writable();
  EXPECT_TRUE(root.DeleteKey(L"a"));
  RegKey gone(HKEY_CURRENT_USER, L"Software\\HollinTests\\RegKey\\a", KEY_READ);
  EXPECT_FALSE(gone.Valid());

  RegKey walker = Writable();
  EXPECT_FALSE(walker.OpenKey(L"missing", KEY_READ));
  EXPECT_FALSE(walker.Valid()) << "a failed step leaves the object empty, not on its old key";
  EXPECT_FALSE(walker.CreateKey(L"x", KEY_ALL_ACCESS));
  EXPECT_FALSE(walker.DeleteKey(L"x"));
  EXPECT_FALSE(walker.StartWatching());
  EXPECT_FALSE(walker.IsWatching());
}

TEST_F(RegKeyTest, CopiesHoldHandlesOfTheirOwn) {
  RegKey original = Writable();
  ASSERT_TRUE(original.WriteValue(L"v", L"one"));
  {
    RegKey copy(original);
    ASSERT_TRUE(copy.Valid());
    EXPECT_NE(original.Handle(), copy.Handle());
    RegKey assigned;
    assigned = original;
    ASSERT_TRUE(assigned.Valid());
    EXPECT_NE(original.Handle(), assigned.Handle());
  }
  // Both copies closed their own handles; the original's still works.
  std::wstring text;
  EXPECT_TRUE(original.ReadValue(L"v", &text));
  EXPECT_EQ(L"one", text);
  EXPECT_TRUE(original.WriteValue(L"w", DWORD{2}));
}

TEST_F(RegKeyTest, WatchingReportsAChangeOnceAndGoesOn) {
  RegKey watched = Writable();
  ASSERT_TRUE(watched.StartWatching());
  EXPECT_TRUE(watched.IsWatching());
  EXPECT_NE(nullptr, watched.watch_event());
  EXPECT_FALSE(watched.HasChanged());

  RegKey writer = Writable();
  ASSERT_TRUE(writer.CreateKey(L"deep\\child", KEY_ALL_ACCESS));
  ASSERT_TRUE(writer.WriteValue(L"x", DWORD{1}));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watched.watch_event(), 2000));
  EXPECT_TRUE(watched.HasChanged());
  EXPECT_FALSE(watched.HasChanged()) << "one change is reported once";
  EXPECT_TRUE(watched.IsWatching());

  EXPECT_TRUE(watched.StopWatching());
  EXPECT_FALSE(watched.StopWatching());
  EXPECT_FALSE(watched.HasChanged());
}

}  // namespace

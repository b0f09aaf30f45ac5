#include <windows.h>

#include <gtest/gtest.h>

#include "AutoStart.h"
#include "CommHelper.h"

namespace {

const wchar_t kTableKey[] = L"Software\\Hollin\\AutoStartStringsTest";
const wchar_t kTableValueName[] = L"Hollin测试自启动";

TEST(AutoStartStrings, ValueKeyAndArgumentComeFromTheModulesStringTable) {
  EXPECT_EQ(kTableValueName, AutoStartValueName());
  EXPECT_EQ(kTableKey, AutoStartKey());
  EXPECT_EQ(L"-fromtable", AutoStartArgument());

  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, kTableKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
  ASSERT_EQ(1, EnableAutoStart());
  wchar_t text[512] = {};
  DWORD size = sizeof(text) - sizeof(wchar_t);
  EXPECT_EQ(ERROR_SUCCESS,
            ::RegQueryValueExW(key, kTableValueName, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size));
  EXPECT_EQ(L"\"" + CCommHelper::GetExeDir() + L"\\Brivan.exe\" -fromtable", std::wstring(text));
  EXPECT_EQ(1, IsAutoStartEnabled());
  EXPECT_EQ(1, DisableAutoStart());
  EXPECT_EQ(0, IsAutoStartEnabled());
  ::RegCloseKey(key);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kTableKey);
}

}  // namespace

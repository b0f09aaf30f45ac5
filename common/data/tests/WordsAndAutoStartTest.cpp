#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "AutoStart.h"
#include "CommHelper.h"
#include "DataFolderTest.h"
#include "WordsList.h"

namespace {

using WordsListTest = DataFolderTest;

TEST_F(WordsListTest, RotationHandsOutEveryMessageOncePerCycle) {
  std::wstring path = folder_ + L"words.xml";
  {
    CWordsList empty(path);
    EXPECT_EQ(L"", empty.GetNextWord());
    empty.Add(L"早点睡觉");
    EXPECT_EQ(L"早点睡觉", empty.GetNextWord());
    EXPECT_EQ(L"早点睡觉", empty.GetNextWord());
    empty.Add(L"多喝水");
    empty.Add(L"");
    ASSERT_EQ(1, empty.Save());
  }
  CWordsList words(path);
  ASSERT_EQ(3u, words.Count());
  std::vector<std::wstring> cycle;
  for (int i = 0; i < 3; ++i) cycle.push_back(words.GetNextWord());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(cycle[i], words.GetNextWord());
  std::sort(cycle.begin(), cycle.end());
  EXPECT_EQ((std::vector<std::wstring>{L"", L"多喝水", L"早点睡觉"}), cycle);

  words.RemoveAll();
  words.Add(L"只有一条");
  EXPECT_EQ(L"只有一条", words.GetNextWord()) << "a shortened list restarts its rotation";
}

TEST_F(WordsListTest, FileFormatAndDamage) {
  std::wstring path = folder_ + L"words.xml";
  // A message longer than any cut stays whole.
  const std::string longWord(1500, 'a');
  WriteFile(L"words.xml", "<?xml version=\"1.0\" encoding=\"gb2312\" ?><ws><word v=\"" + longWord +
                              "\"/><word/><Word v=\"b\"/></ws>");
  CWordsList words(path);
  EXPECT_EQ(1u, words.Count());
  ASSERT_EQ(1, words.Save());
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<words>\r\n    <word v=\"" + longWord +
                "\" />\r\n</words>\r\n",
            ReadFile(L"words.xml"));
  WriteFile(L"words.xml", "<words><word v=");
  CWordsList damaged(path);
  EXPECT_EQ(L"", damaged.GetNextWord());
  EXPECT_EQ(0, damaged.ForEach(nullptr, nullptr));
  damaged.Add(L"new");
  ASSERT_EQ(1, damaged.Save());
  EXPECT_EQ("<words><word v=", ReadFile(L"words.xml.damaged")) << "set aside, not written over";
}

TEST_F(WordsListTest, SaveCreatesNoFolder) {
  std::wstring missing = folder_ + L"noconf";
  CWordsList words(missing + L"\\words.xml");
  words.Add(L"乖儿子");
  EXPECT_EQ(0, words.Save());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(missing.c_str()));
}

class AutoStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kAutoStartKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    DWORD size = sizeof(saved_);
    hadValue_ = RegQueryValueExW(key, kAutoStartValueName, nullptr, &savedType_, saved_, &size) == ERROR_SUCCESS;
    savedSize_ = size;
    RegCloseKey(key);
  }
  void TearDown() override {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kAutoStartKey, 0, KEY_ALL_ACCESS, &key);
    if (hadValue_)
      RegSetValueExW(key, kAutoStartValueName, 0, savedType_, saved_, savedSize_);
    else
      RegDeleteValueW(key, kAutoStartValueName);
    RegCloseKey(key);
  }
  static std::wstring Stored() {
    wchar_t text[512] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, kAutoStartKey, kAutoStartValueName, RRF_RT_ANY, nullptr, text, &size);
    return text;
  }

  bool hadValue_ = false;
  DWORD savedType_ = 0;
  BYTE saved_[1024] = {};
  DWORD savedSize_ = 0;
};

TEST_F(AutoStartTest, EnableQueryAndDisable) {
  EXPECT_EQ(kAutoStartValueName, AutoStartValueName()) << "without a string table the built-in texts hold";
  DisableAutoStart();
  EXPECT_EQ(0, IsAutoStartEnabled());
  EXPECT_EQ(1, DisableAutoStart()) << "a missing value is no error";
  ASSERT_EQ(1, EnableAutoStart());
  EXPECT_EQ(1, IsAutoStartEnabled());
  EXPECT_EQ(L"\"" + CCommHelper::GetExeDir() + L"\\Brivan.exe\" -startup", Stored());

  HKEY key = nullptr;
  ASSERT_EQ(1, OpenAutoStartKey(&key));
  const wchar_t other[] = L"\"D:\\elsewhere\\Brivan.exe\" -startup";
  RegSetValueExW(key, kAutoStartValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(other), sizeof(other));
  EXPECT_EQ(1, IsAutoStartEnabled()) << "the path is not compared";
  EXPECT_EQ(1, EnableAutoStart());
  EXPECT_NE(std::wstring::npos, Stored().find(CCommHelper::GetExeDir())) << "enabling writes the current folder";
  DWORD number = 1;
  RegSetValueExW(key, kAutoStartValueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  EXPECT_EQ(0, IsAutoStartEnabled()) << "a number is not a command";
  RegCloseKey(key);
  EXPECT_EQ(1, DisableAutoStart());
  EXPECT_EQ(0, IsAutoStartEnabled());
}

}  // namespace

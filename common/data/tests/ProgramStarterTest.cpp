#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "CommHelper.h"
#include "DataFolderTest.h"
#include "ProgramStarter.h"

namespace {

using ProgramStarterTest = DataFolderTest;

// Waits for the recorder started from `program` to leave its arguments file.
std::string WaitForArgs(const std::wstring& program) {
  std::wstring args = program + L".args";
  for (int i = 0; i < 100; ++i) {
    HANDLE file = CreateFileW(args.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      char text[1024] = {};
      DWORD read = 0;
      ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
      CloseHandle(file);
      if (read > 0) return std::string(text, read);
    }
    Sleep(50);
  }
  return std::string();
}

TEST_F(ProgramStarterTest, StartsTheQuotedPathInAFolderWithABlankNeverItsPrefix) {
  std::wstring recorder = CCommHelper::GetExeDir(true) + L"args_recorder.exe";
  std::wstring folder = folder_ + L"prog test";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  std::wstring program = folder + L"\\Brivan.exe";
  std::wstring decoy = folder_ + L"prog.exe";
  ASSERT_TRUE(CopyFileW(recorder.c_str(), program.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(recorder.c_str(), decoy.c_str(), FALSE));

  ASSERT_TRUE(CProgramStarter::Start(program, L"0"));
  std::string line = WaitForArgs(program);
  ASSERT_FALSE(line.empty()) << "the program in the folder with a blank never ran";
  int count = 0;
  std::wstring wide(line.begin(), line.end());
  LPWSTR* argv = CommandLineToArgvW(CProgramStarter::CommandLine(program, L"0").c_str(), &count);
  ASSERT_EQ(2, count);
  EXPECT_EQ(program, argv[0]);
  EXPECT_STREQ(L"0", argv[1]);
  LocalFree(argv);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((decoy + L".args").c_str())) << "the decoy ran";
  EXPECT_EQ(L"\"" + program + L"\" 0", wide) << "ASCII folder: the recorded line is the quoted path and arguments";

  EXPECT_EQ(L"\"" + program + L"\"", CProgramStarter::CommandLine(program, L"")) << "no trailing blank";
  EXPECT_FALSE(CProgramStarter::Start(folder_ + L"missing.exe"));
  EXPECT_FALSE(CProgramStarter::Start(L""));
}

}  // namespace

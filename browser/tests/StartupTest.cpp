#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CommHelper.h"
#include "ProgramStarter.h"
#include "SkinTestSupport.h"

namespace {

// Processes of the real browser start-up (with a stand-in main window),
// all of one program file, so they share its section.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"brivan_startup_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
    SetEnvironmentVariableW(L"HOLLIN_PROBE_DIR", folder_.c_str());
    SetEnvironmentVariableW(L"HOLLIN_PROBE_REPLY", L"0");
  }
  void TearDown() override {
    for (HANDLE process : processes_) {
      TerminateProcess(process, 0);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
    SetEnvironmentVariableW(L"HOLLIN_PROBE_DIR", nullptr);
    SetEnvironmentVariableW(L"HOLLIN_PROBE_REPLY", nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do DeleteFileW((folder_ + L"\\" + found.cFileName).c_str());
      while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(folder_.c_str());
  }

  // Starts the program with `url` as its argument (none when empty).
  HANDLE Start(const std::wstring& url, DWORD* pid) {
    std::wstring program = CCommHelper::GetExeDir(true) + L"brivan_startup_probe.exe";
    std::wstring line = CProgramStarter::CommandLine(program, url);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
      return nullptr;
    CloseHandle(info.hThread);
    processes_.push_back(info.hProcess);
    *pid = info.dwProcessId;
    return info.hProcess;
  }

  std::wstring File(DWORD pid, const wchar_t* kind) const {
    return folder_ + L"\\" + std::to_wstring(pid) + L"." + kind;
  }
  bool Exists(DWORD pid, const wchar_t* kind) const {
    return GetFileAttributesW(File(pid, kind).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // Deadlines allow for a loaded machine: a start under Wine can take seconds.
  bool WaitFor(DWORD pid, const wchar_t* kind, DWORD ms = 10000) const {
    return PumpUntil([&] { return Exists(pid, kind); }, ms);
  }
  std::string Read(DWORD pid, const wchar_t* kind) const {
    std::ifstream file(File(pid, kind).c_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  }

  std::wstring folder_;
  std::vector<HANDLE> processes_;
};

TEST_F(StartupTest, ASecondStartHandsItsUrlOverAndTheNextBrowserTakesOverWhenTheFirstDies) {
  DWORD first = 0, second = 0, third = 0, fourth = 0;
  HANDLE firstProcess = Start(L"", &first);
  ASSERT_TRUE(firstProcess);
  ASSERT_TRUE(WaitFor(first, L"registered")) << "the first browser registers";

  // Without a URL a second, complete browser starts, unregistered.
  SetEnvironmentVariableW(L"HOLLIN_PROBE_REPLY", L"1");
  ASSERT_TRUE(Start(L"", &second));
  ASSERT_TRUE(WaitFor(second, L"started"));
  PumpFor(1500);
  EXPECT_FALSE(Exists(second, L"registered")) << "a second browser registered while the first lives";

  // With a URL the running browser takes it and this start ends at once.
  HANDLE thirdProcess = Start(L"http://例子.cn/", &third);
  ASSERT_TRUE(thirdProcess);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thirdProcess, 10000));
  EXPECT_FALSE(Exists(third, L"started")) << "the start that handed over showed a window";
  const char gbk[] = "http://\xc0\xfd\xd7\xd3.cn/";
  EXPECT_EQ(std::string(gbk, sizeof(gbk)), Read(first, L"received"));

  // The registered browser dies without deregistering; the other one takes
  // word 0 at its next one-second check.
  TerminateProcess(firstProcess, 1);
  WaitForSingleObject(firstProcess, 5000);
  EXPECT_TRUE(WaitFor(second, L"registered")) << "nobody registered after the first browser died";

  // The new registered browser refuses: the start goes on as a browser
  // with its start URL.
  ASSERT_TRUE(Start(L"http://example.org/", &fourth));
  ASSERT_TRUE(WaitFor(fourth, L"started"));
  EXPECT_EQ("http://example.org/", Read(fourth, L"started"));
  EXPECT_EQ(std::string("http://example.org/", 20), Read(second, L"received"));
}

}  // namespace

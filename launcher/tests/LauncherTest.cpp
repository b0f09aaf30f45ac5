// The launcher as a parent starts it: from a program folder whose name holds
// a blank, driven from this process through the panel's windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "DataFolderTest.h"
#include "PanelDriver.h"
#include "PanelTestSupport.h"
#include "ReleaseFolder.h"
#include "StringConv.h"
#include "SysConf.h"

namespace {

using paneltest::Driver;

class LauncherTest : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    ASSERT_TRUE(copy_.Ok());
    CSysConf conf;
    conf.login_need_pwd = 1;
    conf.password = L"Secret";
    conf.fullscreen_always = 0;
    ASSERT_EQ(1, conf.Save());
  }
  void TearDown() override {
    if (process_.hProcess) {
      if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.hProcess, 1);
      ::CloseHandle(process_.hProcess);
      ::CloseHandle(process_.hThread);
    }
  }

  void Start(const std::wstring& arguments) {
    paneltest::ParkPointer();
    std::wstring line = L"\"" + copy_.Path(L"Pelvin.exe") + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ASSERT_TRUE(::CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, copy_.Folder().c_str(),
                                 &startup, &process_));
  }
  // The panel of the started launcher and the driver of its thread.
  Driver Attach() {
    struct Search {
      DWORD process;
      HWND found;
    } search{process_.dwProcessId, nullptr};
    DWORD start = ::GetTickCount();
    while (!search.found && ::GetTickCount() - start < 20000) {
      ::EnumWindows(
          [](HWND window, LPARAM lParam) CALLBACK {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner != s->process || !::IsWindowVisible(window) || !::GetDlgItem(window, 1009)) return TRUE;
            s->found = window;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&search));
      ::Sleep(100);
    }
    panel_ = search.found;
    return Driver(search.found ? ::GetWindowThreadProcessId(search.found, nullptr) : 0);
  }
  std::string State() {
    DWORD code = 0;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return code == STILL_ACTIVE ? "the launcher runs without a panel" : "the launcher ended with " + std::to_string(code);
  }
  bool Exited(DWORD milliseconds) { return ::WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0; }
  std::string Files() const { return ReadFile(L"conf\\sys.conf") + "|" + ReadFile(L"conf\\acc.conf"); }

  static inline paneltest::ProgramCopy copy_{{L"Pelvin.exe"}, ReleaseFolder()};
  PROCESS_INFORMATION process_{};
  HWND panel_ = nullptr;
};

TEST_F(LauncherTest, OpensTheGeneralPageWhoseLinksStartTheQuotedProgramsThenSavesTheSecurityPageOnOk) {
  copy_.ForgetRecords();
  Start(L"0");
  Driver d = Attach();
  ASSERT_NE(nullptr, panel_) << State();
  try {
    EXPECT_TRUE(d.ComesToShow(1035)) << "the general page opens first";
    for (int link : {9001, 9006})
      ::PostMessageW(panel_, WM_COMMAND, MAKEWPARAM(link, STN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(panel_, link)));
    for (const wchar_t* name : {L"Brivan.exe", L"Wizard.exe"})
      EXPECT_EQ(fw::ToAnsi(L"\"" + copy_.Path(name) + L"\"", CP_UTF8), copy_.RecordedArgs(copy_.Path(name), 5000));
    EXPECT_EQ("", copy_.RecordedArgs(copy_.Decoy(), 0)) << "the unquoted prefix ran";
    EXPECT_EQ(1u, d.TopLevelWindows().size()) << "a link click showed a box";
    Driver::Click(panel_, 1013);
    d.EnterPassword(L"secret");
    d.WaitFor([&] { return d.Shows(1010) ? panel_ : nullptr; }, "the security page");
    Driver::SetCheck(d.Page(1010), 1047, true);
    Driver::Click(panel_, 1022);
    EXPECT_EQ(L"保存成功,要使您的设置生效，请重启浏览器。", d.Answer(IDOK));
  } catch (const paneltest::DriverError& error) {
    FAIL() << error.what();
  }
  EXPECT_TRUE(Exited(10000)) << "the launcher ends with its panel";
  EXPECT_EQ(1, CSysConf().fullscreen_always);
}

TEST_F(LauncherTest, AnyCommandLineOpensThePanelAndCancelLeavesBothFiles) {
  std::string before = Files();
  Start(L"x \"y z\"");
  Driver d = Attach();
  ASSERT_NE(nullptr, panel_) << State();
  try {
    EXPECT_TRUE(d.ComesToShow(1035));
    Driver::SetCheck(d.Page(1035), 1038, false);
    Driver::Click(panel_, 1023);
    EXPECT_EQ(L"您已经对设置作了修改，是否保存？", d.Answer(IDNO));
  } catch (const paneltest::DriverError& error) {
    FAIL() << error.what();
  }
  EXPECT_TRUE(Exited(10000));
  EXPECT_EQ(before, Files());
}

}  // namespace

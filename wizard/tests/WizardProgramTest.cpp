// Wizard.exe as a parent meets it: the password prompt before the sheet, and
// the whole way from the prompt to the program the last page starts.
#include <windows.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include "ReleaseFolder.h"
#include "WizardResources.h"
#include "WizardTestSupport.h"

namespace wizard_test {
namespace {

const wchar_t kFolder[] = L"C:\\wiz test";
const wchar_t kDecoy[] = L"C:\\wiz.exe";

// The first true answer of `find` within the time, else its last one.
template <typename Find>
auto WaitFor(Find find, DWORD timeoutMs = 10000) -> decltype(find()) {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < timeoutMs; ::Sleep(50))
    if (auto found = find()) return found;
  return find();
}

void TypeInto(HWND edit, const std::wstring& text) {
  ::PostMessageW(edit, EM_SETSEL, 0, -1);
  if (text.empty()) ::PostMessageW(edit, WM_CHAR, VK_BACK, 0);
  for (wchar_t c : text) ::PostMessageW(edit, WM_CHAR, c, 0);
}

void ClickItem(HWND dialog, int id) { ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadAll(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  char text[1024] = {};
  DWORD read = 0;
  ::ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
  ::CloseHandle(file);
  return std::string(text, read);
}

// Wizard.exe with stand-ins for the launcher and the browser in a folder
// whose name has a blank, and a decoy that an unquoted start would run.
class WizardProgramTest : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    std::wstring bin = CCommHelper::GetExeDir() + L"\\";
    ::CreateDirectoryW(kFolder, nullptr);
    ASSERT_TRUE(::CopyFileW((ReleaseFolder() + L"Wizard.exe").c_str(), Path(L"Wizard.exe").c_str(), FALSE));
    for (const wchar_t* stub : {L"Pelvin.exe", L"Brivan.exe"}) {
      ASSERT_TRUE(::CopyFileW((bin + L"args_recorder.exe").c_str(), Path(stub).c_str(), FALSE));
      ::DeleteFileW((Path(stub) + L".args").c_str());
    }
    ASSERT_TRUE(::CopyFileW((bin + L"args_recorder.exe").c_str(), kDecoy, FALSE));
    ::DeleteFileW((std::wstring(kDecoy) + L".args").c_str());
  }
  void TearDown() override {
    if (process_.hProcess) {
      if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.hProcess, 1);
      ::CloseHandle(process_.hProcess);
      ::CloseHandle(process_.hThread);
    }
    ::DeleteFileW(kDecoy);
    ::DeleteFileW((std::wstring(kDecoy) + L".args").c_str());
    WizardTest::TearDown();
  }
  static std::wstring Path(const wchar_t* name) { return std::wstring(kFolder) + L"\\" + name; }

  void Start() {
    std::wstring line = L"\"" + Path(L"Wizard.exe") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ASSERT_TRUE(::CreateProcessW(Path(L"Wizard.exe").c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &process_));
  }
  bool Ended(DWORD timeoutMs = 10000) const { return ::WaitForSingleObject(process_.hProcess, timeoutMs) == 0; }
  HWND Prompt() const { return FindProcessDialog(process_.dwProcessId, L"安全验证", IDC_AUTH_PASSWORD); }
  HWND Sheet() const { return FindProcessDialog(process_.dwProcessId, L"", IDC_SWITCH_TO_PANEL); }
  HWND Box(const std::wstring& text) const { return FindProcessDialog(process_.dwProcessId, L"提示", 0, text); }
  HWND PageItem(HWND sheet, int id) const { return ::GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), id); }

  PROCESS_INFORMATION process_{};
};

TEST_F(WizardProgramTest, AsksForThePasswordOnlyWhenLoginNeedsOneAndOneIsStored) {
  const struct {
    int login;
    const wchar_t* password;
    bool asks;
  } cases[] = {{1, L"Tiger", true}, {0, L"Tiger", false}, {1, L"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "login " << c.login << ", password set " << (*c.password != 0));
    StoreSettings([&](CSysConf& s) {
      s.login_need_pwd = c.login;
      s.password = c.password;
    });
    const std::string before = Files();
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND shown = WaitFor([&] { return Prompt() ? Prompt() : Sheet(); });
    ASSERT_TRUE(shown);
    EXPECT_EQ(c.asks, shown == Prompt());
    if (shown == Prompt()) {
      ClickItem(shown, IDCANCEL);
      ASSERT_TRUE(Ended());
      EXPECT_EQ(before, Files()) << "Cancel writes nothing";
    } else {
      ::PostMessageW(shown, WM_CLOSE, 0, 0);
      ASSERT_TRUE(Ended());
    }
    EXPECT_FALSE(Sheet());
    ::CloseHandle(process_.hProcess);
    ::CloseHandle(process_.hThread);
    process_ = {};
  }
}

TEST_F(WizardProgramTest, APasswordFileAnotherProgramHoldsIsNamedAndTheWizardEndsWritingNothing) {
  StoreSettings([](CSysConf& s) {
    s.login_need_pwd = 1;
    s.password = L"Tiger";
  });
  const std::string before = Files();
  {
    HeldFile held(folder_ + L"conf\\acc.conf", FILE_SHARE_DELETE);
    ASSERT_TRUE(held.Held());
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND box = WaitFor([&] { return Box(CSysConf::UnreadableText(folder_ + L"conf\\acc.conf")); }, 20000);
    ASSERT_TRUE(box) << "the wizard said nothing";
    EXPECT_FALSE(Prompt());
    EXPECT_FALSE(Sheet());
    ClickItem(box, IDOK);
    EXPECT_TRUE(Ended());
  }
  EXPECT_EQ(before, Files());
}

TEST_F(WizardProgramTest, FromThePromptThroughThePagesToTheControlPanelStartedFromItsQuotedPath) {
  StoreSettings([](CSysConf& s) {
    s.login_need_pwd = 1;
    s.password = L"Tiger";
    s.nick_name = L"老虎";
  });
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND prompt = WaitFor([&] { return Prompt(); });
  ASSERT_TRUE(prompt);
  // Only the whole password passes: nothing, its first letters or more after it are wrong.
  for (const wchar_t* wrong : {L"wrong", L"", L"Tig", L"Tiger1"}) {
    SCOPED_TRACE(::testing::Message() << "typed " << wcslen(wrong) << " letters");
    TypeInto(::GetDlgItem(prompt, IDC_AUTH_PASSWORD), wrong);
    ClickItem(prompt, IDOK);
    HWND refusal = WaitFor([&] { return Box(L"密码错误，请重新输入"); });
    ASSERT_TRUE(refusal);
    ClickItem(refusal, IDOK);
    ASSERT_TRUE(WaitFor([&] { return Box(L"密码错误") ? nullptr : Prompt(); })) << "a wrong password stays";
    EXPECT_FALSE(Sheet());
  }
  TypeInto(::GetDlgItem(prompt, IDC_AUTH_PASSWORD), L"tIGER");
  ClickItem(prompt, IDOK);

  HWND sheet = WaitFor([&] { return Sheet(); });
  ASSERT_TRUE(sheet) << "the password in another case passes";
  ClickItem(sheet, kNext);
  ASSERT_TRUE(WaitFor([&] { return PageItem(sheet, IDC_KID_NICK); }));
  TypeInto(PageItem(sheet, IDC_KID_NICK), L"小虎");
  ClickItem(sheet, kNext);
  ASSERT_TRUE(WaitFor([&] { return PageItem(sheet, IDC_CTRL_AUTOSTART); }));
  ClickItem(sheet, kNext);
  ASSERT_TRUE(WaitFor([&] { return PageItem(sheet, IDC_DONE_CONTROL_PANEL); }));
  ::PostMessageW(PageItem(sheet, IDC_DONE_CONTROL_PANEL), BM_CLICK, 0, 0);
  HWND question = WaitFor([&] { return Box(kQuestion); });
  ASSERT_TRUE(question);
  ClickItem(question, IDYES);
  ASSERT_TRUE(Ended()) << "the wizard ended";

  CSysConf stored;
  EXPECT_EQ(L"小虎", stored.nick_name);
  EXPECT_EQ(L"Tiger", stored.password);
  EXPECT_EQ(L"\"" + Path(L"Brivan.exe") + L"\" -startup", RunValue());
  std::wstring pelvinArgs = Path(L"Pelvin.exe") + L".args";
  ASSERT_TRUE(WaitFor([&] { return Exists(pelvinArgs); }));
  EXPECT_EQ("\"C:\\wiz test\\Pelvin.exe\" 0", ReadAll(pelvinArgs));
  EXPECT_FALSE(Exists(std::wstring(kDecoy) + L".args")) << "the decoy ran";
  EXPECT_FALSE(Exists(Path(L"Brivan.exe") + L".args"));
}

}  // namespace
}  // namespace wizard_test

// The child's keys in the running browser, the help key, and the update
// question a newer version brings.
#include "EndToEndTest.h"

#include <tlhelp32.h>

namespace {

const wchar_t kUpdateQuestion[] = L"您好！Tindra儿童浏览器有最新版本，是否马上进行升级？";

class KeysEndToEnd : public EndToEndTest {
 protected:
  // Opens the browser with its address box focused and in front.
  BrowserDriver OpenInFront() {
    SaveSettings();
    BrowserDriver browser = Open();
    EXPECT_TRUE(browser.Main() && browser.BringToFront()) << "the browser did not come to the front";
    return browser;
  }
  static bool Typed(const BrowserDriver& browser, const std::vector<WORD>& chord) {
    BrowserDriver::PressChord(chord);
    return browser.Sync();
  }
  static HWND ChildDialog(HWND parent) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      wchar_t className[16] = {};
      ::GetClassNameW(child, className, 16);
      if (std::wstring(className) == L"#32770") return child;
    }
    return nullptr;
  }
};

TEST_F(KeysEndToEnd, CtrlTAndCtrlF5OpenTheNewTabAddress) {
  BrowserDriver browser = OpenInFront();
  ASSERT_EQ(1, browser.PageCount());
  ASSERT_TRUE(Typed(browser, {VK_CONTROL, 'T'}));
  EXPECT_TRUE(BrowserDriver::WaitUntil([&] { return browser.PageCount() == 2; }, 3000)) << "Ctrl+T";
  EXPECT_EQ(staged_->NavHomeUrl(), browser.AddressText());
  ASSERT_TRUE(Typed(browser, {VK_CONTROL, VK_F5}));
  EXPECT_TRUE(BrowserDriver::WaitUntil([&] { return browser.PageCount() == 3; }, 3000)) << "Ctrl+F5";
  ASSERT_TRUE(Typed(browser, {'T'}));
  EXPECT_EQ(3, browser.PageCount()) << "T without Ctrl opened a tab";
}

TEST_F(KeysEndToEnd, EnterAndEscapeAnywhereCloseNothing) {
  BrowserDriver browser = OpenInFront();
  HWND main = browser.Main();
  ASSERT_TRUE(main);
  browser.HandOverUrl(L"about:blank");
  const int pages = browser.PageCount();
  ASSERT_EQ(2, pages);

  // Typed into the focused address box.
  for (WORD key : {VK_RETURN, VK_ESCAPE}) ASSERT_TRUE(Typed(browser, {key}));
  // Posted to each kind of window in the browser, as a key for it.
  HWND addressBox = ::GetDlgItem(main, BrowserDriver::kAddressBoxId);
  const std::pair<const char*, HWND> targets[] = {{"the main window", main},
                                                  {"the address box", ::GetWindow(addressBox, GW_CHILD)},
                                                  {"the Go button", ::GetDlgItem(main, 1008)},
                                                  {"the tab strip", ::GetDlgItem(main, BrowserDriver::kStripId)},
                                                  {"the page", browser.ShownPage()},
                                                  {"the control bar", ChildDialog(main)}};
  for (const auto& [name, target] : targets) {
    EXPECT_TRUE(target) << "no " << name;
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) ::PostMessageW(target, WM_KEYDOWN, key, 0);
    browser.Sync();
    ASSERT_TRUE(::IsWindow(main) && ::IsWindowVisible(main)) << "a key in " << name << " closed the browser";
    EXPECT_EQ(pages, browser.PageCount()) << "a key in " << name << " closed a tab";
  }
  EXPECT_TRUE(processes_.back()->Running());
}

TEST_F(KeysEndToEnd, F1OpensTheHelpAddressInANewTab) {
  BrowserDriver browser = OpenInFront();
  ASSERT_EQ(1, browser.PageCount());
  ASSERT_TRUE(Typed(browser, {VK_F1}));
  // The help goes through a second start of the program, which hands it over.
  EXPECT_TRUE(BrowserDriver::WaitUntil([&] { return browser.PageCount() == 2; }, 15000)) << "no help tab";
  EXPECT_EQ(staged_->HelpUrl(), browser.AddressText());
  EXPECT_EQ(1u, browser.MainWindows().size());
}

bool ProgramRuns(const wchar_t* name) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  bool found = false;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found; more = ::Process32NextW(snapshot, &entry))
    found = ::lstrcmpiW(entry.szExeFile, name) == 0;
  ::CloseHandle(snapshot);
  return found;
}

class UpdateEndToEnd : public KeysEndToEnd {
 protected:
  // The update check downloads this INI from the staged address.
  void Serve(const std::wstring& version) {
    server_.Route("/update.ini", servicetest::HttpRoute(200, {"Content-Type: text/plain"},
                                                        "[UPDATE]\r\nVersion=" + fw::ToAnsi(version, CP_UTF8) +
                                                            "\r\nUpdateUrl=" + server_.NarrowUrl("/download/") +
                                                            "\r\n"));
    settings_.auto_update = 1;
    SaveSettings();
  }
};

TEST_F(UpdateEndToEnd, ANewerVersionAsksAndNoChangesNothing) {
  Serve(L"1.0.1.0");
  BrowserDriver browser = Open();
  ASSERT_TRUE(browser.Main());
  HWND question = browser.WaitForMessageBox(15000);
  ASSERT_TRUE(question) << "no update question";
  EXPECT_EQ(kUpdateQuestion, BrowserDriver::MessageBoxText(question));
  EXPECT_EQ(1u, server_.CountRequests("/update.ini"));
  BrowserDriver::Click(question, IDNO);
  EXPECT_TRUE(BrowserDriver::WaitGone(question));
  browser.Sync();
  EXPECT_TRUE(::IsWindowVisible(browser.Main())) << "No closed the browser";
  EXPECT_EQ(1, browser.PageCount());
  EXPECT_FALSE(ProgramRuns(L"iexplore.exe")) << "No opened the update page";
  EXPECT_EQ(0u, server_.CountRequests("/download/"));
}

TEST_F(UpdateEndToEnd, TheShippedVersionAsksNothing) {
  Serve(StagedBrowserFolder::kShippedVersion);
  BrowserDriver browser = Open();
  ASSERT_TRUE(browser.Main());
  ASSERT_TRUE(BrowserDriver::WaitUntil([&] { return server_.CountRequests("/update.ini") == 1; }, 15000))
      << "the browser never checked for an update";
  // The answer arrives by a posted message; give it the time a newer one takes.
  EXPECT_FALSE(BrowserDriver::WaitUntil([&] { return browser.FindMessageBox() != nullptr; }, 1500));
}

}  // namespace

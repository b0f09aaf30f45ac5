#pragma once
// The real Brivan.exe from a staged release folder, with its data folder
// prepared through the data library and its addresses on a server of this
// process. Every browser a case starts is ended with the case.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BrowserDriver.h"
#include "BrowserProcess.h"
#include "DataFolderTest.h"
#include "SiteList.h"
#include "StagedBrowserFolder.h"
#include "StringConv.h"
#include "SysConf.h"
#include "TestHttpServer.h"
#include "TimeLog.h"

class EndToEndTest : public DataFolderTest {
 protected:
  static constexpr wchar_t kPassword[] = L"Secret";

  void SetUp() override {
    DataFolderTest::SetUp();
    settings_ = CSysConf();  // the defaults, read from the emptied folder
    server_.Route("/update.ini", servicetest::HttpRoute(200, {}, ""));
    staged_ = std::make_unique<StagedBrowserFolder>(server_.Url(""));
    ASSERT_TRUE(staged_->Ok()) << "the release folder could not be staged";
    // A quiet browser: no wizard, no questions, no update check, no sounds.
    settings_.first_run = 0;
    settings_.start_check = 0;
    settings_.auto_update = 0;
    settings_.open_btn_sound = 0;
    settings_.limited = 0;
    settings_.fullscreen_always = 0;
    settings_.exit_need_pwd = 0;
    settings_.block_key = 0;
    settings_.enable_filter = 0;
    settings_.enable_log = 0;
    settings_.password = kPassword;
  }
  void TearDown() override {
    processes_.clear();
    staged_.reset();
  }

  void SaveSettings() { ASSERT_EQ(1, settings_.Save()); }
  // Today's minutes online in tl.dat, written as a browser would.
  static void SetTodayMinutes(int minutes) {
    CTimeLog log;
    log.AddUsage(CSysConf::kMaxMinutes, 0);  // a new day starts at 0
    if (minutes) log.AddUsage(CSysConf::kMaxMinutes, minutes);
  }
  static int TodayMinutes() { return CTimeLog().TodayMinutes(); }
  static void AllowSites(std::initializer_list<const wchar_t*> sites) {
    CNavCtrlList list;
    for (const wchar_t* site : sites) list.Add(site, site);
    ASSERT_EQ(1, list.Save());
  }

  // Starts a browser with `argument`; its process ends with the case.
  BrowserProcess& Start(const std::wstring& argument = L"") {
    processes_.push_back(std::make_unique<BrowserProcess>());
    EXPECT_TRUE(processes_.back()->Start(staged_->Browser(), argument));
    return *processes_.back();
  }
  // Starts a browser and waits for its main window.
  BrowserDriver Open(const std::wstring& argument = L"") {
    BrowserDriver driver(Start(argument).Id());
    EXPECT_TRUE(driver.WaitForMainWindow()) << "no main window showed";
    return driver;
  }

  // Wine's browser control asks the policy before it navigates; the
  // stand-in page of a build without it navigates without asking.
  static bool PagesAskThePolicy(const BrowserDriver& browser) {
    wchar_t className[32] = {};
    ::GetClassNameW(browser.ShownPage(), className, 32);
    return std::wstring(className) == L"#32770";
  }
  std::wstring Address(const std::string& path) { return server_.Url(path); }

  servicetest::TestHttpServer server_;
  std::unique_ptr<StagedBrowserFolder> staged_;
  std::vector<std::unique_ptr<BrowserProcess>> processes_;
  CSysConf settings_;
};

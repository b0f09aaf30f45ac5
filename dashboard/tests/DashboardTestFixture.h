#pragma once
// Each case starts with an empty data folder and runs the control panel of a
// copy of the program folder, loaded once per test program.
#include <windows.h>

#include <functional>
#include <string>

#include "DataFolderTest.h"
#include "PanelDriver.h"
#include "PanelTestSupport.h"
#include "SysConf.h"

namespace paneltest {

namespace ids {
// Control ids of the panel and its pages.
enum : int {
  kTabGeneral = 1009, kTabSecurity = 1013, kTabKidInfo = 1016, kTabControl = 1017,
  kApply = 1021, kOK = 1022, kCancel = 1023, kLinkBrowser = 9001, kLinkWizard = 9006,
  kHomeUrl = 1035, kInetOptions = 1036, kDbClose = 1038, kHideSingleTab = 1041,
  kLimited = 1000, kUnlimited = 1002, kMinutes = 1003, kNick = 1019, kSex = 1020, kAge = 1021,
  kPassword = 1010, kPasswordAgain = 1011, kLoginNeedPwd = 1006, kFullscreen = 1047,
  kAutoStart = 1046, kDefaultBrowser = 1037,
  kTabRecommend = 1014, kRecommendAdd = 1033, kEnableFilter = 1034,
  kTabLog = 1015, kTabWords = 1044,
};
}  // namespace ids

using ShowFunction = int (*)(int);

class DashboardTest : public DataFolderTest {
 protected:
  static void SetUpTestSuite() {
    copy_ = new paneltest::ProgramCopy();
    library_ = ::LoadLibraryW(copy_->Path(L"Dashboard.dll").c_str());
    show_ = library_ ? reinterpret_cast<ShowFunction>(reinterpret_cast<void*>(::GetProcAddress(library_, "ShowDashBoard"))) : nullptr;
  }
  static void TearDownTestSuite() {
    if (library_) ::FreeLibrary(library_);
    delete copy_;
  }
  void SetUp() override {
    DataFolderTest::SetUp();
    ASSERT_TRUE(copy_->Ok());
    ASSERT_NE(nullptr, show_);
    copy_->ForgetRecords();
  }

  static void Store(const std::function<void(CSysConf&)>& change) {
    CSysConf conf;
    change(conf);
    ASSERT_EQ(1, conf.Save());
  }
  static CSysConf Stored() { return CSysConf(); }
  std::string Files() const { return ReadFile(L"conf\\sys.conf") + "|" + ReadFile(L"conf\\acc.conf"); }

  static paneltest::PanelRun Run(int mode, const std::function<void(paneltest::Driver&)>& script) {
    return paneltest::RunPanel([mode] { return show_(mode); }, script);
  }

  static inline paneltest::ProgramCopy* copy_ = nullptr;
  static inline HMODULE library_ = nullptr;
  static inline ShowFunction show_ = nullptr;
};

}  // namespace paneltest

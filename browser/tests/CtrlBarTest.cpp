#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <functional>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "CommHelper.h"
#include "CoreResources.h"
#include "CoreTestSupport.h"
#include "CtrlBar.h"
#include "DataFolderTest.h"
#include "IVolumeCtrl.h"
#include "MessageLoop.h"
#include "SkinDialogsTestSupport.h"
#include "SysConf.h"
#include "TimeLog.h"
#include "VolumeWarmUp.h"

namespace {

// The master volume as the bar drives it; SetMute toggles, as the real one does.
class FakeVolume : public IVolumeCtrl {
 public:
  int Init() override { return ++inits; }
  int UnInit() override { return ++uninits; }
  int GetMute() override { return muted ? 1 : 0; }
  int SetMute() override {
    muted = !muted;
    return ++muteCalls;
  }
  int GetVol() override { return volume; }
  int SetVol(int value) override {
    volume = value;
    return 1;
  }
  int GetMax() override { return 100; }
  int GetMin() override { return 0; }

  int inits = 0, uninits = 0, muteCalls = 0, volume = 50;
  bool muted = false;
};

std::time_t fakeNow = 0;

// The program's own loop: windows see their messages in PreTranslateMessage.
bool PumpProgramUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < end && !done()) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) fw::DispatchOne(message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return done();
}

class CtrlBarTest : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    settings_ = CSysConf();  // read again: built with the fixture, it read the earlier test's files
    std::tm noon{};
    noon.tm_year = 2026 - 1900;
    noon.tm_mon = 11;
    noon.tm_mday = 9;
    noon.tm_hour = 12;
    noon.tm_min = 30;
    noon.tm_isdst = -1;
    fakeNow = std::mktime(&noon);
    CTimeLog::SetClock([](std::tm* now) { return localtime_s(now, &fakeNow) == 0; });
    parent_ = std::make_unique<fw::Wnd>();
    parent_->Create(PopupArgs(0, 0, 960, 60));
  }
  void TearDown() override {
    bar_.reset();
    parent_.reset();
    CTimeLog::SetClock(nullptr);
  }

  CtrlBarServices Services() {
    CtrlBarServices services;
    services.makeVolume = [this] { return volume_ = new FakeVolume; };
    services.freeVolume = [this](IVolumeCtrl* volume) {
      freedVolume_ = volume;
      delete volume;
      volume_ = nullptr;
    };
    services.showDashBoard = [this](int mode) {
      modes_.push_back(mode);
      return panelResult_;
    };
    services.now = [] { return fakeNow; };
    services.makeGammaDisplay = [this] { return std::make_unique<FakeGammaDisplay>(&screen_); };
    services.programFolder = folder_ + L"prog files";
    return services;
  }

  CCtrlBar& OpenBar(CtrlBarServices services) {
    bar_ = std::make_unique<CCtrlBar>(settings_, parent_->Hwnd(), std::move(services));
    EXPECT_TRUE(bar_->CreateModeless());
    ::SetWindowPos(bar_->Hwnd(), nullptr, 0, 10, 960, 40, SWP_NOZORDER);
    ::ShowWindow(bar_->Hwnd(), SW_SHOW);
    PumpFor(100);
    return *bar_;
  }
  CCtrlBar& OpenBar() { return OpenBar(Services()); }

  std::wstring Caption(const wchar_t* item) { return bar_->Skin().GetItemCaption(item); }
  void Paint() {
    ::RedrawWindow(bar_->Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  POINT ScreenCentre(const wchar_t* item) {
    const RECT* rect = bar_->Skin().GetItemRect(item);
    POINT at{(rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2};
    ClientToScreen(bar_->Hwnd(), &at);
    return at;
  }
  POINT ScreenAt(const wchar_t* item, int x) {
    const RECT* rect = bar_->Skin().GetItemRect(item);
    POINT at{rect->left + x, (rect->top + rect->bottom) / 2};
    ClientToScreen(bar_->Hwnd(), &at);
    return at;
  }
  void Click(POINT at) {
    MouseInput(MOUSEEVENTF_MOVE, at);
    PumpFor(60);
    MouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpFor(60);
    MouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(150);
  }

  TestProfile profile_;
  CSysConf settings_;
  std::unique_ptr<fw::Wnd> parent_;
  std::unique_ptr<CCtrlBar> bar_;
  FakeVolume* volume_ = nullptr;
  IVolumeCtrl* freedVolume_ = nullptr;
  std::vector<int> modes_;
  int panelResult_ = 2;
  FakeScreen screen_;
};

TEST_F(CtrlBarTest, TimeOnlineGoesOnFromTodaysMinutesWithTheClockBeside) {
  for (int i = 0; i < 6; ++i) CTimeLog().AddUsage(100, 1);  // a new day, then 5 minutes
  CCtrlBar& bar = OpenBar();
  Paint();
  EXPECT_EQ(L"你已经上网:05分", Caption(L"timepassage"));
  EXPECT_EQ(L"12:30", Caption(L"curtime"));
  fakeNow += 3600 + 30;
  bar.Send(WM_TIMER, CCtrlBar::kClockTimer, 0);
  Paint();
  EXPECT_EQ(L"你已经上网:01时05分30秒", Caption(L"timepassage"));
  EXPECT_EQ(L"13:30", Caption(L"curtime"));

  const struct {
    long long seconds;
    const wchar_t* text;
  } parts[] = {{0, L"你已经上网:"}, {45, L"你已经上网:45秒"}, {3600, L"你已经上网:01时"},
               {3661, L"你已经上网:01时01分01秒"}, {25 * 3600, L"你已经上网:01时"}};
  for (const auto& p : parts) EXPECT_EQ(p.text, CCtrlBar::ElapsedText(p.seconds)) << p.seconds;
}

TEST_F(CtrlBarTest, AnEarlierDaysRecordStartsTheCounterAtZero) {
  for (int i = 0; i < 40; ++i) CTimeLog().AddUsage(100, 1);
  fakeNow += 24 * 3600;
  CCtrlBar& bar = OpenBar();
  bar.Send(WM_TIMER, CCtrlBar::kClockTimer, 0);
  EXPECT_EQ(L"你已经上网:", bar.TimeText());
}

TEST_F(CtrlBarTest, MessagesRotateOnTheTimerAndOnAClickOnTheMessage) {
  settings_.nick_name = L"小明";
  CCtrlBar& bar = OpenBar();
  bar.Messages().RemoveAll();
  EXPECT_EQ(L"小明:欢迎来到互联网世界!", bar.MessageText());
  bar.Send(WM_TIMER, CCtrlBar::kMessageTimer, 0);
  EXPECT_EQ(L"小明:欢迎来到互联网世界!", bar.MessageText()) << "an empty list shows the welcome";

  bar.Messages().Add(L"多喝水");
  bar.Messages().Add(L"早点睡");
  bar.Send(WM_TIMER, CCtrlBar::kMessageTimer, 0);
  const std::wstring first = bar.MessageText();
  Paint();
  EXPECT_EQ(first, Caption(L"information"));
  Click(ScreenCentre(L"information"));
  PumpUntil([&] { return bar.MessageText() != first; });
  EXPECT_NE(first, bar.MessageText()) << "a click on the message shows the next one";
  EXPECT_EQ(0u, bar.MessageText().find(L"小明:"));

  const struct {
    int interval;
    UINT seconds;
  } intervals[] = {{0, 15}, {-5, 15}, {1, 1}, {30, 30}, {86400, 86400}, {2000000000, 86400}};
  for (const auto& i : intervals) EXPECT_EQ(i.seconds, CCtrlBar::MessageIntervalSeconds(i.interval)) << i.interval;
}

TEST_F(CtrlBarTest, TheVolumeSliderMutesAtZeroOnceAndUnmutesAbove) {
  CCtrlBar& bar = OpenBar();
  ASSERT_EQ(1, volume_->inits);
  EXPECT_EQ(50, bar.VolumeSlider().GetPos());
  const RECT* track = bar.Skin().GetItemRect(L"volmue");
  const int width = track->right - track->left;
  DragWithMouse(ScreenAt(L"volmue", width / 2), ScreenAt(L"volmue", -40));
  EXPECT_EQ(0, volume_->volume);
  EXPECT_TRUE(volume_->muted);
  EXPECT_EQ(1, volume_->muteCalls);
  bar.Send(WM_SLIDER_MOVING, IDC_VOLUME_SLIDER, 0);
  bar.Send(WM_SLIDER_MOVING, IDC_VOLUME_SLIDER, 0);
  EXPECT_TRUE(volume_->muted) << "a move at 0 toggled the mute back";
  EXPECT_EQ(1, volume_->muteCalls);
  DragWithMouse(ScreenAt(L"volmue", 3), ScreenAt(L"volmue", width / 2));
  EXPECT_GT(volume_->volume, 0);
  EXPECT_FALSE(volume_->muted);
  EXPECT_EQ(2, volume_->muteCalls);

  FakeVolume* volume = volume_;
  bar_.reset();
  EXPECT_EQ(volume, freedVolume_);
}

TEST(VolumeWarmUpTest, MakesItsControlOnAThreadOfItsOwnAndFreesItThereOnceLetGo) {
  std::atomic<DWORD> madeOn{0}, freedOn{0};
  std::atomic<int> initsWhenFreed{0}, uninitsWhenFreed{0};
  {
    CVolumeWarmUp warmUp(
        [&]() -> IVolumeCtrl* {
          // Slow, as the first audio devices are.
          Sleep(200);
          madeOn = GetCurrentThreadId();
          return new FakeVolume();
        },
        [&](IVolumeCtrl* volume) {
          initsWhenFreed = static_cast<FakeVolume*>(volume)->inits;
          uninitsWhenFreed = static_cast<FakeVolume*>(volume)->uninits;
          freedOn = GetCurrentThreadId();
          delete volume;
        });
    warmUp.WaitUntilLoaded();
    EXPECT_NE(madeOn.load(), 0u) << "waited for the control";
    EXPECT_NE(madeOn.load(), GetCurrentThreadId());
    Sleep(100);
    EXPECT_EQ(freedOn.load(), 0u) << "held until let go";
    warmUp.Finish();
    for (int waited = 0; waited < 5000 && !freedOn; waited += 10) Sleep(10);
    EXPECT_EQ(freedOn.load(), madeOn.load()) << "freed on the thread that made it";
    EXPECT_EQ(initsWhenFreed.load(), 1);
    EXPECT_EQ(uninitsWhenFreed.load(), 1);
  }
  // Without a way to make one, nothing is waited for.
  CVolumeWarmUp none(nullptr, nullptr);
  none.WaitUntilLoaded();
}

TEST_F(CtrlBarTest, TheBrightnessSliderSetsTheRampAndTheLevelIsKept) {
  CCtrlBar& bar = OpenBar();
  EXPECT_EQ(128, bar.BrightnessSlider().GetRangeMin());
  EXPECT_EQ(255, bar.BrightnessSlider().GetRangeMax());
  const RECT* track = bar.Skin().GetItemRect(L"bright");
  DragWithMouse(ScreenAt(L"bright", (track->right - track->left) / 2), ScreenAt(L"bright", -60));
  EXPECT_EQ(128, bar.Brightness().GetLevel());
  EXPECT_TRUE(screen_.ramp == CGammaSlider::RampForLevel(128));
  bar_.reset();
  EXPECT_EQ(128, TestProfile::StoredLevel());
}

TEST_F(CtrlBarTest, OnTheRealScreenAndVolumeFailuresAreIgnored) {
  CtrlBarServices services = CtrlBarServices::Defaults();
  services.now = [] { return fakeNow; };
  CCtrlBar& bar = OpenBar(std::move(services));
  bar.Send(WM_SLIDER_MOVING, IDC_BRIGHTNESS_SLIDER, 180);
  bar.Send(WM_SLIDER_MOVING, IDC_VOLUME_SLIDER, 0);
  bar.Send(WM_SLIDER_MOVING, IDC_VOLUME_SLIDER, 30);
  bar.Send(WM_TIMER, CCtrlBar::kClockTimer, 0);
  EXPECT_EQ(L"你已经上网:", bar.TimeText());
  EXPECT_EQ(180, bar.Brightness().GetLevel());
  bar_.reset();
  EXPECT_EQ(180, TestProfile::StoredLevel());
}

TEST_F(CtrlBarTest, OnlyASavedPanelReloadsTheSettings) {
  CCtrlBar& bar = OpenBar();
  CSysConf stored;
  stored.Load();
  stored.nick_name = L"新名字";
  ASSERT_TRUE(stored.Save());

  panelResult_ = 2;
  Click(ScreenCentre(L"setup"));
  PumpUntil([&] { return !modes_.empty(); });
  ASSERT_EQ(std::vector<int>{0}, modes_);
  EXPECT_NE(L"新名字", settings_.nick_name) << "a cancelled panel reloaded the settings";
  panelResult_ = 1;
  Click(ScreenCentre(L"kidsctrl"));
  PumpUntil([&] { return modes_.size() > 1; });
  ASSERT_EQ((std::vector<int>{0, 1}), modes_);
  EXPECT_EQ(L"新名字", settings_.nick_name);
  (void)bar;
}

TEST_F(CtrlBarTest, F1StartsTheBrowserByItsQuotedPathWithTheHelpPage) {
  std::wstring folder = folder_ + L"prog files";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  std::wstring recorder = CCommHelper::GetExeDir(true) + L"args_recorder.exe";
  ASSERT_TRUE(CopyFileW(recorder.c_str(), (folder + L"\\Brivan.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(recorder.c_str(), (folder_ + L"prog.exe").c_str(), FALSE));
  CCtrlBar& bar = OpenBar();
  ::SetForegroundWindow(parent_->Hwnd());
  ::SetFocus(bar.Hwnd());
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  std::wstring args = folder + L"\\Brivan.exe.args";
  ASSERT_TRUE(PumpProgramUntil([&] { return GetFileAttributesW(args.c_str()) != INVALID_FILE_ATTRIBUTES; }));
  PumpFor(200);
  std::ifstream file(args.c_str(), std::ios::binary);
  std::string line((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string path(folder.begin(), folder.end());
  EXPECT_EQ("\"" + path + "\\Brivan.exe\" http://www.orlat.cn/help/browser.html", line);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder_ + L"prog.exe.args").c_str()));
}

}  // namespace

#include <gtest/gtest.h>

#include "SystemTray.h"
#include "TrayTestResources.h"
#include "WidgetTestSupport.h"

namespace {

constexpr UINT kCallback = WM_APP + 5;

// A visible top-level window stands for the program's main window and
// records the commands the tray sends it.
class SystemTrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::CreateArgs args;
    args.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    args.width = 200, args.height = 100;
    ASSERT_TRUE(main_.Create(args));
    tray_.Create(nullptr, kCallback, L"托盘", ::LoadIconW(nullptr, IDI_APPLICATION), IDR_TRAY_MENU);
    ASSERT_TRUE(tray_.Hwnd());
  }
  void Callback(UINT id, UINT mouse) { ::SendMessageW(tray_.Hwnd(), kCallback, id, mouse); }

  MessageRecorder main_{WM_COMMAND, WM_COMMAND};
  CSystemTray tray_;
};

TEST_F(SystemTrayTest, DoubleClickSendsTheDefaultMenuCommandToTheMainWindow) {
  struct Case {
    UINT item;
    bool byPosition;
    WPARAM command;
  } cases[] = {{0, true, ID_TRAY_OPEN}, {1, true, ID_TRAY_QUIT}, {555, false, 555}, {9, true, 0}};
  for (const Case& c : cases) {
    main_.received.clear();
    tray_.SetMenuDefaultItem(c.item, c.byPosition);
    Callback(IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
    ASSERT_EQ(1u, main_.received.size()) << c.item;
    EXPECT_EQ(c.command, main_.lastWParam) << c.item;
  }
  main_.received.clear();
  Callback(IDR_TRAY_MENU + 1, WM_LBUTTONDBLCLK);  // another icon's callback
  EXPECT_TRUE(main_.received.empty());
}

TEST_F(SystemTrayTest, ATargetWindowGetsTheCallbacksInsteadOfAMenu) {
  MessageRecorder target(kCallback, kCallback);
  fw::CreateArgs args;
  ASSERT_TRUE(target.Create(args));
  tray_.SetTargetWnd(target.Hwnd());
  Callback(IDR_TRAY_MENU, WM_RBUTTONUP);
  Callback(IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
  PumpMessages();
  EXPECT_EQ((std::vector<std::pair<UINT, LPARAM>>{{kCallback, WM_RBUTTONUP}, {kCallback, WM_LBUTTONDBLCLK}}),
            target.received);
  EXPECT_TRUE(main_.received.empty());
}

TEST_F(SystemTrayTest, AnimationStepsThroughTheListAndStopsOnTheCurrentIcon) {
  if (!tray_.IsEnabled()) GTEST_SKIP() << "this Wine has no notification area to add an icon to";
  fw::ScopedIcon chosen(::CopyIcon(::LoadIconW(nullptr, IDI_INFORMATION)));
  fw::ScopedIcon frames[3] = {fw::ScopedIcon(::CopyIcon(::LoadIconW(nullptr, IDI_WARNING))),
                              fw::ScopedIcon(::CopyIcon(::LoadIconW(nullptr, IDI_ERROR))),
                              fw::ScopedIcon(::CopyIcon(::LoadIconW(nullptr, IDI_QUESTION)))};
  HICON list[3] = {frames[0].Get(), frames[1].Get(), frames[2].Get()};
  ASSERT_TRUE(tray_.SetIconList(list, 3));
  ASSERT_TRUE(tray_.SetIcon(chosen.Get()));
  for (int step = 0; step < 4; ++step) {
    tray_.StepAnimation();
    EXPECT_EQ(list[step % 3], tray_.GetIcon()) << step;
  }
  ASSERT_TRUE(tray_.Animate(100, 1));
  DWORD start = ::GetTickCount();
  while (tray_.IsAnimating() && ::GetTickCount() - start < 5000) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  EXPECT_FALSE(tray_.IsAnimating());
  EXPECT_GE(::GetTickCount() - start, 1000u);
  EXPECT_EQ(chosen.Get(), tray_.GetIcon());
  tray_.GetIconPosition();  // the position search puts back the icon shown
  EXPECT_EQ(chosen.Get(), tray_.GetIcon());
}

TEST(SystemTrayLayout, IconDataHasTheXpLayoutOfThisArchitecture) {
  EXPECT_EQ(offsetof(NOTIFYICONDATAW, guidItem), static_cast<size_t>(NOTIFYICONDATAW_V2_SIZE));
#ifndef _WIN64
  EXPECT_EQ(936u, static_cast<unsigned>(NOTIFYICONDATAW_V2_SIZE));
#endif
}

}  // namespace

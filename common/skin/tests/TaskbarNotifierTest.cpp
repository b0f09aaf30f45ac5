#include <windows.h>

#include <gtest/gtest.h>


#include "SkinTestSupport.h"
#include "TaskbarNotifier.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

class Owner : public fw::Wnd {
 public:
  int closed = 0;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == CTaskbarNotifier::kClosedMessage) ++closed;
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
};

// A 120 x 40 skin, magenta in its top-left 10 x 10 corner.
HBITMAP MakeSkin() { return TwoToneBitmap(120, 40, RGB(255, 240, 120), RECT{0, 0, 10, 10}, kMagenta); }

class NotifierTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::CreateArgs args;
    args.style = WS_POPUP;
    ASSERT_TRUE(owner.Create(args));
    notifier.SetCloseButtonRect(RECT{100, 2, 118, 20});
    ASSERT_TRUE(notifier.Create(owner.Hwnd()));
    skin = MakeSkin();
    ASSERT_EQ(1, notifier.SetSkin(skin, 255, 0, 255));
    notifier.SetTextFont(L"WenQuanYi Micro Hei", 120, 1, 5);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  }
  void TearDown() override { DeleteObject(skin); }

  RECT Where() const {
    RECT rect{};
    GetWindowRect(notifier.Hwnd(), &rect);
    return rect;
  }

  Owner owner;
  CTaskbarNotifier notifier;
  HBITMAP skin = nullptr;
  RECT work{};
};

TEST_F(NotifierTest, SlidesInStaysAndSlidesOut) {
  EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(skin)) << "the caller keeps its bitmap";
  EXPECT_NE(nullptr, GetDlgItem(notifier.Hwnd(), CTaskbarNotifier::kCloseButtonId));
  notifier.ShowText(L"今天的上网时间还剩下 1 分钟", 200, 150, 100);
  EXPECT_EQ(CTaskbarNotifier::kAppearing, notifier.GetState());
  EXPECT_EQ(CTaskbarNotifier::kBottom, notifier.GetEdge());
  EXPECT_EQ(10u, notifier.AppearStepDelay()) << "40 pixels in 2-pixel steps over 200 ms";
  EXPECT_EQ(5u, notifier.HideStepDelay());
  EXPECT_TRUE(IsWindowVisible(notifier.Hwnd()));
  EXPECT_EQ(work.bottom, Where().top) << "starts just below the work area";

  ASSERT_TRUE(PumpUntil([&] { return notifier.GetState() == CTaskbarNotifier::kStaying; }));
  EXPECT_EQ(work.bottom - 40, Where().top);
  EXPECT_EQ(work.right - 120, Where().left);
  EXPECT_EQ(120, Where().right - Where().left);

  ASSERT_TRUE(PumpUntil([&] { return notifier.GetState() == CTaskbarNotifier::kHiding; }));
  ASSERT_TRUE(PumpUntil([&] { return notifier.GetState() == CTaskbarNotifier::kHidden; }));
  EXPECT_FALSE(IsWindowVisible(notifier.Hwnd()));
}

TEST_F(NotifierTest, NewTextWhileHidingComesBackAndStaysAgain) {
  notifier.ShowText(L"第一条", 20, 100, 2000);
  ASSERT_TRUE(PumpUntil([&] { return notifier.GetState() == CTaskbarNotifier::kHiding; }));
  ASSERT_TRUE(PumpUntil([&] { return Where().top > work.bottom - 40; })) << "part of the way out";
  notifier.ShowText(L"第二条", 20, 300, 20);
  EXPECT_EQ(CTaskbarNotifier::kStaying, notifier.GetState());
  EXPECT_EQ(L"第二条", notifier.GetText()) << "the newest text is the one shown";
  EXPECT_EQ(L"第二条", notifier.fw::Wnd::GetText()) << "the window text follows what is shown";
  EXPECT_EQ(work.bottom - 40, Where().top) << "fully shown again";
  PumpFor(150);
  EXPECT_EQ(CTaskbarNotifier::kStaying, notifier.GetState()) << "a full new stay";
  ASSERT_TRUE(PumpUntil([&] { return notifier.GetState() == CTaskbarNotifier::kHidden; }));
}

TEST_F(NotifierTest, NewTextWhileStayingRestartsTheStay) {
  notifier.ShowText(L"一", 10, 300, 10);
  ASSERT_TRUE(PumpUntil([&] { return notifier.GetState() == CTaskbarNotifier::kStaying; }));
  PumpFor(200);
  notifier.ShowText(L"二", 10, 300, 10);
  PumpFor(200);
  EXPECT_EQ(CTaskbarNotifier::kStaying, notifier.GetState());
  EXPECT_EQ(L"二", notifier.GetText());
}

TEST_F(NotifierTest, ClickHidesAndTellsTheOwner) {
  notifier.ShowText(L"点我", 10, 5000, 10);
  ASSERT_TRUE(PumpUntil([&] { return notifier.GetState() == CTaskbarNotifier::kStaying; }));
  SendMessageW(notifier.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(50, 20));
  EXPECT_EQ(CTaskbarNotifier::kHidden, notifier.GetState());
  EXPECT_FALSE(IsWindowVisible(notifier.Hwnd()));
  ASSERT_TRUE(PumpUntil([&] { return owner.closed == 1; }));
  PumpFor(100);
  EXPECT_FALSE(IsWindowVisible(notifier.Hwnd())) << "no timer brings it back";
}

TEST_F(NotifierTest, SkinCutsTheWindowAndBadSkinsAreRefused) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(notifier.Hwnd(), region));
  EXPECT_FALSE(PtInRegion(region, 5, 5)) << "the magenta corner is cut";
  EXPECT_TRUE(PtInRegion(region, 50, 20));
  DeleteObject(region);
  EXPECT_EQ(0, notifier.SetSkin(static_cast<HBITMAP>(nullptr)));
  EXPECT_EQ(0, notifier.SetSkin(std::wstring(L"C:\\no\\such.bmp")));
  notifier.ShowText(L"still the old skin", 10, 10, 10);
  ASSERT_TRUE(PumpUntil([&] { return notifier.GetState() == CTaskbarNotifier::kStaying; }));
  EXPECT_EQ(40, Where().bottom - Where().top);
}

}  // namespace

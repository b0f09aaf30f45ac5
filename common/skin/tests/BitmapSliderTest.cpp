#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "BitmapSlider.h"
#include "SkinTestSupport.h"

namespace {

const int kSliderId = 77;

class Parent : public fw::Wnd {
 public:
  std::vector<std::pair<UINT, LPARAM>> heard;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if ((message == WM_SLIDER_MOVING || message == WM_SLIDER_MOVED) && wParam == kSliderId)
      heard.push_back({message, lParam});
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
};

class SliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Create(PopupArgs(0, 0, 300, 100)));
    fw::CreateArgs control;
    control.className = L"STATIC";
    control.parent = parent.Hwnd();
    control.style = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
    control.x = 10;
    control.y = 10;
    control.width = 10;
    control.height = 10;
    control.idOrMenu = kSliderId;
    ASSERT_TRUE(slider.Create(control));
    channel = TwoToneBitmap(200, 20, RGB(0, 0, 255));
    thumb = FramedBitmap(20, 20, RGB(255, 0, 255), RGB(255, 0, 0), 2);
    ASSERT_TRUE(slider.SetBitmapChannel(channel, nullptr, false));
    ASSERT_TRUE(slider.SetBitmapThumb(thumb, nullptr, true, RGB(255, 0, 255)));
  }
  void TearDown() override {
    DeleteObject(channel);
    DeleteObject(thumb);
  }
  COLORREF Shown(int x, int y) {
    UpdateWindow(slider.Hwnd());
    HDC dc = GetDC(slider.Hwnd());
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(slider.Hwnd(), dc);
    return colour;
  }
  LPARAM At(int x) { return MAKELPARAM(x, 10); }

  Parent parent;
  CBitmapSlider slider;
  HBITMAP channel = nullptr, thumb = nullptr;
};

TEST_F(SliderTest, PositionsAndPixelsFollowTheChannel) {
  EXPECT_EQ(200, slider.ClientRect().right) << "the window takes the channel's size";
  EXPECT_EQ(100, slider.Pos2Pixel(50));
  EXPECT_EQ(100, slider.Pixel2Pos(190));
  EXPECT_EQ(0, slider.Pixel2Pos(10));
  slider.SetPos(150);
  EXPECT_EQ(100, slider.GetPos());
  slider.SetPos(-4);
  EXPECT_EQ(0, slider.GetPos());
  EXPECT_EQ(20, slider.SetPageSize(5));
}

TEST_F(SliderTest, EmptyRangeAndShortChannelNeverDivideByZero) {
  slider.SetRange(30, 30);
  EXPECT_EQ(30, slider.Pixel2Pos(150));
  EXPECT_EQ(10, slider.Pos2Pixel(30));
  slider.SetRange(0, 100);
  slider.SetChannelSize(20, 20);  // no longer than the thumb
  EXPECT_EQ(0, slider.Pixel2Pos(15));
  slider.SetPos(70);
  SendMessageW(slider.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(19));
  SendMessageW(slider.Hwnd(), WM_LBUTTONUP, 0, At(19));
  EXPECT_GE(slider.GetPos(), 0);
  EXPECT_LE(slider.GetPos(), 100);
}

TEST_F(SliderTest, ThumbIsDrawnOverTheChannelWithoutItsKeyColour) {
  slider.SetPos(50);
  EXPECT_EQ(RGB(255, 0, 0), Shown(100, 10)) << "the thumb's centre";
  EXPECT_EQ(RGB(0, 0, 255), Shown(91, 10)) << "the thumb's magenta edge shows the channel";
  EXPECT_EQ(RGB(0, 0, 255), Shown(30, 10));
  slider.Enable(false);
  EXPECT_EQ(RGB(0, 0, 255), Shown(100, 10)) << "a disabled slider shows no thumb";
}

TEST_F(SliderTest, DragReportsMovingThenMoved) {
  SendMessageW(slider.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(150));
  EXPECT_EQ(GetCapture(), slider.Hwnd());
  SendMessageW(slider.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(190));
  SendMessageW(slider.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(250));  // past the end
  SendMessageW(slider.Hwnd(), WM_LBUTTONUP, 0, At(250));
  PumpFor(50);
  ASSERT_EQ(3u, parent.heard.size());
  EXPECT_EQ(WM_SLIDER_MOVING, parent.heard[0].first);
  EXPECT_EQ(WM_SLIDER_MOVING, parent.heard[1].first);
  EXPECT_EQ(100, parent.heard[1].second);
  EXPECT_EQ(WM_SLIDER_MOVED, parent.heard[2].first);
  EXPECT_EQ(100, parent.heard[2].second);
  EXPECT_NE(GetCapture(), slider.Hwnd());
}

TEST_F(SliderTest, KeysMoveAndAlwaysReport) {
  slider.SetPos(0);
  SendMessageW(slider.Hwnd(), WM_KEYDOWN, VK_HOME, 0);
  SendMessageW(slider.Hwnd(), WM_KEYDOWN, VK_NEXT, 0);
  SendMessageW(slider.Hwnd(), WM_KEYDOWN, VK_LEFT, 0);
  SendMessageW(slider.Hwnd(), WM_KEYDOWN, VK_END, 0);
  PumpFor(50);
  std::vector<std::pair<UINT, LPARAM>> expected = {
      {WM_SLIDER_MOVED, 0}, {WM_SLIDER_MOVED, 20}, {WM_SLIDER_MOVED, 19}, {WM_SLIDER_MOVED, 100}};
  EXPECT_EQ(expected, parent.heard);
  EXPECT_EQ(DLGC_WANTARROWS, SendMessageW(slider.Hwnd(), WM_GETDLGCODE, 0, 0));
}

TEST_F(SliderTest, DisablingDuringADragEndsIt) {
  SendMessageW(slider.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(100));
  slider.Enable(false);
  EXPECT_NE(GetCapture(), slider.Hwnd());
  SendMessageW(slider.Hwnd(), WM_LBUTTONUP, 0, At(100));
  PumpFor(50);
  for (const auto& message : parent.heard) EXPECT_NE(WM_SLIDER_MOVED, message.first);
}

TEST_F(SliderTest, CallersKeepTheirBitmaps) {
  EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(channel));
  EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(thumb));
  EXPECT_TRUE(slider.SetBitmapThumb(nullptr));
  EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(thumb));
}

}  // namespace

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "BitmapSlider.h"
#include "SkinTestSupport.h"

namespace {

const int kSliderId = 77;
const COLORREF kKey = RGB(255, 0, 255);

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
    control.style = WS_CHILD | WS_VISIBLE;  // as a template makes it: no SS_NOTIFY
    control.x = 10;
    control.y = 10;
    control.width = 10;
    control.height = 10;
    control.idOrMenu = kSliderId;
    ASSERT_TRUE(slider.Create(control));
    // A blue band on a magenta key: the parent shows above and below it.
    channel = TwoToneBitmap(200, 20, kKey, RECT{0, 4, 200, 16}, RGB(0, 0, 255));
    thumb = FramedBitmap(20, 20, kKey, RGB(255, 0, 0), 2);
    ASSERT_TRUE(slider.SetBitmapChannel(channel, nullptr, true, kKey));
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
  void Key(WPARAM key) { SendMessageW(slider.Hwnd(), WM_KEYDOWN, key, 0); }
  void Click(int x) {
    SendMessageW(slider.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(x));
    SendMessageW(slider.Hwnd(), WM_LBUTTONUP, 0, At(x));
  }

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

TEST_F(SliderTest, RangeNotStartingAtZeroMapsBothWaysAndClampsClicksAndKeys) {
  slider.SetRange(10, 110);
  slider.SetPageSize(30);
  slider.SetPos(60);
  struct {
    int position;
    int pixel;
  } pairs[] = {{10, 10}, {35, 55}, {60, 100}, {110, 190}};
  for (const auto& pair : pairs) {
    EXPECT_EQ(pair.pixel, slider.Pos2Pixel(pair.position)) << pair.position;
    EXPECT_EQ(pair.position, slider.Pixel2Pos(pair.pixel)) << pair.pixel;
  }
  Click(0);
  EXPECT_EQ(10, slider.GetPos()) << "a click before the start is the minimum";
  Click(199);
  EXPECT_EQ(110, slider.GetPos()) << "a click at the end is the maximum";
  PumpFor(50);
  std::vector<std::pair<UINT, LPARAM>> clicks = {
      {WM_SLIDER_MOVING, 10}, {WM_SLIDER_MOVED, 10}, {WM_SLIDER_MOVING, 110}, {WM_SLIDER_MOVED, 110}};
  EXPECT_EQ(clicks, parent.heard);
  slider.SetPos(0);
  EXPECT_EQ(10, slider.GetPos());
  parent.heard.clear();
  for (WPARAM key : {VK_LEFT, VK_NEXT, VK_RIGHT, VK_END, VK_RIGHT, VK_PRIOR, VK_HOME}) Key(key);
  PumpFor(50);
  std::vector<LPARAM> moved;
  for (const auto& message : parent.heard) moved.push_back(message.second);
  EXPECT_EQ((std::vector<LPARAM>{10, 40, 41, 110, 110, 80, 10}), moved);
}

TEST_F(SliderTest, FocusRectangleStaysThroughRepaintsAndGoesWithTheFocus) {
  // The top row lies on the channel's key: what shows there is the slider's
  // see-through background and, with the focus, the rectangle's dots.
  auto topRow = [&] {
    UpdateWindow(slider.Hwnd());
    std::vector<COLORREF> row;
    HDC dc = GetDC(slider.Hwnd());
    for (int x = 30; x < 190; ++x) row.push_back(GetPixel(dc, x, 0));
    ReleaseDC(slider.Hwnd(), dc);
    return row;
  };
  slider.SetPos(0);
  std::vector<COLORREF> plain = topRow();
  SetFocus(slider.Hwnd());
  slider.Invalidate();
  std::vector<COLORREF> framed = topRow();
  EXPECT_NE(plain, framed) << "the rectangle was drawn";
  for (int repaint = 0; repaint < 3; ++repaint) {
    slider.Invalidate();
    EXPECT_EQ(framed, topRow()) << "repaint " << repaint;
  }
  SetFocus(parent.Hwnd());
  slider.Invalidate();
  EXPECT_EQ(plain, topRow()) << "no focus, no rectangle";
}

TEST_F(SliderTest, RealClickReachesASliderMadeWithoutTheNotifyStyle) {
  SetForegroundWindow(parent.Hwnd());
  POINT at{150, 10};
  ClientToScreen(slider.Hwnd(), &at);
  INPUT input[3] = {};
  for (INPUT& each : input) each.type = INPUT_MOUSE;
  input[0].mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input[0].mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, input, sizeof(INPUT));
  EXPECT_TRUE(PumpUntil([&] { return !parent.heard.empty() && parent.heard.back().first == WM_SLIDER_MOVED; }));
  EXPECT_EQ(77, slider.GetPos());
}

}  // namespace

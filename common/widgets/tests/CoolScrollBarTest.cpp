#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "CommHelper.h"
#include "CoolScrollBar.h"
#include "ScrollTestWindow.h"
#include "SkinEngine.h"
#include "SkinTestSupport.h"

namespace {

const int kArrow = GetSystemMetrics(SM_CYVSCROLL);
const int kThickness = GetSystemMetrics(SM_CXVSCROLL);

class CoolScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CoolScrollInit(window_.Hwnd()));
    window_.SetRange(SB_VERT, 0, 99, 10, 0);
    ScrollTestWindow::Requests().clear();
  }
  POINT DownArrow() const { return POINT{Rect().right - kThickness / 2, Rect().bottom - kArrow / 2}; }
  POINT Thumb() const { return POINT{Rect().right - kThickness / 2, Rect().top + kArrow + 3}; }
  RECT Rect() const { return window_.WindowRect(); }
  const std::vector<ScrollTestWindow::Request>& Requests() const { return ScrollTestWindow::Requests(); }
  bool RepeatTimerRuns() const {
    return KillTimer(window_.Hwnd(), 0xFFFD) || KillTimer(window_.Hwnd(), 0xFFFE);
  }

  ScrollTestWindow window_;
};

using Request = ScrollTestWindow::Request;

TEST_F(CoolScrollBarTest, AttachingTwiceFailsAndDetachingADetachedWindowFails) {
  EXPECT_FALSE(CoolScrollInit(window_.Hwnd()));
  EXPECT_TRUE(CoolScrollUninit(window_.Hwnd()));
  EXPECT_FALSE(CoolScrollUninit(window_.Hwnd()));
  EXPECT_FALSE(CoolScrollIsEnabled(window_.Hwnd()));
}

TEST_F(CoolScrollBarTest, AnArrowPressSendsOneLineAndItsReleaseEndsTheScroll) {
  window_.Press(DownArrow());
  EXPECT_EQ(Requests(), (std::vector<Request>{{WM_VSCROLL, SB_LINEDOWN}}));
  EXPECT_EQ(GetCapture(), window_.Hwnd());
  window_.Release(DownArrow());
  EXPECT_EQ(Requests(), (std::vector<Request>{{WM_VSCROLL, SB_LINEDOWN}, {WM_VSCROLL, SB_ENDSCROLL}}));
  EXPECT_NE(GetCapture(), window_.Hwnd());
  EXPECT_FALSE(RepeatTimerRuns());
}

TEST_F(CoolScrollBarTest, HoldingAnArrowRepeatsAfterTheFirstDelayOnlyWhileTheMouseStaysOnIt) {
  SetCursorPos(DownArrow().x, DownArrow().y);
  window_.Press(DownArrow());
  PumpMessagesFor(200);
  EXPECT_EQ(Requests().size(), 1u);
  PumpMessagesFor(400);
  const size_t held = Requests().size();
  EXPECT_GT(held, 2u);
  EXPECT_EQ(Requests().back(), (Request{WM_VSCROLL, SB_LINEDOWN}));
  SetCursorPos(Rect().left + 20, Rect().top + 20);
  PumpMessagesFor(200);
  const size_t off = Requests().size();
  PumpMessagesFor(300);
  EXPECT_EQ(Requests().size(), off);
  EXPECT_LE(off, held + 1);
  window_.Release(DownArrow());
}

TEST_F(CoolScrollBarTest, AThumbDraggedFarFromTheBarSnapsBackToItsPlace) {
  window_.Press(Thumb());
  EXPECT_TRUE(Requests().empty());
  EXPECT_TRUE(CoolScrollIsThumbTracking(window_.Hwnd()));
  window_.Move(POINT{Thumb().x, Thumb().y + 60});
  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_EQ(Requests().back(), (Request{WM_VSCROLL, SB_THUMBTRACK}));
  EXPECT_GT(ScrollTestWindow::Positions().back(), 0);
  window_.Move(POINT{Rect().right - 200, Thumb().y + 60});  // 60+ pixels left of the bar
  ASSERT_EQ(Requests().size(), 2u);
  EXPECT_EQ(ScrollTestWindow::Positions().back(), 0);
  window_.Release(POINT{Rect().right - 200, Thumb().y + 60});
  EXPECT_EQ(Requests(), (std::vector<Request>{{WM_VSCROLL, SB_THUMBTRACK},
                                              {WM_VSCROLL, SB_THUMBTRACK},
                                              {WM_VSCROLL, SB_THUMBPOSITION},
                                              {WM_VSCROLL, SB_ENDSCROLL}}));
  EXPECT_FALSE(CoolScrollIsThumbTracking(window_.Hwnd()));
}

TEST_F(CoolScrollBarTest, LosingTheCaptureMidPressEndsThePress) {
  HWND other = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  struct {
    const char* how;
    bool thumb;
    void (*lose)(HWND window, HWND other);
  } cases[] = {
      {"cancel mode on an arrow", false, [](HWND w, HWND) { SendMessageW(w, WM_CANCELMODE, 0, 0); }},
      {"capture taken on an arrow", false, [](HWND, HWND o) { SetCapture(o); }},
      {"cancel mode on the thumb", true, [](HWND w, HWND) { SendMessageW(w, WM_CANCELMODE, 0, 0); }},
  };
  for (const auto& c : cases) {
    ScrollTestWindow::Requests().clear();
    window_.Press(c.thumb ? Thumb() : DownArrow());
    ASSERT_EQ(GetCapture(), window_.Hwnd()) << c.how;
    c.lose(window_.Hwnd(), other);
    EXPECT_NE(GetCapture(), window_.Hwnd()) << c.how;
    EXPECT_FALSE(RepeatTimerRuns()) << c.how;
    EXPECT_FALSE(CoolScrollIsThumbTracking(window_.Hwnd())) << c.how;
    ASSERT_FALSE(Requests().empty()) << c.how;
    EXPECT_EQ(Requests().back(), (Request{WM_VSCROLL, SB_ENDSCROLL})) << c.how;
    const size_t count = Requests().size();
    PumpMessagesFor(400);
    EXPECT_EQ(Requests().size(), count) << c.how;
    ReleaseCapture();
  }
  DestroyWindow(other);
}

TEST_F(CoolScrollBarTest, APressOnADisabledArrowDoesNothingAndTakesNoCapture) {
  CoolScrollEnableBar(window_.Hwnd(), SB_VERT, ESB_DISABLE_RTDN);
  window_.Press(DownArrow());
  EXPECT_TRUE(Requests().empty());
  EXPECT_NE(GetCapture(), window_.Hwnd());
}

TEST_F(CoolScrollBarTest, ANothingToScrollRangeHidesTheBarUnlessItIsKept) {
  window_.SetRange(SB_VERT, 0, 9, 10, 0);
  EXPECT_FALSE(GetWindowLongPtrW(window_.Hwnd(), GWL_STYLE) & WS_VSCROLL);
  RECT client{};
  GetClientRect(window_.Hwnd(), &client);
  EXPECT_EQ(client.right, 200);
  SCROLLINFO keep{sizeof(keep), SIF_ALL | SIF_DISABLENOSCROLL, 0, 9, 10, 0, 0};
  CoolScrollSetInfo(window_.Hwnd(), SB_VERT, &keep, TRUE);
  EXPECT_TRUE(GetWindowLongPtrW(window_.Hwnd(), GWL_STYLE) & WS_VSCROLL);
  GetClientRect(window_.Hwnd(), &client);
  EXPECT_EQ(client.right, 200 - kThickness);

  // Kept by the thumb-always flag: a thumb over the whole channel but its
  // last pixel, and arrows that still scroll.
  const COLORREF thumb = RGB(0, 0, 200);
  CoolScrollSetStyle(window_.Hwnd(), SB_VERT, kCsbFlat);
  CoolScrollSetColor(window_.Hwnd(), SB_VERT, kClrThumb, thumb);
  CoolScrollSetThumbAlways(window_.Hwnd(), SB_VERT, TRUE);
  window_.SetRange(SB_VERT, 0, 9, 10, 0);
  EXPECT_TRUE(GetWindowLongPtrW(window_.Hwnd(), GWL_STYLE) & WS_VSCROLL);
  DibCanvas canvas(200, 200, RGB(1, 2, 3));
  SendMessageW(window_.Hwnd(), WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_NONCLIENT);
  const int x = 200 - kThickness / 2;
  for (int y : {kArrow + 3, 100, 200 - kArrow - 3}) EXPECT_EQ(canvas.Pixel(x, y), thumb) << y;
  EXPECT_EQ(canvas.Pixel(x, 200 - kArrow - 1), GetSysColor(COLOR_SCROLLBAR));
  ScrollTestWindow::Requests().clear();
  window_.Press(DownArrow());
  window_.Release(DownArrow());
  EXPECT_EQ(Requests(), (std::vector<Request>{{WM_VSCROLL, SB_LINEDOWN}, {WM_VSCROLL, SB_ENDSCROLL}}));
}

// The same calls on a window without the engine reach the system's own
// functions: the engine answers, and keeps page and position, as they do.
TEST_F(CoolScrollBarTest, ScrollInfoStaysInsideItsRangeAndIsAnsweredAsTheSystemDoes) {
  ScrollTestWindow plain(WS_VSCROLL);
  struct Step {
    UINT mask;
    int minPos, maxPos;
    UINT page;
    int pos;
  } steps[] = {
      {SIF_ALL, 0, 99, 10, 91},
      {SIF_RANGE, 0, 2, 0, 0},  // rows gone while scrolled to the bottom
      {SIF_ALL, 0, 99, 10, 91},
      {SIF_PAGE, 0, 0, 50, 0},
      {SIF_RANGE, 10, 5, 0, 0},  // a minimum above the maximum
      {SIF_ALL, -50, 50, 10, -100},
      {SIF_POS, 0, 0, 0, 1000},
      {0, 0, 0, 0, 0},
      {SIF_DISABLENOSCROLL | SIF_POS, 0, 0, 0, 3},
      {SIF_POS | 0x100, 0, 0, 0, 7},  // a mask bit the system does not know
      {SIF_RANGE | SIF_PAGE, 0, 0, 0, 0},
      {SIF_ALL, 0, 5, 0, 7},
  };
  auto read = [](HWND hwnd, bool engine) {
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    if (engine) CoolScrollGetInfo(hwnd, SB_VERT, &info);
    else GetScrollInfo(hwnd, SB_VERT, &info);
    return std::vector<long long>{info.nMin, info.nMax, info.nPage, info.nPos};
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::Message() << std::hex << step.mask << std::dec << " " << step.minPos << ".." << step.maxPos
                                    << " page " << step.page << " pos " << step.pos);
    const SCROLLINFO info{sizeof(info), step.mask, step.minPos, step.maxPos, step.page, step.pos, 0};
    EXPECT_EQ(CoolScrollSetInfo(window_.Hwnd(), SB_VERT, &info, TRUE), SetScrollInfo(plain.Hwnd(), SB_VERT, &info, TRUE));
    EXPECT_EQ(read(window_.Hwnd(), true), read(plain.Hwnd(), false));
  }
  EXPECT_EQ(CoolScrollSetPos(window_.Hwnd(), SB_VERT, 500, TRUE), SetScrollPos(plain.Hwnd(), SB_VERT, 500, TRUE));
  EXPECT_EQ(CoolScrollSetRange(window_.Hwnd(), SB_VERT, 0, 3, TRUE), SetScrollRange(plain.Hwnd(), SB_VERT, 0, 3, TRUE));
  EXPECT_EQ(read(window_.Hwnd(), true), read(plain.Hwnd(), false));
}

// A caller's record may be the older one without nTrackPos (24 bytes): what
// lies past it is never written, and sizes the system refuses are refused.
TEST_F(CoolScrollBarTest, ScrollInfoRecordsAreReadAndWrittenOnlyAsFarAsTheyReach) {
  ScrollTestWindow plain(WS_VSCROLL);
  window_.SetRange(SB_VERT, 0, 99, 10, 40);
  const SCROLLINFO start{sizeof(start), SIF_ALL, 0, 99, 10, 40, 0};
  SetScrollInfo(plain.Hwnd(), SB_VERT, &start, TRUE);
  struct Guarded {
    SCROLLINFO info;
    DWORD beyond[3];
  };
  for (UINT size : {0u, 20u, 24u, 28u, 32u}) {
    for (UINT mask : {UINT{SIF_ALL}, UINT{SIF_TRACKPOS}, UINT{SIF_ALL | 0x100}, UINT{SIF_DISABLENOSCROLL}}) {
      SCOPED_TRACE(testing::Message() << "size " << size << " mask " << std::hex << mask);
      Guarded engine, system;
      std::memset(&engine, 0xCC, sizeof(engine));
      engine.info.cbSize = size;
      engine.info.fMask = mask;
      system = engine;
      EXPECT_EQ(CoolScrollGetInfo(window_.Hwnd(), SB_VERT, &engine.info), GetScrollInfo(plain.Hwnd(), SB_VERT, &system.info));
      EXPECT_EQ(0, std::memcmp(&engine, &system, sizeof(engine)));
    }
  }
  for (UINT size : {20u, 24u, 32u}) {
    SCOPED_TRACE(size);
    const SCROLLINFO info{size, SIF_POS, 0, 0, 0, static_cast<int>(size), 0};
    EXPECT_EQ(CoolScrollSetInfo(window_.Hwnd(), SB_VERT, &info, TRUE), SetScrollInfo(plain.Hwnd(), SB_VERT, &info, TRUE));
    EXPECT_EQ(CoolScrollGetPos(window_.Hwnd(), SB_VERT), GetScrollPos(plain.Hwnd(), SB_VERT));
  }
}

TEST_F(CoolScrollBarTest, ButtonsAreInsertedWithinLimitsAndReadBack) {
  CoolScrollButton button{};
  button.mask = kSbbmId | kSbbmPlacement | kSbbmKind;
  button.commandId = 7;
  button.placement = kSbbpAfter;
  button.kindStyle = kSbbToggle | kSbbsResizable;
  ASSERT_TRUE(CoolScrollInsertButton(window_.Hwnd(), SB_VERT, -1, &button));
  CoolScrollButton read{};
  ASSERT_TRUE(CoolScrollGetButton(window_.Hwnd(), SB_VERT, 7, 1, &read));
  EXPECT_EQ(read.kindStyle, static_cast<UINT>(kSbbToggle));  // resizable only before the arrows
  EXPECT_EQ(read.size, -1);
  EXPECT_FALSE(CoolScrollGetButton(window_.Hwnd(), SB_VERT, 8, 1, &read));
  EXPECT_FALSE(CoolScrollInsertButton(window_.Hwnd(), SB_VERT, 5, &button));
  for (int i = 1; i < kCoolMaxButtons; ++i) ASSERT_TRUE(CoolScrollInsertButton(window_.Hwnd(), SB_VERT, 0, &button));
  EXPECT_FALSE(CoolScrollInsertButton(window_.Hwnd(), SB_VERT, -1, &button));
  EXPECT_TRUE(CoolScrollRemoveButton(window_.Hwnd(), SB_VERT, 0, 0));
  EXPECT_FALSE(CoolScrollRemoveButton(window_.Hwnd(), SB_VERT, 0, 2));
}

CoolScrollButton Button(UINT kindStyle, int commandId, int placement, int size) {
  CoolScrollButton button{};
  button.mask = kSbbmKind | kSbbmId | kSbbmPlacement | kSbbmSize;
  button.kindStyle = kindStyle;
  button.commandId = commandId;
  button.placement = placement;
  button.size = size;
  return button;
}

TEST_F(CoolScrollBarTest, AnInsertedButtonSendsItsCommandOnlyWhenReleasedOverIt) {
  const CoolScrollButton push = Button(kSbbPush, 42, kSbbpBefore, 20);
  const CoolScrollButton toggle = Button(kSbbToggle, 43, kSbbpAfter, 20);
  ASSERT_TRUE(CoolScrollInsertButton(window_.Hwnd(), SB_VERT, -1, &push));
  ASSERT_TRUE(CoolScrollInsertButton(window_.Hwnd(), SB_VERT, -1, &toggle));
  CoolScrollRedrawFrame(window_.Hwnd(), FALSE);  // the groups are laid out as they are painted
  const int x = Rect().right - kThickness / 2;
  const POINT onPush{x, Rect().top + 10};  // before the up arrow
  const POINT onToggle{x, Rect().bottom - 10};  // after the down arrow
  const POINT away{x, Rect().top + 100};
  auto click = [this](POINT press, POINT release) {
    window_.Press(press);
    window_.Move(release);
    window_.Release(release);
  };
  auto toggled = [this] {
    CoolScrollButton read{};
    CoolScrollGetButton(window_.Hwnd(), SB_VERT, 1, 0, &read);
    return read.state != 0;
  };

  click(onPush, onPush);
  EXPECT_EQ(ScrollTestWindow::Commands(), std::vector<int>{42});
  EXPECT_TRUE(Requests().empty()) << "a button is no part of the bar's own";
  click(onPush, away);
  click(onToggle, away);
  EXPECT_EQ(ScrollTestWindow::Commands(), std::vector<int>{42});
  EXPECT_FALSE(toggled());
  click(onToggle, onToggle);
  EXPECT_EQ(ScrollTestWindow::Commands(), (std::vector<int>{42, 43}));
  EXPECT_TRUE(toggled());
  EXPECT_NE(GetCapture(), window_.Hwnd());
}

TEST_F(CoolScrollBarTest, AResizableButtonThatMustShrinkStopsAtItsMinimum) {
  CoolScrollButton resizable = Button(kSbbPush | kSbbsResizable, 1, kSbbpBefore, 40);
  resizable.mask |= kSbbmMinMax;
  resizable.minSize = 12;
  resizable.maxSize = 100;
  ASSERT_TRUE(CoolScrollInsertButton(window_.Hwnd(), SB_VERT, -1, &resizable));
  // Laid out on a 200-pixel bar beside a button of 170: it would need -20.
  CoolScrollButton wide = Button(kSbbPush, 2, kSbbpBefore, 170);
  ASSERT_TRUE(CoolScrollInsertButton(window_.Hwnd(), SB_VERT, -1, &wide));
  CoolScrollRedrawFrame(window_.Hwnd(), TRUE);
  CoolScrollButton read{};
  CoolScrollGetButton(window_.Hwnd(), SB_VERT, 0, 0, &read);
  EXPECT_EQ(read.size, 12);

  // Dragged by the button after it to above the bar's start.
  wide.mask = kSbbmSize;
  wide.size = 20;
  ASSERT_TRUE(CoolScrollModifyButton(window_.Hwnd(), SB_VERT, 1, 0, &wide));
  CoolScrollRedrawFrame(window_.Hwnd(), TRUE);
  CoolScrollRedrawFrame(window_.Hwnd(), FALSE);
  const int x = Rect().right - kThickness / 2;
  window_.Press(POINT{x, Rect().top + 40 + 10});
  window_.Move(POINT{x, Rect().top - 30});
  window_.Release(POINT{x, Rect().top - 30});
  CoolScrollGetButton(window_.Hwnd(), SB_VERT, 0, 0, &read);
  EXPECT_EQ(read.size, 12);
}

TEST_F(CoolScrollBarTest, AHotTrackedBarLightsThePartUnderTheMouseUntilItLeaves) {
  const COLORREF normal = RGB(0, 0, 200), hot = RGB(200, 0, 0);
  CoolScrollSetColor(window_.Hwnd(), SB_VERT, kClrThumb, normal);
  CoolScrollSetColor(window_.Hwnd(), SB_VERT, kClrThumbHot, hot);
  const POINT thumb = Thumb();
  const POINT away{Rect().left + 20, Rect().top + 20};
  // The system's non-client move onto the bar; its ticks follow.
  auto hover = [&] {
    SetCursorPos(thumb.x, thumb.y);
    SendMessageW(window_.Hwnd(), WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y));
  };
  // What the window shows, not what it would print: the ticks must repaint.
  auto thumbColour = [&] {
    HDC dc = GetWindowDC(window_.Hwnd());
    const COLORREF shown = GetPixel(dc, 200 - kThickness / 2, kArrow + 5);
    ReleaseDC(window_.Hwnd(), dc);
    return shown;
  };
  auto shows = [&](COLORREF colour) { return PumpUntil([&] { return thumbColour() == colour; }, 2000); };

  CoolScrollSetStyle(window_.Hwnd(), SB_VERT, kCsbHotTracked);
  hover();
  EXPECT_TRUE(shows(hot));
  SetCursorPos(away.x, away.y);
  EXPECT_TRUE(shows(normal));
  EXPECT_FALSE(KillTimer(window_.Hwnd(), static_cast<UINT_PTR>(-14))) << "its 20 ms timer stopped with it";

  CoolScrollSetStyle(window_.Hwnd(), SB_VERT, kCsbFlat);  // tracked, but never drawn hot
  hover();
  PumpFor(150);
  EXPECT_EQ(thumbColour(), normal);
}

TEST_F(CoolScrollBarTest, SizesOutsideTheirLimitsAreRefused) {
  for (int bad : {0, -9, 257}) {
    EXPECT_FALSE(CoolScrollSetSize(window_.Hwnd(), SB_VERT, bad, 20)) << bad;
    EXPECT_FALSE(CoolScrollSetSize(window_.Hwnd(), SB_VERT, 20, bad)) << bad;
  }
  EXPECT_TRUE(CoolScrollSetSize(window_.Hwnd(), SB_VERT, 20, 24));
  RECT client{};
  GetClientRect(window_.Hwnd(), &client);
  EXPECT_EQ(client.right, 200 - 24);
}

COLORREF SkinColour(const wchar_t* id, COLORREF tagSkinItem::*field) {
  CSkinEngine skin;
  skin.LoadSkin(GetModuleDir(nullptr) + L"\\theme\\default\\content_skin.xml", L"scrollbar", nullptr);
  const tagSkinItem* item = skin.FindItem(id);
  return item ? item->*field : CLR_INVALID;
}

bool AnyPixel(const DibCanvas& canvas, RECT area, COLORREF colour) {
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (canvas.Pixel(x, y) == colour) return true;
  return false;
}

TEST_F(CoolScrollBarTest, PrintedBarsShowTheSkinColoursAndNoSystemBar) {
  CoolScrollSetStyle(window_.Hwnd(), SB_BOTH, kCsbFlat);
  RECT client{};
  GetClientRect(window_.Hwnd(), &client);
  EXPECT_EQ(client.right, 200 - kThickness);  // room for one bar only

  DibCanvas canvas(200, 200, RGB(1, 2, 3));
  SendMessageW(window_.Hwnd(), WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_NONCLIENT | PRF_CLIENT);
  const int x = 200 - kThickness;
  const RECT upArrow{x, 0, 200, kArrow};
  EXPECT_TRUE(AnyPixel(canvas, upArrow, SkinColour(L"btn", &tagSkinItem::normalclr)));
  EXPECT_TRUE(AnyPixel(canvas, upArrow, SkinColour(L"arrow", &tagSkinItem::normalclr)));
  EXPECT_EQ(canvas.Pixel(200 - kThickness / 2, kArrow + 5), SkinColour(L"thumb", &tagSkinItem::normalclr));
  // The channel below the thumb holds only the skin's two pattern colours.
  const COLORREF fore = SkinColour(L"slot", &tagSkinItem::normalclr);
  const COLORREF back = SkinColour(L"slot", &tagSkinItem::colorbg);
  for (int y = 100; y < 110; ++y) {
    for (int px = x; px < 200; ++px) {
      const COLORREF pixel = canvas.Pixel(px, y);
      EXPECT_TRUE(pixel == fore || pixel == back) << px << "," << y << " " << std::hex << pixel;
    }
  }
}

}  // namespace

namespace {

struct DrawNote {
  DWORD stage;
  UINT_PTR item;
  int bar;
};

std::vector<DrawNote>& DrawNotes() {
  static std::vector<DrawNote> notes;
  return notes;
}

// A parent that draws the bars itself: it takes over at the pre-paint stage.
LRESULT CALLBACK CustomDrawingParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == kNmCoolSbCustomDraw) {
    const auto* draw = reinterpret_cast<CoolScrollCustomDraw*>(lParam);
    DrawNotes().push_back(DrawNote{draw->drawStage, draw->item, draw->bar});
    return draw->drawStage == CDDS_PREPAINT ? CDRF_SKIPDEFAULT : 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(CoolScrollCustomDraw, AParentThatSkipsTheDefaultGetsOneItemNotificationPerPart) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = CustomDrawingParent;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"CustomDrawingParent";
  RegisterClassW(&wc);
  HWND parent = CreateWindowW(wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 300, nullptr, nullptr,
                              wc.hInstance, nullptr);
  HWND child = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 10, 10, 150, 200, parent, nullptr,
                             nullptr, nullptr);
  ASSERT_TRUE(CoolScrollInit(child));
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 99, 10, 40, 0};
  CoolScrollSetInfo(child, SB_VERT, &info, FALSE);
  DrawNotes().clear();
  DibCanvas canvas(150, 200);
  SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_NONCLIENT);
  std::vector<std::pair<DWORD, UINT_PTR>> seen;
  for (const DrawNote& note : DrawNotes()) {
    EXPECT_EQ(note.bar, SB_VERT);
    seen.emplace_back(note.stage, note.item);
  }
  const std::vector<std::pair<DWORD, UINT_PTR>> expected{
      {CDDS_PREPAINT, 0},           {kCoolItemPrePaint, kHtLineUp},   {kCoolItemPrePaint, kHtPageUp},
      {kCoolItemPrePaint, kHtPageDown}, {kCoolItemPrePaint, kHtThumb}, {kCoolItemPrePaint, kHtLineDown},
      {CDDS_POSTPAINT, 0}};
  EXPECT_EQ(seen, expected);
  DestroyWindow(parent);
}

}  // namespace

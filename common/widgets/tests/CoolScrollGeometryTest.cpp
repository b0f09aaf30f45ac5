#include <gtest/gtest.h>

#include "CoolScrollGeometry.h"

namespace {

SCROLLINFO Info(int minPos, int maxPos, UINT page, int pos) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, minPos, maxPos, page, pos, 0};
  return info;
}

TEST(CoolScrollGeometry, ThumbLengthAndOffsetFollowPageAndPosition) {
  struct {
    SCROLLINFO info;
    int width, arrow, minThumb;
    int length, offset;
  } cases[] = {
      // channel 168: page 10 of 100 rows, position 30 of 90
      {Info(0, 99, 10, 30), 200, 16, 6, 17, 50},
      {Info(0, 99, 10, 90), 200, 16, 6, 17, 151},
      // page 0: one arrow length, offset by one-row pages
      {Info(0, 99, 0, 99), 200, 16, 6, 16, 152},
      // a tiny page is raised to the minimum thumb
      {Info(0, 99999, 1, 0), 200, 16, 6, 6, 0},
      // a range past 0x7FFFFFFE has no thumb
      {Info(-2, 0x7FFFFFFF, 10, 5), 200, 16, 6, 0, 0},
      // negative minimum
      {Info(-50, 49, 10, -50), 200, 16, 6, 17, 0},
  };
  for (const auto& c : cases) {
    const CoolThumb thumb = CoolThumbGeometry(100, c.width, c.arrow, c.info, c.minThumb);
    EXPECT_EQ(thumb.length, c.length) << c.info.nMax << " " << c.info.nPos;
    EXPECT_EQ(thumb.offset, c.offset) << c.info.nMax << " " << c.info.nPos;
    EXPECT_EQ(thumb.start, 100 + c.arrow + c.offset);
  }
}

TEST(CoolScrollGeometry, PageAndPositionAreClampedToTheRange) {
  EXPECT_EQ(CoolClampPage(500, 0, 99), 100u);
  EXPECT_EQ(CoolClampPage(20, 0, 99), 20u);
  EXPECT_EQ(CoolClampPage(500, -10, -1), 10u);
  const SCROLLINFO negative = Info(-50, 50, 10, 0);
  EXPECT_EQ(CoolClampPos(-100, negative), -50);
  EXPECT_EQ(CoolClampPos(100, negative), 41);
  EXPECT_EQ(CoolClampPos(0, negative), 0);
  // page 0 keeps the whole range
  EXPECT_EQ(CoolClampPos(100, Info(0, 50, 0, 0)), 50);
  // no wrap at the limits of int
  EXPECT_EQ(CoolClampPos(0x7FFFFFFF, Info(-0x7FFFFFFF, 0x7FFFFFFF, 0, 0)), 0x7FFFFFFF);
}

TEST(CoolScrollGeometry, ScrollableNeedsARangeLongerThanThePage) {
  EXPECT_TRUE(CoolIsScrollable(Info(0, 99, 10, 0)));
  EXPECT_FALSE(CoolIsScrollable(Info(0, 99, 100, 0)));
  EXPECT_FALSE(CoolIsScrollable(Info(0, 0, 0, 0)));
  EXPECT_FALSE(CoolIsScrollable(Info(5, 5, 0, 0)));
}

TEST(CoolScrollGeometry, HitTestFindsEachPartAlongTheBar) {
  CoolScrollBarState bar{};
  bar.barType = SB_HORZ;
  bar.arrowLength = 16;
  bar.minThumb = 6;
  bar.info = Info(0, 99, 10, 30);  // thumb 17 long at 100 + 16 + 50
  const RECT rect{100, 0, 300, 16};
  struct {
    int x, y, part;
  } cases[] = {{100, 5, kHtLineUp},   {115, 5, kHtLineUp},   {116, 5, kHtPageUp}, {165, 5, kHtPageUp},
               {166, 5, kHtThumb},    {182, 5, kHtThumb},    {183, 5, kHtPageDown}, {283, 5, kHtPageDown},
               {284, 5, kHtLineDown}, {299, 5, kHtLineDown}, {300, 5, kHtNone},   {150, 16, kHtNone},
               {150, -1, kHtNone}};
  for (const auto& c : cases) EXPECT_EQ(CoolHitTest(bar, rect, POINT{c.x, c.y}), c.part) << c.x << "," << c.y;
}

TEST(CoolScrollGeometry, ABarShorterThanItsArrowsSplitsItInHalves) {
  CoolScrollBarState bar{};
  bar.arrowLength = 16;
  bar.info = Info(0, 99, 10, 0);
  const RECT rect{0, 0, 25, 16};
  EXPECT_EQ(CoolHitTest(bar, rect, POINT{11, 3}), kHtLineUp);
  EXPECT_EQ(CoolHitTest(bar, rect, POINT{12, 3}), kHtNone);  // the odd middle pixel
  EXPECT_EQ(CoolHitTest(bar, rect, POINT{13, 3}), kHtLineDown);
}

TEST(CoolScrollGeometry, ButtonGroupsTakeTheirPixelsBeforeTheArrows) {
  CoolScrollBarState bar{};
  bar.arrowLength = 16;
  bar.info = Info(0, 99, 10, 0);
  bar.buttonCount = 3;
  const int placements[] = {kSbbpBefore, kSbbpAfter, kSbbpBefore};
  const int sizes[] = {20, 10, 30};
  for (int i = 0; i < 3; ++i) {
    bar.buttons[i] = CoolScrollButton{};
    bar.buttons[i].placement = placements[i];
    bar.buttons[i].kindStyle = kSbbPush;
    bar.buttons[i].size = sizes[i];
  }
  bar.beforeSize = CoolGroupSize(bar, kSbbpBefore);
  bar.afterSize = CoolGroupSize(bar, kSbbpAfter);
  bar.beforeShown = bar.afterShown = TRUE;
  const RECT rect{0, 0, 300, 16};
  RECT button{};
  EXPECT_EQ(CoolButtonAt(bar, rect, POINT{25, 3}, &button), 2);
  EXPECT_EQ(button.left, 20);
  EXPECT_EQ(button.right, 50);
  EXPECT_EQ(CoolButtonAt(bar, rect, POINT{295, 3}, nullptr), 1);
  EXPECT_EQ(CoolHitTest(bar, rect, POINT{49, 3}), kHtButton);
  EXPECT_EQ(CoolHitTest(bar, rect, POINT{50, 3}), kHtLineUp);
  EXPECT_EQ(CoolHitTest(bar, rect, POINT{289, 3}), kHtLineDown);
}

}  // namespace

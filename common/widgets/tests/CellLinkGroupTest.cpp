#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CellLinkGroup.h"
#include "SkinTestSupport.h"

namespace {

const COLORREF kRed = RGB(220, 0, 0);
const COLORREF kBlue = RGB(0, 0, 220);
const COLORREF kGrey = RGB(120, 120, 120);

CCellLinkGroup::SharedFont MakeFont(int height, bool underline) {
  return std::make_shared<fw::ScopedFont>(
      CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, underline, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
}

int Extent(HFONT font, const std::wstring& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

class CellLinkGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner.Create(PopupArgs(10, 10, 200, 40));
    ASSERT_TRUE(group.SetOwnerWindow(owner.Hwnd()));
    group.SetFonts(normal, underlined);
    group.SetSpacing(7);
    group.SetLineHeight(20);
  }

  fw::Wnd owner;
  CCellLinkGroup::SharedFont normal = MakeFont(22, false);
  CCellLinkGroup::SharedFont underlined = MakeFont(22, true);
  CCellLinkGroup group;
};

// The owner's DC holds the system font; links are measured in their own.
TEST_F(CellLinkGroupTest, LinkWidthsAreTheTextExtentInTheLinksFont) {
  ASSERT_TRUE(group.AddLink(1, L"编辑"));
  ASSERT_TRUE(group.AddLink(2, L"Delete all"));
  EXPECT_FALSE(group.AddLink(1, L"other"));
  // No owner, no DC to measure in; nor is "no window" a new owner.
  CCellLinkGroup ownerless;
  EXPECT_FALSE(ownerless.AddLink(1, L"编辑"));
  EXPECT_EQ(ownerless.GetTotalWidth(), 0);
  EXPECT_FALSE(group.SetOwnerWindow(nullptr));
  EXPECT_EQ(group.OwnerWindow(), owner.Hwnd());
  std::wstring text;
  ASSERT_TRUE(group.GetLinkText(1, text));
  EXPECT_EQ(text, L"编辑");

  const int first = Extent(normal->Get(), L"编辑");
  const int second = Extent(normal->Get(), L"Delete all");
  ASSERT_NE(first, Extent(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), L"编辑"));
  EXPECT_EQ(group.GetTotalWidth(), first + 7 + second);

  ASSERT_TRUE(group.SetLinkText(2, L"Remove"));
  ASSERT_TRUE(group.SetLinkUnderline(2, true));
  EXPECT_EQ(group.GetTotalWidth(), first + 7 + Extent(underlined->Get(), L"Remove"));

  // Without fonts the system font measures.
  group.SetFonts(nullptr, nullptr);
  EXPECT_EQ(group.GetTotalWidth(), Extent(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), L"编辑") + 7 +
                                       Extent(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), L"Remove"));

  EXPECT_TRUE(group.RemoveLink(1));
  EXPECT_FALSE(group.RemoveLink(1));
  EXPECT_FALSE(group.SetLinkText(1, L"x"));
  EXPECT_FALSE(group.SetLinkUnderline(1, true));
  EXPECT_FALSE(group.EnableLink(1, false));
  EXPECT_FALSE(group.GetLinkTooltip(1, text));
}

TEST_F(CellLinkGroupTest, PointsHitLinksButNotTheSpacingAndOnlyEnabledLinksAnswer) {
  ASSERT_TRUE(group.AddLink(1, L"Open"));
  ASSERT_TRUE(group.AddLink(2, L"Close"));
  ASSERT_TRUE(group.EnableLink(2, false));
  const int w1 = Extent(normal->Get(), L"Open");
  struct Case {
    int x, y;
    int over;     // id under the point, 0 for none
    int enabled;  // id LinkIdAt answers, 0 for none
  } cases[] = {
      {0, 0, 1, 1},       {w1 - 1, 19, 1, 1}, {w1, 5, 0, 0},      {w1 + 6, 5, 0, 0},
      {w1 + 7, 5, 2, 0},  {-1, 5, 0, 0},      {3, -1, 0, 0},      {3, 20, 0, 0},
      {w1 + 7 + Extent(normal->Get(), L"Close"), 5, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    const auto* link = group.LinkFromPoint(c.x, c.y);
    EXPECT_EQ(link ? link->id : 0, c.over);
    EXPECT_EQ(group.IsOverLink(c.x, c.y), c.over != 0);
    int id = 0;
    EXPECT_EQ(group.LinkIdAt(c.x, c.y, id), c.enabled != 0);
    EXPECT_EQ(id, c.enabled);
    EXPECT_EQ(group.SetCursorAt(c.x, c.y), c.enabled != 0);
  }
}

TEST_F(CellLinkGroupTest, DrawsInTheClipRectangleAndDisabledLinksWithoutUnderline) {
  ASSERT_TRUE(group.AddLink(1, L"Move"));
  ASSERT_TRUE(group.AddLink(2, L"Copy"));
  group.SetLinkColor(1, kRed);
  group.SetLinkColor(2, kBlue);
  group.SetLinkUnderline(2, true);
  const int w1 = Extent(normal->Get(), L"Move");

  // Cut inside the first link: nothing right of the edge, no second link.
  DibCanvas cut(200, 40, RGB(255, 255, 255));
  EXPECT_EQ(group.Draw(cut.Dc(), 10, 5, 0, 0, w1 / 2, 20), 1);
  EXPECT_GT(cut.Count(kRed, RECT{10, 5, 10 + w1 / 2, 25}), 0);
  EXPECT_EQ(cut.Count(kRed, RECT{10 + w1 / 2, 0, 200, 40}), 0);
  EXPECT_EQ(cut.Count(kBlue, RECT{0, 0, 200, 40}), 0);

  // Whole: the underlined second link has a line as wide as itself.
  DibCanvas whole(200, 40, RGB(255, 255, 255));
  group.Draw(whole.Dc(), 10, 5, 0, 0, 190, 30);
  RECT blue = whole.Bounds(kBlue);
  EXPECT_GE(blue.left, 10 + w1 + 7);
  EXPECT_GE(blue.right - blue.left, Extent(underlined->Get(), L"Copy") - 2);

  // Disabled, it is drawn as the plain first link drawn in grey.
  group.SetLinkDisabledColor(2, kGrey);
  group.EnableLink(2, false);
  CCellLinkGroup plain;
  plain.SetOwnerWindow(owner.Hwnd());
  plain.SetFonts(normal, underlined);
  plain.SetLineHeight(20);
  plain.AddLink(2, L"Copy");
  plain.SetLinkColor(2, kGrey);
  DibCanvas disabled(200, 40, RGB(255, 255, 255)), reference(200, 40, RGB(255, 255, 255));
  group.Draw(disabled.Dc(), 10, 5, 0, 0, 190, 30);
  plain.Draw(reference.Dc(), 10 + w1 + 7, 5, 0, 0, 180 - w1 - 7, 30);
  RECT area{10 + w1 + 7, 0, 200, 40};
  EXPECT_EQ(disabled.Count(kGrey, area), reference.Count(kGrey, area));
  EXPECT_EQ(disabled.Bounds(kGrey).bottom, reference.Bounds(kGrey).bottom);
  // The DC's selections come back.
  EXPECT_EQ(GetBkMode(disabled.Dc()), OPAQUE);
}

// A list that reloads its skin drops its fonts while its groups still draw.
TEST_F(CellLinkGroupTest, FontsStayAliveWhileTheGroupDrawsWithThem) {
  HFONT font = normal->Get();
  ASSERT_TRUE(group.AddLink(1, L"Play"));
  normal.reset();
  underlined.reset();
  EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(group.GetTotalWidth(), Extent(font, L"Play"));
  group.SetFonts(nullptr, nullptr);
  EXPECT_EQ(GetObjectType(font), 0u);
}

}  // namespace

#include <gtest/gtest.h>

#include "SkinTab.h"
#include "WidgetTestSupport.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
using Sent = std::vector<std::pair<UINT, LPARAM>>;

// Two 20x20 tabs overlapping by 10 pixels: each picture is magenta with a
// coloured centre square [5, 15).
class SkinTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteTestBitmap(L"tab_normal.bmp", 20, 5, kMagenta, kBlue);
    WriteTestBitmap(L"tab_hover.bmp", 20, 5, kMagenta, kGreen);
    WriteTestBitmap(L"tab_sel.bmp", 20, 5, kMagenta, kRed);
    fw::CreateArgs args;
    args.width = 200, args.height = 100;
    ASSERT_TRUE(parent_.Create(args));
    HWND control = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, parent_.Hwnd(), nullptr,
                                     nullptr, nullptr);
    ASSERT_TRUE(tab_.Subclass(control));
    tab_.SetItemCount(3);
    const int lefts[] = {0, 10, 40};
    for (int i = 0; i < 3; ++i) {
      tab_.SetItemRect(i, lefts[i], 0, lefts[i] + 20, 20);
      tab_.SetItemBitmaps(i, L"tab_normal.bmp", L"tab_hover.bmp", L"tab_sel.bmp");
    }
  }
  void TearDown() override {
    for (const wchar_t* name : {L"tab_normal.bmp", L"tab_hover.bmp", L"tab_sel.bmp"}) {
      ::DeleteFileW((GetModuleDir(nullptr) + L"\\" + name).c_str());
    }
  }
  // The control's picture over a grey background it was erased on.
  COLORREF PaintedAt(int x, int y) {
    PixelCanvas under(40, 20, kGrey), shown(40, 20, RGB(0, 0, 0));
    tab_.Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(under.Dc()));
    tab_.Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.Dc()), PRF_CLIENT);
    return shown.At(x, y);
  }
  void Click(UINT message, int x, int y) { tab_.Send(message, 0, MAKELPARAM(x, y)); }

  MessageRecorder parent_{WM_SKINTAB_SELECTED, WM_SKINTAB_DBLCLK};
  CSkinTab tab_;
};

TEST_F(SkinTabTest, AttachingAddsTheNotifyStyle) {
  EXPECT_TRUE(::GetWindowLongPtrW(tab_.Hwnd(), GWL_STYLE) & SS_NOTIFY);
}

TEST_F(SkinTabTest, MagentaShowsTheBackgroundAndTheSelectedTabLiesOnTop) {
  tab_.SelectItem(2);
  EXPECT_EQ(kGrey, PaintedAt(2, 2));    // magenta edge of the first tab
  EXPECT_EQ(kBlue, PaintedAt(7, 10));   // first tab's own centre
  EXPECT_EQ(kBlue, PaintedAt(12, 10));  // the selected tab's magenta edge lets it through
  EXPECT_EQ(kRed, PaintedAt(20, 10));   // selected picture
  Click(WM_MOUSEMOVE, 3, 3);
  EXPECT_EQ(kGreen, PaintedAt(7, 10));
  tab_.ClearHover();
  EXPECT_EQ(kBlue, PaintedAt(7, 10));
}

TEST_F(SkinTabTest, ClicksReportTheOldSelectionBeforeTheNewOne) {
  Click(WM_LBUTTONDOWN, 12, 5);  // overlap: the lower index wins
  Click(WM_LBUTTONDOWN, 25, 5);
  Click(WM_LBUTTONDOWN, 35, 5);  // no tab there
  Click(WM_RBUTTONDOWN, 45, 5);
  Click(WM_LBUTTONDBLCLK, 3, 3);
  Click(WM_RBUTTONDOWN, 35, 5);
  EXPECT_EQ((Sent{{WM_SKINTAB_SELECTED, 0},
                  {WM_SKINTAB_DESELECTED, 0},
                  {WM_SKINTAB_SELECTED, 1},
                  {WM_SKINTAB_DESELECTED, 1},
                  {WM_SKINTAB_RCLICK, 2},
                  {WM_SKINTAB_DBLCLK, 0}}),
            parent_.received);
  EXPECT_EQ(1, tab_.GetSelected());
  parent_.received.clear();
  tab_.SelectItem(3);
  EXPECT_EQ((Sent{{WM_SKINTAB_DESELECTED, 1}, {WM_SKINTAB_SELECTED, 2}}), parent_.received);
}

TEST_F(SkinTabTest, ShrinkingBelowTheSelectionForgetsItAndIgnoresBadIndexes) {
  tab_.SelectItem(3);
  Click(WM_MOUSEMOVE, 45, 5);
  ASSERT_EQ(2, tab_.GetHover());
  parent_.received.clear();
  tab_.SetItemCount(1);
  EXPECT_EQ(-1, tab_.GetSelected());
  EXPECT_EQ(-1, tab_.GetHover());
  tab_.SetItemRect(0, 0, 0, 20, 20);
  tab_.SetItemBitmaps(0, L"tab_normal.bmp", L"tab_hover.bmp", L"tab_sel.bmp");
  tab_.SetItemRect(5, 0, 0, 40, 20);
  tab_.SetItemBitmaps(-1, L"tab_sel.bmp", L"tab_sel.bmp", L"tab_sel.bmp");
  tab_.SelectItem(0);
  tab_.SelectItem(4);
  EXPECT_EQ(kBlue, PaintedAt(7, 10));
  EXPECT_EQ(kGrey, PaintedAt(30, 10));
  Click(WM_LBUTTONDOWN, 35, 5);  // the forgotten item is not reported again
  EXPECT_TRUE(parent_.received.empty());
}

}  // namespace

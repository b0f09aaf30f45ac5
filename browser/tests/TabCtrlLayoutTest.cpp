// The strip's model and layout in a real window: areas, widths and buttons in
// both layouts and both modes, selection, visible windows and index checks.
#include "TabStripTestSupport.h"

namespace {

class AllowNothing : public TabCtrlUserAbility {
 public:
  bool CanShowCloseAllButton(const TabCtrl*) override { return false; }
  bool CanShowMenuButton(const TabCtrl*) override { return false; }
  bool CanShowScrollButtons(const TabCtrl*) override { return false; }
};

int VisibleWindows(const TabCtrl& strip) {
  int visible = 0;
  for (int i = 0; i < strip.GetCount(); ++i) visible += IsWindowVisible(strip.GetTab(i)->window) != FALSE;
  return visible;
}

// Expected rectangles for an 800 x 300 strip with three tabs, worked out by
// hand from the default metrics (border 1, strip 29 high, tabs 230 wide).
struct LayoutCase {
  int layout;
  RECT ctrlArea, tabsArea, windowsArea, closeAll, scrollLeft, scrollRight, add;
  int scrollMax;
};

class TabCtrlLayoutTest : public StripTest {};

// A look whose tooltip takes no tool, as comctl32 5 takes none whose record
// is larger than its own.
class RefusingToolTipStyle : public ITabCtrlStyle, public ITabCtrlToolTip {
 public:
  TabCtrlDraw* GetDrawManager() override { return nullptr; }
  ITabCtrlRecalc* GetRecalcManager() override { return nullptr; }
  ITabCtrlBehavior* GetBehaviorManager() override { return nullptr; }
  ITabCtrlToolTip* GetToolTipManager() override { return this; }
  HWND CreateToolTip(TabCtrl* ctrl, ITabCtrlToolTip*) override {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, ctrl->Hwnd(), nullptr, nullptr, nullptr);
  }
};

TEST_F(TabCtrlLayoutTest, BothLayoutsPlaceAreasTabsAndButtonsByTheDefaultMetrics) {
  const LayoutCase cases[] = {
      {0, {1, 1, 799, 30}, {0, 1, 686, 30}, {1, 30, 799, 299}, {764, -1, 797, 27}, {716, -2, 738, 26},
       {740, -2, 762, 26}, {693, -2, 717, 26}, 14},
      {1, {1, 270, 799, 299}, {0, 272, 683, 298}, {1, 1, 799, 270}, {761, 269, 794, 297}, {713, 269, 735, 297},
       {737, 269, 759, 297}, {690, 268, 714, 296}, 17},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    MakeStrip(800, 300, c.layout);
    AddTabs(3);
    EXPECT_EQ(c.ctrlArea, strip->GetCtrlAreaRect());
    EXPECT_EQ(c.tabsArea, strip->GetTabsAreaRect());
    EXPECT_EQ(c.windowsArea, strip->GetWindowsAreaRect());
    EXPECT_EQ(c.closeAll, strip->GetButtonCloseAllRect());
    EXPECT_EQ(c.scrollLeft, strip->GetButtonScrollLeftRect());
    EXPECT_EQ(c.scrollRight, strip->GetButtonScrollRightRect());
    EXPECT_EQ(c.add, strip->GetButtonAddRect());
    EXPECT_TRUE(Empty(strip->GetButtonMenuRect()));
    EXPECT_EQ(c.scrollMax, strip->GetScrollMax());
    for (int i = 0; i < 3; ++i) {
      RECT expected{230 * i, c.tabsArea.top, 230 * (i + 1), c.tabsArea.bottom};
      EXPECT_EQ(expected, strip->GetTab(i)->rect) << "every tab 230 wide whatever its title";
    }
    RECT page{};
    GetWindowRect(strip->GetSelectedTab()->window, &page);
    MapWindowPoints(nullptr, strip->Hwnd(), reinterpret_cast<POINT*>(&page), 2);
    EXPECT_EQ(c.windowsArea, page);
    EXPECT_EQ(1, VisibleWindows(*strip));
    strip.reset();
    parent.Destroy();
  }
}

TEST_F(TabCtrlLayoutTest, ButtonsNeedTheirImagesAndTheOwnersLeave) {
  MakeStrip(800, 300);
  AddTabs(2);
  strip->SetButtonImageList(static_cast<HIMAGELIST>(nullptr));
  strip->Update(false);
  EXPECT_TRUE(Empty(strip->GetButtonCloseAllRect()));
  EXPECT_TRUE(Empty(strip->GetButtonScrollLeftRect()));
  EXPECT_EQ((RECT{465, 5, 489, 33}), strip->GetButtonAddRect()) << "the add button needs no image";

  ASSERT_TRUE(strip->SetButtonImageList(IDB_TAB_BUTTONS));
  AllowNothing nothing;
  strip->SetAbilityManager(&nothing);
  strip->SetButtonMenu(true);
  strip->Update(false);
  EXPECT_TRUE(Empty(strip->GetButtonCloseAllRect()));
  EXPECT_TRUE(Empty(strip->GetButtonMenuRect()));
  EXPECT_TRUE(Empty(strip->GetButtonScrollRightRect()));
  strip->SetAbilityManager(nullptr);
  strip->Update(false);
  EXPECT_EQ((RECT{748, 8, 762, 22}), strip->GetButtonMenuRect());
  EXPECT_EQ(740, strip->GetButtonScrollRightRect().right) << "the scroll buttons left of the menu";
}

TEST_F(TabCtrlLayoutTest, AddButtonWithoutScrollButtonsDocksAtTheRightEndOfTheTabs) {
  MakeStrip(600, 200);
  AddTabs(4);
  strip->SetScrollMode(0);
  strip->Update(false);
  const RECT add = strip->GetButtonAddRect();
  const RECT tabs = strip->GetTabsAreaRect();
  EXPECT_GE(add.left, 0);
  EXPECT_LE(add.right, strip->GetCtrlAreaRect().right);
  EXPECT_EQ(add.left, tabs.right) << "the tabs leave the add button free";
  EXPECT_LE(strip->GetTab(3)->rect.right, add.left);
}

TEST_F(TabCtrlLayoutTest, FitModeSqueezesTabsIntoTheStrip) {
  MakeStrip(800, 300);
  strip->SetButtonImageList(static_cast<HIMAGELIST>(nullptr));
  strip->SetButtonsScrollAdd(false);
  strip->SetScrollMode(0);
  AddTabs(3);
  const struct {
    int clientWidth;
    bool equalWidths;
    std::vector<int> widths;
  } cases[] = {
      // Over only by the 10-pixel reserve: nothing to share, widths stay.
      {2 + 693, false, {230, 230, 230}},
      {2 + 697, false, {230, 230, 230}},
      // Each cut by its share of the excess; the last fills to the edge.
      {2 + 600, false, {197, 197, 206}},
      {2 + 600, true, {200, 200, 200}},
      // Never below the minimum width (insets and no images).
      {2 + 20, true, {10, 10, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clientWidth);
    strip->SetEqualWidths(c.equalWidths);
    MoveWindow(strip->Hwnd(), 0, 0, c.clientWidth, 200, FALSE);
    strip->Update(false);
    std::vector<int> widths;
    for (Tab* tab : Order()) widths.push_back(tab->width);
    EXPECT_EQ(c.widths, widths);
    EXPECT_EQ(strip->GetTabsAreaRect().left, strip->GetTab(0)->rect.left);
  }
}

TEST_F(TabCtrlLayoutTest, ScrollingIsClampedAndEndsWithTheLastTab) {
  MakeStrip(800, 300);
  AddTabs(6);
  const int max = 6 * 230 + 10 - 686;
  EXPECT_EQ(max, strip->GetScrollMax());
  strip->ScrollRight();
  strip->Update(false);
  EXPECT_EQ(115, strip->GetScrollPos());
  EXPECT_EQ(-115, strip->GetTab(0)->rect.left);
  for (int i = 0; i < 10; ++i) strip->ScrollRight();
  strip->Update(false);
  EXPECT_EQ(max, strip->GetScrollPos());
  EXPECT_TRUE(strip->IsScrollLeftEnabled());
  EXPECT_FALSE(strip->IsScrollRightEnabled());
  bool partially = false;
  EXPECT_FALSE(strip->IsTabVisible(strip->GetTab(0), &partially));
  EXPECT_TRUE(strip->IsTabVisible(strip->GetTab(3), &partially));
  EXPECT_TRUE(partially);

  strip->SelectTab(strip->GetTab(1));
  strip->Update(false);
  EXPECT_EQ(230, strip->GetScrollPos()) << "selecting brings the tab into view";
  EXPECT_EQ(0, strip->GetTab(1)->rect.left);
  while (strip->GetCount() > 0) strip->DeleteTab(strip->GetTab(0));
  EXPECT_EQ(0, strip->GetScrollPos());
  EXPECT_FALSE(strip->IsScrollingPossible());
}

TEST_F(TabCtrlLayoutTest, SelectionFollowsDeletionAndSkipsDisabledTabs) {
  MakeStrip(800, 300);
  AddTabs(5);
  std::vector<Tab*> tabs = Order();
  EXPECT_EQ(tabs[0], strip->GetSelectedTab());
  strip->SetTabDisable(tabs[3], true);
  EXPECT_FALSE(strip->SelectTab(tabs[3]));
  EXPECT_EQ(tabs[0], strip->GetSelectedTab());

  ASSERT_TRUE(strip->SelectTab(tabs[2]));
  strip->DeleteTab(tabs[2]);
  EXPECT_EQ(tabs[4], strip->GetSelectedTab()) << "next enabled to the right";
  strip->DeleteTab(tabs[4]);
  EXPECT_EQ(tabs[1], strip->GetSelectedTab()) << "else nearest enabled to the left";
  strip->SetTabDisable(tabs[1], true);
  strip->Update(false);
  EXPECT_EQ(tabs[0], strip->GetSelectedTab()) << "a disabled current tab gives way";
  EXPECT_EQ(1, VisibleWindows(*strip));
  EXPECT_TRUE(IsWindowVisible(tabs[0]->window));
}

TEST_F(TabCtrlLayoutTest, WithoutTabsOrWithOneHiddenTabThePageFillsTheStrip) {
  MakeStrip(800, 300);
  strip->SetHideSingleTab(true);
  strip->Update(false);
  const RECT whole{1, 1, 799, 299};
  EXPECT_EQ(whole, strip->GetWindowsAreaRect());
  EXPECT_TRUE(Empty(strip->GetCtrlAreaRect()));

  Tab* only = Add();
  EXPECT_EQ(whole, strip->GetWindowsAreaRect());
  EXPECT_TRUE(IsRectEmpty(&only->rect));
  EXPECT_TRUE(IsWindowVisible(only->window));
  Add();
  EXPECT_EQ((RECT{1, 30, 799, 299}), strip->GetWindowsAreaRect()) << "a second tab brings the strip back";
}

TEST_F(TabCtrlLayoutTest, NoneForeignOrOutOfRangeTabsChangeNothing) {
  MakeStrip(800, 300);
  AddTabs(2);
  Tab* first = strip->GetTab(0);
  EXPECT_EQ(nullptr, strip->GetTab(-1));
  EXPECT_EQ(nullptr, strip->GetTab(2));

  auto* front = new PlainTab(strip->Hwnd(), 7);
  EXPECT_EQ(front, strip->InsertTab(-5, front, L"front", 2));
  EXPECT_EQ(0, strip->GetTabIndex(front));
  auto* back = new PlainTab(strip->Hwnd(), 8);
  EXPECT_EQ(back, strip->InsertTab(99, back, L"back", 2));
  EXPECT_EQ(3, strip->GetTabIndex(back));
  PlainTab foreign(strip->Hwnd(), 9);
  auto* appended = new PlainTab(strip->Hwnd(), 10);
  EXPECT_EQ(appended, strip->InsertTab(&foreign, appended, L"after all", 2));
  EXPECT_EQ(4, strip->GetTabIndex(appended));
  EXPECT_EQ(nullptr, strip->InsertTab(0, first, L"again", 0)) << "a tab stands in the strip once";

  const std::vector<Tab*> before = Order();
  EXPECT_FALSE(strip->DeleteTab(nullptr));
  EXPECT_FALSE(strip->DeleteTab(&foreign));
  EXPECT_FALSE(strip->SelectTab(&foreign));
  EXPECT_FALSE(strip->MoveTabBefore(&foreign, first));
  EXPECT_FALSE(strip->MoveTabAfter(first, nullptr));
  EXPECT_FALSE(strip->SetTabText(&foreign, L"x"));
  EXPECT_FALSE(strip->EnsureVisible(&foreign));
  EXPECT_EQ(before, Order());
  EXPECT_EQ(-1, strip->GetTabIndex(&foreign));
}

TEST_F(TabCtrlLayoutTest, AppendedTabsRecordImageZeroAndTheClassNameCarriesWholeHandles) {
  MakeStrip(800, 300);
  Tab* tab = Add();
  EXPECT_EQ(0, tab->image);
  EXPECT_EQ(L"标签 0", tab->text);

  wchar_t name[256] = {};
  GetClassNameW(strip->Hwnd(), name, 256);
  std::wstring instance;
  for (auto value = reinterpret_cast<uintptr_t>(fw::ThisModule()); instance.size() < sizeof(void*) * 2; value >>= 4)
    instance.insert(instance.begin(), L"0123456789ABCDEF"[value & 0xF]);
  EXPECT_EQ(0u, std::wstring(name).rfind(L"TabCtrl:" + instance + L":", 0)) << name;
}

TEST_F(TabCtrlLayoutTest, ATooltipThatRefusesItsToolCostsOnlyTheTips) {
  static RefusingToolTipStyle style;
  ASSERT_TRUE(parent.Create(PopupArgs(0, 0, 800, 300)));
  strip = std::make_unique<TabCtrl>(&recorder, IDB_TAB_BUTTONS);
  strip->SetStyle(&style);
  ASSERT_TRUE(strip->Create(parent.Hwnd(), WS_CHILD | WS_VISIBLE, parent.ClientRect(), kStripId));
  EXPECT_EQ(nullptr, strip->GetToolTip());
  AddTabs(2);
  Hover(100, 15);
  EXPECT_EQ(2, strip->GetCount());
  EXPECT_FALSE(IsRectEmpty(&strip->GetTab(1)->rect)) << "the strip is laid out";
}

}  // namespace

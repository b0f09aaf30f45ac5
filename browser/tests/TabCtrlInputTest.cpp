// The strip under real mouse and key input and the messages Windows and the
// pages send it, with every call to its owner recorded.
#include <algorithm>

#include "MessageLoop.h"
#include "TabStripTestSupport.h"

namespace {

void Mouse(DWORD flags, POINT screen = POINT{-1, -1}) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (screen.x >= 0) {
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  SendInput(1, &input, sizeof(input));
}

void Key(WORD key, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof(INPUT));
}

class TabCtrlInputTest : public StripTest {
 protected:
  void SetUp() override { Mouse(0, POINT{1000, 900}); }
  void MoveTo(int x, int y) {
    Mouse(0, Screen(x, y));
    PumpFor(60);
  }
  void Down(int x, int y) {
    MoveTo(x, y);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    PumpFor(100);
  }
  void Up() {
    Mouse(MOUSEEVENTF_LEFTUP);
    PumpFor(100);
  }
  void Click(int x, int y) {
    Down(x, y);
    Up();
  }
  void DoubleClick(int x, int y) {
    MoveTo(x, y);
    for (int i = 0; i < 2; ++i) {
      Mouse(MOUSEEVENTF_LEFTDOWN);
      Mouse(MOUSEEVENTF_LEFTUP);
    }
    PumpFor(150);
  }
  void RightClick(int x, int y) {
    MoveTo(x, y);
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    Mouse(MOUSEEVENTF_RIGHTUP);
    PumpFor(100);
  }
  POINT Centre(const RECT& r) const { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};

TEST_F(TabCtrlInputTest, PressesOnCurrentOtherAndDisabledTabs) {
  MakeStrip(800, 200);
  AddTabs(3);
  std::vector<Tab*> tabs = Order();
  strip->SetTabDisable(tabs[2], true);
  const struct {
    int tab;
    Tab* selectedAfter;
  } presses[] = {{0, tabs[0]}, {1, tabs[1]}, {2, tabs[1]}};
  for (const auto& press : presses) {
    recorder.events.clear();
    Click(tabs[press.tab]->rect.left + 50, 15);
    EXPECT_EQ((std::vector<std::string>{"LButtonDown", "SelChanged"}), recorder.Names()) << press.tab;
    EXPECT_EQ(tabs[press.tab], recorder.events[0].tab);
    EXPECT_EQ(Screen(tabs[press.tab]->rect.left + 50, 15).x, recorder.events[0].point.x);
    EXPECT_EQ(press.selectedAfter, strip->GetSelectedTab());
  }
  EXPECT_TRUE(IsWindowVisible(tabs[1]->window));
  EXPECT_FALSE(IsWindowVisible(tabs[0]->window));
}

TEST_F(TabCtrlInputTest, DoubleAndRightClicksReportTabsOrNoneButNeverButtons) {
  MakeStrip(800, 200);
  AddTabs(2);
  Tab* second = strip->GetTab(1);
  DoubleClick(second->rect.left + 40, 15);
  const StripEvent* dbl = recorder.Last("DblClick");
  ASSERT_NE(nullptr, dbl);
  EXPECT_EQ(second, dbl->tab);
  EXPECT_EQ(Screen(second->rect.left + 40, 15).x, dbl->point.x);

  recorder.events.clear();
  DoubleClick(560, 15);  // past the tabs and the add button
  ASSERT_NE(nullptr, recorder.Last("DblClick"));
  EXPECT_EQ(nullptr, recorder.Last("DblClick")->tab);
  EXPECT_EQ(560, recorder.Last("DblClick")->point.x) << "client coordinates for the empty strip";

  recorder.events.clear();
  POINT add = Centre(strip->GetButtonAddRect());
  DoubleClick(add.x, add.y);
  EXPECT_EQ(0, recorder.Count("DblClick"));
  EXPECT_EQ(2, recorder.Count("Add")) << "each click of the double click";

  recorder.events.clear();
  POINT closeAll = Centre(strip->GetButtonCloseAllRect());
  RightClick(closeAll.x, closeAll.y);
  EXPECT_TRUE(recorder.events.empty());
  RightClick(second->rect.left + 40, 15);
  RightClick(560, 15);
  ASSERT_EQ((std::vector<std::string>{"RButtonDown", "RButtonUp", "RButtonDown", "RButtonUp"}), recorder.Names());
  EXPECT_EQ(second, recorder.events[1].tab);
  EXPECT_EQ(nullptr, recorder.events[3].tab);
}

TEST_F(TabCtrlInputTest, TheOwnerMayDestroyTheStripFromAButtonsCallback) {
  for (bool destroy : {false, true}) {
    for (int button : {TabCtrl::kCloseAll, TabCtrl::kMenu, TabCtrl::kAdd}) {
      SCOPED_TRACE(testing::Message() << button << (destroy ? " destroyed" : ""));
      MakeStrip(800, 200);
      strip->SetButtonMenu(true);
      AddTabs(2);
      bool drawnPressed = false;
      recorder.onEvent = [&](TabCtrl* ctrl, const StripEvent& event) {
        if (event.name != "CloseAll" && event.name != "Menu" && event.name != "Add") return;
        drawnPressed = ctrl->GetPressedItem() == ctrl->ButtonItem(button);
        if (destroy) ctrl->Destroy();
      };
      const RECT rects[] = {strip->GetButtonCloseAllRect(), strip->GetButtonMenuRect(), {}, {},
                            strip->GetButtonAddRect()};
      POINT at = Centre(rects[button - 1]);
      Click(at.x, at.y);
      const char* names[] = {"", "CloseAll", "Menu", "", "", "Add"};
      EXPECT_EQ(1, recorder.Count(names[button]));
      EXPECT_TRUE(drawnPressed);
      EXPECT_FALSE(strip->IsNotifyingOwner()) << "no pointer into the finished handler";
      EXPECT_EQ(destroy, strip->Hwnd() == nullptr);
      EXPECT_EQ(nullptr, strip->GetPressedItem());
      if (destroy) {
        // The object lives on: a window made again works as before.
        ASSERT_TRUE(strip->Create(parent.Hwnd(), WS_CHILD | WS_VISIBLE, parent.ClientRect(), kStripId));
        strip->Destroy();
      }
      recorder.onEvent = nullptr;
      recorder.events.clear();
      strip.reset();
      parent.Destroy();
    }
  }
}

TEST_F(TabCtrlInputTest, HeldScrollButtonRepeatsAfterADelayAndPausesOffIt) {
  MakeStrip(800, 200);
  AddTabs(12);
  const RECT right = strip->GetButtonScrollRightRect();
  Down(Centre(right).x, Centre(right).y);
  EXPECT_EQ(115, strip->GetScrollPos()) << "once at the press";
  PumpFor(150);
  EXPECT_EQ(115, strip->GetScrollPos()) << "nothing more before 300 ms";
  PumpFor(250);
  const int repeated = strip->GetScrollPos();
  EXPECT_GE(repeated, 230);
  EXPECT_EQ(0, repeated % 115);
  MoveTo(400, 100);  // off the button, still pressed
  const int paused = strip->GetScrollPos();
  PumpFor(200);
  EXPECT_EQ(paused, strip->GetScrollPos());
  EXPECT_EQ(strip->ButtonItem(TabCtrl::kScrollRight), strip->GetPressedItem());

  // Another window taking the capture ends the press and the repeat.
  MoveTo(Centre(right).x, Centre(right).y);
  SetCapture(parent.Hwnd());
  PumpFor(50);
  EXPECT_EQ(nullptr, strip->GetPressedItem());
  const int stopped = strip->GetScrollPos();
  PumpFor(200);
  EXPECT_EQ(stopped, strip->GetScrollPos());
  ReleaseCapture();
  Up();

  // Left does the same, and repeats only while the button is held: a release
  // over it ends the repeat, and a click too short to repeat scrolls once.
  const RECT left = strip->GetButtonScrollLeftRect();
  const int before = strip->GetScrollPos();
  Down(Centre(left).x, Centre(left).y);
  PumpFor(400);
  const int held = strip->GetScrollPos();
  EXPECT_LE(held, before - 230) << "the left button did not repeat";
  Up();
  PumpFor(200);
  EXPECT_EQ(held, strip->GetScrollPos()) << "repeated after the release";
  Click(Centre(right).x, Centre(right).y);
  PumpFor(450);
  EXPECT_EQ(held + 115, strip->GetScrollPos()) << "a click scrolls once";
}

TEST_F(TabCtrlInputTest, DragReordersAndEscBringsTheOrderBack) {
  MakeStrip(800, 200);
  strip->SetDragReorder(true);
  AddTabs(3);
  const std::vector<Tab*> tabs = Order();
  Down(100, 15);
  MoveTo(102, 17);
  EXPECT_FALSE(strip->IsDragging()) << "inside the 6 x 6 square";
  MoveTo(110, 15);
  ASSERT_TRUE(strip->IsDragging());
  EXPECT_EQ(1, recorder.Count("DragStart"));
  MoveTo(650, 15);  // the last 230 pixels of the third tab
  EXPECT_EQ((std::vector<Tab*>{tabs[1], tabs[2], tabs[0]}), Order());
  MoveTo(400, 150);
  ASSERT_NE(nullptr, recorder.Last("Drag"));
  EXPECT_TRUE(recorder.Last("Drag")->flag) << "outside the control area";
  // The key acts as it goes down; a release alone is no key.
  Key(VK_ESCAPE, KEYEVENTF_KEYUP);
  PumpFor(100);
  ASSERT_TRUE(strip->IsDragging()) << "Esc's release cancelled the drag";
  Key(VK_ESCAPE, 0);
  PumpFor(100);
  EXPECT_FALSE(strip->IsDragging());
  Key(VK_ESCAPE, KEYEVENTF_KEYUP);
  PumpFor(50);
  EXPECT_EQ(tabs, Order());
  ASSERT_NE(nullptr, recorder.Last("DragEnd"));
  EXPECT_TRUE(recorder.Last("DragEnd")->flag);
  EXPECT_EQ(nullptr, GetCapture());
  Up();

  Down(100, 15);
  MoveTo(110, 15);
  MoveTo(300, 15);  // the second tab, as wide as the dragged one
  Up();
  EXPECT_EQ((std::vector<Tab*>{tabs[1], tabs[0], tabs[2]}), Order());
  EXPECT_FALSE(recorder.Last("DragEnd")->flag) << "released: kept";
}

TEST_F(TabCtrlInputTest, TabsDeletedOrInsertedDuringADragSurviveItsCancel) {
  MakeStrip(800, 200);
  strip->SetDragReorder(true);
  AddTabs(4);
  std::vector<Tab*> tabs = Order();
  Down(100, 15);
  MoveTo(500, 15);
  ASSERT_TRUE(strip->IsDragging());
  strip->DeleteTab(tabs[3]);
  Tab* inserted = strip->InsertTab(1, new PlainTab(strip->Hwnd(), 50), L"新的", 0);
  strip->CancelDrag();
  EXPECT_EQ((std::vector<Tab*>{tabs[0], inserted, tabs[1], tabs[2]}), Order());
  Up();

  Down(100, 15);
  MoveTo(300, 15);
  ASSERT_TRUE(strip->IsDragging());
  recorder.events.clear();
  strip->DeleteAllTabs();
  EXPECT_EQ(0, strip->GetCount());
  EXPECT_FALSE(strip->IsDragging());
  EXPECT_EQ((std::vector<std::string>{"DragEnd", "BeforeDelete", "BeforeDelete", "BeforeDelete", "BeforeDelete"}),
            recorder.Names());
  Up();
}

TEST_F(TabCtrlInputTest, CloseNeedsPressAndReleaseOnTheCurrentTabsVisibleMark) {
  // 776 pixels: the add button docks over the close mark of the third tab,
  // which lies past the end of the tabs area.
  MakeStrip(776, 200);
  AddTabs(4);
  Tab* third = strip->GetTab(2);
  strip->SelectTab(third);
  strip->ScrollToBegin();
  strip->Update(true);
  UpdateWindow(strip->Hwnd());
  RECT mark{};
  strip->GetDrawManager()->GetCloseMarkRect(strip.get(), &mark);
  const RECT add = strip->GetButtonAddRect();
  ASSERT_EQ(690, mark.right);
  ASSERT_TRUE(mark.left >= add.left && mark.right <= add.right && mark.left > strip->GetTabsAreaRect().right);
  Click(685, 15);
  EXPECT_EQ(1, recorder.Count("Add"));
  EXPECT_EQ(0, recorder.Count("Close")) << "the add button, not the hidden mark";

  strip->SelectTab(strip->GetTab(0));
  strip->Update(true);
  UpdateWindow(strip->Hwnd());
  Click(strip->GetTab(1)->rect.right - 5, 15);
  EXPECT_EQ(strip->GetTab(1), strip->GetSelectedTab());
  EXPECT_EQ(0, recorder.Count("Close")) << "a press on another tab selects it only";

  Down(300, 15);
  MoveTo(455, 15);
  Up();
  EXPECT_EQ(0, recorder.Count("Close")) << "released on the mark, pressed elsewhere";

  Click(455, 15);
  ASSERT_EQ(1, recorder.Count("Close"));
  EXPECT_EQ(455, recorder.Last("Close")->point.x);
}

TEST_F(TabCtrlInputTest, CloseMarkIsRepaintedWhenThePointerLeavesIt) {
  MakeStrip(800, 200);
  AddTabs(2);
  UpdateWindow(strip->Hwnd());
  Hover(220, 15);
  ValidateRect(strip->Hwnd(), nullptr);
  Hover(100, 15);  // the same tab, off its mark
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(strip->Hwnd(), &update, FALSE));
  ValidateRect(strip->Hwnd(), nullptr);
  Hover(90, 15);
  EXPECT_FALSE(GetUpdateRect(strip->Hwnd(), &update, FALSE)) << "nothing to repaint away from the mark";
}

TEST_F(TabCtrlInputTest, TooltipTextsFollowTheHoveredItem) {
  MakeStrip(800, 200);
  AddTabs(4);
  strip->SetTabTooltipText(strip->GetTab(1), L"标题\r\nhttp://example.com/");
  auto text = [&](int x, int y) {
    Hover(x, y);
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = strip->GetToolTip();
    info.hdr.code = TTN_GETDISPINFOW;
    strip->Send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return std::wstring(info.lpszText ? info.lpszText : L"");
  };
  ASSERT_NE(nullptr, strip->GetToolTip());
  POINT add = Centre(strip->GetButtonAddRect());
  EXPECT_EQ(L"新建空白页", text(add.x, add.y));
  POINT closeAll = Centre(strip->GetButtonCloseAllRect());
  EXPECT_EQ(L"关闭所有页面", text(closeAll.x, closeAll.y));
  EXPECT_EQ(L"", text(100, 15)) << "a whole tab needs no tip";
  EXPECT_EQ(L"标题\r\nhttp://example.com/", text(300, 15));
  EXPECT_EQ(L"标签 2", text(680, 15)) << "a cut tab shows its title";
  EXPECT_GT(ToolInfoSizeCheck::Seen(), 1) << "the strip's tool records went unchecked";
}

// A parent that answers the page events it is sent.
class RecordingParent : public fw::Wnd {
 public:
  std::vector<UINT> received;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message < 2025 || message > 2030) return Wnd::OnMessage(message, wParam, lParam, result);
    received.push_back(message);
    result = static_cast<LRESULT>(wParam + lParam);
    return true;
  }
};

TEST_F(TabCtrlInputTest, PageEventsReachTheParentWithItsAnswerAndEscStopsAtTheStrip) {
  RecordingParent owner;
  ASSERT_TRUE(owner.Create(PopupArgs(0, 0, 600, 200)));
  TabCtrl local(&recorder, IDB_TAB_BUTTONS);
  ASSERT_TRUE(local.Create(owner.Hwnd(), WS_CHILD | WS_VISIBLE, owner.ClientRect(), kStripId));
  auto* page = new PlainTab(local.Hwnd(), 3010);
  local.AddTab(page, L"页", -1);
  for (UINT message : {2025u, 2026u, 2027u, 2030u})
    EXPECT_EQ(7, SendMessageW(local.Hwnd(), message, 3, 4)) << message;
  EXPECT_EQ(0, SendMessageW(local.Hwnd(), 2028, 3, 4));
  EXPECT_EQ(0, SendMessageW(local.Hwnd(), 2029, 3, 4));
  EXPECT_EQ((std::vector<UINT>{2025, 2026, 2027, 2030}), owner.received);

  MSG esc{page->window, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_TRUE(fw::PreTranslate(esc));
  MSG other{page->window, WM_KEYDOWN, 'A', 0, 0, {}};
  EXPECT_FALSE(local.PreTranslateMessage(other));
}

TEST_F(TabCtrlInputTest, WatchedStripFollowsTheFocusOfItsPages) {
  MakeStrip(800, 200);
  AddTabs(2);
  HWND outside = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent.Hwnd(), nullptr,
                                 nullptr, nullptr);
  SetFocus(outside);
  strip->SetWatchActivity(true);
  EXPECT_TRUE(ActivityHook::Instance().IsRegistered(strip.get()));
  SetFocus(strip->GetSelectedTab()->window);
  EXPECT_TRUE(strip->IsActive());
  SetFocus(outside);
  EXPECT_FALSE(strip->IsActive());
  strip->SetWatchActivity(false);
  EXPECT_FALSE(ActivityHook::Instance().IsRegistered(strip.get()));
  SetFocus(strip->GetSelectedTab()->window);
  EXPECT_FALSE(strip->IsActive());
  DestroyWindow(outside);
}

}  // namespace

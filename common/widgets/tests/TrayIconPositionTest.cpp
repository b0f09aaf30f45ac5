#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "TrayIconPosition.h"
#include "WidgetTestSupport.h"

namespace {

struct ButtonData {
  HWND owner;
  UINT id;
};

// A taskbar of our own: "Shell_TrayWnd" > "TrayNotifyWnd" > a real toolbar
// whose buttons point at owner/id records, as the shell's do.
class FakeTaskbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CTrayIconPosition::FindNotifyToolbar()) GTEST_SKIP() << "a real taskbar toolbar is running";
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    Register(L"Shell_TrayWnd");
    Register(L"TrayNotifyWnd");
    taskbar_ = ::CreateWindowExW(0, L"Shell_TrayWnd", L"", WS_POPUP | WS_VISIBLE, 100, 300, 400, 40, nullptr,
                                 nullptr, nullptr, nullptr);
    notify_ = ::CreateWindowExW(0, L"TrayNotifyWnd", L"", WS_CHILD | WS_VISIBLE, 200, 0, 200, 40, taskbar_,
                                nullptr, nullptr, nullptr);
    toolbar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER, 10,
                                 5, 180, 30, notify_, nullptr, nullptr, nullptr);
    ::SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    owner_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    data_[0] = {owner_, 3};
    data_[1] = {taskbar_, 7};
    data_[2] = {owner_, 7};
    data_[3] = {owner_, 7};  // a stale copy behind the real one
    TBBUTTON buttons[4] = {};
    for (int i = 0; i < 4; ++i) {
      buttons[i].iBitmap = I_IMAGENONE;
      buttons[i].idCommand = 100 + i;
      buttons[i].fsState = TBSTATE_ENABLED;
      buttons[i].dwData = reinterpret_cast<DWORD_PTR>(&data_[i]);
    }
    ::SendMessageW(toolbar_, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
    finder_.InitializeTracking(owner_, 7);
  }
  void TearDown() override {
    if (taskbar_) ::DestroyWindow(taskbar_);
    if (owner_) ::DestroyWindow(owner_);
  }
  static void Register(const wchar_t* name) {
    WNDCLASSW type{};
    type.lpfnWndProc = ::DefWindowProcW;
    type.lpszClassName = name;
    ::RegisterClassW(&type);
  }
  POINT ExpectedFrom(RECT rect, HWND from) {
    ::MapWindowPoints(from, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left + 4, rect.top + 6};
  }

  HWND taskbar_ = nullptr, notify_ = nullptr, toolbar_ = nullptr, owner_ = nullptr;
  ButtonData data_[4] = {};
  CTrayIconPosition finder_;
};

TEST_F(FakeTaskbarTest, LookupFindsTheButtonOfTheTrackedOwnerAndId) {
  EXPECT_EQ(toolbar_, CTrayIconPosition::FindNotifyToolbar());
  RECT item{};
  ::SendMessageW(toolbar_, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  POINT point{};
  EXPECT_EQ(1, finder_.GetIconPosition(point, CTrayIconPosition::kLookupOnly));
  POINT expected = ExpectedFrom(item, toolbar_);
  EXPECT_EQ(expected.x, point.x);
  EXPECT_EQ(expected.y, point.y);
}

TEST_F(FakeTaskbarTest, AHiddenButtonGivesTheTaskbarCorner) {
  ::SendMessageW(toolbar_, TB_SETSTATE, 102, MAKELONG(TBSTATE_HIDDEN, 0));
  POINT point{};
  EXPECT_EQ(0, finder_.GetIconPosition(point, CTrayIconPosition::kLookupOnly));
  RECT toolbarRect{};
  ::GetWindowRect(toolbar_, &toolbarRect);
  EXPECT_EQ(toolbarRect.left + 4, point.x);
  EXPECT_EQ(toolbarRect.top + 6, point.y);
  CTrayIconPosition untracked;
  EXPECT_EQ(-1, untracked.GetIconPosition(point, CTrayIconPosition::kLookupOnly));
}

TEST(TrayIconScan, FindsTheTestIconMarkAndNothingThatIsNotNearBlack) {
  struct Case {
    COLORREF block;  // a 12x5 block instead of the icon when not white
    bool found;
    POINT at;
  } cases[] = {{RGB(255, 255, 255), true, {27, 15}}, {RGB(3, 3, 3), true, {27, 16}}, {RGB(4, 0, 0), false, {}}};
  for (const Case& c : cases) {
    PixelCanvas screen(60, 40, RGB(255, 255, 255));
    if (c.block == RGB(255, 255, 255)) {
      fw::ScopedIcon icon(CTrayIconPosition::CreateTestIcon());
      ASSERT_TRUE(::DrawIconEx(screen.Dc(), 20, 10, icon.Get(), 16, 16, 0, nullptr, DI_NORMAL));
    } else {
      fw::ScopedBrush brush(::CreateSolidBrush(c.block));
      RECT block{20, 20, 32, 25};
      ::FillRect(screen.Dc(), &block, brush.Get());
    }
    POINT found{};
    RECT area{0, 0, 60, 40};
    EXPECT_EQ(c.found, CTrayIconPosition::FindIconMark(screen.Dc(), area, found)) << c.block;
    if (c.found) {
      EXPECT_EQ(c.at.x, found.x) << c.block;
      EXPECT_EQ(c.at.y, found.y) << c.block;
    }
  }
}

}  // namespace

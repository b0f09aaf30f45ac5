// The owner-drawn button under real mouse input on the virtual display:
// hover, tooltip, leave, click and double click.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ButtonST.h"
#include "SkinTestSupport.h"
#include "ToolInfo.h"
#include "ToolInfoSizeCheck.h"

namespace {

const int kButtonId = 41;
std::vector<std::wstring> played;

BOOL WINAPI RecordSound(LPCWSTR sound, HMODULE, DWORD) {
  played.push_back(IS_INTRESOURCE(sound) ? L"#" : sound);
  return TRUE;
}

class Parent : public fw::Wnd {
 public:
  int clicks = 0;
  int doubleClicks = 0;

 protected:
  bool OnCommand(UINT id, UINT code, HWND) override {
    if (id != kButtonId) return false;
    if (code == BN_CLICKED) ++clicks;
    if (code == BN_DOUBLECLICKED) ++doubleClicks;
    return false;
  }
};

// A button that counts its hover callbacks.
class CountingButton : public CButtonST {
 public:
  int entered = 0;
  int left = 0;

 protected:
  DWORD OnHoverEnter() override {
    ++entered;
    return 1;
  }
  DWORD OnHoverLeave() override {
    ++left;
    return 1;
  }
};

void MoveMouse(POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
}

void Button(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

class ButtonInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    played.clear();
    CButtonST::playSound = &RecordSound;
    ASSERT_TRUE(parent.Create(PopupArgs(100, 100, 300, 160)));
    SetForegroundWindow(parent.Hwnd());
    HWND control = CreateWindowExW(0, L"BUTTON", L"Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 100, 40,
                                   parent.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), nullptr,
                                   nullptr);
    ASSERT_TRUE(button.SubclassButton(control));
    MoveMouse(POINT{700, 700});
    PumpFor(100);
  }
  void TearDown() override { CButtonST::playSound = &::PlaySoundW; }
  POINT Centre() const {
    POINT point{50, 20};
    ClientToScreen(button.Hwnd(), &point);
    return point;
  }
  void Click() {
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
  }

  ToolInfoSizeCheck toolInfoCheck;
  Parent parent;
  CountingButton button;
};

TEST_F(ButtonInputTest, HoverShowsTheTooltipAndLeavingEndsBoth) {
  button.SetTooltipText(L"回到首页");
  button.SetSound(L"hover.wav", nullptr, FALSE, TRUE);
  button.EnableSound(TRUE);
  MoveMouse(Centre());
  ASSERT_TRUE(PumpUntil([&] { return button.IsHovered() != FALSE; }));
  EXPECT_EQ(1, button.entered);
  ASSERT_EQ(1u, played.size()) << "the hover sound plays once on entry";
  EXPECT_EQ(L"hover.wav", played[0]);

  HWND tip = button.ToolTip();
  ASSERT_NE(nullptr, tip);
  EXPECT_EQ(400, SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
  EXPECT_EQ(1, SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
  wchar_t text[64] = {};
  TOOLINFOW tool = fw::ToolInfo(button.Hwnd(), 1);
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(L"回到首页", text);

  SetWindowPos(button.Hwnd(), nullptr, 0, 0, 120, 50, SWP_NOMOVE | SWP_NOZORDER);
  tool.lpszText = nullptr;
  ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_EQ(120, tool.rect.right) << "the tool follows the button's size";
  EXPECT_EQ(50, tool.rect.bottom);
  button.SetTooltipText(L"首页");
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(L"首页", text) << "new text reaches the open tooltip";

  POINT nearby = Centre();
  nearby.x += 3;
  MoveMouse(nearby);
  PumpFor(200);
  EXPECT_EQ(1, button.entered) << "moving inside is no new entry";
  EXPECT_EQ(1u, played.size());

  MoveMouse(POINT{700, 700});
  ASSERT_TRUE(PumpUntil([&] { return button.IsHovered() == FALSE; }));
  EXPECT_TRUE(PumpUntil([&] { return button.left == 1; }));
  EXPECT_EQ(nullptr, button.ToolTip()) << "the tooltip goes with the pointer";
  EXPECT_FALSE(IsWindow(tip));

  MoveMouse(Centre());
  ASSERT_TRUE(PumpUntil([&] { return button.IsHovered() != FALSE; }));
  EXPECT_NE(nullptr, button.ToolTip()) << "and is built again on the next move";
  EXPECT_GT(ToolInfoSizeCheck::Seen(), 3) << "the button's tool records went unchecked";
}

TEST_F(ButtonInputTest, ClickNotifiesTheParent) {
  button.SetSound(L"down.wav", nullptr, TRUE, TRUE);
  button.EnableSound(TRUE);
  MoveMouse(Centre());
  ASSERT_TRUE(PumpUntil([&] { return button.IsHovered() != FALSE; }));
  Click();
  ASSERT_TRUE(PumpUntil([&] { return parent.clicks == 1; }));
  EXPECT_EQ(button.Hwnd(), GetFocus());
  ASSERT_FALSE(played.empty());
  EXPECT_EQ(L"down.wav", played.back());
}

TEST_F(ButtonInputTest, DoubleClickIsTwoClicks) {
  MoveMouse(Centre());
  ASSERT_TRUE(PumpUntil([&] { return button.IsHovered() != FALSE; }));
  Click();
  Click();
  EXPECT_TRUE(PumpUntil([&] { return parent.clicks == 2; })) << parent.clicks << " clicks";
  PumpFor(200);
  EXPECT_EQ(2, parent.clicks);
  EXPECT_EQ(0, parent.doubleClicks);
}

TEST_F(ButtonInputTest, ReleasingOutsideIsNoClick) {
  MoveMouse(Centre());
  ASSERT_TRUE(PumpUntil([&] { return button.IsHovered() != FALSE; }));
  Button(MOUSEEVENTF_LEFTDOWN);
  PumpFor(100);
  MoveMouse(POINT{700, 700});
  PumpFor(100);
  Button(MOUSEEVENTF_LEFTUP);
  PumpFor(300);
  EXPECT_EQ(0, parent.clicks);
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "SystemTray.h"
#include "TrayTestResources.h"
#include "WidgetTestSupport.h"

namespace {

constexpr UINT kCallback = WM_APP + 5;
constexpr UINT kFlagsOfAnAdd = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// Stands in for the shell: keeps each record the tray hands over, as far as
// its size says, and answers as told.
class ShellRecordingTray : public CSystemTray {
 public:
  struct Call {
    DWORD action;
    NOTIFYICONDATAW data;
  };
  ~ShellRecordingTray() override { RemoveIcon(); }
  mutable std::vector<Call> calls;
  std::function<BOOL(DWORD action, const NOTIFYICONDATAW& data)> answer = [](DWORD, const NOTIFYICONDATAW&) {
    return TRUE;
  };

 protected:
  BOOL NotifyShell(DWORD action, NOTIFYICONDATAW& data) const override {
    Call call{action, {}};
    memcpy(&call.data, &data, std::min<size_t>(data.cbSize, sizeof(call.data)));
    calls.push_back(call);
    return answer(action, call.data);
  }
};

// A visible top-level window stands for the program's main window and
// records the commands the tray sends it.
class SystemTrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::CreateArgs args;
    args.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    args.width = 200, args.height = 100;
    ASSERT_TRUE(main_.Create(args));
    tray_.Create(nullptr, kCallback, L"托盘", ::LoadIconW(nullptr, IDI_APPLICATION), IDR_TRAY_MENU);
    ASSERT_TRUE(tray_.Hwnd());
  }
  void Callback(UINT id, UINT mouse) { ::SendMessageW(tray_.Hwnd(), kCallback, id, mouse); }

  MessageRecorder main_{WM_COMMAND, WM_COMMAND};
  CSystemTray tray_;
};

TEST_F(SystemTrayTest, DoubleClickSendsTheDefaultMenuCommandToTheMainWindow) {
  struct Case {
    UINT item;
    bool byPosition;
    WPARAM command;
  } cases[] = {{0, true, ID_TRAY_OPEN}, {1, true, ID_TRAY_QUIT}, {555, false, 555}, {9, true, 0}};
  for (const Case& c : cases) {
    main_.received.clear();
    tray_.SetMenuDefaultItem(c.item, c.byPosition);
    Callback(IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
    ASSERT_EQ(1u, main_.received.size()) << c.item;
    EXPECT_EQ(c.command, main_.lastWParam) << c.item;
  }
  main_.received.clear();
  Callback(IDR_TRAY_MENU + 1, WM_LBUTTONDBLCLK);  // another icon's callback
  EXPECT_TRUE(main_.received.empty());
}

TEST_F(SystemTrayTest, ATargetWindowGetsTheCallbacksInsteadOfAMenu) {
  MessageRecorder target(kCallback, kCallback);
  fw::CreateArgs args;
  ASSERT_TRUE(target.Create(args));
  tray_.SetTargetWnd(target.Hwnd());
  Callback(IDR_TRAY_MENU, WM_RBUTTONUP);
  Callback(IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
  PumpMessages();
  EXPECT_EQ((std::vector<std::pair<UINT, LPARAM>>{{kCallback, WM_RBUTTONUP}, {kCallback, WM_LBUTTONDBLCLK}}),
            target.received);
  EXPECT_TRUE(main_.received.empty());
}

TEST_F(SystemTrayTest, AnimationStepsThroughTheListAndStopsOnTheCurrentIcon) {
  if (!tray_.IsEnabled()) GTEST_SKIP() << "this Wine has no notification area to add an icon to";
  fw::ScopedIcon chosen(::CopyIcon(::LoadIconW(nullptr, IDI_INFORMATION)));
  fw::ScopedIcon frames[3] = {fw::ScopedIcon(::CopyIcon(::LoadIconW(nullptr, IDI_WARNING))),
                              fw::ScopedIcon(::CopyIcon(::LoadIconW(nullptr, IDI_ERROR))),
                              fw::ScopedIcon(::CopyIcon(::LoadIconW(nullptr, IDI_QUESTION)))};
  HICON list[3] = {frames[0].Get(), frames[1].Get(), frames[2].Get()};
  ASSERT_TRUE(tray_.SetIconList(list, 3));
  ASSERT_TRUE(tray_.SetIcon(chosen.Get()));
  for (int step = 0; step < 4; ++step) {
    tray_.StepAnimation();
    EXPECT_EQ(list[step % 3], tray_.GetIcon()) << step;
  }
  ASSERT_TRUE(tray_.Animate(100, 1));
  DWORD start = ::GetTickCount();
  while (tray_.IsAnimating() && ::GetTickCount() - start < 5000) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  EXPECT_FALSE(tray_.IsAnimating());
  EXPECT_GE(::GetTickCount() - start, 1000u);
  EXPECT_EQ(chosen.Get(), tray_.GetIcon());
  tray_.GetIconPosition();  // the position search puts back the icon shown
  EXPECT_EQ(chosen.Get(), tray_.GetIcon());
}

// The shell finds the icon under its new window, and under no window once
// it is removed.
TEST_F(SystemTrayTest, AfterAChangeOfWindowTheIconIsFoundThereAndRemovedFromThere) {
  if (!tray_.IsEnabled()) GTEST_SKIP() << "this Wine has no notification area to add an icon to";
  fw::Wnd other;
  ASSERT_TRUE(other.Create(fw::CreateArgs{}));
  ASSERT_TRUE(tray_.SetNotificationWnd(&other));
  EXPECT_TRUE(tray_.SetTooltipText(L"新的提示"));
  tray_.RemoveIcon();
  for (HWND window : {tray_.Hwnd(), other.Hwnd()}) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = window;
    data.uID = IDR_TRAY_MENU;
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &data)) << (window == other.Hwnd() ? "new" : "old");
    ::Shell_NotifyIconW(NIM_DELETE, &data);  // an icon left behind goes with the test
  }
}

TEST(SystemTrayLayout, IconDataHasTheXpLayoutOfThisArchitecture) {
  ShellRecordingTray tray;
  fw::ScopedIcon icon(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)));
  std::wstring tip(200, L'图');
  ASSERT_TRUE(tray.Create(nullptr, kCallback, tip.c_str(), icon.Get(), 77));
  ASSERT_EQ(1u, tray.calls.size());
  EXPECT_EQ(static_cast<DWORD>(NIM_ADD), tray.calls[0].action);
  const NOTIFYICONDATAW& added = tray.calls[0].data;
  // The Windows 2000/XP record: everything before the item's GUID.
#ifdef _WIN64
  EXPECT_EQ(952u, added.cbSize);
#else
  EXPECT_EQ(936u, added.cbSize);
#endif
  EXPECT_EQ(offsetof(NOTIFYICONDATAW, guidItem), static_cast<size_t>(added.cbSize));
  EXPECT_EQ(tray.Hwnd(), added.hWnd);
  EXPECT_EQ(77u, added.uID);
  EXPECT_EQ(kFlagsOfAnAdd, added.uFlags);
  EXPECT_EQ(kCallback, added.uCallbackMessage);
  EXPECT_EQ(icon.Get(), added.hIcon);
  EXPECT_EQ(tip.substr(0, 127), added.szTip);
}

// The shell knows an icon by the window and id it was added with.
TEST(SystemTrayWindowChange, TheIconMovesToTheNewWindowOrStaysWhereItWasWhenTheShellRefuses) {
  ShellRecordingTray tray;
  fw::ScopedIcon icon(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)));
  ASSERT_TRUE(tray.Create(nullptr, kCallback, L"托盘", icon.Get(), 5));
  fw::Wnd first, second;
  ASSERT_TRUE(first.Create(fw::CreateArgs{}));
  ASSERT_TRUE(second.Create(fw::CreateArgs{}));
  auto expect = [&](size_t index, DWORD action, HWND window) {
    ASSERT_LT(index, tray.calls.size());
    const ShellRecordingTray::Call& call = tray.calls[index];
    EXPECT_EQ(action, call.action) << index;
    EXPECT_EQ(window, call.data.hWnd) << index;
    EXPECT_EQ(5u, call.data.uID) << index;
    if (action != NIM_ADD) return;
    EXPECT_EQ(kFlagsOfAnAdd, call.data.uFlags) << index;
    EXPECT_EQ(kCallback, call.data.uCallbackMessage) << index;
    EXPECT_EQ(icon.Get(), call.data.hIcon) << index;
    EXPECT_STREQ(L"托盘", call.data.szTip) << index;
  };

  tray.calls.clear();
  ASSERT_TRUE(tray.SetNotificationWnd(&first));
  EXPECT_EQ(2u, tray.calls.size());
  expect(0, NIM_DELETE, tray.Hwnd());
  expect(1, NIM_ADD, first.Hwnd());
  EXPECT_EQ(&first, tray.GetNotificationWnd());

  // Refused under the new window: put back under the old one.
  tray.answer = [&](DWORD action, const NOTIFYICONDATAW& data) {
    return action != NIM_ADD || data.hWnd != second.Hwnd();
  };
  tray.calls.clear();
  EXPECT_FALSE(tray.SetNotificationWnd(&second));
  EXPECT_EQ(3u, tray.calls.size());
  expect(0, NIM_DELETE, first.Hwnd());
  expect(1, NIM_ADD, second.Hwnd());
  expect(2, NIM_ADD, first.Hwnd());
  EXPECT_EQ(&first, tray.GetNotificationWnd());
  // A refused removal changes nothing.
  tray.answer = [](DWORD action, const NOTIFYICONDATAW&) { return action != NIM_DELETE; };
  tray.calls.clear();
  EXPECT_FALSE(tray.SetNotificationWnd(&second));
  EXPECT_EQ(1u, tray.calls.size());
  EXPECT_EQ(&first, tray.GetNotificationWnd());

  // Later calls address the icon where it is.
  tray.answer = [](DWORD, const NOTIFYICONDATAW&) { return TRUE; };
  tray.calls.clear();
  EXPECT_TRUE(tray.SetTooltipText(L"新"));
  tray.RemoveIcon();
  EXPECT_EQ(2u, tray.calls.size());
  expect(0, NIM_MODIFY, first.Hwnd());
  expect(1, NIM_DELETE, first.Hwnd());
}

}  // namespace

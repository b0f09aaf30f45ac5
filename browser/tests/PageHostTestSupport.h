#pragma once
// Browser pages in tabs of a real strip inside a test window that answers
// the page messages the strip relays and records them.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "IETab.h"
#include "MessageLoop.h"
#include "SkinTestSupport.h"
#include "TabCtrl.h"
#include "TabCtrlNotify.h"
#include "TabStripResources.h"

struct PageMessage {
  UINT message;
  std::wstring url;  // for 2030
  LPARAM lParam;
};

class PageOwnerWindow : public fw::Wnd {
 public:
  std::vector<PageMessage> received;
  // Non-zero refuses the navigation.
  std::function<LRESULT(const std::wstring&)> answerNavigation = [](const std::wstring&) { return 0; };
  std::function<LRESULT(WPARAM, LPARAM)> answerNewWindow = [](WPARAM, LPARAM) { return 0; };

  int Count(UINT message) const {
    int count = 0;
    for (const auto& m : received) count += m.message == message;
    return count;
  }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message < WM_IE_TITLECHANGE || message > WM_IE_BEFORENAVIGATE) return fw::Wnd::OnMessage(message, wParam, lParam, result);
    const bool navigation = message == WM_IE_BEFORENAVIGATE;
    received.push_back({message, navigation ? reinterpret_cast<const wchar_t*>(wParam) : L"", lParam});
    result = navigation ? answerNavigation(received.back().url)
                        : message == WM_IE_NEWWINDOW ? answerNewWindow(wParam, lParam) : 0;
    return true;
  }
};

// Runs the thread's messages until `done` or the time is up.
inline bool RunUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) fw::DispatchOne(message);
    ::Sleep(10);
  }
  return true;
}

class PageHostTest : public ::testing::Test {
 protected:
  static constexpr int kPageId = 3010;

  void SetUp() override {
    ASSERT_TRUE(owner.Create(PopupArgs(0, 0, 800, 600)));
    strip = std::make_unique<TabCtrl>(&notify, IDB_TAB_BUTTONS);
    ASSERT_TRUE(strip->Create(owner.Hwnd(), WS_CHILD | WS_VISIBLE, owner.ClientRect(), 3001));
  }
  void TearDown() override {
    for (IETab* tab : tabs) {
      DestroyIETabWindow(tab);
      strip->DeleteTab(tab);  // deletes the page
    }
    tabs.clear();
    strip.reset();
    owner.Destroy();
  }
  IETab* OpenPage() {
    IETab* tab = strip->NewIETab();
    EXPECT_TRUE(tab->CreatePageWindow(strip->Hwnd()));
    ::SetWindowLongPtrW(tab->Hwnd(), GWLP_ID, kPageId);
    strip->AddTab(tab, L"", -1);
    strip->SelectTab(tab);
    tabs.push_back(tab);
    return tab;
  }

  PageOwnerWindow owner;
  TabCtrlNotify notify;
  std::unique_ptr<TabCtrl> strip;
  std::vector<IETab*> tabs;
};

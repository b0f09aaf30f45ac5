#pragma once
// A stand-in main window for the navigation policy: a real window whose
// minute-timer ticks reach the policy, recording what the policy asks of it.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "NavigationPolicy.h"
#include "Wnd.h"

class PolicyHostWindow : public fw::Wnd, public INavigationPolicyHost {
 public:
  PolicyHostWindow() {
    fw::CreateArgs args;
    args.style = WS_POPUP;
    Create(args);
  }
  ~PolicyHostWindow() override { Destroy(); }

  HWND PolicyWindow() const override { return Hwnd(); }
  void ShowNotify(const std::wstring& text) override { notices.push_back(text); }
  // Closing the pages pumps messages: the registration timer may run
  // before the call returns.
  void CloseAllTabs() override {
    ++tabClosings;
    if (policy) policy->KeepRegistered();
  }

  // A tick as the system delivers it.
  void Tick() { Send(WM_TIMER, CNavigationPolicy::kMinuteTimer, 0); }

  CNavigationPolicy* policy = nullptr;
  std::vector<std::wstring> notices;
  int tabClosings = 0;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_TIMER && wParam == CNavigationPolicy::kMinuteTimer && policy) {
      policy->OnMinuteTick();
      return true;
    }
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
};

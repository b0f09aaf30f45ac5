#pragma once
// Holds this thread's tooltips to the rule of comctl32 5, which every program
// without a manifest gets: it refuses a tool record larger than
// TTTOOLINFOW_V2_SIZE. Wine's comctl32 takes any size, so the test checks
// every record sent to a tooltip while an object of this class lives.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

class ToolInfoSizeCheck {
 public:
  ToolInfoSizeCheck() {
    seen_ = 0;
    hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, &Inspect, nullptr, ::GetCurrentThreadId());
    EXPECT_NE(nullptr, hook_) << "the tooltips go unchecked";
  }
  ~ToolInfoSizeCheck() {
    if (hook_) ::UnhookWindowsHookEx(hook_);
  }
  ToolInfoSizeCheck(const ToolInfoSizeCheck&) = delete;
  ToolInfoSizeCheck& operator=(const ToolInfoSizeCheck&) = delete;

  // The records checked so far: none means the check saw nothing.
  static int Seen() { return seen_; }

 private:
  static LRESULT CALLBACK Inspect(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) Check(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }

  // The tool record a tooltip message carries, or none.
  static const TOOLINFOW* RecordOf(const CWPSTRUCT& call) {
    if (!call.lParam) return nullptr;
    switch (call.message) {
      case TTM_HITTESTA:
      case TTM_HITTESTW:
        return &reinterpret_cast<const TTHITTESTINFOW*>(call.lParam)->ti;
      case TTM_ADDTOOLA:
      case TTM_ADDTOOLW:
      case TTM_DELTOOLA:
      case TTM_DELTOOLW:
      case TTM_NEWTOOLRECTA:
      case TTM_NEWTOOLRECTW:
      case TTM_GETTOOLINFOA:
      case TTM_GETTOOLINFOW:
      case TTM_SETTOOLINFOA:
      case TTM_SETTOOLINFOW:
      case TTM_GETTEXTA:
      case TTM_GETTEXTW:
      case TTM_UPDATETIPTEXTA:
      case TTM_UPDATETIPTEXTW:
      case TTM_ENUMTOOLSA:
      case TTM_ENUMTOOLSW:
      case TTM_GETCURRENTTOOLA:
      case TTM_GETCURRENTTOOLW:
      case TTM_TRACKACTIVATE:
      case TTM_GETBUBBLESIZE:
        return reinterpret_cast<const TOOLINFOW*>(call.lParam);
      default:
        return nullptr;
    }
  }

  static bool IsToolTip(HWND window) {
    wchar_t name[64] = {};
    return ::GetClassNameW(window, name, 64) && ::lstrcmpiW(name, TOOLTIPS_CLASSW) == 0;
  }

  static void Check(const CWPSTRUCT& call) {
    const TOOLINFOW* tool = RecordOf(call);
    if (!tool || !IsToolTip(call.hwnd)) return;
    ++seen_;
    const UINT largest = TTTOOLINFOW_V2_SIZE;
    EXPECT_LE(tool->cbSize, largest) << "comctl32 5 refuses this record (message 0x" << std::hex << call.message
                                     << ")";
  }

  static inline int seen_ = 0;
  HHOOK hook_ = nullptr;
};

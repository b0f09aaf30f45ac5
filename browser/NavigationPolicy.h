#pragma once
#include <windows.h>

#include <string>

#include "SharedState.h"
#include "SiteList.h"

class CSysConf;

// Text for the popup notifier, sent by a window to itself (wParam: the
// text, lParam 0).
const UINT WM_SHOW_NOTIFY = 2258;

// What the policy needs of the main window that owns it.
class INavigationPolicyHost {
 public:
  // The main window: its handle is the one registered in the shared words,
  // and the minute timer runs on it.
  virtual HWND PolicyWindow() const = 0;
  // Shows a text in the popup notifier at once.
  virtual void ShowNotify(const std::wstring& text) = 0;
  // Deletes every tab and opens one on "about:blank".
  virtual void CloseAllTabs() = 0;

 protected:
  ~INavigationPolicyHost() = default;
};

// The parent's rules for one browser window: which navigation may go on, the
// daily online-time limit with its one-minute warning, and the time-up state
// that refuses every page but "about:blank" until the window closes.
class CNavigationPolicy {
 public:
  static const UINT_PTR kMinuteTimer = 1002;
  static const UINT kMinuteMs = 60000;
  static const wchar_t kTimeUpText[];
  static const wchar_t kSiteRefusedText[];
  static const wchar_t kOneMinuteLeftText[];

  // Loads the allowed sites (navctrl.dat); the settings are read at every
  // decision, so a reload takes effect at the next one. A minute of the
  // limit lasts `minuteMs` of the minute timer.
  CNavigationPolicy(const CSysConf& settings, INavigationPolicyHost& host, CSharedState shared = CSharedState(),
                    UINT minuteMs = kMinuteMs);

  // 0 lets the navigation go on, 1 refuses it (the notifier tells why).
  int OnBeforeNavigate(const std::wstring& url);
  // Non-zero while today's minutes plus `increment` stay below the limit.
  // Reads tl.dat without writing it; one that cannot be read leaves no time.
  int CheckTodayTime(int increment) const;
  // End of the window's initialisation: true when the day was used up and
  // the window went to time up instead of opening its start page.
  bool CheckAtStart();
  // The delayed start: the minute timer runs in every browser, so whichever
  // becomes the registered one counts.
  void StartCounting();
  void OnMinuteTick();
  // Every browser that may count keeps itself registered and its minute
  // timer running (after the delayed start); a window that may not gives the
  // registration up when it holds it, and its timer stops.
  void KeepRegistered();
  // Marks the window in time up, then closes the tabs. While the limit holds
  // the window refuses every page and counts nothing more, so that left open
  // past midnight it spends none of the new day: a browser still usable
  // registers and counts instead.
  void OnTimeUp();

  // Not in time up, or the parent turned the limit off: the one test for
  // refusing, counting, registering and the minute timer.
  bool IsUsable() const;
  int IsTimeUp() const { return timeUp_; }
  CNavCtrlList& Sites() { return sites_; }

 private:
  // The minutes the registered browser counted on one local day, kept apart
  // from tl.dat: a file it cannot write (read-only, another account's) or
  // one deleted mid-day must not give the child more time.
  struct CountedDay {
    int year = 0;
    int month = 0;
    int day = 0;
    int minutes = 0;
  };

  bool IsRegistered() const;
  // Adds this tick to tl.dat and to the day's own count; answers the day's
  // minutes by the larger of the two, whether tl.dat was written, and
  // whether it could be read at all.
  int CountMinute(bool* written, bool* known);
  // Today's minutes in tl.dat; false when it is there but cannot be read.
  static bool ReadTodayMinutes(int* minutes);
  void RunMinuteTimer(bool run);

  const CSysConf& settings_;
  INavigationPolicyHost& host_;
  CSharedState shared_;
  const UINT minuteMs_;
  CNavCtrlList sites_;
  int timeUp_ = 0;
  bool warned_ = false;
  bool started_ = false;
  bool timerRunning_ = false;
  CountedDay counted_;
};

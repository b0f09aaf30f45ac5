#include "NavigationPolicy.h"

#include <algorithm>
#include <string_view>

#include "ProgramPage.h"
#include "StringConv.h"
#include "SysConf.h"
#include "TimeLog.h"

namespace {

bool HasScheme(const std::wstring& url, std::wstring_view scheme) {
  return url.size() >= scheme.size() && fw::EqualsNoCase(std::wstring_view(url).substr(0, scheme.size()), scheme);
}

// What the locked browser opens: web pages, the page's own script, the
// control's error pages and the program's own pages. Every other address
// (files, source views, mail, ftp) opens a window of another program.
bool OpensWhenLocked(const std::wstring& url) {
  for (const wchar_t* scheme : {L"http:", L"https:", L"javascript:", L"res:"})
    if (HasScheme(url, scheme)) return true;
  return IsProgramPage(url);
}

}  // namespace

const wchar_t CNavigationPolicy::kTimeUpText[] = L"今天上网的时间已到，注意休息哦";
const wchar_t CNavigationPolicy::kSiteRefusedText[] = L"噢，这个网页妈妈不让看哦...";
const wchar_t CNavigationPolicy::kOneMinuteLeftText[] = L"今天的上网时间还剩下 1 分钟";

CNavigationPolicy::CNavigationPolicy(const CSysConf& settings, INavigationPolicyHost& host, CSharedState shared,
                                     UINT minuteMs)
    : settings_(settings), host_(host), shared_(shared), minuteMs_(minuteMs) {
  sites_.Load();
}

int CNavigationPolicy::OnBeforeNavigate(const std::wstring& url) {
  if (fw::EqualsNoCase(url, L"about:blank")) return 0;
  const wchar_t* refusal = nullptr;
  if (!IsUsable())
    refusal = kTimeUpText;
  else if (settings_.fullscreen_always && !OpensWhenLocked(url))
    refusal = kSiteRefusedText;
  else if (settings_.enable_filter && !sites_.IsHostListed(url))
    refusal = kSiteRefusedText;
  if (!refusal) return 0;
  host_.ShowNotify(refusal);
  return 1;
}

bool CNavigationPolicy::ReadTodayMinutes(int* minutes) {
  CTimeLog log;
  *minutes = log.TodayMinutes();
  return !log.Unreadable();
}

int CNavigationPolicy::CheckTodayTime(int increment) const {
  int minutes = 0;
  return ReadTodayMinutes(&minutes) && minutes + increment < settings_.time ? 1 : 0;
}

bool CNavigationPolicy::CheckAtStart() {
  if (!settings_.limited || CheckTodayTime(0)) return false;
  OnTimeUp();
  return true;
}

bool CNavigationPolicy::IsUsable() const { return !timeUp_ || !settings_.limited; }

void CNavigationPolicy::StartCounting() {
  started_ = true;
  RunMinuteTimer(IsUsable());
  if (!timeUp_ && settings_.limited && !CheckTodayTime(0)) OnTimeUp();
}

void CNavigationPolicy::RunMinuteTimer(bool run) {
  // Set again, a running timer would start its minute over.
  if (run == timerRunning_) return;
  timerRunning_ = run;
  if (run)
    ::SetTimer(host_.PolicyWindow(), kMinuteTimer, minuteMs_, nullptr);
  else
    ::KillTimer(host_.PolicyWindow(), kMinuteTimer);
}

bool CNavigationPolicy::IsRegistered() const { return shared_.IsOwnMainWindow(host_.PolicyWindow()); }

void CNavigationPolicy::KeepRegistered() {
  const HWND window = host_.PolicyWindow();
  const bool usable = IsUsable();
  if (started_) RunMinuteTimer(usable);
  if (!usable)
    shared_.GiveUpMainWindow(window);
  else if (!shared_.IsOwnMainWindow(window))
    shared_.SetMainWindowIfEmpty(window);
}

int CNavigationPolicy::CountMinute(bool* written, bool* known) {
  CTimeLog log;
  log.AddUsage(settings_.time, 1);
  *known = !log.Unreadable();
  // The log now holds today's date. A day this browser has counted before
  // goes on from its own sum, also when the file started it again at 0.
  const bool sameDay =
      log.start_year == counted_.year && log.start_month == counted_.month && log.start_day == counted_.day;
  if (sameDay)
    counted_.minutes = std::max(counted_.minutes + 1, log.time_sum);
  else
    counted_ = CountedDay{log.start_year, log.start_month, log.start_day, log.time_sum};
  // A file that lost minutes (deleted or replaced mid-day) gets them back, so
  // a browser registering after this one goes on from the whole sum.
  if (log.Saved() && counted_.minutes > log.time_sum) log.AddUsage(settings_.time, counted_.minutes - log.time_sum);
  *written = log.Saved();
  return counted_.minutes;
}

void CNavigationPolicy::OnMinuteTick() {
  if (!IsUsable()) return;
  const bool registered = IsRegistered();
  // The registered browser counts every minute, also with the limit off; its
  // count already holds the file's sum. The others read the file.
  bool written = true;
  bool known = true;
  int used = registered ? CountMinute(&written, &known) : 0;
  if (!settings_.limited) return;
  // Each browser decides by today's minutes, never by the shared flag alone:
  // a flag left from yesterday must not end a new day.
  if (!registered) known = ReadTodayMinutes(&used);
  const int remaining = settings_.time - used;
  // A tl.dat nobody can write holds no one's minutes: the flag of a browser
  // that reached the limit before this one registered is all there is.
  const bool endedElsewhere = registered && !written && shared_.IsTimeUp();
  // A tl.dat another program holds tells no one's minutes: no time is known
  // to be left, yet no browser reached the limit.
  if (!known || remaining <= 0 || endedElsewhere) {
    if (registered && known) shared_.SetTimeUp(1);
    OnTimeUp();
    return;
  }
  if (remaining > 1) {
    warned_ = false;  // a new day warns again
    return;
  }
  if (warned_) return;
  warned_ = true;
  host_.ShowNotify(kOneMinuteLeftText);
}

void CNavigationPolicy::OnTimeUp() {
  // Marked first: closing the pages pumps messages, and the registration
  // timer must not register this window again in between.
  timeUp_ = 1;
  KeepRegistered();
  host_.CloseAllTabs();
  host_.ShowNotify(kTimeUpText);
}

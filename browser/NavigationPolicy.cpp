#include "NavigationPolicy.h"

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

CNavigationPolicy::CNavigationPolicy(const CSysConf& settings, INavigationPolicyHost& host, CSharedState shared)
    : settings_(settings), host_(host), shared_(shared) {
  sites_.Load();
}

int CNavigationPolicy::OnBeforeNavigate(const std::wstring& url) {
  if (fw::EqualsNoCase(url, L"about:blank")) return 0;
  const wchar_t* refusal = nullptr;
  if (settings_.limited && timeUp_)
    refusal = kTimeUpText;
  else if (settings_.fullscreen_always && !OpensWhenLocked(url))
    refusal = kSiteRefusedText;
  else if (settings_.enable_filter && !sites_.IsHostListed(url))
    refusal = kSiteRefusedText;
  if (!refusal) return 0;
  host_.ShowNotify(refusal);
  return 1;
}

int CNavigationPolicy::CheckTodayTime(int increment) const {
  CTimeLog log;
  return log.TodayMinutes() + increment < settings_.time ? 1 : 0;
}

bool CNavigationPolicy::CheckAtStart() {
  if (!settings_.limited || CheckTodayTime(0)) return false;
  OnTimeUp();
  return true;
}

void CNavigationPolicy::StartCounting() {
  if (timeUp_) return;
  ::SetTimer(host_.PolicyWindow(), kMinuteTimer, kMinuteMs, nullptr);
  if (settings_.limited && !CheckTodayTime(0)) OnTimeUp();
}

bool CNavigationPolicy::IsRegistered() const { return shared_.IsOwnMainWindow(host_.PolicyWindow()); }

void CNavigationPolicy::KeepRegistered() {
  const HWND window = host_.PolicyWindow();
  if (timeUp_)
    shared_.GiveUpMainWindow(window);
  else if (!shared_.IsOwnMainWindow(window))
    shared_.SetMainWindowIfEmpty(window);
}

void CNavigationPolicy::OnMinuteTick() {
  if (timeUp_) return;
  const bool registered = IsRegistered();
  // The registered browser counts every minute, also with the limit off.
  if (registered) CTimeLog().AddUsage(settings_.time, 1);
  if (!settings_.limited) return;
  // Each browser decides by today's minutes in tl.dat, never by the shared
  // flag alone: a flag left from yesterday must not end a new day.
  const int remaining = settings_.time - CTimeLog().TodayMinutes();
  if (remaining <= 0) {
    if (registered) shared_.SetTimeUp(1);
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
  ::KillTimer(host_.PolicyWindow(), kMinuteTimer);
  shared_.GiveUpMainWindow(host_.PolicyWindow());
  host_.CloseAllTabs();
  timeUp_ = 1;
  host_.ShowNotify(kTimeUpText);
}

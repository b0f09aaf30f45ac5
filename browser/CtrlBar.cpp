#include "CtrlBar.h"

#include <windowsx.h>

#include "CoreResources.h"
#include "DataExchange.h"
#include "IVolumeCtrl.h"
#include "StringConv.h"
#include "SysConf.h"
#include "TimeLog.h"

namespace {

const wchar_t kWelcome[] = L":欢迎来到互联网世界!";

// Minutes already online today: the bar's counter goes on from them. An
// earlier day's record counts 0.
int MinutesUsedToday() { return CTimeLog().TodayMinutes(); }

}  // namespace

CCtrlBar::CCtrlBar(CSysConf& settings, HWND parent, CtrlBarServices services)
    : CSkinDlg(IDD_CTRLBAR, parent),
      settings_(settings),
      services_(std::move(services)),
      brightness_(services_.makeGammaDisplay ? services_.makeGammaDisplay() : nullptr) {
  m_strSkinElement = L"ctrlbar";
  m_strSkinFile = L"skin.xml";
  m_strSkinTheme = L"default";
  startTime_ = services_.now() - static_cast<std::time_t>(MinutesUsedToday()) * 60;
  messageText_ = WelcomeText();
  volume_ = services_.makeVolume();
  if (volume_) volume_->Init();
}

CCtrlBar::~CCtrlBar() {
  if (volume_) {
    volume_->UnInit();
    services_.freeVolume(volume_);
  }
}

std::wstring CCtrlBar::WelcomeText() const { return settings_.nick_name + kWelcome; }

UINT CCtrlBar::MessageIntervalSeconds(int interval) {
  if (interval < 1) return kDefaultIntervalSeconds;
  if (interval > kMaxIntervalSeconds) return kMaxIntervalSeconds;
  return static_cast<UINT>(interval);
}

std::wstring CCtrlBar::ElapsedText(long long seconds) {
  if (seconds < 0) seconds = 0;
  const int hours = static_cast<int>(seconds / 3600 % 24);
  const int minutes = static_cast<int>(seconds / 60 % 60);
  const int rest = static_cast<int>(seconds % 60);
  std::wstring text = L"你已经上网:";
  if (hours > 0) text += fw::Format(L"%02d时", hours);
  if (minutes > 0) text += fw::Format(L"%02d分", minutes);
  if (rest > 0) text += fw::Format(L"%02d秒", rest);
  return text;
}

std::wstring CCtrlBar::ClockText(std::time_t now) {
  std::tm local{};
  if (localtime_s(&local, &now) != 0) return std::wstring();
  return fw::Format(L"%02d:%02d", local.tm_hour, local.tm_min);
}

void CCtrlBar::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Control(IDC_SETUP, setup_);
  exchange.Control(IDC_KIDSCTRL, kidsCtrl_);
  exchange.Control(IDC_VOLUME_SLIDER, volumeSlider_);
  exchange.Control(IDC_BRIGHTNESS_SLIDER, brightnessSlider_);
}

BOOL CCtrlBar::OnInitDialog() {
  CSkinDlg::OnInitDialog();
  ::SetTimer(hwnd_, kClockTimer, 1000, nullptr);
  StartMessageTimer();
  UpdateTimeTexts();
  // Failed volume calls answer their failure values, which are shown as they are.
  const int minimum = volume_ ? volume_->GetMin() : 0;
  const int maximum = volume_ ? volume_->GetMax() : 100;
  SetUpSlider(volumeSlider_, L"vol_bg", L"vol_th", true, minimum, maximum, volume_ ? volume_->GetVol() : 0);
  SetUpSlider(brightnessSlider_, L"bri_bg", L"bri_th", false, CGammaSlider::kMinLevel, CGammaSlider::kMaxLevel,
              brightness_.GetLevel());
  return TRUE;
}

void CCtrlBar::SetUpSlider(CBitmapSlider& slider, const wchar_t* channel, const wchar_t* thumb,
                           bool transparentThumb, int minimum, int maximum, int position) {
  if (HBITMAP picture = m_skin.GetItemBitmap(channel)) slider.SetBitmapChannel(picture);
  if (HBITMAP picture = m_skin.GetItemBitmap(thumb)) slider.SetBitmapThumb(picture, nullptr, transparentThumb);
  slider.SetRange(minimum, maximum);
  slider.SetPos(position);
  slider.SetMargin(2, 3, 2, 0);
}

void CCtrlBar::BindSkinItems() {
  CSkinDlg::BindSkinItems();
  SetButtonSkin(L"setup", &setup_);
  SetSkinItemWnd(L"setup", setup_.Hwnd());
  SetButtonSkin(L"kidsctrl", &kidsCtrl_);
  SetSkinItemWnd(L"kidsctrl", kidsCtrl_.Hwnd());
  SetSkinItemWnd(L"bright", brightnessSlider_.Hwnd());
  SetSkinItemWnd(L"volmue", volumeSlider_.Hwnd());
  m_skin.ShowItem(L"time_left", true);
  if (!settings_.open_btn_sound) return;
  setup_.EnableSound(TRUE);
  kidsCtrl_.EnableSound(TRUE);
}

void CCtrlBar::OnSkinPrePaint() {
  CSkinDlg::OnSkinPrePaint();
  m_skin.SetItemText(L"information", messageText_, 0, false);
  m_skin.SetItemText(L"timepassage", timeText_, 0, false);
  m_skin.SetItemText(L"curtime", clockText_, 0, false);
  m_skin.ShowItem(L"time_left", true);
}

void CCtrlBar::StartMessageTimer() {
  ::SetTimer(hwnd_, kMessageTimer, MessageIntervalSeconds(settings_.interval) * 1000, nullptr);
}

void CCtrlBar::InvalidateItem(const wchar_t* id) {
  const RECT* rect = m_skin.GetItemRect(id);
  if (rect) ::InvalidateRect(hwnd_, rect, FALSE);
}

void CCtrlBar::UpdateTimeTexts() {
  const std::time_t now = services_.now();
  timeText_ = ElapsedText(static_cast<long long>(now - startTime_));
  clockText_ = ClockText(now);
  InvalidateItem(L"timepassage");
  InvalidateItem(L"curtime");
}

void CCtrlBar::ShowNextMessage() {
  std::wstring next = messages_.GetNextWord();
  messageText_ = next.empty() ? WelcomeText() : settings_.nick_name + L":" + next;
  InvalidateItem(L"information");
}

void CCtrlBar::OnTimer(UINT_PTR id) {
  if (id == kClockTimer) UpdateTimeTexts();
  if (id == kMessageTimer) ShowNextMessage();
}

void CCtrlBar::OnVolumeMoving(int position) {
  if (!volume_) return;
  volume_->SetVol(position);
  // SetMute toggles: only call it when the state must change.
  const bool muted = volume_->GetMute() != 0;
  if (position == 0 && !muted) volume_->SetMute();
  if (position > 0 && muted) volume_->SetMute();
}

void CCtrlBar::OnSliderMoving(UINT id, int position) {
  if (id == IDC_VOLUME_SLIDER) OnVolumeMoving(position);
  if (id == IDC_BRIGHTNESS_SLIDER) brightness_.SetLevel(position);
}

void CCtrlBar::OnLButtonUp(POINT at) {
  const RECT* information = m_skin.GetItemRect(L"information");
  if (!m_skin.FindItem(L"info") || !information || !::PtInRect(information, at)) return;
  StartMessageTimer();
  ShowNextMessage();
}

void CCtrlBar::OpenDashBoard(int mode) {
  // Only a save changes the settings; a cancelled panel leaves them.
  if (services_.showDashBoard(mode) == IDOK) settings_.Load();
}

bool CCtrlBar::OnCommand(UINT id, UINT code, HWND control) {
  if (code == BN_CLICKED && (id == IDC_SETUP || id == IDC_KIDSCTRL)) {
    OpenDashBoard(id == IDC_SETUP ? 0 : 1);
    return true;
  }
  return CSkinDlg::OnCommand(id, code, control);
}

bool CCtrlBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return false;
    case WM_SLIDER_MOVING:
      OnSliderMoving(static_cast<UINT>(wParam), static_cast<int>(lParam));
      result = 0;
      return true;
    case WM_LBUTTONUP:
      OnLButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      break;
    default:
      break;
  }
  return CSkinDlg::OnMessage(message, wParam, lParam, result);
}

bool CCtrlBar::PreTranslateMessage(MSG& message) {
  if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
    StartHelp(services_.programFolder);
    return true;
  }
  return CSkinDlg::PreTranslateMessage(message);
}

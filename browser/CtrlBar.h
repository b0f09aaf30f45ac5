#pragma once
#include <ctime>
#include <memory>
#include <string>

#include "BitmapSlider.h"
#include "ButtonST.h"
#include "CtrlBarServices.h"
#include "GammaSlider.h"
#include "SkinDlg.h"
#include "WordsList.h"

class CSysConf;
class IVolumeCtrl;

// The skinned bar along the browser's main window: today's time online, the
// clock, the parent's rotating messages, two buttons into the control panel,
// and sliders for the master volume and the screen brightness.
class CCtrlBar : public CSkinDlg {
 public:
  static const UINT_PTR kClockTimer = 1000;
  static const UINT_PTR kMessageTimer = 1003;
  static const int kDefaultIntervalSeconds = 15;
  static const int kMaxIntervalSeconds = 86400;

  CCtrlBar(CSysConf& settings, HWND parent, CtrlBarServices services = CtrlBarServices::Defaults());
  ~CCtrlBar() override;

  // Seconds between two messages: `interval`, 15 for anything below 1 (a
  // zero timer would repaint without pause), at most a day.
  static UINT MessageIntervalSeconds(int interval);
  // "你已经上网:" with the hour, minute and second parts that are above 0.
  static std::wstring ElapsedText(long long seconds);
  static std::wstring ClockText(std::time_t now);

  const std::wstring& TimeText() const { return timeText_; }
  const std::wstring& ClockTextShown() const { return clockText_; }
  const std::wstring& MessageText() const { return messageText_; }
  CGammaSlider& Brightness() { return brightness_; }
  CBitmapSlider& VolumeSlider() { return volumeSlider_; }
  CBitmapSlider& BrightnessSlider() { return brightnessSlider_; }
  CWordsList& Messages() { return messages_; }

  bool PreTranslateMessage(MSG& message) override;

 protected:
  void DoDataExchange(fw::DataExchange& exchange) override;
  BOOL OnInitDialog() override;
  void BindSkinItems() override;
  void OnSkinPrePaint() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void OnTimer(UINT_PTR id);
  void UpdateTimeTexts();
  void ShowNextMessage();
  void StartMessageTimer();
  void OnSliderMoving(UINT id, int position);
  void OnVolumeMoving(int position);
  void OnLButtonUp(POINT at);
  void OpenDashBoard(int mode);
  void InvalidateItem(const wchar_t* id);
  void SetUpSlider(CBitmapSlider& slider, const wchar_t* channel, const wchar_t* thumb, bool transparentThumb,
                   int minimum, int maximum, int position);
  std::wstring WelcomeText() const;

  CSysConf& settings_;
  CtrlBarServices services_;
  CButtonST setup_;
  CButtonST kidsCtrl_;
  CBitmapSlider brightnessSlider_;
  CBitmapSlider volumeSlider_;
  CGammaSlider brightness_;
  CWordsList messages_;
  std::time_t startTime_ = 0;
  IVolumeCtrl* volume_ = nullptr;
  std::wstring timeText_;
  std::wstring clockText_;
  std::wstring messageText_;
};

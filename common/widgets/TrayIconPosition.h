#pragma once
#include <windows.h>

#include <ctime>

// Finds where the notification area draws one icon: by reading the
// taskbar's own toolbar (in the shell's process), or by showing a test icon
// and looking for its black mark on the screen.
class CTrayIconPosition {
 public:
  enum Method { kLookupThenScan = 0, kScanThenLookup = 1, kLookupOnly = 2, kScanOnly = 3 };

  CTrayIconPosition();
  virtual ~CTrayIconPosition() = default;

  void InitializeTracking(HWND owner, UINT iconId);
  // -1 without an icon to track; 1 when found, else 0 with a best guess in
  // `point`. Precision 1-3 (0 = default) picks how long a scan is trusted.
  int GetIconPosition(POINT& point, int method = kLookupThenScan, int precision = 0);
  void SetPrecisionTimes(int seconds1, int seconds2, int seconds3);
  // The next scan runs whatever its precision.
  void Invalidate();
  void RestoreIcon(HICON icon);

  // The taskbar's notification toolbar, or its notification window when the
  // toolbar is missing; null without a taskbar.
  static HWND FindNotifyToolbar();
  // The test icon's mark in `area` of `source`: a run of more than 8 columns
  // that are near black in a row and two rows above and below it.
  static bool FindIconMark(HDC source, const RECT& area, POINT& found);
  // The 16x16 monochrome icon whose mark the scan looks for.
  static HICON CreateTestIcon();

 private:
  bool LookUpInTaskbar(POINT& point);
  int ScanScreen(POINT& point, int precision);
  RECT TaskbarRect() const;

  RECT taskbarRect_{};
  int defaultPrecision_ = 3;
  std::time_t lastScan_ = 0;
  POINT cachedPoint_{};
  int iconId_ = -1;
  HWND owner_ = nullptr;
  int lifetimes_[3] = {60, 30, 10};
  OSVERSIONINFOW version_{};
};

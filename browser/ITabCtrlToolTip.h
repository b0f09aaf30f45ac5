#pragma once
#include <windows.h>

class TabCtrl;

// Makes the strip's tooltip control.
class ITabCtrlToolTip {
 public:
  virtual ~ITabCtrlToolTip() = default;
  // The tooltip window, or none when it cannot be made.
  virtual HWND CreateToolTip(TabCtrl* ctrl, ITabCtrlToolTip* base) = 0;
};

inline HWND CreateToolTip(ITabCtrlToolTip* t, TabCtrl* c) { return t->CreateToolTip(c, nullptr); }

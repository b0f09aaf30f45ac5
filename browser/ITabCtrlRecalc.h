#pragma once
#include <windows.h>

class TabCtrl;
class Tab;

// The strip's metrics. Each operation gets the strip and, last, the strip's
// own default implementation, so a replacement can fall back on it. Margins
// and insets are given as left, top, right, bottom.
class ITabCtrlRecalc {
 public:
  virtual ~ITabCtrlRecalc() = default;
  virtual int GetBorderWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
  virtual RECT GetControlAreaInset(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
  virtual RECT GetWindowsAreaInset(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
  virtual RECT GetTabHorzMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
  virtual RECT GetTabInset(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
  virtual int GetTabImageTextSpace(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
  virtual int GetTabExtraWidth(const TabCtrl* ctrl, const Tab* tab, ITabCtrlRecalc* base) = 0;
  virtual int GetTabMinWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
  virtual RECT GetScrollButtonsLeftMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
  virtual RECT GetScrollButtonsRightMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
  virtual RECT GetMenuButtonMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
  virtual RECT GetCloseButtonMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
};

// Each operation on a given manager, with no default to fall back on.
inline int GetBorderWidth(ITabCtrlRecalc* r, const TabCtrl* c) { return r->GetBorderWidth(c, nullptr); }
inline RECT GetControlAreaInset(ITabCtrlRecalc* r, const TabCtrl* c) { return r->GetControlAreaInset(c, nullptr); }
inline RECT GetWindowsAreaInset(ITabCtrlRecalc* r, const TabCtrl* c) { return r->GetWindowsAreaInset(c, nullptr); }
inline RECT GetTabHorzMargin(ITabCtrlRecalc* r, const TabCtrl* c) { return r->GetTabHorzMargin(c, nullptr); }
inline RECT GetTabInset(ITabCtrlRecalc* r, const TabCtrl* c) { return r->GetTabInset(c, nullptr); }
inline int GetTabImageTextSpace(ITabCtrlRecalc* r, const TabCtrl* c) { return r->GetTabImageTextSpace(c, nullptr); }
inline int GetTabExtraWidth(ITabCtrlRecalc* r, const TabCtrl* c, const Tab* t) {
  return r->GetTabExtraWidth(c, t, nullptr);
}
inline int GetTabMinWidth(ITabCtrlRecalc* r, const TabCtrl* c) { return r->GetTabMinWidth(c, nullptr); }
inline RECT GetScrollButtonsLeftMargin(ITabCtrlRecalc* r, const TabCtrl* c) {
  return r->GetScrollButtonsLeftMargin(c, nullptr);
}
inline RECT GetScrollButtonsRightMargin(ITabCtrlRecalc* r, const TabCtrl* c) {
  return r->GetScrollButtonsRightMargin(c, nullptr);
}
inline RECT GetMenuButtonMargin(ITabCtrlRecalc* r, const TabCtrl* c) { return r->GetMenuButtonMargin(c, nullptr); }
inline RECT GetCloseButtonMargin(ITabCtrlRecalc* r, const TabCtrl* c) { return r->GetCloseButtonMargin(c, nullptr); }

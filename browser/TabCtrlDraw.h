#pragma once
#include <windows.h>

class TabCtrl;
class Tab;

// Paints the strip. Every operation gets the strip first and, when it paints,
// the device context next. This base paints nothing and keeps the rectangle
// of the current tab's close mark, which the strip's input asks for.
class TabCtrlDraw {
 public:
  virtual ~TabCtrlDraw() = default;

  // True: tabs are painted first to last; false: last to first.
  virtual bool IsDrawTabsInOrder(const TabCtrl* ctrl);
  virtual void DrawBegin(const TabCtrl* ctrl, HDC dc);
  virtual void DrawBorder(const TabCtrl* ctrl, HDC dc, const RECT& client);
  virtual void DrawCtrlAreaBack(const TabCtrl* ctrl, HDC dc, const RECT& area);
  virtual void DrawTab(const TabCtrl* ctrl, HDC dc, Tab* tab, HRGN clip);
  virtual void DrawCloseMarkTabHover(const TabCtrl* ctrl, HDC dc, const RECT& rect, int state);
  virtual void DrawCloseMark(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed);
  virtual void DrawButtonCloseAll(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed);
  virtual void DrawButtonMenu(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed,
                              bool scrollingPossible);
  virtual void DrawButtonScrollLeft(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed,
                                    bool enabled);
  virtual void DrawButtonScrollRight(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed,
                                     bool enabled);
  virtual void DrawWndsArea(const TabCtrl* ctrl, HDC dc, const RECT& area);
  virtual void DrawEnd(const TabCtrl* ctrl, HDC dc);
  // The close mark of the last painted current tab; empty before any.
  virtual void GetCloseMarkRect(const TabCtrl* ctrl, RECT* rect);
  virtual void DrawButtonAdd(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed);

 protected:
  RECT closeMarkRect_{};
};

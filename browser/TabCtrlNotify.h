#pragma once
#include <windows.h>

class TabCtrl;
class Tab;

// The owner's view of the strip's events. Points are in screen coordinates
// unless said otherwise. Every body is empty: an owner overrides what it needs.
class TabCtrlNotify {
 public:
  virtual ~TabCtrlNotify() = default;
  virtual void OnTabBeforeInsert(TabCtrl* /*ctrl*/, Tab* /*tab*/, const wchar_t* /*text*/, int /*image*/) {}
  virtual void OnTabAfterInsert(TabCtrl* /*ctrl*/, Tab* /*tab*/) {}
  virtual void OnTabBeforeDelete(TabCtrl* /*ctrl*/, Tab* /*tab*/) {}
  // The current tab's close mark; the point is in client coordinates.
  virtual void OnTabClose(TabCtrl* /*ctrl*/, const RECT* /*closeAllRect*/, POINT /*clientPoint*/) {}
  virtual void OnTabCloseAll(TabCtrl* /*ctrl*/, const RECT* /*rect*/, POINT /*point*/) {}
  virtual void OnTabMenuButton(TabCtrl* /*ctrl*/, const RECT* /*rect*/, POINT /*point*/) {}
  virtual void OnTabSelChanged(TabCtrl* /*ctrl*/, Tab* /*tab*/) {}
  virtual void OnTabLButtonDown(TabCtrl* /*ctrl*/, Tab* /*tab*/, POINT /*point*/) {}
  // Screen coordinates for a tab, client coordinates for the empty strip.
  virtual void OnTabDblClick(TabCtrl* /*ctrl*/, Tab* /*tab*/, POINT /*point*/) {}
  virtual void OnTabRButtonDown(TabCtrl* /*ctrl*/, Tab* /*tab*/, POINT /*point*/) {}
  virtual void OnTabRButtonUp(TabCtrl* /*ctrl*/, Tab* /*tab*/, POINT /*point*/) {}
  virtual void OnTabDragStart(TabCtrl* /*ctrl*/, Tab* /*tab*/, POINT /*point*/) {}
  virtual void OnTabDrag(TabCtrl* /*ctrl*/, Tab* /*tab*/, POINT /*point*/, bool /*outside*/) {}
  virtual void OnTabDragEnd(TabCtrl* /*ctrl*/, Tab* /*tab*/, bool /*cancelled*/) {}
  virtual void OnTabAddButton(TabCtrl* /*ctrl*/, const RECT* /*rect*/, POINT /*point*/) {}
};

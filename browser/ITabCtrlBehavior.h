#pragma once

class TabCtrl;
class Tab;

// Hit-testing and the cursor over the strip.
class ITabCtrlBehavior {
 public:
  virtual ~ITabCtrlBehavior() = default;
  // The tab under the client point, or none.
  virtual Tab* HitTest(const TabCtrl* ctrl, int x, int y, ITabCtrlBehavior* base) = 0;
  // True when it set the cursor.
  virtual bool UpdateCursor(const TabCtrl* ctrl, ITabCtrlBehavior* base) = 0;
};

inline Tab* HitTest(ITabCtrlBehavior* b, const TabCtrl* c, int x, int y) { return b->HitTest(c, x, y, nullptr); }
inline bool UpdateCursor(ITabCtrlBehavior* b, const TabCtrl* c) { return b->UpdateCursor(c, nullptr); }

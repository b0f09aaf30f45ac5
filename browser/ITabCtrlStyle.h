#pragma once

class TabCtrl;
class TabCtrlDraw;
class ITabCtrlRecalc;
class ITabCtrlBehavior;
class ITabCtrlToolTip;

// A look for the strip: the managers it supplies. A null recalc, behaviour or
// tooltip manager selects the strip's default; a null draw manager paints
// nothing.
class ITabCtrlStyle {
 public:
  virtual ~ITabCtrlStyle() = default;
  virtual TabCtrlDraw* GetDrawManager() = 0;
  virtual ITabCtrlRecalc* GetRecalcManager() = 0;
  virtual ITabCtrlBehavior* GetBehaviorManager() = 0;
  virtual ITabCtrlToolTip* GetToolTipManager() = 0;
};

#pragma once

class TabCtrl;

// What the owner allows the strip to show.
class TabCtrlUserAbility {
 public:
  virtual ~TabCtrlUserAbility() = default;
  virtual bool CanShowCloseAllButton(const TabCtrl* ctrl) = 0;
  virtual bool CanShowMenuButton(const TabCtrl* ctrl) = 0;
  virtual bool CanShowScrollButtons(const TabCtrl* ctrl) = 0;
};

// The strip's default metrics, hit-testing, cursor and tooltip.
#include "TabCtrl.h"

#include <algorithm>

TabCtrl::Service::~Service() { DestroyToolTip(); }

void TabCtrl::Service::DestroyToolTip() {
  if (toolTip_) ::DestroyWindow(toolTip_);
  toolTip_ = nullptr;
}

int TabCtrl::Service::GetBorderWidth(const TabCtrl*, ITabCtrlRecalc*) { return 1; }

RECT TabCtrl::Service::GetControlAreaInset(const TabCtrl* ctrl, ITabCtrlRecalc*) {
  return ctrl->GetLayout() != 0 ? RECT{3, 2, 3, 1} : RECT{0, 0, 0, 0};
}

RECT TabCtrl::Service::GetWindowsAreaInset(const TabCtrl*, ITabCtrlRecalc*) { return RECT{0, 0, 0, 0}; }
RECT TabCtrl::Service::GetTabHorzMargin(const TabCtrl*, ITabCtrlRecalc*) { return RECT{0, 0, 0, 0}; }
RECT TabCtrl::Service::GetTabInset(const TabCtrl*, ITabCtrlRecalc*) { return RECT{5, 3, 5, 3}; }
int TabCtrl::Service::GetTabImageTextSpace(const TabCtrl*, ITabCtrlRecalc*) { return 4; }
int TabCtrl::Service::GetTabExtraWidth(const TabCtrl*, const Tab*, ITabCtrlRecalc*) { return 0; }

int TabCtrl::Service::GetTabMinWidth(const TabCtrl* ctrl, ITabCtrlRecalc*) {
  RECT inset = ctrl->GetRecalcManager()->GetTabInset(ctrl, this);
  int icon = std::max(ctrl->GetImageSize().cx, ctrl->GetDisabledImageSize().cx);
  return inset.left + icon + inset.right;
}

RECT TabCtrl::Service::GetScrollButtonsLeftMargin(const TabCtrl*, ITabCtrlRecalc*) { return RECT{8, 0, 0, 0}; }
RECT TabCtrl::Service::GetScrollButtonsRightMargin(const TabCtrl*, ITabCtrlRecalc*) { return RECT{0, 0, 0, 0}; }
RECT TabCtrl::Service::GetMenuButtonMargin(const TabCtrl*, ITabCtrlRecalc*) { return RECT{8, 0, 0, 0}; }
RECT TabCtrl::Service::GetCloseButtonMargin(const TabCtrl*, ITabCtrlRecalc*) { return RECT{2, 0, 2, 0}; }

Tab* TabCtrl::Service::HitTest(const TabCtrl* ctrl, int x, int y, ITabCtrlBehavior*) {
  POINT point{x, y};
  RECT area = ctrl->GetTabsAreaRect();
  if (!::PtInRect(&area, point)) return nullptr;
  for (int i = 0; i < ctrl->GetCount(); ++i) {
    Tab* tab = ctrl->GetTab(i);
    if (::PtInRect(&tab->rect, point)) return tab;
  }
  return nullptr;
}

bool TabCtrl::Service::UpdateCursor(const TabCtrl* ctrl, ITabCtrlBehavior*) {
  HCURSOR cursor = ctrl->GetCursor();
  if (!cursor) return false;
  POINT point{};
  ::GetCursorPos(&point);
  ::ScreenToClient(ctrl->Hwnd(), &point);
  if (!ctrl->HitTest(point.x, point.y)) return false;
  ::SetCursor(cursor);
  return true;
}

HWND TabCtrl::Service::CreateToolTip(TabCtrl* ctrl, ITabCtrlToolTip*) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&init);
  DestroyToolTip();
  toolTip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, ctrl->Hwnd(), nullptr, fw::ThisModule(),
                               nullptr);
  if (!toolTip_) return nullptr;
  ULONG_PTR classStyle = ::GetClassLongPtrW(toolTip_, GCL_STYLE);
  ::SetClassLongPtrW(toolTip_, GCL_STYLE, static_cast<LONG_PTR>(classStyle | CS_DROPSHADOW));
  ::SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 1000);
  return toolTip_;
}

#include "TabCtrlDraw.h"

bool TabCtrlDraw::IsDrawTabsInOrder(const TabCtrl*) { return true; }
void TabCtrlDraw::DrawBegin(const TabCtrl*, HDC) {}
void TabCtrlDraw::DrawBorder(const TabCtrl*, HDC, const RECT&) {}
void TabCtrlDraw::DrawCtrlAreaBack(const TabCtrl*, HDC, const RECT&) {}
void TabCtrlDraw::DrawTab(const TabCtrl*, HDC, Tab*, HRGN) {}
void TabCtrlDraw::DrawCloseMarkTabHover(const TabCtrl*, HDC, const RECT&, int) {}
void TabCtrlDraw::DrawCloseMark(const TabCtrl*, HDC, const RECT&, bool, bool) {}
void TabCtrlDraw::DrawButtonCloseAll(const TabCtrl*, HDC, const RECT&, bool, bool) {}
void TabCtrlDraw::DrawButtonMenu(const TabCtrl*, HDC, const RECT&, bool, bool, bool) {}
void TabCtrlDraw::DrawButtonScrollLeft(const TabCtrl*, HDC, const RECT&, bool, bool, bool) {}
void TabCtrlDraw::DrawButtonScrollRight(const TabCtrl*, HDC, const RECT&, bool, bool, bool) {}
void TabCtrlDraw::DrawWndsArea(const TabCtrl*, HDC, const RECT&) {}
void TabCtrlDraw::DrawEnd(const TabCtrl*, HDC) {}
void TabCtrlDraw::GetCloseMarkRect(const TabCtrl*, RECT* rect) {
  if (rect) *rect = closeMarkRect_;
}
void TabCtrlDraw::DrawButtonAdd(const TabCtrl*, HDC, const RECT&, bool, bool) {}

// The strip's layout: areas, selection, tab widths, buttons, scrolling and
// the tabs' rectangles, in that order.
#include <algorithm>

#include "TabCtrl.h"
#include "TabCtrlStyleDrawer.h"
#include "ToolInfo.h"

namespace {

const int kMinTabWidth = 230;
// Room kept right of the last tab.
const int kTrailingReserve = 10;

int Width(const RECT& rect) { return rect.right - rect.left; }

}  // namespace

void TabCtrl::Update(bool redraw) {
  Recalc(redraw);
  if (redraw) Invalidate(false);
}

void TabCtrl::Recalc(bool redraw) {
  if (!Hwnd()) return;
  windowsArea_ = ClientRect();
  if (border_) {
    int border = recalc_->GetBorderWidth(this, &service_);
    ::InflateRect(&windowsArea_, -border, -border);
  }
  if (LayoutHiddenStrip(redraw)) return;
  LayoutAreas();
  UpdateSelection(redraw);
  ComputeTabWidths();
  const int total = TotalTabWidth();
  LayoutButtons(total);
  UpdateScrollRange(total);
  if (scrollMode_ == 1)
    LayoutTabsScrolled();
  else
    LayoutTabsFitted(total);
  if (toolTip_) {
    TOOLINFOW tool = fw::ToolInfo(Hwnd(), kToolId);
    tool.rect = ctrlArea_;
    ::SendMessageW(toolTip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

bool TabCtrl::LayoutHiddenStrip(bool redraw) {
  if (!tabs_.empty() && !(GetCount() == 1 && hideSingleTab_)) return false;
  if (GetCount() == 1) {
    Tab* only = tabs_[0];
    only->rect = RECT{};
    only->width = 0;
    if (selected_ && selected_ != only) HideWindow(selected_);
    if (!only->disabled) selected_ = only;
    if (selected_ == only)
      PlaceWindow(only, redraw);
    else
      HideWindow(only);
  }
  ctrlArea_ = tabsArea_ = RECT{};
  for (int i = 0; i < 4; ++i) buttonRects_[i] = RECT{};
  return true;
}

void TabCtrl::LayoutAreas() {
  ctrlArea_ = windowsArea_;
  if (layout_ == 0) {
    ctrlArea_.bottom = ctrlArea_.top + kControlAreaHeight;
    windowsArea_.top = ctrlArea_.bottom;
    windowsArea_.bottom = std::max(windowsArea_.bottom, windowsArea_.top);
  } else {
    ctrlArea_.top = ctrlArea_.bottom - kControlAreaHeight;
    windowsArea_.bottom = ctrlArea_.top;
    windowsArea_.top = std::min(windowsArea_.top, windowsArea_.bottom);
  }
  RECT inset = recalc_->GetControlAreaInset(this, &service_);
  tabsArea_ = RECT{ctrlArea_.left + inset.left, ctrlArea_.top + inset.top, ctrlArea_.right - inset.right,
                   ctrlArea_.bottom - inset.bottom};
  tabsArea_.left = drawer_->GetOffset();
}

void TabCtrl::UpdateSelection(bool redraw) {
  Tab* before = selected_;
  if (selected_ && !IsTabValid(selected_)) selected_ = nullptr;
  if (!selected_) selected_ = GetFirstEnabledTab();
  if (selected_ && selected_->disabled) {
    Tab* next = GetNextEnabledTab(selected_);
    selected_ = next ? next : GetPrevEnabledTab(selected_);
  }
  if (selected_) PlaceWindow(selected_, redraw);
  if (before && before != selected_ && IsTabValid(before)) HideWindow(before);
}

int TabCtrl::ContentWidth(HDC dc, const Tab* tab) {
  int width = 0;
  HIMAGELIST list = tab->disabled ? disabledImageList_ : imageList_;
  if (tab->image != -1 && list) {
    width += (tab->disabled ? disabledImageSize_.cx : imageSize_.cx) + recalc_->GetTabImageTextSpace(this, &service_);
  }
  int textWidth = 0;
  for (HFONT font : {normalFont_, selectedFont_}) {
    fw::ScopedSelectObject select(dc, font);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, tab->text.c_str(), static_cast<int>(tab->text.size()), &extent);
    textWidth = std::max<int>(textWidth, extent.cx);
  }
  RECT inset = recalc_->GetTabInset(this, &service_);
  return width + textWidth + inset.left + inset.right + recalc_->GetTabExtraWidth(this, tab, &service_) +
         drawer_->GetOffset();
}

void TabCtrl::ComputeTabWidths() {
  fw::WindowDC dc(Hwnd());
  auto bounded = [this](int width) { return std::max(kMinTabWidth, std::min(width, maxTabWidth_)); };
  if (equalWidths_) {
    int widest = 0;
    for (Tab* tab : tabs_) widest = std::max(widest, ContentWidth(dc, tab));
    for (Tab* tab : tabs_) tab->width = bounded(widest);
  } else {
    for (Tab* tab : tabs_) tab->width = bounded(ContentWidth(dc, tab));
  }
}

int TabCtrl::TotalTabWidth() const {
  RECT margin = recalc_->GetTabHorzMargin(this, const_cast<Service*>(&service_));
  int total = GetCount() * (margin.left + margin.right);
  for (const Tab* tab : tabs_) total += tab->width;
  return total;
}

void TabCtrl::LayoutButtons(int total) {
  const int cy = buttonImageSize_.cy;
  const int midY = (tabsArea_.top + tabsArea_.bottom - cy) / 2;
  const bool images = buttonImageList_ != nullptr;
  const bool closeAll = showCloseAll_ && images && ability_->CanShowCloseAllButton(this);
  const bool menu = showMenu_ && images && ability_->CanShowMenuButton(this);
  const bool scroll = scrollMode_ == 1 && showScrollAdd_ && images && ability_->CanShowScrollButtons(this);
  for (RECT& rect : buttonRects_) rect = RECT{};

  if (closeAll) {
    RECT m = recalc_->GetCloseButtonMargin(this, &service_);
    RECT& r = buttonRects_[kCloseAll - 1];
    r.right = tabsArea_.right - m.right;
    r.left = r.right - 33;
    tabsArea_.right = r.left - m.left;
    r.top = midY - 9;
    r.bottom = r.top + 28;
  }
  if (menu) {
    RECT m = recalc_->GetMenuButtonMargin(this, &service_);
    RECT& r = buttonRects_[kMenu - 1];
    r.right = tabsArea_.right - m.right;
    r.left = r.right - buttonImageSize_.cx;
    tabsArea_.right = r.left - m.left;
    r.top = midY;
    r.bottom = midY + cy;
  }
  if (scroll) {
    RECT& right = buttonRects_[kScrollRight - 1];
    RECT& left = buttonRects_[kScrollLeft - 1];
    right.right = tabsArea_.right - recalc_->GetScrollButtonsRightMargin(this, &service_).right;
    right.left = right.right - 22;
    right.top = tabsArea_.top - 3;
    right.bottom = right.top + 28;
    left.right = right.left - 2;
    left.left = left.right - 22;
    left.top = right.top;
    left.bottom = right.bottom;
    // Room for the add button when it docks beside the scroll buttons.
    tabsArea_.right = left.left - recalc_->GetScrollButtonsLeftMargin(this, &service_).left - 22;
  }
  if (showScrollAdd_) {
    RECT& r = buttonRects_[kAdd - 1];
    r.left = total + drawer_->GetOffset() + 5;
    r.right = r.left + 24;
    r.top = midY - 10;
    r.bottom = r.top + 28;
    if (r.right > Width(tabsArea_) - 1) {
      if (scroll) {
        r.left = buttonRects_[kScrollLeft - 1].left - 23;
      } else {
        // No scroll buttons to sit beside: the right end of the tabs area,
        // which the tabs then leave free.
        r.left = tabsArea_.right - 24;
        tabsArea_.right = r.left;
      }
      r.right = r.left + 24;
    }
  }
}

void TabCtrl::UpdateScrollRange(int total) {
  scrollMax_ = std::max(0, total + kTrailingReserve - std::max(0, Width(tabsArea_)));
  scrollPos_ = std::clamp(scrollPos_, 0, scrollMax_);
  scrollPossible_ = scrollMax_ > 0;
  scrollLeftEnabled_ = scrollPossible_ && scrollPos_ > 0;
  scrollRightEnabled_ = scrollPossible_ && scrollPos_ < scrollMax_;
}

void TabCtrl::PlaceTabsFrom(int x) {
  RECT margin = recalc_->GetTabHorzMargin(this, &service_);
  for (Tab* tab : tabs_) {
    tab->rect = tabsArea_;
    tab->rect.left = x + margin.left;
    x += margin.left + tab->width + margin.right;
    tab->rect.right = x - margin.right;
  }
}

void TabCtrl::LayoutTabsScrolled() { PlaceTabsFrom(tabsArea_.left - scrollPos_); }

void TabCtrl::LayoutTabsFitted(int total) {
  const int available = Width(tabsArea_);
  const int needed = total + kTrailingReserve;
  const int count = GetCount();
  if (needed <= available || count == 0) {
    PlaceTabsFrom(tabsArea_.left);
    return;
  }
  RECT margin = recalc_->GetTabHorzMargin(this, &service_);
  const int margins = margin.left + margin.right;
  const int minWidth = recalc_->GetTabMinWidth(this, &service_);
  const int fairShare = (available - count * margins) / count;
  if (equalWidths_) {
    int width = std::max(minWidth, std::max(fairShare, 1));
    for (Tab* tab : tabs_) tab->width = width;
    PlaceTabsFrom(tabsArea_.left);
    return;
  }
  long long over = 0;
  for (const Tab* tab : tabs_) over += std::max(0, tab->width - fairShare);
  // Only the 10-pixel reserve overshoots: no tab is above its share, so
  // there is nothing to take in proportion and the widths stay.
  if (over == 0) {
    PlaceTabsFrom(tabsArea_.left);
    return;
  }
  const long long excess = needed - available;
  for (Tab* tab : tabs_) {
    int above = tab->width - fairShare;
    if (above <= 0) continue;
    int cut = static_cast<int>((excess * above + over / 2) / over);
    tab->width = std::max(minWidth, tab->width - cut);
  }
  int x = tabsArea_.left;
  for (int i = 0; i + 1 < count; ++i) x += margins + tabs_[i]->width;
  Tab* last = tabs_.back();
  last->width = std::max<int>(minWidth, tabsArea_.right - margin.right - 1 - (x + margin.left));
  PlaceTabsFrom(tabsArea_.left);
}

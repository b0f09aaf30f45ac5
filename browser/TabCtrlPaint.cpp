// The strip's painting through the draw manager, double-buffered.
#include <algorithm>

#include "TabCtrl.h"
#include "VirtualWindow.h"

void TabCtrl::OnPaint() {
  fw::PaintDC paint(Hwnd());
  if (!draw_) return;
  VirtualWindow surface(paint, Hwnd());
  HDC dc = surface.Dc();
  draw_->DrawBegin(this, dc);
  if (!tabs_.empty()) {
    draw_->DrawCtrlAreaBack(this, dc, ctrlArea_);
    PaintTabs(dc);
    PaintButtons(dc);
  }
  RECT inset = recalc_->GetWindowsAreaInset(this, &service_);
  bool insetEmpty = inset.left == 0 && inset.top == 0 && inset.right == 0 && inset.bottom == 0;
  if (tabs_.empty() || !selected_ || !insetEmpty) draw_->DrawWndsArea(this, dc, windowsArea_);
  if (border_ && recalc_->GetBorderWidth(this, &service_) > 0) draw_->DrawBorder(this, dc, ClientRect());
  draw_->DrawEnd(this, dc);
}

void TabCtrl::PaintTabs(HDC dc) {
  fw::ScopedSelectObject font(dc, normalFont_);
  RECT clip = tabsArea_;
  clip.right = std::max(clip.right, clip.left);
  fw::ScopedRegion region(::CreateRectRgnIndirect(&clip));
  ::SelectClipRgn(dc, region.Get());
  auto overlaps = [&clip](const Tab* tab) { return tab->rect.right > clip.left && tab->rect.left < clip.right; };
  auto paint = [&](Tab* tab) {
    if (tab != selected_ && overlaps(tab)) draw_->DrawTab(this, dc, tab, region.Get());
  };
  if (draw_->IsDrawTabsInOrder(this))
    std::for_each(tabs_.begin(), tabs_.end(), paint);
  else
    std::for_each(tabs_.rbegin(), tabs_.rend(), paint);
  if (selected_ && overlaps(selected_)) {
    // A strip that watches activity shows its current tab plain while the
    // focus is elsewhere.
    fw::ScopedSelectObject selectedFont(dc, watchActivity_ && !active_ ? normalFont_ : selectedFont_);
    draw_->DrawTab(this, dc, selected_, region.Get());
  }
  ::SelectClipRgn(dc, nullptr);
}

bool TabCtrl::ButtonHover(int button) const {
  Item item = ButtonItem(button);
  return hovered_ == item && (pressed_ == nullptr || pressed_ == item);
}

void TabCtrl::PaintButtons(HDC dc) {
  auto shown = [this](int button) { return !::IsRectEmpty(&buttonRects_[button - 1]); };
  auto pushed = [this](int button) { return pressed_ == ButtonItem(button); };
  if (shown(kAdd)) draw_->DrawButtonAdd(this, dc, buttonRects_[kAdd - 1], ButtonHover(kAdd), pushed(kAdd));
  if (shown(kScrollLeft)) {
    draw_->DrawButtonScrollLeft(this, dc, buttonRects_[kScrollLeft - 1], ButtonHover(kScrollLeft),
                                pushed(kScrollLeft), scrollLeftEnabled_);
    draw_->DrawButtonScrollRight(this, dc, buttonRects_[kScrollRight - 1], ButtonHover(kScrollRight),
                                 pushed(kScrollRight), scrollRightEnabled_);
  }
  if (shown(kMenu))
    draw_->DrawButtonMenu(this, dc, buttonRects_[kMenu - 1], ButtonHover(kMenu), pushed(kMenu), scrollPossible_);
  if (shown(kCloseAll))
    draw_->DrawButtonCloseAll(this, dc, buttonRects_[kCloseAll - 1], ButtonHover(kCloseAll), pushed(kCloseAll));
}

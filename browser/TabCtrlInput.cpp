// The strip's messages: mouse, capture, timers, focus, the page relay and
// the tooltip's text.
#include <windowsx.h>

#include <algorithm>

#include "TabCtrl.h"

namespace {

// Page events the owner decides on; the strip passes them on unchanged.
const UINT kTitleChange = 2025;
const UINT kNewWindow = 2026;
const UINT kDocComplete = 2027;
const UINT kNavError = 2028;
const UINT kProgress = 2029;
const UINT kBeforeNavigate = 2030;

enum Timer : UINT_PTR { kLeftDelay = 1, kLeftRepeat = 2, kRightDelay = 3, kRightRepeat = 4 };
const UINT kRepeatDelayMs = 300;
const UINT kRepeatMs = 20;
const int kDragSlop = 3;

int Width(const RECT& rect) { return rect.right - rect.left; }

}  // namespace

bool TabCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return true;
    case WM_SIZE:
      result = DefaultProc(message, wParam, lParam);
      Recalc(true);
      Invalidate(false);
      return true;
    case WM_DESTROY:
      OnDestroy();
      return false;
    case WM_MOUSEMOVE:
      OnMouseMove(x, y);
      return true;
    case WM_LBUTTONDOWN:
      Press(x, y);
      FocusCurrentPage();
      result = DefaultProc(message, wParam, lParam);
      return true;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(x, y);
      return true;
    case WM_LBUTTONUP:
      result = DefaultProc(message, wParam, lParam);
      OnLButtonUp(x, y);
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      OnRButton(message == WM_RBUTTONDOWN, x, y);
      return true;
    case WM_MBUTTONDOWN:
      FocusCurrentPage();
      return false;
    case WM_MOUSELEAVE:
      if (hovered_ || pointerInCloseMark_) {
        hovered_ = nullptr;
        pointerInCloseMark_ = false;
        Invalidate(false);
      }
      closeMarkPressed_ = nullptr;
      return false;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(reinterpret_cast<HWND>(lParam));
      return false;
    case WM_TIMER:
      OnTimer(wParam);
      return false;
    case WM_SETCURSOR:
      if (!behavior_->UpdateCursor(this, &service_)) return false;
      result = TRUE;
      return true;
    case WM_SETFOCUS:
      result = DefaultProc(message, wParam, lParam);
      FocusCurrentPage();
      return true;
    case kTitleChange:
    case kNewWindow:
    case kDocComplete:
    case kBeforeNavigate:
      // The owner's answer to a navigation goes back to the page unchanged.
      result = ::SendMessageW(::GetParent(Hwnd()), message, wParam, lParam);
      return true;
    case kNavError:
    case kProgress:
      result = 0;
      return true;
    default:
      return Wnd::OnMessage(message, wParam, lParam, result);
  }
}

bool TabCtrl::OnNotify(NMHDR& header, LRESULT& result) {
  if (toolTip_ && header.hwndFrom == toolTip_ && header.code == TTN_GETDISPINFOW) {
    OnToolTipText(reinterpret_cast<NMTTDISPINFOW&>(header));
    result = 0;
    return true;
  }
  result = ::SendMessageW(::GetParent(Hwnd()), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  return true;
}

bool TabCtrl::PreTranslateMessage(MSG& message) {
  // Esc never reaches a page: it ends a drag through the keyboard hook.
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) return true;
  if (toolTips_ && toolTip_ && message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST)
    ::SendMessageW(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
  return Wnd::PreTranslateMessage(message);
}

POINT TabCtrl::ToScreen(POINT client) const {
  ::ClientToScreen(Hwnd(), &client);
  return client;
}

void TabCtrl::FocusCurrentPage() {
  if (selected_ && selected_->window && ::GetFocus() != selected_->window) ::SetFocus(selected_->window);
}

// ---- hover and moves -------------------------------------------------------

void TabCtrl::UpdateHover(int x, int y) {
  Item old = hovered_;
  hovered_ = nullptr;
  POINT point{x, y};
  if (selected_) {
    for (int button = kCloseAll; button <= kAdd; ++button) {
      if (::PtInRect(&buttonRects_[button - 1], point)) {
        hovered_ = ButtonItem(button);
        break;
      }
    }
  }
  if (!hovered_) hovered_ = HitTest(x, y);
  if (hovered_ != old) {
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    // The next tip belongs to the new item.
    if (toolTip_) ::SendMessageW(toolTip_, TTM_POP, 0, 0);
  }
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = Hwnd();
  ::TrackMouseEvent(&track);
}

void TabCtrl::OnMouseMove(int x, int y) {
  UpdateHover(x, y);
  if (dragReorder_ && GetPressedTab()) {
    if (dragging_) {
      DragMove(x, y);
    } else if (x < pressPoint_.x - kDragSlop || x > pressPoint_.x + kDragSlop || y < pressPoint_.y - kDragSlop ||
               y > pressPoint_.y + kDragSlop) {
      StartDrag(POINT{x, y});
    }
  }
  // The close mark follows the pointer in and, so it never stays lit, out.
  RECT mark{};
  if (draw_) draw_->GetCloseMarkRect(this, &mark);
  POINT point{x, y};
  bool inMark = ::PtInRect(&mark, point) != FALSE;
  if (inMark || pointerInCloseMark_) Invalidate(false);
  pointerInCloseMark_ = inMark;
}

// ---- presses ---------------------------------------------------------------

bool TabCtrl::CloseMarkHit(POINT client) const {
  if (!selected_ || !draw_) return false;
  RECT mark{};
  draw_->GetCloseMarkRect(this, &mark);
  if (!::PtInRect(&mark, client) || !::PtInRect(&selected_->rect, client) || !::PtInRect(&tabsArea_, client))
    return false;
  for (const RECT& button : buttonRects_) {
    if (::PtInRect(&button, client)) return false;
  }
  return true;
}

void TabCtrl::Press(int x, int y) {
  POINT point{x, y};
  closeMarkPressed_ = hovered_ && hovered_ == selected_ && CloseMarkHit(point) ? selected_ : nullptr;
  if (int button = ButtonOf(hovered_)) {
    pressed_ = hovered_;
    if (button == kScrollLeft) {
      ScrollLeft();
      ::SetTimer(Hwnd(), kLeftDelay, kRepeatDelayMs, nullptr);
      Recalc(true);
    } else if (button == kScrollRight) {
      ScrollRight();
      ::SetTimer(Hwnd(), kRightDelay, kRepeatDelayMs, nullptr);
      Recalc(true);
    }
    ::SetCapture(Hwnd());
  } else if (hovered_) {
    PressTab(ItemTab(hovered_), x, y);
  }
  Invalidate(false);
}

void TabCtrl::PressTab(Tab* tab, int x, int y) {
  const POINT screen = ToScreen(POINT{x, y});
  // A disabled tab is told to the owner but neither pressed nor selected.
  const bool enabled = !tab->disabled;
  if (enabled && dragReorder_) {
    pressPoint_ = POINT{x, y};
    pressed_ = tab;
    ::SetCapture(Hwnd());
  }
  if (notify_) notify_->OnTabLButtonDown(this, tab, screen);
  if (!IsTabValid(tab)) return;  // the owner took it away
  if (enabled) {
    if (tab != selected_) SelectTab(tab);
    Recalc(true);
  }
  if (notify_) notify_->OnTabSelChanged(this, tab);
  if (enabled && IsTabValid(tab)) EnsureVisible(tab);
}

void TabCtrl::OnLButtonDblClk(int x, int y) {
  Press(x, y);
  DefaultProc(WM_LBUTTONDBLCLK, 0, MAKELPARAM(x, y));
  POINT point{x, y};
  int button = ButtonOf(pressed_);
  if (button && ::PtInRect(&buttonRects_[button - 1], point)) return;
  if (!notify_) return;
  if (!hovered_ || IsButton(hovered_)) {
    notify_->OnTabDblClick(this, nullptr, point);
    if (selected_) EnsureVisible(selected_);
  } else {
    notify_->OnTabDblClick(this, ItemTab(hovered_), ToScreen(point));
  }
}

void TabCtrl::OnLButtonUp(int x, int y) {
  POINT point{x, y};
  if (pressed_) {
    int button = ButtonOf(pressed_);
    bool clicked = (button == kCloseAll || button == kMenu || button == kAdd) &&
                   ::PtInRect(&buttonRects_[button - 1], point);
    EndButtonPress();
    Invalidate(false);
    EndDrag(false);
    if (notify_ && clicked) {
      bool alive = true;
      aliveFlag_ = &alive;
      ClickButton(button, point);
      if (!alive) return;  // the owner destroyed the strip: touch nothing
      pressed_ = nullptr;
      Invalidate(false);
      aliveFlag_ = nullptr;
      return;
    }
  }
  ReleaseCloseMark(point);
}

void TabCtrl::ClickButton(int button, POINT client) {
  // Drawn pressed while the owner acts.
  pressed_ = ButtonItem(button);
  const RECT rect = buttonRects_[button - 1];
  const POINT screen = ToScreen(client);
  switch (button) {
    case kCloseAll:
      notify_->OnTabCloseAll(this, &rect, screen);
      break;
    case kMenu:
      notify_->OnTabMenuButton(this, &rect, screen);
      break;
    case kAdd:
      // A tab appended now comes into view at the next layout.
      scrollPos_ += std::max(0, Width(tabsArea_) - 1);
      notify_->OnTabAddButton(this, &rect, screen);
      break;
  }
}

void TabCtrl::ReleaseCloseMark(POINT client) {
  Tab* pressedOn = closeMarkPressed_;
  closeMarkPressed_ = nullptr;
  if (!notify_ || !pressedOn || pressedOn != selected_ || !CloseMarkHit(client)) return;
  const RECT closeAll = buttonRects_[kCloseAll - 1];
  notify_->OnTabClose(this, &closeAll, client);
}

void TabCtrl::EndButtonPress() {
  int button = ButtonOf(pressed_);
  if (!button) return;
  if (button == kScrollLeft) {
    ::KillTimer(Hwnd(), kLeftDelay);
    ::KillTimer(Hwnd(), kLeftRepeat);
  } else if (button == kScrollRight) {
    ::KillTimer(Hwnd(), kRightDelay);
    ::KillTimer(Hwnd(), kRightRepeat);
  }
  pressed_ = nullptr;
  if (::GetCapture() == Hwnd()) ::ReleaseCapture();
}

void TabCtrl::OnRButton(bool down, int x, int y) {
  const POINT screen = ToScreen(POINT{x, y});
  const bool onButton = IsButton(hovered_);
  if (down) {
    FocusCurrentPage();
    if (notify_ && !onButton) notify_->OnTabRButtonDown(this, GetHoveredTab(), screen);
    DefaultProc(WM_RBUTTONDOWN, 0, MAKELPARAM(x, y));
  } else {
    DefaultProc(WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    if (notify_ && !onButton) notify_->OnTabRButtonUp(this, GetHoveredTab(), screen);
  }
}

void TabCtrl::OnCaptureChanged(HWND taker) {
  if (taker == Hwnd()) return;
  EndButtonPress();
  EndDrag(true);
  Invalidate(false);
}

void TabCtrl::OnTimer(UINT_PTR id) {
  switch (id) {
    case kLeftDelay:
      ::KillTimer(Hwnd(), kLeftDelay);
      if (pressed_ == ButtonItem(kScrollLeft)) ::SetTimer(Hwnd(), kLeftRepeat, kRepeatMs, nullptr);
      break;
    case kLeftRepeat:
      if (hovered_ == ButtonItem(kScrollLeft)) {
        ScrollLeft();
        Update(true);
      }
      break;
    case kRightDelay:
      ::KillTimer(Hwnd(), kRightDelay);
      if (pressed_ == ButtonItem(kScrollRight)) ::SetTimer(Hwnd(), kRightRepeat, kRepeatMs, nullptr);
      break;
    case kRightRepeat:
      if (hovered_ == ButtonItem(kScrollRight)) {
        ScrollRight();
        Update(true);
      }
      break;
  }
}

// ---- drag ------------------------------------------------------------------

void TabCtrl::StartDrag(POINT client) {
  dragging_ = true;
  KeyboardHook::Instance().Add(this);
  savedOrder_ = tabs_;
  if (notify_) notify_->OnTabDragStart(this, GetPressedTab(), ToScreen(client));
}

void TabCtrl::DragMove(int x, int y) {
  Tab* tab = GetPressedTab();
  const POINT point{x, y};
  const POINT screen = ToScreen(point);
  if (!::PtInRect(&ctrlArea_, point)) {
    if (notify_) notify_->OnTabDrag(this, tab, screen, true);
    return;
  }
  Tab* over = GetHoveredTab();
  if (over && over != tab) {
    const bool before = GetTabIndex(over) < GetTabIndex(tab);
    RECT part = over->rect;
    if (before)
      part.right = part.left + Width(tab->rect);
    else
      part.left = part.right - Width(tab->rect);
    if (::PtInRect(&part, point)) {
      if (before)
        MoveTabBefore(over, tab);
      else
        MoveTabAfter(over, tab);
      Recalc(true);
      UpdateHover(x, y);
      Invalidate(false);
    }
  }
  if (notify_) notify_->OnTabDrag(this, tab, screen, false);
}

void TabCtrl::EndDrag(bool cancelled) {
  Tab* tab = GetPressedTab();
  if (!tab) return;
  pressed_ = nullptr;
  if (::GetCapture() == Hwnd()) ::ReleaseCapture();
  if (!dragging_) return;
  dragging_ = false;
  KeyboardHook::Instance().Remove(this);
  if (cancelled && !savedOrder_.empty()) {
    tabs_.swap(savedOrder_);
    Recalc(true);
  }
  savedOrder_.clear();
  if (notify_) notify_->OnTabDragEnd(this, tab, cancelled);
}

void TabCtrl::OnKeyDown(UINT virtualKey, LPARAM) {
  if (virtualKey == VK_ESCAPE && dragging_) EndDrag(true);
}

// ---- activity, tooltip, destruction -----------------------------------------

void TabCtrl::SetWatchActivity(bool watch) {
  watchActivity_ = watch;
  active_ = false;
  if (!Hwnd()) return;
  if (watch)
    ActivityHook::Instance().Add(this, Hwnd());
  else
    ActivityHook::Instance().Remove(this);
}

void TabCtrl::OnActivityChanged(bool active, HWND) {
  if (active == active_) return;
  active_ = active;
  Invalidate(false);
}

void TabCtrl::OnToolTipText(NMTTDISPINFOW& info) {
  toolTipText_.clear();
  if (int button = ButtonOf(hovered_)) {
    toolTipText_ = buttonToolTips_[button - 1];
  } else if (Tab* tab = GetHoveredTab()) {
    const int visible = std::min(tab->rect.right, tabsArea_.right) - std::max(tab->rect.left, tabsArea_.left);
    if (visible > 0) {
      if (!tab->tooltip.empty())
        toolTipText_ = tab->tooltip;
      else if (visible < tab->width)
        toolTipText_ = tab->text;
    }
  }
  info.hinst = nullptr;
  info.lpszText = toolTipText_.data();
}

void TabCtrl::OnDestroy() {
  DeleteAllTabs();
  for (UINT_PTR timer : {kLeftDelay, kLeftRepeat, kRightDelay, kRightRepeat}) ::KillTimer(Hwnd(), timer);
  if (cursor_ == &ownCursorHandle_) cursor_ = nullptr;
  ownCursorHandle_ = nullptr;
  ownCursor_.Reset();
  if (watchActivity_) ActivityHook::Instance().Remove(this);
  // A button's handler may still be on the stack: it must see the strip is
  // gone, and nothing may write to its flag after it returned.
  if (aliveFlag_) {
    *aliveFlag_ = false;
    aliveFlag_ = nullptr;
  }
  hovered_ = pressed_ = nullptr;
  // The tooltip is owned by the strip and goes with it.
  service_.DestroyToolTip();
  toolTip_ = nullptr;
}

#include <algorithm>

#include "CoolScrollBar.h"
#include "CoolScrollGeometry.h"
#include "CoolScrollInternal.h"

namespace {
LRESULT CallPrevious(CoolScrollWindowState* state, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(state->previousProc, hwnd, message, wParam, lParam);
}

void SendScroll(HWND hwnd, int request, int position) {
  SendMessageW(hwnd, CoolTrack().scrollMessage, MAKEWPARAM(request, position), 0);
}

POINT CursorPoint() {
  POINT point{};
  GetCursorPos(&point);
  return point;
}

POINT Flat(int bar, POINT screen) { return bar == SB_HORZ ? screen : CoolTranspose(screen); }

bool IsActive(const CoolScrollBarState& bar) {
  const bool bothDisabled = (bar.flags & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH;
  return !bothDisabled && (CoolIsScrollable(bar.info) || (bar.flags & kCsbThumbAlways));
}

bool CapturesForParent(HWND hwnd) { return GetParent(hwnd) != GetDesktopWindow(); }

RECT WindowRelative(HWND hwnd, RECT screen) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  OffsetRect(&screen, -window.left, -window.top);
  return screen;
}

void RedrawButtons(HWND hwnd, CoolScrollWindowState* state, int which, int pressedButton) {
  CoolScrollBarState* bar = CoolBarOf(state, which);
  const RECT rect = WindowRelative(hwnd, CoolBarRect(hwnd, *state, which));
  HDC dc = GetWindowDC(hwnd);
  CoolDrawButtons(hwnd, dc, bar, rect, pressedButton);
  ReleaseDC(hwnd, dc);
}

void SendButtonClick(HWND hwnd, const CoolScrollBarState& bar, int index, RECT flatRect, POINT point) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  CoolScrollButtonClick click{};
  click.hdr.hwndFrom = hwnd;
  click.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrW(hwnd, GWLP_ID));
  click.hdr.code = static_cast<UINT>(NM_CLICK);
  click.rect = bar.barType == SB_HORZ ? flatRect : CoolTranspose(flatRect);
  click.point = point;
  click.commandId = static_cast<UINT_PTR>(static_cast<INT_PTR>(bar.buttons[index].commandId));
  click.barType = bar.barType;
  SendMessageW(parent, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

void StopHotTracking(HWND hwnd) {
  CoolTracking& track = CoolTrack();
  if (track.hotTimer) KillTimer(hwnd, track.hotTimer);
  track.hotTimer = 0;
  track.hotBar = -1;
  track.hotPart = track.previousHotPart = kHtNone;
}

void PressThumb(HWND hwnd, CoolScrollWindowState* state, CoolScrollBarState* bar, const RECT& flatBar, POINT flat) {
  CoolTracking& track = CoolTrack();
  const RECT parts = CoolPartsRect(*bar, flatBar);
  const int arrow = CoolArrowLength(*bar);
  const CoolThumb thumb = CoolThumbGeometry(parts.left, parts.right - parts.left, arrow, bar->info, bar->minThumb);
  track.dragRect = parts;
  track.thumbLength = thumb.length;
  track.thumbStart = track.thumbStartAtPress = thumb.start;
  track.grabOffset = flat.x - thumb.start;
  bar->info.nTrackPos = bar->info.nPos;
  track.lastTrackPos = bar->info.nPos;
  state->thumbTracking = TRUE;
  track.pressedPart = kHtThumb;
  CoolRedrawBar(hwnd, bar->barType, kHtThumb);
}

void PressButton(HWND hwnd, CoolScrollWindowState* state, CoolScrollBarState* bar, const RECT& flatBar,
                 POINT flat, POINT screen) {
  CoolTracking& track = CoolTrack();
  StopHotTracking(hwnd);
  RECT buttonRect{};
  const int index = CoolButtonAt(*bar, flatBar, flat, &buttonRect);
  if (index < 0) return;
  track.pressedButton = index;
  track.pressedPart = kHtButton;
  SendButtonClick(hwnd, *bar, index, buttonRect, screen);
  RedrawButtons(hwnd, state, bar->barType, index);
}

void ThumbDrag(HWND hwnd, CoolScrollWindowState* state, POINT screen) {
  CoolTracking& track = CoolTrack();
  CoolScrollBarState* bar = CoolBarOf(state, track.bar);
  if (!bar) return;
  const POINT point = Flat(track.bar, screen);
  const RECT& bounds = track.dragRect;
  const int arrow = CoolArrowLength(*bar);
  const int channelStart = bounds.left + arrow, channelEnd = bounds.right - arrow;
  RECT nearby = bounds;
  InflateRect(&nearby, kCoolThumbSnapDistance, kCoolThumbSnapDistance);
  int start = track.thumbStartAtPress;
  if (PtInRect(&nearby, point)) {
    start = std::max(channelStart, std::min(static_cast<int>(point.x) - track.grabOffset, channelEnd - track.thumbLength));
  }
  track.thumbStart = start;
  HDC dc = GetWindowDC(hwnd);
  RECT window{};
  GetWindowRect(hwnd, &window);
  const RECT rect = WindowRelative(hwnd, CoolBarRect(hwnd, *state, track.bar));
  const int offset = track.bar == SB_HORZ ? window.left : window.top;
  CoolDrawThumbDrag(hwnd, dc, bar, rect, start - offset);
  ReleaseDC(hwnd, dc);

  const SCROLLINFO& info = bar->info;
  const int range = info.nMax - info.nMin;
  int position = start - channelStart;
  if (range > 0) {
    position = info.nMin + MulDiv(start - channelStart, range - static_cast<int>(info.nPage) + 1,
                                  (channelEnd - channelStart) - track.thumbLength);
  }
  if (position != track.lastTrackPos) {
    bar->info.nTrackPos = position;
    track.lastTrackPos = position;
    SendScroll(hwnd, SB_THUMBTRACK, position);
  }
}

// A move while a button is pressed: resizing the resizable button before it,
// or showing the pressed button pressed only while the mouse is over it.
void ButtonMove(HWND hwnd, CoolScrollWindowState* state, POINT screen) {
  CoolTracking& track = CoolTrack();
  CoolScrollBarState* bar = CoolBarOf(state, track.bar);
  if (!bar) return;
  const RECT flatBar = CoolBarRectFlat(hwnd, *state, track.bar);
  const POINT point = Flat(track.bar, screen);
  const int pressed = track.pressedButton;
  if (pressed > 0) {
    CoolScrollButton& previous = bar->buttons[pressed - 1];
    if (previous.placement == bar->buttons[pressed].placement && (previous.kindStyle & kSbbsResizable)) {
      int start = flatBar.left;
      for (int i = 0; i < pressed - 1; ++i) {
        if (bar->buttons[i].placement == kSbbpBefore) start += CoolButtonSize(*bar, bar->buttons[i]);
      }
      const int size = CoolClampButtonSize(previous, point.x - start);
      previous.size = size;
      const int excess = CoolGroupSize(*bar, kSbbpBefore) + CoolGroupSize(*bar, kSbbpAfter) -
                         ((flatBar.right - flatBar.left) - kCoolMinBarRoom);
      if (excess > 0) previous.size = std::max(size - excess, 0);
      previous.savedSize = previous.size;
      CoolScrollRedrawFrame(hwnd, FALSE);
      return;
    }
  }
  const int under = CoolButtonAt(*bar, flatBar, point, nullptr);
  if (under == track.lastButton) return;
  track.lastButton = under;
  const bool toggle = (bar->buttons[pressed].kindStyle & kSbbsKindMask) == kSbbToggle;
  RedrawButtons(hwnd, state, track.bar, under == pressed || toggle ? pressed : -1);
}

void PartMove(HWND hwnd, CoolScrollWindowState* state, POINT screen) {
  CoolTracking& track = CoolTrack();
  CoolScrollBarState* bar = CoolBarOf(state, track.bar);
  if (!bar) return;
  const int under = CoolHitTest(*bar, CoolBarRectFlat(hwnd, *state, track.bar), Flat(track.bar, screen));
  const int current = under == track.pressedPart ? track.pressedPart : kHtNone;
  if (current == track.currentPart) return;
  track.currentPart = current;
  CoolRedrawBar(hwnd, track.bar, current);
}

void TrackedMove(HWND hwnd, CoolScrollWindowState* state, POINT screen) {
  const int pressed = CoolTrack().pressedPart;
  if (pressed == kHtButton) ButtonMove(hwnd, state, screen);
  else if (pressed >= kHtLineUp && pressed <= kHtPageDown) PartMove(hwnd, state, screen);
}

void HotTick(HWND hwnd, CoolScrollWindowState* state) {
  CoolTracking& track = CoolTrack();
  if (state->thumbTracking) return;
  const POINT cursor = CursorPoint();
  if (!PtInRect(&track.hotRect, cursor)) {
    StopHotTracking(hwnd);
    CoolScrollRedrawFrame(hwnd, FALSE);
    return;
  }
  CoolScrollBarState* bar = CoolBarOf(state, track.hotBar);
  if (!bar) return;
  const int part = CoolHitTest(*bar, CoolBarRectFlat(hwnd, *state, track.hotBar), Flat(track.hotBar, cursor));
  track.previousHotPart = track.hotPart;
  track.hotPart = part;
  if (part != track.previousHotPart) {
    CoolRedrawBar(hwnd, track.hotBar, track.bar == track.hotBar ? track.currentPart : kHtNone);
  }
}

// The release of a pressed inserted button over `screen` (null: cancelled).
void ReleaseButton(HWND hwnd, CoolScrollWindowState* state, const POINT* screen) {
  CoolTracking& track = CoolTrack();
  CoolScrollBarState* bar = CoolBarOf(state, track.bar);
  if (!bar || track.pressedButton < 0) return;
  const int under = screen ? CoolButtonAt(*bar, CoolBarRectFlat(hwnd, *state, track.bar), Flat(track.bar, *screen), nullptr) : -1;
  if (under != track.pressedButton) {
    RedrawButtons(hwnd, state, track.bar, -1);
    return;
  }
  CoolScrollButton& button = bar->buttons[under];
  if ((button.kindStyle & kSbbsKindMask) == kSbbToggle) button.state = !button.state;
  if (button.commandId != 0 && button.commandId != -1) {
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(button.commandId, 1), 0);
  }
  CoolScrollRedrawFrame(hwnd, FALSE);
}

void ReleaseAt(HWND hwnd, CoolScrollWindowState* state, const POINT* screen, bool releaseCapture) {
  CoolTracking& track = CoolTrack();
  const int pressed = track.pressedPart;
  const int bar = track.bar;
  // Reset first: releasing the capture comes back here as WM_CAPTURECHANGED.
  if (pressed == kHtButton) ReleaseButton(hwnd, state, screen);
  if (pressed >= kHtLineUp && pressed <= kHtPageDown && track.repeatTimer) KillTimer(hwnd, track.repeatTimer);
  track.pressedPart = kHtNone;
  track.currentPart = kHtNone;
  track.repeatTimer = 0;
  if ((pressed >= kHtLineUp && pressed <= kHtPageDown) || pressed == kHtThumb) {
    if (state->thumbTracking) {
      state->thumbTracking = FALSE;
      SendScroll(hwnd, SB_THUMBPOSITION, track.lastTrackPos);
    }
    SendScroll(hwnd, SB_ENDSCROLL, 0);
    CoolRedrawBar(hwnd, bar, kHtNone);
  }
  track.scrollMessage = 0;
  track.bar = -1;
  track.pressedButton = -1;
  if (releaseCapture && GetCapture() == hwnd) ReleaseCapture();
}
}  // namespace

void CoolEndTracking(HWND hwnd, CoolScrollWindowState* state, bool releaseCapture) {
  ReleaseAt(hwnd, state, nullptr, releaseCapture);
}

LRESULT CoolOnNcLButtonDown(HWND hwnd, CoolScrollWindowState* state, UINT message, WPARAM wParam, LPARAM lParam) {
  if (wParam != HTHSCROLL && wParam != HTVSCROLL) return CallPrevious(state, hwnd, message, wParam, lParam);
  CoolTracking& track = CoolTrack();
  // A press in another window takes the one tracking record over.
  if (track.pressedPart != kHtNone && track.lastWindow && track.lastWindow != hwnd) {
    if (CoolScrollWindowState* other = CoolScrollGetState(track.lastWindow)) CoolEndTracking(track.lastWindow, other, true);
  }
  const int which = wParam == HTHSCROLL ? SB_HORZ : SB_VERT;
  CoolScrollBarState* bar = CoolBarOf(state, which);
  track.lastWindow = hwnd;
  track.scrollMessage = which == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
  track.bar = which;
  const POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const RECT flatBar = CoolBarRectFlat(hwnd, *state, which);
  const POINT flat = Flat(which, screen);
  const int part = CoolHitTest(*bar, flatBar, flat);
  const bool active = IsActive(*bar);
  const bool disabledArrow = (part == kHtLineUp && (bar->flags & ESB_DISABLE_LTUP)) ||
                             (part == kHtLineDown && (bar->flags & ESB_DISABLE_RTDN));
  if (part == kHtNone) return CallPrevious(state, hwnd, message, wParam, lParam);
  if (disabledArrow || (part == kHtThumb && !active)) return 0;
  if (part >= kHtLineUp && part <= kHtPageDown) {
    track.pressedPart = part;
    if (active) {
      SendScroll(hwnd, part, 0);
      track.currentPart = part;
      CoolRedrawBar(hwnd, which, part);
      track.repeatTimer = SetTimer(hwnd, kCoolRepeatFirstTimer, kCoolRepeatDelay, nullptr) ? kCoolRepeatFirstTimer : 0;
    }
  } else if (part == kHtThumb) {
    PressThumb(hwnd, state, bar, flatBar, flat);
  } else if (part == kHtButton) {
    PressButton(hwnd, state, bar, flatBar, flat, screen);
  }
  // Only a press that took a part holds the mouse.
  if (track.pressedPart != kHtNone && CapturesForParent(hwnd)) SetCapture(hwnd);
  return 0;
}

LRESULT CoolOnMouseMove(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  CoolTracking& track = CoolTrack();
  // Client coordinates, negative outside the client area under the capture.
  POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(hwnd, &screen);
  if (state->thumbTracking) {
    ThumbDrag(hwnd, state, screen);
    return 0;
  }
  if (track.pressedPart == kHtNone || track.lastWindow != hwnd) {
    return CallPrevious(state, hwnd, WM_MOUSEMOVE, wParam, lParam);
  }
  TrackedMove(hwnd, state, screen);
  if (track.pressedPart == kHtButton) return CallPrevious(state, hwnd, WM_MOUSEMOVE, wParam, lParam);
  return 0;
}

LRESULT CoolOnLButtonUp(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  CoolTracking& track = CoolTrack();
  if (track.pressedPart == kHtNone || track.lastWindow != hwnd) {
    return CallPrevious(state, hwnd, WM_LBUTTONUP, wParam, lParam);
  }
  POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(hwnd, &screen);
  ReleaseAt(hwnd, state, &screen, CapturesForParent(hwnd));
  return 0;
}

LRESULT CoolOnTimer(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  CoolTracking& track = CoolTrack();
  const UINT_PTR id = wParam;
  if (track.lastWindow == hwnd && track.repeatTimer && id == track.repeatTimer) {
    if (id == kCoolRepeatFirstTimer) {
      KillTimer(hwnd, kCoolRepeatFirstTimer);
      track.repeatTimer = SetTimer(hwnd, kCoolRepeatTimer, kCoolRepeatInterval, nullptr) ? kCoolRepeatTimer : 0;
      return 0;
    }
    TrackedMove(hwnd, state, CursorPoint());
    if (track.currentPart != kHtNone) SendScroll(hwnd, track.currentPart, 0);
    return 0;
  }
  if (track.lastWindow == hwnd && track.hotTimer && id == track.hotTimer) {
    HotTick(hwnd, state);
    return 0;
  }
  return CallPrevious(state, hwnd, WM_TIMER, wParam, lParam);
}

LRESULT CoolOnNcMouseMove(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  CoolTracking& track = CoolTrack();
  if (wParam == HTHSCROLL || wParam == HTVSCROLL) {
    const int which = wParam == HTHSCROLL ? SB_HORZ : SB_VERT;
    if (track.lastWindow != hwnd || track.hotBar != which) {
      if (track.hotTimer && track.lastWindow) KillTimer(track.lastWindow, track.hotTimer);
      track.lastWindow = hwnd;
      track.hotPart = track.previousHotPart = kHtNone;
      track.hotRect = CoolBarRect(hwnd, *state, which);
      track.hotBar = which;
      track.hotTimer = SetTimer(hwnd, kCoolHotTimer, kCoolHotInterval, nullptr) ? kCoolHotTimer : 0;
      CoolScrollRedrawFrame(hwnd, FALSE);
    }
  }
  return CallPrevious(state, hwnd, WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT CoolOnSetCursor(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  const WORD hit = LOWORD(lParam);
  if (hit == HTHSCROLL || hit == HTVSCROLL) {
    const int which = hit == HTHSCROLL ? SB_HORZ : SB_VERT;
    const CoolScrollBarState* bar = CoolBarOf(state, which);
    const int index = CoolButtonAt(*bar, CoolBarRectFlat(hwnd, *state, which), Flat(which, CursorPoint()), nullptr);
    if (index >= 0 && bar->buttons[index].cursor) {
      SetCursor(bar->buttons[index].cursor);
      return 0;
    }
  }
  return CallPrevious(state, hwnd, WM_SETCURSOR, wParam, lParam);
}

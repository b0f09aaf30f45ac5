#include "CoolScrollBar.h"
#include "CoolScrollGeometry.h"
#include "CoolScrollInternal.h"

namespace {
LRESULT CallPrevious(CoolScrollWindowState* state, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(state->previousProc, hwnd, message, wParam, lParam);
}

void RefreshLeftFlag(HWND hwnd, CoolScrollWindowState* state) {
  state->leftScrollBar = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
}

// The previous procedure must never reserve room for system scroll bars, so
// it runs with both style bits removed.
LRESULT CallPreviousWithoutScrollStyles(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  if (!(style & (WS_HSCROLL | WS_VSCROLL))) return CallPrevious(state, hwnd, WM_NCCALCSIZE, wParam, lParam);
  state->styleChangeGuard = TRUE;
  SetWindowLongPtrW(hwnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
  const LRESULT result = CallPrevious(state, hwnd, WM_NCCALCSIZE, wParam, lParam);
  SetWindowLongPtrW(hwnd, GWL_STYLE, style);
  state->styleChangeGuard = FALSE;
  return result;
}

LRESULT OnNcCalcSize(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  RefreshLeftFlag(hwnd, state);
  RECT* client = reinterpret_cast<RECT*>(lParam);
  const RECT window = *client;
  const LRESULT result = CallPreviousWithoutScrollStyles(hwnd, state, wParam, lParam);
  state->borderLeft = client->left - window.left;
  state->borderRight = window.right - client->right;
  state->borderTop = client->top - window.top;
  state->borderBottom = window.bottom - client->bottom;

  CoolScrollBarState& horz = state->horz;
  const int horzThickness = CoolThickness(horz);
  horz.displayed = (horz.flags & kCsbVisible) && horzThickness < client->bottom - client->top;
  if (horz.displayed) client->bottom -= horzThickness;
  CoolScrollBarState& vert = state->vert;
  const int vertThickness = CoolThickness(vert);
  vert.displayed = (vert.flags & kCsbVisible) && client->right - client->left >= vertThickness;
  if (vert.displayed) {
    if (state->leftScrollBar) client->left += vertThickness;
    else client->right -= vertThickness;
  }
  RECT rect = CoolBarRectFlat(hwnd, *state, SB_HORZ);
  CoolFitResizableButtons(&horz, rect.right - rect.left);
  rect = CoolBarRectFlat(hwnd, *state, SB_VERT);
  CoolFitResizableButtons(&vert, rect.right - rect.left);
  return result;
}

LRESULT OnNcHitTest(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  RECT rect = CoolBarRect(hwnd, *state, SB_HORZ);
  if (state->horz.displayed && PtInRect(&rect, point)) return HTHSCROLL;
  rect = CoolBarRect(hwnd, *state, SB_VERT);
  if (state->vert.displayed && PtInRect(&rect, point)) return HTVSCROLL;
  return CallPrevious(state, hwnd, WM_NCHITTEST, wParam, lParam);
}

LRESULT OnStyleChanged(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  if (state->styleChangeGuard) return 0;
  if (static_cast<int>(wParam) == GWL_EXSTYLE) {
    const auto* change = reinterpret_cast<const STYLESTRUCT*>(lParam);
    state->leftScrollBar = (change->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
  }
  return CallPrevious(state, hwnd, WM_STYLECHANGED, wParam, lParam);
}

bool IsOnBar(WPARAM hitCode) { return hitCode == HTHSCROLL || hitCode == HTVSCROLL; }
}  // namespace

CoolTracking& CoolTrack() {
  static CoolTracking track;
  return track;
}

RECT CoolBarRect(HWND hwnd, const CoolScrollWindowState& state, int bar) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  const int horzThickness = state.horz.displayed ? CoolThickness(state.horz) : 0;
  const int vertThickness = state.vert.displayed ? CoolThickness(state.vert) : 0;
  RECT rect{};
  if (bar == SB_HORZ) {
    rect.left = window.left + state.borderLeft + (state.leftScrollBar ? vertThickness : 0);
    rect.right = window.right - state.borderRight - (state.leftScrollBar ? 0 : vertThickness);
    rect.bottom = window.bottom - state.borderBottom;
    rect.top = rect.bottom - horzThickness;
  } else {
    rect.top = window.top + state.borderTop;
    rect.bottom = window.bottom - state.borderBottom - horzThickness;
    if (state.leftScrollBar) {
      rect.left = window.left + state.borderLeft;
      rect.right = rect.left + vertThickness;
    } else {
      rect.right = window.right - state.borderRight;
      rect.left = rect.right - vertThickness;
    }
  }
  return rect;
}

RECT CoolBarRectFlat(HWND hwnd, const CoolScrollWindowState& state, int bar) {
  const RECT rect = CoolBarRect(hwnd, state, bar);
  return bar == SB_HORZ ? rect : CoolTranspose(rect);
}

void CoolRecomputeGroups(CoolScrollBarState* bar, int length) {
  bar->beforeSize = CoolGroupSize(*bar, kSbbpBefore);
  bar->afterSize = CoolGroupSize(*bar, kSbbpAfter);
  bar->afterShown = bar->afterSize < length - 24;
  bar->beforeShown = bar->afterShown && bar->beforeSize + bar->afterSize < length - 24;
}

void CoolFitResizableButtons(CoolScrollBarState* bar, int length) {
  for (UINT i = 0; i < bar->buttonCount; ++i) {
    CoolScrollButton& button = bar->buttons[i];
    if (button.kindStyle & kSbbsResizable) button.size = button.savedSize;
  }
  for (UINT i = 0; i < bar->buttonCount; ++i) {
    const int excess = CoolGroupSize(*bar, kSbbpBefore) + CoolGroupSize(*bar, kSbbpAfter) - (length - kCoolMinBarRoom);
    if (excess <= 0) break;
    CoolScrollButton& button = bar->buttons[i];
    if (!(button.kindStyle & kSbbsResizable)) continue;
    button.size = CoolClampButtonSize(button, CoolButtonSize(*bar, button) - excess);
  }
}

LRESULT CALLBACK CoolScrollWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CoolScrollWindowState* state = CoolScrollGetState(hwnd);
  if (!state) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCCALCSIZE:
      return OnNcCalcSize(hwnd, state, wParam, lParam);
    case WM_NCPAINT:
      return CoolOnNcPaint(hwnd, state, wParam, lParam);
    case WM_PRINT:
      return CoolOnPrint(hwnd, state, wParam, lParam);
    case WM_NCHITTEST:
      return OnNcHitTest(hwnd, state, wParam, lParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return CoolOnNcLButtonDown(hwnd, state, message, wParam, lParam);
    case WM_MOUSEMOVE:
      return CoolOnMouseMove(hwnd, state, wParam, lParam);
    case WM_LBUTTONUP:
      return CoolOnLButtonUp(hwnd, state, wParam, lParam);
    case WM_TIMER:
      return CoolOnTimer(hwnd, state, wParam, lParam);
    case WM_NCMOUSEMOVE:
      return CoolOnNcMouseMove(hwnd, state, wParam, lParam);
    case WM_SETCURSOR:
      return CoolOnSetCursor(hwnd, state, wParam, lParam);
    case WM_STYLECHANGED:
      return OnStyleChanged(hwnd, state, wParam, lParam);
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      // Alt+Tab or another window taking the mouse mid-press ends the press
      // as a release would, or the repeat timer runs on without the button.
      if (CoolTrack().lastWindow == hwnd && CoolTrack().pressedPart != kHtNone)
        CoolEndTracking(hwnd, state, message == WM_CANCELMODE);
      return CallPrevious(state, hwnd, message, wParam, lParam);
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
      if (IsOnBar(wParam)) return 0;
      return CallPrevious(state, hwnd, message, wParam, lParam);
    case WM_NCDESTROY: {
      const WNDPROC previous = state->previousProc;
      CoolDetach(hwnd);
      return CallWindowProcW(previous, hwnd, message, wParam, lParam);
    }
    default:
      return CallPrevious(state, hwnd, message, wParam, lParam);
  }
}

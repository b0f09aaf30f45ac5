#include "EditEx.h"

#include <cstdlib>

CEditEx::CEditEx()
    : textColor_(::GetSysColor(COLOR_WINDOWTEXT)),
      bkColor_(::GetSysColor(COLOR_WINDOW)),
      disabledTextColor_(::GetSysColor(COLOR_GRAYTEXT)),
      bkBrush_(::CreateSolidBrush(bkColor_)),
      disabledBrush_(::CreateSolidBrush(kDisabledBkColor)) {
  (void)disabledTextColor_;  // kept: the disabled state sets no text colour
}

void CEditEx::SetFontHeight(int tenthsOfPoint) {
  fontHeight_ = tenthsOfPoint;
  font_.Reset();
  HDC screen = ::GetDC(nullptr);
  // Point-font rule: tenths of a point to device pixels of the screen.
  POINT size{0, ::MulDiv(fontHeight_, ::GetDeviceCaps(screen, LOGPIXELSY), 720)};
  POINT origin{0, 0};
  ::DPtoLP(screen, &size, 1);
  ::DPtoLP(screen, &origin, 1);
  ::ReleaseDC(nullptr, screen);
  LOGFONTW logFont{};
  logFont.lfHeight = -std::abs(size.y - origin.y);
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfPitchAndFamily = VARIABLE_PITCH;
  font_.Reset(::CreateFontIndirectW(&logFont));
  if (hwnd_) Send(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
}

void CEditEx::SetBkColor(COLORREF color) {
  bkColor_ = color;
  bkBrush_.Reset(::CreateSolidBrush(color));
}

void CEditEx::DrawBorder() {
  if (!hwnd_) return;
  bool enabled = ::IsWindowEnabled(hwnd_) != FALSE;
  if (enabled && hover_) return;
  HDC dc = ::GetWindowDC(hwnd_);
  if (!dc) return;
  // The window DC starts at the window corner; the client area sits inside
  // the non-client edge.
  RECT window = WindowRect();
  POINT clientOrigin{0, 0};
  ::ClientToScreen(hwnd_, &clientOrigin);
  RECT client = ClientRect();
  ::OffsetRect(&client, clientOrigin.x - window.left, clientOrigin.y - window.top);
  auto frame = [dc](RECT rect, int grow, COLORREF color) {
    ::InflateRect(&rect, grow, grow);
    fw::ScopedBrush brush(::CreateSolidBrush(color));
    ::FrameRect(dc, &rect, brush.Get());
  };
  frame(client, 1, enabled ? bkColor_ : disabledBkColor_);
  frame(client, 2, kFrameColor);
  ::ReleaseDC(hwnd_, dc);
}

bool CEditEx::PreTranslateMessage(MSG& message) {
  // Enter never reaches the dialog from this field.
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) return true;
  return Wnd::PreTranslateMessage(message);
}

bool CEditEx::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, hwnd_, 0};
      ::TrackMouseEvent(&track);
      return false;  // the edit's own handling follows
    }
    case WM_MOUSEHOVER:
      hover_ = true;
      DrawBorder();
      result = 0;
      return true;
    case WM_MOUSELEAVE:
      hover_ = false;
      DrawBorder();
      result = 0;
      return true;
    default:
      return Wnd::OnMessage(message, wParam, lParam, result);
  }
}

bool CEditEx::OnReflect(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_COMMAND) {
    UINT code = HIWORD(wParam);
    if (code == EN_SETFOCUS || code == EN_KILLFOCUS) DrawBorder();
    return false;
  }
  if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (!dc) {
    result = 0;
    return true;
  }
  DrawBorder();
  if (::IsWindowEnabled(hwnd_)) {
    ::SetTextColor(dc, textColor_);
    ::SetBkColor(dc, bkColor_);
    result = reinterpret_cast<LRESULT>(bkBrush_.Get());
  } else {
    ::SetBkColor(dc, disabledBkColor_);
    result = reinterpret_cast<LRESULT>(disabledBrush_.Get());
  }
  return true;
}

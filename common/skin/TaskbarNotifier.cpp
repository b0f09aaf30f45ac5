#include "TaskbarNotifier.h"

#include <algorithm>
#include <cstdlib>

#include "DrawHelpers.h"

namespace {

const UINT_PTR kAppearTimer = 1;
const UINT_PTR kStayTimer = 2;
const UINT_PTR kHideTimer = 3;

HFONT MakeFont(const wchar_t* face, int pointSize, int style) {
  LOGFONTW font{};
  ::lstrcpynW(font.lfFaceName, face ? face : L"", LF_FACESIZE);
  HDC screen = ::GetDC(nullptr);
  font.lfHeight = -::MulDiv(pointSize, ::GetDeviceCaps(screen, LOGPIXELSY), 720);
  ::ReleaseDC(nullptr, screen);
  font.lfWeight = (style & 1) ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (style & 2) ? TRUE : FALSE;
  font.lfUnderline = (style & 4) ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  return ::CreateFontIndirectW(&font);
}

}  // namespace

CTaskbarNotifier::CTaskbarNotifier() : handCursor_(::LoadCursorW(nullptr, IDC_HAND)) {}

CTaskbarNotifier::~CTaskbarNotifier() {
  if (Hwnd()) ::DestroyWindow(Hwnd());
}

bool CTaskbarNotifier::Create(HWND parent) {
  owner_ = parent;
  fw::CreateArgs args;
  args.parent = parent;
  args.style = WS_POPUP;
  args.x = args.y = args.width = args.height = 0;
  return fw::Wnd::Create(args);
}

int CTaskbarNotifier::SetSkin(HBITMAP bitmap, int red, int green, int blue) {
  if (!bitmap) return 0;
  return TakeSkin(fw::ScopedBitmap(static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0))), red, green,
                  blue);
}

int CTaskbarNotifier::SetSkin(UINT bitmapResourceId, int red, int green, int blue) {
  return TakeSkin(fw::ScopedBitmap(static_cast<HBITMAP>(::LoadImageW(
                      fw::ThisModule(), MAKEINTRESOURCEW(bitmapResourceId), IMAGE_BITMAP, 0, 0, 0))),
                  red, green, blue);
}

int CTaskbarNotifier::SetSkin(const std::wstring& bitmapFile, int red, int green, int blue) {
  return TakeSkin(fw::ScopedBitmap(static_cast<HBITMAP>(
                      ::LoadImageW(nullptr, bitmapFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE))),
                  red, green, blue);
}

int CTaskbarNotifier::TakeSkin(fw::ScopedBitmap skin, int red, int green, int blue) {
  BITMAP info{};
  if (!skin || !::GetObjectW(skin.Get(), sizeof(info), &info)) return 0;
  skin_ = std::move(skin);
  skinWidth_ = info.bmWidth;
  skinHeight_ = std::abs(info.bmHeight);
  textRect_ = RECT{0, 0, skinWidth_, skinHeight_};
  bool keyed = red != -1 && green != -1 && blue != -1 && red != 0xFFFF && green != 0xFFFF && blue != 0xFFFF;
  if (keyed && Hwnd()) {
    HRGN region = CreateRegionFromBitmap(skin_.Get(), RGB(red, green, blue), 0);
    // The window owns the region from here on.
    if (region && !::SetWindowRgn(Hwnd(), region, TRUE)) ::DeleteObject(region);
  }
  return 1;
}

void CTaskbarNotifier::SetTextFont(const wchar_t* face, int pointSize, int normalStyle, int hoverStyle) {
  normalFont_.Reset(MakeFont(face, pointSize, normalStyle));
  hoverFont_.Reset(MakeFont(face, pointSize, hoverStyle));
}

void CTaskbarNotifier::SetTextColor(COLORREF normal, COLORREF hover) {
  normalColour_ = normal;
  hoverColour_ = hover;
  Redraw();
}

void CTaskbarNotifier::Redraw() {
  if (!Hwnd()) return;
  ::InvalidateRect(Hwnd(), nullptr, TRUE);
  ::UpdateWindow(Hwnd());
}

void CTaskbarNotifier::FindEdge() {
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea_, 0);
  int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  int workWidth = workArea_.right - workArea_.left;
  int workHeight = workArea_.bottom - workArea_.top;
  if (workWidth < screenWidth && workArea_.left == 0)
    edge_ = kRight;
  else if (workWidth < screenWidth)
    edge_ = kLeft;
  else if (workHeight < screenHeight && workArea_.top != 0)
    edge_ = kTop;
  else
    edge_ = kBottom;
}

int CTaskbarNotifier::SlideLength() const {
  return edge_ == kLeft || edge_ == kRight ? skinWidth_ : skinHeight_;
}

POINT CTaskbarNotifier::ShownPosition() const {
  switch (edge_) {
    case kRight: return POINT{workArea_.right - skinWidth_, start_.y};
    case kLeft: return POINT{workArea_.left, start_.y};
    case kTop: return POINT{start_.x, workArea_.top};
    default: return POINT{start_.x, workArea_.bottom - skinHeight_};
  }
}

void CTaskbarNotifier::StartSliding() {
  // A skin thinner than one step still slides in one step.
  UINT steps = static_cast<UINT>(std::max(SlideLength() / kStep, 1));
  appearDelay_ = appear_ / steps;
  hideDelay_ = hide_ / steps;
  switch (edge_) {
    case kRight: start_ = POINT{workArea_.right, workArea_.bottom - skinHeight_}; break;
    case kLeft: start_ = POINT{workArea_.left - skinWidth_, workArea_.bottom - skinHeight_}; break;
    case kTop: start_ = POINT{workArea_.right - skinWidth_, workArea_.top - skinHeight_}; break;
    default: start_ = POINT{workArea_.right - skinWidth_, workArea_.bottom}; break;
  }
  current_ = start_;
  Place();
  ::ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
  state_ = kAppearing;
  ::SetTimer(Hwnd(), kAppearTimer, appearDelay_, nullptr);
}

void CTaskbarNotifier::ShowText(const std::wstring& text, UINT appear, UINT stay, UINT hide) {
  if (!Hwnd()) return;
  // Every state takes the new text and times, so the newest text is the one shown.
  text_ = text;
  // The window text is what is shown, so automation reading windows sees it.
  ::SetWindowTextW(Hwnd(), text_.c_str());
  appear_ = appear;
  stay_ = stay;
  hide_ = hide;
  switch (state_) {
    case kHidden:
      FindEdge();
      StartSliding();
      break;
    case kAppearing:
      Redraw();
      break;
    case kStaying:
      Redraw();
      ::SetTimer(Hwnd(), kStayTimer, stay_, nullptr);
      break;
    case kHiding:
      ::KillTimer(Hwnd(), kHideTimer);
      state_ = kStaying;
      current_ = ShownPosition();
      Place();
      Redraw();
      ::SetTimer(Hwnd(), kStayTimer, stay_, nullptr);
      break;
  }
}

void CTaskbarNotifier::Hide() {
  if (!Hwnd()) return;
  if (state_ >= kAppearing && state_ <= kHiding) ::KillTimer(Hwnd(), static_cast<UINT_PTR>(state_));
  // A timer of an earlier state must not bring the window back.
  ::KillTimer(Hwnd(), kAppearTimer);
  ::KillTimer(Hwnd(), kStayTimer);
  ::KillTimer(Hwnd(), kHideTimer);
  ::MoveWindow(Hwnd(), 0, 0, 0, 0, FALSE);
  ::ShowWindow(Hwnd(), SW_HIDE);
  state_ = kHidden;
}

void CTaskbarNotifier::Place() {
  ::SetWindowPos(Hwnd(), nullptr, current_.x, current_.y, skinWidth_, skinHeight_,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTaskbarNotifier::OnTimer(UINT_PTR id) {
  POINT shown = ShownPosition();
  auto stepTowards = [](LONG& value, LONG target) {
    if (value < target)
      value = std::min<LONG>(value + kStep, target);
    else if (value > target)
      value = std::max<LONG>(value - kStep, target);
  };
  if (id == kAppearTimer && state_ == kAppearing) {
    if (current_.x != shown.x || current_.y != shown.y) {
      stepTowards(current_.x, shown.x);
      stepTowards(current_.y, shown.y);
    } else {
      ::KillTimer(Hwnd(), kAppearTimer);
      ::SetTimer(Hwnd(), kStayTimer, stay_, nullptr);
      state_ = kStaying;
    }
    Place();
  } else if (id == kStayTimer && state_ == kStaying) {
    ::KillTimer(Hwnd(), kStayTimer);
    state_ = kHiding;
    ::SetTimer(Hwnd(), kHideTimer, hideDelay_, nullptr);
  } else if (id == kHideTimer && state_ == kHiding) {
    stepTowards(current_.x, start_.x);
    stepTowards(current_.y, start_.y);
    if (current_.x == start_.x && current_.y == start_.y) {
      Hide();
      return;
    }
    Place();
  } else {
    ::KillTimer(Hwnd(), id);  // left over from a state that has ended
  }
}

void CTaskbarNotifier::Paint() {
  fw::PaintDC dc(Hwnd());
  HFONT font = mouseOver_ ? hoverFont_.Get() : normalFont_.Get();
  fw::ScopedSelectObject selectFont(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetTextColor(dc, mouseOver_ ? hoverColour_ : normalColour_);
  ::SetBkMode(dc, TRANSPARENT);
  if (text_.empty() || textRect_.right <= textRect_.left || textRect_.bottom <= textRect_.top) return;
  // Word-wrapped text centred vertically: measure first, then place.
  RECT measured = textRect_;
  ::DrawTextW(dc, text_.c_str(), -1, &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  RECT target = textRect_;
  int spare = (textRect_.bottom - textRect_.top) - (measured.bottom - measured.top);
  if (spare > 0) target.top += spare / 2;
  ::DrawTextW(dc, text_.c_str(), -1, &target, DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS);
}

bool CTaskbarNotifier::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      closeButton_ = ::CreateWindowExW(0, L"BUTTON", L"MYBUTTON ", WS_CHILD | WS_VISIBLE, closeButtonRect_.left,
                                       closeButtonRect_.top, closeButtonRect_.right - closeButtonRect_.left,
                                       closeButtonRect_.bottom - closeButtonRect_.top, Hwnd(),
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseButtonId)),
                                       fw::ThisModule(), nullptr);
      if (closeButton_) ::SetWindowPos(closeButton_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
      result = 0;
      return true;
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, Hwnd(), 1};
      ::TrackMouseEvent(&track);
      return true;
    }
    case WM_MOUSEHOVER:
      if (!mouseOver_) {
        mouseOver_ = true;
        Redraw();
      }
      return true;
    case WM_MOUSELEAVE:
      if (mouseOver_) {
        mouseOver_ = false;
        Redraw();
      }
      return true;
    case WM_LBUTTONUP:
      Hide();
      if (owner_) ::PostMessageW(owner_, kClosedMessage, 0, 0);
      return true;
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT) return false;
      ::SetCursor(handCursor_);
      result = TRUE;
      return true;
    case WM_ERASEBKGND:
      if (skin_) DrawBitmap(skin_.Get(), reinterpret_cast<HDC>(wParam), POINT{0, 0});
      result = 1;
      return true;
    case WM_PAINT:
      Paint();
      return true;
    case WM_TIMER:
      OnTimer(wParam);
      return true;
    default:
      return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
}

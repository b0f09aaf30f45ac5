#include "BitmapSlider.h"

#include <algorithm>

#include "CommHelper.h"
#include "MemDC.h"

namespace {

SIZE SizeOf(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, std::abs(info.bmHeight)};
}

}  // namespace

bool CBitmapSlider::TakePicture(HBITMAP source, bool transparent, COLORREF key, int x, int y, Picture* picture) {
  picture->image.Reset(static_cast<HBITMAP>(::CopyImage(source, IMAGE_BITMAP, 0, 0, 0)));
  picture->mask.Reset();
  if (!picture->image) return false;
  if (!transparent) return true;
  SIZE size = SizeOf(picture->image.Get());
  fw::ScopedCreatedDC imageDC(::CreateCompatibleDC(nullptr));
  fw::ScopedCreatedDC maskDC(::CreateCompatibleDC(nullptr));
  picture->mask.Reset(::CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
  if (!imageDC || !maskDC || !picture->mask) return false;
  fw::ScopedSelectObject selectImage(imageDC.Get(), picture->image.Get());
  fw::ScopedSelectObject selectMask(maskDC.Get(), picture->mask.Get());
  if (key == kColourAtPoint) key = ::GetPixel(imageDC.Get(), x, y);
  // Key pixels white in the mask, then black in the image.
  ::SetBkColor(imageDC.Get(), key);
  ::BitBlt(maskDC.Get(), 0, 0, size.cx, size.cy, imageDC.Get(), 0, 0, SRCCOPY);
  ::SetBkColor(imageDC.Get(), RGB(0, 0, 0));
  ::SetTextColor(imageDC.Get(), RGB(255, 255, 255));
  ::BitBlt(imageDC.Get(), 0, 0, size.cx, size.cy, maskDC.Get(), 0, 0, SRCAND);
  return true;
}

void CBitmapSlider::DrawPicture(HDC dc, const Picture& picture, bool transparent, int x, int y, int width,
                                int height, int sourceX, int sourceY) {
  if (!picture.image || width <= 0 || height <= 0) return;
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  if (transparent && picture.mask) {
    fw::ScopedSelectObject selectMask(source.Get(), picture.mask.Get());
    COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    ::BitBlt(dc, x, y, width, height, source.Get(), sourceX, sourceY, SRCAND);
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
  }
  fw::ScopedSelectObject selectImage(source.Get(), picture.image.Get());
  ::BitBlt(dc, x, y, width, height, source.Get(), sourceX, sourceY, transparent && picture.mask ? SRCPAINT : SRCCOPY);
}

void CBitmapSlider::SetRange(int minimum, int maximum, bool repaint) {
  minimum_ = minimum;
  SetRangeMax(maximum, repaint);
}
void CBitmapSlider::SetRangeMin(int minimum, bool repaint) {
  minimum_ = minimum;
  if (repaint) Repaint();
}
void CBitmapSlider::SetRangeMax(int maximum, bool repaint) {
  maximum_ = maximum;
  if (repaint) Repaint();
}

void CBitmapSlider::SetPos(int position) {
  position_ = std::max(std::min(position, maximum_), minimum_);
  Repaint();
}

int CBitmapSlider::SetPageSize(int page) { return std::exchange(page_, page); }

void CBitmapSlider::SetMargin(int left, int top, int right, int bottom) {
  marginLeft_ = left;
  marginTop_ = top;
  marginRight_ = right;
  marginBottom_ = bottom;
}

void CBitmapSlider::Enable(bool enable) {
  enabled_ = enable;
  if (!enabled_ && buttonDown_) {
    buttonDown_ = false;
    ::ReleaseCapture();
  }
  Repaint();
}

void CBitmapSlider::DrawFocusRect(bool draw, bool repaint) {
  drawFocusRect_ = draw;
  if (repaint) Repaint();
}

void CBitmapSlider::Repaint() {
  if (Hwnd()) {
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    ::UpdateWindow(Hwnd());
  }
}

int CBitmapSlider::Span() const {
  return vertical_ ? channelHeight_ - marginTop_ - marginBottom_ - thumbHeight_
                   : channelWidth_ - marginLeft_ - marginRight_ - thumbWidth_;
}

int CBitmapSlider::Pos2Pixel(int position) const {
  int start = vertical_ ? marginTop_ + thumbHeight_ / 2 : marginLeft_ + thumbWidth_ / 2;
  int range = maximum_ - minimum_;
  if (range <= 0 || Span() <= 0) return start;
  position = std::clamp(position, minimum_, maximum_);
  return static_cast<int>(static_cast<long long>(Span()) * (position - minimum_) / range) + start;
}

int CBitmapSlider::Pixel2Pos(int pixel) const {
  int start = vertical_ ? marginTop_ + thumbHeight_ / 2 : marginLeft_ + thumbWidth_ / 2;
  if (maximum_ <= minimum_ || Span() <= 0) return minimum_;
  double position = minimum_ + static_cast<double>(pixel - start) / Span() * (maximum_ - minimum_);
  return std::clamp(static_cast<int>(position), minimum_, maximum_);
}

bool CBitmapSlider::SetBitmapChannel(HBITMAP channel, HBITMAP activeChannel, bool transparent, COLORREF key, int x,
                                     int y) {
  if (!channel) {
    channel_ = Picture{};
    activeChannel_ = Picture{};
    channelSet_ = false;
    return true;
  }
  if (!TakePicture(channel, transparent, key, x, y, &channel_)) return false;
  activeChannel_ = Picture{};
  if (activeChannel && !TakePicture(activeChannel, transparent, key, x, y, &activeChannel_)) {
    channel_ = Picture{};
    return false;
  }
  hasActiveChannel_ = activeChannel != nullptr;
  SIZE size = SizeOf(channel_.image.Get());
  channelWidth_ = size.cx;
  channelHeight_ = size.cy;
  if (Hwnd()) {
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    client_ = ClientRect();
  }
  transparentChannel_ = transparent;
  channelSet_ = true;
  return true;
}

bool CBitmapSlider::SetBitmapThumb(HBITMAP thumb, HBITMAP activeThumb, bool transparent, COLORREF key, int x, int y) {
  if (!thumb) {
    thumb_ = Picture{};
    activeThumb_ = Picture{};
    thumbSet_ = false;
    return true;
  }
  if (!TakePicture(thumb, transparent, key, x, y, &thumb_)) return false;
  activeThumb_ = Picture{};
  if (activeThumb && !TakePicture(activeThumb, transparent, key, x, y, &activeThumb_)) {
    thumb_ = Picture{};
    return false;
  }
  hasActiveThumb_ = activeThumb != nullptr;
  SIZE size = SizeOf(thumb_.image.Get());
  thumbWidth_ = size.cx;
  thumbHeight_ = size.cy;
  if (!channelSet_ && Hwnd()) {
    client_ = ClientRect();
    channelWidth_ = client_.right - client_.left;
    channelHeight_ = client_.bottom - client_.top;
  }
  transparentThumb_ = transparent;
  thumbSet_ = true;
  return true;
}

bool CBitmapSlider::SetBitmapChannelFiles(const std::wstring& channel, const std::wstring& activeChannel,
                                          bool transparent, COLORREF key, int x, int y) {
  HBITMAP first = nullptr, second = nullptr;
  int width = 0, height = 0;
  bool ok = CCommHelper::LoadPictureBitmap(&first, channel, &width, &height) != 0;
  if (ok && !activeChannel.empty()) CCommHelper::LoadPictureBitmap(&second, activeChannel, &width, &height);
  ok = ok && SetBitmapChannel(first, second, transparent, key, x, y);
  if (first) ::DeleteObject(first);
  if (second) ::DeleteObject(second);
  return ok;
}

bool CBitmapSlider::SetBitmapThumbFiles(const std::wstring& thumb, const std::wstring& activeThumb, bool transparent,
                                        COLORREF key, int x, int y) {
  HBITMAP first = nullptr, second = nullptr;
  int width = 0, height = 0;
  bool ok = CCommHelper::LoadPictureBitmap(&first, thumb, &width, &height) != 0;
  if (ok && !activeThumb.empty()) CCommHelper::LoadPictureBitmap(&second, activeThumb, &width, &height);
  ok = ok && SetBitmapThumb(first, second, transparent, key, x, y);
  if (first) ::DeleteObject(first);
  if (second) ::DeleteObject(second);
  return ok;
}

void CBitmapSlider::SetChannelSize(int width, int height) {
  if (!Hwnd()) return;
  ::SetWindowPos(Hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  client_ = ClientRect();
  channelWidth_ = client_.right - client_.left;
  channelHeight_ = client_.bottom - client_.top;
}

void CBitmapSlider::PreSubclassWindow() {
  ::SetWindowLongPtrW(Hwnd(), GWL_STYLE, ::GetWindowLongPtrW(Hwnd(), GWL_STYLE) | SS_NOTIFY);
}

void CBitmapSlider::Paint() {
  fw::PaintDC paint(Hwnd());
  client_ = ClientRect();
  bool seeThrough = transparentChannel_ || !channelSet_;
  CMemDC dc(paint, &client_, seeThrough);
  if (focusRectDrawn_ && seeThrough) ::DrawFocusRect(dc, &client_);
  focusRectDrawn_ = false;
  int thumbPixel = Pos2Pixel(position_);
  if (channelSet_) {
    if (hasActiveChannel_ && enabled_) {
      if (vertical_) {
        DrawPicture(dc, activeChannel_, transparentChannel_, 0, 0, channelWidth_, thumbPixel, 0, 0);
        DrawPicture(dc, channel_, transparentChannel_, 0, thumbPixel, channelWidth_, channelHeight_ - thumbPixel, 0,
                    thumbPixel);
      } else {
        DrawPicture(dc, activeChannel_, transparentChannel_, 0, 0, thumbPixel, channelHeight_, 0, 0);
        DrawPicture(dc, channel_, transparentChannel_, thumbPixel, 0, channelWidth_ - thumbPixel, channelHeight_,
                    thumbPixel, 0);
      }
    } else {
      DrawPicture(dc, channel_, transparentChannel_, 0, 0, channelWidth_, channelHeight_, 0, 0);
    }
  }
  if (thumbBackground_) {
    fw::ScopedCreatedDC saved(::CreateCompatibleDC(dc));
    fw::ScopedSelectObject select(saved.Get(), thumbBackground_.Get());
    ::BitBlt(dc, thumbBackgroundAt_.x, thumbBackgroundAt_.y, thumbWidth_, thumbHeight_, saved.Get(), 0, 0, SRCCOPY);
    thumbBackground_.Reset();
  }
  if (thumbSet_ && enabled_) {
    const Picture& picture = buttonDown_ && hasActiveThumb_ ? activeThumb_ : thumb_;
    int x = vertical_ ? marginLeft_ : thumbPixel - thumbWidth_ / 2;
    int y = vertical_ ? thumbPixel - thumbHeight_ / 2 : marginTop_;
    if (seeThrough && thumbWidth_ > 0 && thumbHeight_ > 0) {
      thumbBackground_.Reset(::CreateCompatibleBitmap(dc, thumbWidth_, thumbHeight_));
      fw::ScopedCreatedDC saved(::CreateCompatibleDC(dc));
      fw::ScopedSelectObject select(saved.Get(), thumbBackground_.Get());
      ::BitBlt(saved.Get(), 0, 0, thumbWidth_, thumbHeight_, dc, x, y, SRCCOPY);
      thumbBackgroundAt_ = POINT{x, y};
    }
    DrawPicture(dc, picture, transparentThumb_, x, y, thumbWidth_, thumbHeight_, 0, 0);
  }
  if (drawFocusRect_ && hasFocus_ && enabled_) {
    ::DrawFocusRect(dc, &client_);
    focusRectDrawn_ = true;
  }
}

void CBitmapSlider::Notify(UINT message) {
  HWND parent = ::GetParent(Hwnd());
  if (parent) ::PostMessageW(parent, message, static_cast<WPARAM>(::GetDlgCtrlID(Hwnd())), position_);
}

void CBitmapSlider::OnButtonDown(POINT at) {
  if (!enabled_) return;
  ::SetCapture(Hwnd());
  ::SetFocus(Hwnd());
  buttonDown_ = true;
  int coordinate = vertical_ ? at.y : at.x;
  int half = (vertical_ ? thumbHeight_ : thumbWidth_) / 2;
  int centre = Pos2Pixel(position_);
  clickOffset_ = std::abs(coordinate - centre) <= half ? coordinate - centre : 0;
  OnMouseMove(at);
  Repaint();
}

void CBitmapSlider::OnMouseMove(POINT at) {
  if (!enabled_ || !buttonDown_) return;
  int low = vertical_ ? marginTop_ + thumbHeight_ / 2 : marginLeft_ + thumbWidth_ / 2;
  int high = vertical_ ? channelHeight_ - marginBottom_ - thumbHeight_ / 2 : channelWidth_ - marginRight_ - thumbWidth_ / 2;
  int pixel = (vertical_ ? at.y : at.x) - clickOffset_;
  pixel = std::max(low, std::min(pixel, std::max(low, high)));
  if (pixel == Pos2Pixel(position_)) return;
  SetPos(Pixel2Pos(pixel));
  Notify(WM_SLIDER_MOVING);
}

void CBitmapSlider::OnButtonUp() {
  if (!enabled_ || !buttonDown_) return;
  ::ReleaseCapture();
  buttonDown_ = false;
  Repaint();
  Notify(WM_SLIDER_MOVED);
}

void CBitmapSlider::OnKeyDown(WPARAM key) {
  int position = position_;
  switch (key) {
    case VK_PRIOR: position -= page_; break;
    case VK_NEXT: position += page_; break;
    case VK_END: position = maximum_; break;
    case VK_HOME: position = minimum_; break;
    case VK_RIGHT:
    case VK_DOWN: position += 1; break;
    case VK_LEFT:
    case VK_UP: position -= 1; break;
    default: return;
  }
  SetPos(position);
  Notify(WM_SLIDER_MOVED);
}

bool CBitmapSlider::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_PAINT: Paint(); return true;
    case WM_ERASEBKGND: result = TRUE; return true;
    case WM_LBUTTONDOWN: OnButtonDown(at); return true;
    case WM_MOUSEMOVE: OnMouseMove(at); return true;
    case WM_LBUTTONUP: OnButtonUp(); return true;
    case WM_GETDLGCODE:
      if (::GetKeyState(VK_TAB) < 0) return false;
      result = DLGC_WANTARROWS;
      return true;
    case WM_KEYDOWN:
      if (!enabled_) return false;
      OnKeyDown(wParam);
      return false;  // the default handling runs too
    case WM_SETFOCUS: hasFocus_ = true; Repaint(); return false;
    case WM_KILLFOCUS: hasFocus_ = false; Repaint(); return false;
    case WM_DESTROY:
      thumbBackground_.Reset();
      channel_ = Picture{};
      activeChannel_ = Picture{};
      thumb_ = Picture{};
      activeThumb_ = Picture{};
      return false;
    default: return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
}

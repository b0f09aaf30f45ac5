#include "BitmapDC.h"

CBitmapDC::CBitmapDC(int width, int height, HDC reference, COLORREF fill) {
  HDC screen = reference ? nullptr : ::GetDC(nullptr);
  HDC base = reference ? reference : screen;
  width = width > 0 ? width : 1;
  height = height > 0 ? height : 1;
  bitmap_ = ::CreateCompatibleBitmap(base, width, height);
  dc_ = ::CreateCompatibleDC(base);
  if (dc_ && bitmap_) {
    oldBitmap_ = ::SelectObject(dc_, bitmap_);
    ::SetMapMode(dc_, ::GetMapMode(base));
    RECT all{0, 0, width, height};
    HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(dc_, &all, brush);
    ::DeleteObject(brush);
  }
  if (screen) ::ReleaseDC(nullptr, screen);
}

HBITMAP CBitmapDC::Close() {
  HBITMAP bitmap = bitmap_;
  if (bitmap && oldBitmap_) ::SelectObject(dc_, oldBitmap_);
  bitmap_ = nullptr;
  oldBitmap_ = nullptr;
  return bitmap;
}

CBitmapDC::~CBitmapDC() {
  if (bitmap_) {
    if (oldBitmap_) ::SelectObject(dc_, oldBitmap_);
    ::DeleteObject(bitmap_);
  }
  if (dc_) ::DeleteDC(dc_);
}

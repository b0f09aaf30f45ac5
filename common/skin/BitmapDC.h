#pragma once
#include <windows.h>

// A DC drawing into a bitmap of its own, for pictures kept after the paint
// (the page snapshots). Close hands the bitmap to the caller.
class CBitmapDC {
 public:
  // Compatible with `reference`, or with the screen when it is null; filled
  // with `fill`.
  CBitmapDC(int width, int height, HDC reference = nullptr, COLORREF fill = RGB(255, 255, 255));
  ~CBitmapDC();
  CBitmapDC(const CBitmapDC&) = delete;
  CBitmapDC& operator=(const CBitmapDC&) = delete;

  // The caller owns the bitmap from now on; null after the first call.
  HBITMAP Close();
  HDC GetSafeHdc() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
};

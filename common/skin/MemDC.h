#pragma once
#include <windows.h>

// The off-screen DC every owner-drawn paint goes through: drawing uses the
// target's coordinates and reaches the screen in one copy when the object
// flushes or goes out of scope. A printing DC is drawn on directly.
class CMemDC {
 public:
  // Covers `rect`, or the target's clip box when it is null, filled with the
  // target's background colour.
  explicit CMemDC(HDC target, const RECT* rect = nullptr);
  // As above; with `copyTarget` the bitmap starts as what the target shows.
  CMemDC(HDC target, const RECT* rect, bool copyTarget);
  ~CMemDC();
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

  // Copies to the target and releases the bitmap; later calls do nothing.
  void Flush();

  HDC GetSafeHdc() const { return dc_; }
  operator HDC() const { return dc_; }
  const RECT& Rect() const { return rect_; }
  bool IsMemDC() const { return memDC_; }

 private:
  void Init(const RECT* rect, bool deviceUnits, bool copyTarget);

  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  HDC target_;
  HDC dc_ = nullptr;
  RECT rect_{};
  bool memDC_ = true;
  bool flushed_ = false;
};

#pragma once
#include <windows.h>

#include "Handles.h"

// An off-screen DC over one item rectangle, drawn in the target's
// coordinates; the picture reaches the target in one copy on destruction.
// A printing DC is drawn on directly.
class BCMenuMemDC {
 public:
  BCMenuMemDC(HDC target, const RECT& rect);
  ~BCMenuMemDC();
  BCMenuMemDC(const BCMenuMemDC&) = delete;
  BCMenuMemDC& operator=(const BCMenuMemDC&) = delete;

  HDC Get() const { return offScreen_ ? memory_.Get() : target_; }
  operator HDC() const { return Get(); }
  bool IsOffScreen() const { return offScreen_; }

 private:
  HDC target_;
  RECT rect_;
  fw::ScopedCreatedDC memory_;
  fw::ScopedBitmap bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  bool offScreen_ = false;
};

#include "Handles.h"

#include <algorithm>

namespace fw {

MemoryDC::MemoryDC(HDC reference, int width, int height)
    : dc_(::CreateCompatibleDC(reference)), width_(std::max(width, 0)), height_(std::max(height, 0)) {
  if (!dc_) return;
  // A zero-sized bitmap cannot be created; keep one pixel so callers can
  // still draw (into nothing) without checking.
  bitmap_.Reset(::CreateCompatibleBitmap(reference, std::max(width_, 1), std::max(height_, 1)));
  if (bitmap_) previous_ = ::SelectObject(dc_.Get(), bitmap_.Get());
}

MemoryDC::~MemoryDC() {
  if (previous_) ::SelectObject(dc_.Get(), previous_);
}

}  // namespace fw

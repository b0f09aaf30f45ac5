#include "BCMenuMemDC.h"

BCMenuMemDC::BCMenuMemDC(HDC target, const RECT& rect) : target_(target), rect_(rect) {
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  // Nothing to buffer for an empty rectangle or a printer.
  if (width <= 0 || height <= 0 || ::GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER) return;
  memory_.Reset(::CreateCompatibleDC(target));
  bitmap_.Reset(::CreateCompatibleBitmap(target, width, height));
  if (!memory_ || !bitmap_) return;
  oldBitmap_ = ::SelectObject(memory_.Get(), bitmap_.Get());
  ::SetWindowOrgEx(memory_.Get(), rect.left, rect.top, nullptr);
  offScreen_ = true;
}

BCMenuMemDC::~BCMenuMemDC() {
  if (!offScreen_) return;
  ::BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, memory_.Get(),
           rect_.left, rect_.top, SRCCOPY);
  ::SelectObject(memory_.Get(), oldBitmap_);
}

#include "MemDC.h"

namespace {

void FillBackground(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &rect, brush);
  ::DeleteObject(brush);
}

}  // namespace

CMemDC::CMemDC(HDC target, const RECT* rect) : target_(target) { Init(rect, false, false); }

CMemDC::CMemDC(HDC target, const RECT* rect, bool copyTarget) : target_(target) { Init(rect, true, copyTarget); }

void CMemDC::Init(const RECT* rect, bool deviceUnits, bool copyTarget) {
  if (rect)
    rect_ = *rect;
  else
    ::GetClipBox(target_, &rect_);
  memDC_ = ::GetDeviceCaps(target_, TECHNOLOGY) != DT_RASPRINTER;
  if (!memDC_) {
    dc_ = target_;
    return;
  }
  RECT size = rect_;
  if (deviceUnits) ::LPtoDP(target_, reinterpret_cast<POINT*>(&size), 2);
  int width = size.right - size.left;
  int height = size.bottom - size.top;
  dc_ = ::CreateCompatibleDC(target_);
  // An empty area still gets a one-pixel bitmap, so drawing has somewhere to go.
  bitmap_ = ::CreateCompatibleBitmap(target_, width > 0 ? width : 1, height > 0 ? height : 1);
  if (!dc_ || !bitmap_) {
    if (dc_) ::DeleteDC(dc_);
    if (bitmap_) ::DeleteObject(bitmap_);
    bitmap_ = nullptr;
    dc_ = target_;
    memDC_ = false;
    return;
  }
  oldBitmap_ = ::SelectObject(dc_, bitmap_);
  ::SetMapMode(dc_, ::GetMapMode(target_));
  SIZE extent{};
  ::GetWindowExtEx(target_, &extent);
  ::SetWindowExtEx(dc_, extent.cx, extent.cy, nullptr);
  ::GetViewportExtEx(target_, &extent);
  ::SetViewportExtEx(dc_, extent.cx, extent.cy, nullptr);
  ::SetWindowOrgEx(dc_, rect_.left, rect_.top, nullptr);
  if (copyTarget)
    ::BitBlt(dc_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, target_, rect_.left,
             rect_.top, SRCCOPY);
  else
    FillBackground(dc_, rect_, ::GetBkColor(target_));
}

void CMemDC::Flush() {
  if (flushed_) return;
  flushed_ = true;
  if (!memDC_) return;
  ::BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, dc_, rect_.left,
           rect_.top, SRCCOPY);
  ::SelectObject(dc_, oldBitmap_);
}

CMemDC::~CMemDC() {
  Flush();
  if (!memDC_) return;
  ::DeleteDC(dc_);
  ::DeleteObject(bitmap_);
}

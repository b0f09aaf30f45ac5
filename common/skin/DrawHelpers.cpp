#include "DrawHelpers.h"

#include <algorithm>
#include <vector>

#include "Handles.h"
#include "Wnd.h"

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, std::abs(info.bmHeight)};
}

// Region data grown in steps of 1000 rectangles.
class RegionBuilder {
 public:
  void Add(LONG left, LONG top, LONG right, LONG bottom) {
    rects_.push_back(RECT{left, top, right, bottom});
    bounds_.left = std::min(bounds_.left, left);
    bounds_.top = std::min(bounds_.top, top);
    bounds_.right = std::max(bounds_.right, right);
    bounds_.bottom = std::max(bounds_.bottom, bottom);
    if (rects_.size() >= 2000) FlushBatch();
  }
  HRGN Finish() {
    FlushBatch();
    return result_ ? result_ : ::CreateRectRgn(0, 0, 0, 0);
  }

 private:
  void FlushBatch() {
    if (rects_.empty()) return;
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects_.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(rects_.size());
    header->nRgnSize = static_cast<DWORD>(rects_.size() * sizeof(RECT));
    header->rcBound = bounds_;
    std::copy(rects_.begin(), rects_.end(), reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
    HRGN batch = ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    if (batch) {
      if (result_) {
        ::CombineRgn(result_, result_, batch, RGN_OR);
        ::DeleteObject(batch);
      } else {
        result_ = batch;
      }
    }
    rects_.clear();
    rects_.reserve(1000);
    bounds_ = RECT{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  }

  std::vector<RECT> rects_;
  RECT bounds_{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  HRGN result_ = nullptr;
};

COLORREF KeyFromCorners(const DWORD* pixels, int width, int height) {
  DWORD p1 = pixels[(height - 1) * width + (width - 1)];
  DWORD p2 = height > 1 ? pixels[(height - 2) * width + (width - 1)] : p1;
  DWORD p3 = height > 1 ? pixels[width] : pixels[0];
  DWORD p4 = pixels[0];
  DWORD key;
  if ((p1 & p2) == p1)
    key = p1 & p2 & p3;
  else if ((p2 & p3) == p2)
    key = p2 & p3 & p4;
  else
    return CLR_INVALID;
  return RGB((key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF);
}

}  // namespace

void DrawBitmap(HBITMAP bitmap, HDC dc, POINT at) {
  SIZE size = BitmapSize(bitmap);
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  if (!source) return;
  ::SetMapMode(source.Get(), ::GetMapMode(dc));
  fw::ScopedSelectObject select(source.Get(), bitmap);
  ::BitBlt(dc, at.x, at.y, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
}

void DrawBitmapInRect(HBITMAP bitmap, HDC dc, const RECT& rect, bool stretch) {
  SIZE size = BitmapSize(bitmap);
  if (!stretch) {
    POINT centre{(rect.left + rect.right) / 2 - size.cx / 2, (rect.top + rect.bottom) / 2 - size.cy / 2};
    DrawBitmap(bitmap, dc, centre);
    return;
  }
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  if (!source) return;
  fw::ScopedSelectObject select(source.Get(), bitmap);
  ::StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.Get(), 0, 0, size.cx,
               size.cy, SRCCOPY);
}

BITMAPINFO TopDownBitmapInfo(int width, int height, WORD bitCount) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows run top to bottom
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitCount;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::unique_ptr<DWORD[]> GetBitmapBits32(HBITMAP bitmap, int* width, int* height) {
  SIZE size = BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  std::unique_ptr<DWORD[]> pixels(new DWORD[static_cast<size_t>(size.cx) * size.cy]);
  BITMAPINFO info = TopDownBitmapInfo(size.cx, size.cy, 32);
  fw::WindowDC screen(nullptr);
  if (::GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), pixels.get(), &info, DIB_RGB_COLORS) == 0)
    return nullptr;
  if (width) *width = size.cx;
  if (height) *height = size.cy;
  return pixels;
}

HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key, COLORREF tolerance) {
  int width = 0;
  int height = 0;
  std::unique_ptr<DWORD[]> pixels = GetBitmapBits32(bitmap, &width, &height);
  if (!pixels) return nullptr;
  // A key the corners cannot settle stays -1, whose channels are all 255:
  // pure white (and nothing else, whatever the tolerance) is transparent.
  if (key == CLR_INVALID) key = KeyFromCorners(pixels.get(), width, height);
  const int lowR = GetRValue(key), lowG = GetGValue(key), lowB = GetBValue(key);
  const int highR = std::min(255, lowR + GetRValue(tolerance));
  const int highG = std::min(255, lowG + GetGValue(tolerance));
  const int highB = std::min(255, lowB + GetBValue(tolerance));
  auto transparent = [&](DWORD pixel) {
    int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r >= lowR && r <= highR && g >= lowG && g <= highG && b >= lowB && b <= highB;
  };
  RegionBuilder region;
  for (int y = 0; y < height; ++y) {
    const DWORD* row = pixels.get() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      if (transparent(row[x])) continue;
      int start = x;
      while (x < width && !transparent(row[x])) ++x;
      region.Add(start, y, x, y + 1);
    }
  }
  return region.Finish();
}

void DrawTransparent(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                     int sourceWidth, int sourceHeight, COLORREF key) {
  if (width <= 0 || height <= 0) return;
  fw::ScopedCreatedDC copyDC(::CreateCompatibleDC(target));
  fw::ScopedCreatedDC maskDC(::CreateCompatibleDC(target));
  fw::ScopedBitmap copy(::CreateCompatibleBitmap(target, width, height));
  fw::ScopedBitmap mask(::CreateBitmap(width, height, 1, 1, nullptr));
  if (!copyDC || !maskDC || !copy || !mask) return;
  fw::ScopedSelectObject selectCopy(copyDC.Get(), copy.Get());
  fw::ScopedSelectObject selectMask(maskDC.Get(), mask.Get());
  if (width == sourceWidth && height == sourceHeight)
    ::BitBlt(copyDC.Get(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
  else
    ::StretchBlt(copyDC.Get(), 0, 0, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, SRCCOPY);
  ::SetBkColor(copyDC.Get(), key);
  ::BitBlt(maskDC.Get(), 0, 0, width, height, copyDC.Get(), 0, 0, SRCCOPY);
  ::SetBkColor(copyDC.Get(), RGB(0, 0, 0));
  ::SetTextColor(copyDC.Get(), RGB(255, 255, 255));
  ::BitBlt(copyDC.Get(), 0, 0, width, height, maskDC.Get(), 0, 0, SRCAND);
  COLORREF oldBack = ::SetBkColor(target, RGB(255, 255, 255));
  COLORREF oldText = ::SetTextColor(target, RGB(0, 0, 0));
  ::BitBlt(target, x, y, width, height, maskDC.Get(), 0, 0, SRCAND);
  ::BitBlt(target, x, y, width, height, copyDC.Get(), 0, 0, SRCPAINT);
  ::SetBkColor(target, oldBack);
  ::SetTextColor(target, oldText);
}

bool TransparentStretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           int sourceWidth, int sourceHeight, COLORREF key) {
  if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return false;
  fw::WindowDC screen(nullptr);
  fw::ScopedCreatedDC copyDC(::CreateCompatibleDC(screen));
  fw::ScopedCreatedDC maskDC(::CreateCompatibleDC(screen));
  fw::ScopedCreatedDC bigCopyDC(::CreateCompatibleDC(screen));
  fw::ScopedCreatedDC bigMaskDC(::CreateCompatibleDC(screen));
  fw::ScopedBitmap copy(::CreateCompatibleBitmap(screen, sourceWidth, sourceHeight));
  fw::ScopedBitmap mask(::CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr));
  fw::ScopedBitmap bigCopy(::CreateCompatibleBitmap(screen, width, height));
  fw::ScopedBitmap bigMask(::CreateCompatibleBitmap(screen, width, height));
  if (!copyDC || !maskDC || !bigCopyDC || !bigMaskDC || !copy || !mask || !bigCopy || !bigMask) return false;
  fw::ScopedSelectObject selectCopy(copyDC.Get(), copy.Get());
  fw::ScopedSelectObject selectMask(maskDC.Get(), mask.Get());
  fw::ScopedSelectObject selectBigCopy(bigCopyDC.Get(), bigCopy.Get());
  fw::ScopedSelectObject selectBigMask(bigMaskDC.Get(), bigMask.Get());
  bool ok = ::BitBlt(copyDC.Get(), 0, 0, sourceWidth, sourceHeight, source, sourceX, sourceY, SRCCOPY);
  // Key pixels become white in the mask, everything else black.
  ok = ok && ::BitBlt(maskDC.Get(), 0, 0, sourceWidth, sourceHeight, nullptr, 0, 0, BLACKNESS);
  ::SetBkColor(copyDC.Get(), key);
  ok = ok && ::BitBlt(maskDC.Get(), 0, 0, sourceWidth, sourceHeight, copyDC.Get(), 0, 0, SRCINVERT);
  ::SetBkColor(copyDC.Get(), RGB(0, 0, 0));
  ::SetTextColor(copyDC.Get(), RGB(255, 255, 255));
  // Black out the key pixels of the copy (mask bits 1 read as black here).
  ok = ok && ::BitBlt(copyDC.Get(), 0, 0, sourceWidth, sourceHeight, maskDC.Get(), 0, 0, SRCAND);
  ::SetStretchBltMode(bigMaskDC.Get(), COLORONCOLOR);
  ::SetStretchBltMode(bigCopyDC.Get(), COLORONCOLOR);
  ::SetBkColor(bigMaskDC.Get(), RGB(255, 255, 255));
  ::SetTextColor(bigMaskDC.Get(), RGB(0, 0, 0));
  ok = ok && ::StretchBlt(bigMaskDC.Get(), 0, 0, width, height, maskDC.Get(), 0, 0, sourceWidth, sourceHeight, SRCCOPY);
  ok = ok && ::StretchBlt(bigCopyDC.Get(), 0, 0, width, height, copyDC.Get(), 0, 0, sourceWidth, sourceHeight, SRCCOPY);
  if (!ok) return false;
  return ::BitBlt(target, x, y, width, height, bigMaskDC.Get(), 0, 0, SRCAND) &&
         ::BitBlt(target, x, y, width, height, bigCopyDC.Get(), 0, 0, SRCPAINT);
}

HINSTANCE GetImageBaseInstance() { return fw::ThisModule(); }

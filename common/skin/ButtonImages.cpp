#include "ButtonImages.h"

#include <functional>
#include <vector>

#include "DrawHelpers.h"
#include "Handles.h"

namespace {

using PixelMap = std::function<COLORREF(COLORREF)>;

COLORREF Grayscale(COLORREF colour) {
  double gray = 0.299 * GetRValue(colour) + 0.587 * GetGValue(colour) + 0.114 * GetBValue(colour);
  BYTE value = static_cast<BYTE>(gray);
  return RGB(value, value, value);
}

COLORREF Darker(COLORREF colour) { return DarkenColor(colour, 0.25); }

// The pixels of `source` as 32-bit top-down BGRA, drawn into a new DIB
// section of the same size with `map` applied to all but the key pixels.
HBITMAP MapPixels(HBITMAP source, int width, int height, COLORREF key, const PixelMap& map) {
  if (!source || width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info = TopDownBitmapInfo(width, height, 32);
  fw::WindowDC screen(nullptr);
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  if (!::GetDIBits(screen, source, 0, height, pixels.data(), &info, DIB_RGB_COLORS)) return nullptr;
  void* bits = nullptr;
  HBITMAP result = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!result || !bits) return result;
  COLORREF plainKey = key & 0xFFFFFF;
  auto* out = static_cast<DWORD*>(bits);
  for (size_t i = 0; i < pixels.size(); ++i) {
    DWORD pixel = pixels[i] & 0xFFFFFF;
    COLORREF colour = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));  // BGR -> COLORREF
    if (colour != plainKey) colour = map(colour);
    out[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  }
  ::GdiFlush();
  return result;
}

// Builds a copy of an icon whose colour bitmap went through `map` (black,
// the icon's transparent colour, kept). The information bitmaps are ours to
// delete.
HICON MapIcon(HICON source, const PixelMap& map) {
  ICONINFO info{};
  if (!source || !::GetIconInfo(source, &info)) return nullptr;
  fw::ScopedBitmap colour(info.hbmColor);
  fw::ScopedBitmap mask(info.hbmMask);
  int width = static_cast<int>(info.xHotspot) * 2;
  int height = static_cast<int>(info.yHotspot) * 2;
  if (!colour || width <= 0 || height <= 0) return nullptr;
  fw::ScopedBitmap mapped(MapPixels(colour.Get(), width, height, RGB(0, 0, 0), map));
  if (!mapped) return nullptr;
  ICONINFO copy = info;
  copy.hbmColor = mapped.Get();
  copy.hbmMask = mask.Get();
  return ::CreateIconIndirect(&copy);
}

}  // namespace

COLORREF DarkenColor(COLORREF colour, double factor) {
  if (!(factor > 0.0 && factor <= 1.0)) return colour;
  auto darken = [factor](BYTE channel) { return static_cast<BYTE>(channel - channel * factor); };
  return RGB(darken(GetRValue(colour)), darken(GetGValue(colour)), darken(GetBValue(colour)));
}

HBITMAP CreateGrayscaleBitmap(HBITMAP source, int width, int height, COLORREF key) {
  return MapPixels(source, width, height, key, Grayscale);
}

HBITMAP CreateDarkerBitmap(HBITMAP source, int width, int height, COLORREF key) {
  return MapPixels(source, width, height, key, Darker);
}

HICON CreateGrayscaleIcon(HICON source) { return MapIcon(source, Grayscale); }

HICON CreateDarkerIcon(HICON source) { return MapIcon(source, Darker); }

HBITMAP CreateMaskBitmap(HBITMAP image, int width, int height, COLORREF key) {
  if (!image || width <= 0 || height <= 0) return nullptr;
  fw::ScopedBitmap mask(::CreateBitmap(width, height, 1, 1, nullptr));
  fw::ScopedCreatedDC imageDC(::CreateCompatibleDC(nullptr));
  fw::ScopedCreatedDC maskDC(::CreateCompatibleDC(nullptr));
  if (!mask || !imageDC || !maskDC) return nullptr;
  {
    fw::ScopedSelectObject selectImage(imageDC.Get(), image);
    fw::ScopedSelectObject selectMask(maskDC.Get(), mask.Get());
    // Colour to monochrome: pixels of the background colour become 1.
    ::SetBkColor(imageDC.Get(), key);
    ::BitBlt(maskDC.Get(), 0, 0, width, height, imageDC.Get(), 0, 0, SRCCOPY);
    // Monochrome to colour: 1 takes the background colour (black here), 0
    // the text colour (white), so SRCAND blackens only the key pixels.
    ::SetTextColor(imageDC.Get(), RGB(255, 255, 255));
    ::SetBkColor(imageDC.Get(), RGB(0, 0, 0));
    ::BitBlt(imageDC.Get(), 0, 0, width, height, maskDC.Get(), 0, 0, SRCAND);
  }
  return mask.Release();
}

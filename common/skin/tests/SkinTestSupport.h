#pragma once
// Bitmaps, a pixel canvas and message pumping shared by the toolkit's window
// tests and its gallery programs.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "DrawHelpers.h"
#include "Handles.h"

// A screen-compatible bitmap filled with `outer`, with `inner` (when not
// empty) filled with `innerColour`.
inline HBITMAP TwoToneBitmap(int width, int height, COLORREF outer, RECT inner = RECT{},
                             COLORREF innerColour = CLR_INVALID) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(outer);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  if (innerColour != CLR_INVALID && !IsRectEmpty(&inner)) {
    brush = CreateSolidBrush(innerColour);
    FillRect(dc, &inner, brush);
    DeleteObject(brush);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// A bitmap with a border of `border` pixels around a differently coloured centre.
inline HBITMAP FramedBitmap(int width, int height, COLORREF frame, COLORREF centre, int border) {
  return TwoToneBitmap(width, height, frame, RECT{border, border, width - border, height - border}, centre);
}

// A top-down 32-bit DIB section selected into its own DC. Pixels are read
// straight from its bits, so what is checked is what GDI wrote, without the
// screen's colour depth in between.
class DibCanvas {
 public:
  DibCanvas(int width, int height)
      : width_(std::max(width, 0)),
        height_(std::max(height, 0)),
        dc_(CreateCompatibleDC(nullptr)),
        bitmap_(CreateSection(width_, height_, &bits_)) {
    select_.emplace(dc_.Get(), bitmap_.Get());
  }
  DibCanvas(int width, int height, COLORREF fill) : DibCanvas(width, height) { Fill(fill); }
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  HDC Dc() const { return dc_.Get(); }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  // 0x00RRGGBB, row after row.
  DWORD* Bits() { return bits_; }
  // The bitmap selected out of the canvas's DC, for code that selects it into
  // a DC of its own (a bitmap is in one DC at a time). Drawing through Dc()
  // no longer reaches it; Pixel() still reads it.
  HBITMAP Deselect() {
    select_.reset();
    return bitmap_.Get();
  }

  // CLR_INVALID outside the canvas.
  COLORREF Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    GdiFlush();  // GDI may still be batching drawing into the bits
    DWORD p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  void Fill(COLORREF colour) { Fill(RECT{0, 0, width_, height_}, colour); }
  void Fill(const RECT& rect, COLORREF colour) {
    fw::ScopedBrush brush(CreateSolidBrush(colour));
    FillRect(Dc(), &rect, brush.Get());
  }
  // The pixels of `colour` inside `area`.
  int Count(COLORREF colour, const RECT& area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) count += Pixel(x, y) == colour;
    return count;
  }
  // The smallest rectangle holding every pixel of `colour`; empty without any.
  RECT Bounds(COLORREF colour) const {
    RECT bounds{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        if (Pixel(x, y) != colour) continue;
        bounds = RECT{std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                      std::max<LONG>(bounds.right, x + 1), std::max<LONG>(bounds.bottom, y + 1)};
      }
    return bounds;
  }

 private:
  static HBITMAP CreateSection(int width, int height, DWORD** bits) {
    if (width == 0 || height == 0) return nullptr;
    BITMAPINFO info = TopDownBitmapInfo(width, height, 32);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), nullptr, 0);
  }

  int width_;
  int height_;
  DWORD* bits_ = nullptr;
  fw::ScopedCreatedDC dc_;
  fw::ScopedBitmap bitmap_;
  std::optional<fw::ScopedSelectObject> select_;  // last: the bitmap is selected out before it goes
};

// Dispatches messages until `done` holds or the time is up; whether it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return done();
}

inline void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

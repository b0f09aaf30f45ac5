#pragma once
#include <windows.h>
#include <commctrl.h>

#include "Handles.h"
#include "ImageListHandle.h"

// Pieces the two menu looks are drawn with, and the images they draw.
namespace menu_drawing {

// Moves each channel toward 255 (or toward 0) by `f` of the way; the colour
// stays as it is unless 0 < f <= 1.
COLORREF Lighten(COLORREF colour, double f);
COLORREF Darken(COLORREF colour, double f);

void Fill(HDC dc, const RECT& rect, COLORREF colour);
void Frame(HDC dc, const RECT& rect, COLORREF colour);
void Frame3D(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
// Seven strokes; `shorten` 1 in the XP-like look, 0 in the classic one.
void DrawCheckMark(HDC dc, int x, int y, COLORREF colour, int shorten);
void DrawDot(HDC dc, int x, int y, COLORREF colour);
// The system's menu font.
fw::ScopedFont CreateMenuFont();

// A 32-bit top-down DIB section and the DC it is selected into.
class PixelCanvas {
 public:
  PixelCanvas(int width, int height);
  ~PixelCanvas();
  PixelCanvas(const PixelCanvas&) = delete;
  PixelCanvas& operator=(const PixelCanvas&) = delete;
  explicit operator bool() const { return pixels_ != nullptr; }
  HDC Dc() const { return dc_.Get(); }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // As COLORREF, read and written through the section's memory.
  COLORREF At(int x, int y) const;
  void Set(int x, int y, COLORREF colour);

 private:
  int width_, height_;
  fw::ScopedCreatedDC dc_;
  fw::ScopedBitmap bitmap_;
  DWORD* pixels_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// The colour as a 24/32-bit screen stores it.
COLORREF ScreenColour(COLORREF colour);
// Image `index` of a list drawn on a COLOR_BTNFACE canvas.
bool DrawOnFace(HIMAGELIST list, int index, PixelCanvas* canvas);
// A device bitmap copy of the canvas (image lists keep device bitmaps).
fw::ScopedBitmap CanvasCopy(const PixelCanvas& canvas);

// Appends the normal, shadow and disabled images derived from image 0.
void AddDerivedImages(HIMAGELIST list, bool xpStyleActive);
// A list of the given size holding image `index` of `source`.
fw::ScopedImageList CopyOneImage(HIMAGELIST source, int index, int width, int height);

}  // namespace menu_drawing

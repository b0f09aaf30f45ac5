#include "BCMenuDrawing.h"

#include <algorithm>

#include "DrawHelpers.h"

namespace menu_drawing {

namespace {

// The integer part of the stepped channel.
int Channel(int value, double f, bool lighten) {
  return static_cast<int>(lighten ? value + f * (255 - value) : value - f * value);
}

COLORREF Step(COLORREF colour, double f, bool lighten) {
  if (!(f > 0.0 && f <= 1.0)) return colour;
  return RGB(Channel(GetRValue(colour), f, lighten), Channel(GetGValue(colour), f, lighten),
             Channel(GetBValue(colour), f, lighten));
}

}  // namespace

COLORREF Lighten(COLORREF colour, double f) { return Step(colour, f, true); }
COLORREF Darken(COLORREF colour, double f) { return Step(colour, f, false); }

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  if (::IsRectEmpty(&rect)) return;
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rect, brush.Get());
}

void Frame(HDC dc, const RECT& rect, COLORREF colour) {
  if (::IsRectEmpty(&rect)) return;
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  ::FrameRect(dc, &rect, brush.Get());
}

void Frame3D(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  Fill(dc, RECT{rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
  Fill(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
  Fill(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
  Fill(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
}

void DrawCheckMark(HDC dc, int x, int y, COLORREF colour, int shorten) {
  static const int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
  static const int kBottom[7] = {5, 6, 7, 6, 5, 4, 3};
  fw::ScopedPen pen(::CreatePen(PS_SOLID, 1, colour));
  fw::ScopedSelectObject select(dc, pen.Get());
  for (int i = 0; i < 7; ++i) {
    ::MoveToEx(dc, x + i, y + kTop[i], nullptr);
    ::LineTo(dc, x + i, y + kBottom[i] - shorten);
  }
}

void DrawDot(HDC dc, int x, int y, COLORREF colour) {
  fw::ScopedPen pen(::CreatePen(PS_SOLID, 1, colour));
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  fw::ScopedSelectObject selectPen(dc, pen.Get());
  fw::ScopedSelectObject selectBrush(dc, brush.Get());
  ::Ellipse(dc, x, y, x + 6, y + 6);
}

fw::ScopedFont CreateMenuFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return fw::ScopedFont();
  return fw::ScopedFont(::CreateFontIndirectW(&metrics.lfMenuFont));
}

PixelCanvas::PixelCanvas(int width, int height) : width_(std::max(width, 0)), height_(std::max(height, 0)) {
  if (width_ == 0 || height_ == 0) return;
  BITMAPINFO info = TopDownBitmapInfo(width_, height_, 32);
  void* bits = nullptr;
  dc_.Reset(::CreateCompatibleDC(nullptr));
  bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc_ || !bitmap_ || !bits) return;
  previous_ = ::SelectObject(dc_.Get(), bitmap_.Get());
  pixels_ = static_cast<DWORD*>(bits);
}

PixelCanvas::~PixelCanvas() {
  if (previous_) ::SelectObject(dc_.Get(), previous_);
}

COLORREF PixelCanvas::At(int x, int y) const {
  ::GdiFlush();
  DWORD pixel = pixels_[y * width_ + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

void PixelCanvas::Set(int x, int y, COLORREF colour) {
  pixels_[y * width_ + x] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

COLORREF ScreenColour(COLORREF colour) {
  fw::WindowDC screen(nullptr);
  COLORREF stored = ::GetNearestColor(screen, colour);
  return stored == CLR_INVALID ? colour : stored;
}

bool DrawOnFace(HIMAGELIST list, int index, PixelCanvas* canvas) {
  if (!*canvas) return false;
  Fill(canvas->Dc(), RECT{0, 0, canvas->Width(), canvas->Height()}, ::GetSysColor(COLOR_BTNFACE));
  fw::ScopedIcon icon(::ImageList_GetIcon(list, index, ILD_NORMAL));
  if (!icon) return false;
  ::DrawIconEx(canvas->Dc(), 0, 0, icon.Get(), canvas->Width(), canvas->Height(), 0, nullptr, DI_NORMAL);
  ::GdiFlush();
  return true;
}

fw::ScopedBitmap CanvasCopy(const PixelCanvas& canvas) {
  fw::WindowDC screen(nullptr);
  fw::ScopedBitmap copy(::CreateCompatibleBitmap(screen, canvas.Width(), canvas.Height()));
  fw::ScopedCreatedDC dc(::CreateCompatibleDC(screen));
  if (!copy || !dc) return fw::ScopedBitmap();
  fw::ScopedSelectObject select(dc.Get(), copy.Get());
  ::BitBlt(dc.Get(), 0, 0, canvas.Width(), canvas.Height(), canvas.Dc(), 0, 0, SRCCOPY);
  return copy;
}

void AddDerivedImages(HIMAGELIST list, bool xpStyleActive) {
  int width = 0, height = 0;
  if (!list || !::ImageList_GetIconSize(list, &width, &height) || ::ImageList_GetImageCount(list) < 1) return;
  PixelCanvas source(width, height);
  if (!DrawOnFace(list, 0, &source)) return;
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF storedFace = ScreenColour(face);
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  for (int kind = 0; kind < 3; ++kind) {
    PixelCanvas derived(width, height);
    if (!derived) return;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        COLORREF pixel = source.At(x, y);
        if (pixel == storedFace) {
          derived.Set(x, y, face);
        } else if (kind == 0) {
          derived.Set(x, y, Lighten(pixel, 0.3));
        } else if (kind == 1) {
          derived.Set(x, y, xpStyleActive ? shadow : Lighten(shadow, 0.49));
        } else {
          double grey = (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) / 3.0 / 255.0;
          derived.Set(x, y, Lighten(shadow, grey));
        }
      }
    }
    fw::ScopedBitmap copy = CanvasCopy(derived);
    if (!copy || ::ImageList_AddMasked(list, copy.Get(), face) < 0) return;
  }
}

fw::ScopedImageList CopyOneImage(HIMAGELIST source, int index, int width, int height) {
  if (!source || index < 0 || index >= ::ImageList_GetImageCount(source) || width <= 0 || height <= 0)
    return fw::ScopedImageList();
  fw::ScopedImageList list(::ImageList_Create(width, height, ILC_COLORDDB | ILC_MASK, 1, 1));
  fw::ScopedIcon icon(::ImageList_GetIcon(source, index, ILD_NORMAL));
  if (!list || !icon || ::ImageList_ReplaceIcon(list.Get(), -1, icon.Get()) < 0) return fw::ScopedImageList();
  return list;
}

}  // namespace menu_drawing

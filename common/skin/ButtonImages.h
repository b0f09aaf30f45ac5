#pragma once
#include <windows.h>

// Image utilities of the owner-drawn button. Sources are borrowed and left
// unchanged; what is returned is the caller's. A missing source or a size
// that is not positive gives null.

// A copy with every pixel but the key colour turned gray (0.299 R + 0.587 G
// + 0.114 B, truncated).
HBITMAP CreateGrayscaleBitmap(HBITMAP source, int width, int height, COLORREF key);
// A copy with every pixel but the key colour darkened by a quarter.
HBITMAP CreateDarkerBitmap(HBITMAP source, int width, int height, COLORREF key);
// Icon copies of twice the hot spot's size that keep the source's mask;
// black pixels stay black.
HICON CreateGrayscaleIcon(HICON source);
HICON CreateDarkerIcon(HICON source);
// Each channel minus `factor` times itself; unchanged unless 0 < factor <= 1.
COLORREF DarkenColor(COLORREF colour, double factor);
// A monochrome mask of the key-coloured pixels (1 there). The key pixels of
// `image` itself are turned black, so that mask SRCAND then image SRCPAINT
// draws it transparently.
HBITMAP CreateMaskBitmap(HBITMAP image, int width, int height, COLORREF key);

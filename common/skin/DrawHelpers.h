#pragma once
#include <windows.h>

#include <memory>

// Bitmap drawing, pixel copies, regions by colour key and colour-keyed
// blits. Bitmaps passed in are borrowed; what is returned is the caller's.
void DrawBitmap(HBITMAP bitmap, HDC dc, POINT at);
void DrawBitmapInRect(HBITMAP bitmap, HDC dc, const RECT& rect, bool stretch);

// The header of a top-down (first row first) uncompressed DIB of the given
// size; for CreateDIBSection and GetDIBits alike.
BITMAPINFO TopDownBitmapInfo(int width, int height, WORD bitCount);

// A 32-bit top-down copy of the pixels (0x00RRGGBB each), or null.
std::unique_ptr<DWORD[]> GetBitmapBits32(HBITMAP bitmap, int* width = nullptr, int* height = nullptr);

// The region of the pixels that are not key-coloured. Key CLR_INVALID (-1)
// takes it from the corners, and when they do not settle it stays -1, which
// makes pure white transparent; each channel up to `tolerance`'s value above
// the key counts as key too. Null without a bitmap.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key = CLR_INVALID, COLORREF tolerance = 0);

void DrawTransparent(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                     int sourceWidth, int sourceHeight, COLORREF key);
// The same through monochrome masks; false on a size that is not positive or
// any GDI failure, leaving the target unchanged.
bool TransparentStretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           int sourceWidth, int sourceHeight, COLORREF key);

// The module holding this code (its icons and templates).
HINSTANCE GetImageBaseInstance();

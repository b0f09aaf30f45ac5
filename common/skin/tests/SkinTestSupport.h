#pragma once
// Bitmaps and message pumping shared by the toolkit's window tests and its
// gallery programs.
#include <windows.h>

#include <functional>

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

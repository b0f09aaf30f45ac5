#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "ButtonST.h"
#include "Handles.h"

// A CButtonST whose background is, per state (normal, hover, pressed,
// disabled), a start, a tiled middle and an end slice, laid horizontally or
// vertically. Slices handed in as bitmaps stay the caller's.
class CBkgBtn : public CButtonST {
 public:
  enum { kNormal = 0, kHover, kPressed, kDisabled, kStates };
  enum { kStart = 0, kMiddle, kEnd, kSlices };
  // Background modes: 0 snapshot when transparent; 1 snapshot only while
  // hovered; 2 slices while hovered, snapshot otherwise; 3 none.
  enum { kBkgTransparent = 0, kBkgTransparentHover, kBkgOpaqueHover, kBkgNone };

  // Twelve files: start, middle, end for normal, hover, pressed, disabled.
  // An empty middle or end repeats the start; an empty start leaves that
  // state without background. 1 when a named file cannot be loaded.
  int SetBkgBitmapFiles(const std::wstring files[12], BOOL vertical);
  int SetBkgBitmaps(const HBITMAP bitmaps[12], BOOL vertical);
  int SetStateSlices(HBITMAP start, HBITMAP middle, HBITMAP end, int state);
  void FreeBkgBitmaps();
  void SetBkgMode(int mode);
  int GetBkgMode() const { return mode_; }
  BOOL IsVertical() const { return vertical_; }
  HBITMAP GetSlice(int state, int slice) const;
  void ApplyTextStyle(const std::wstring& face, int height, COLORREF normal, COLORREF hover);

  void DrawItem(const DRAWITEMSTRUCT* draw) override;

 protected:
  DWORD PaintBackground(HDC dc, RECT* rect) override;
  void PaintBackgroundLayer(HDC dc, RECT* rect) override;

 private:
  struct Slice {
    fw::ScopedBitmap bitmap;
    int width = 0;
    int height = 0;
  };
  using State = std::array<Slice, kSlices>;
  int StoreState(int state, fw::ScopedBitmap start, fw::ScopedBitmap middle, fw::ScopedBitmap end);
  int StateIndex() const;
  void PaintSlices(HDC dc, const RECT& rect, const State& state) const;

  std::array<State, kStates> states_;
  int mode_ = kBkgTransparent;
  bool vertical_ = false;
};

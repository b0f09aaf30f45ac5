#pragma once
#include <windows.h>

#include <memory>

#include "Handles.h"

// The image button at the end of a record list's row: a picture per state,
// stretched over its place, or a fill when the state has none.
class RecordButton {
 public:
  using SharedBitmap = std::shared_ptr<fw::ScopedBitmap>;
  enum State { kNormal = 0, kHot = 1 };

  SIZE size{0, 0};
  // Shared with the skin: a skin loaded again leaves these alive while the
  // button still draws them.
  SharedBitmap normal;
  SharedBitmap hover;
  COLORREF fill = RGB(255, 255, 255);
  COLORREF transparent = CLR_INVALID;
  int state = kNormal;

  // At (x, y), cut to `clip`.
  void Draw(HDC dc, int x, int y, const RECT& clip) const;
};

#include "RecordButton.h"

#include "DrawHelpers.h"

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

void RecordButton::Draw(HDC dc, int x, int y, const RECT& clip) const {
  RECT place{x, y, x + size.cx, y + size.cy};
  RECT shown{};
  if (!::IntersectRect(&shown, &place, &clip)) return;
  const SharedBitmap& image = state == kHot ? hover : normal;
  HBITMAP bitmap = image && *image ? image->Get() : nullptr;
  SIZE source = BitmapSize(bitmap);
  if (!bitmap || source.cx <= 0 || source.cy <= 0) {
    fw::ScopedBrush brush(::CreateSolidBrush(fill));
    ::FillRect(dc, &shown, brush.Get());
    return;
  }
  fw::ScopedCreatedDC memory(::CreateCompatibleDC(dc));
  fw::ScopedSelectObject select(memory.Get(), bitmap);
  const int width = shown.right - shown.left;
  const int height = shown.bottom - shown.top;
  if (transparent != CLR_INVALID)
    TransparentStretchBlt(dc, shown.left, shown.top, width, height, memory.Get(), 0, 0, source.cx, source.cy,
                          transparent);
  else
    ::StretchBlt(dc, shown.left, shown.top, width, height, memory.Get(), 0, 0, source.cx, source.cy, SRCCOPY);
}

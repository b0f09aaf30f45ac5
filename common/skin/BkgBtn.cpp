#include "BkgBtn.h"

#include <cstdlib>
#include <utility>

#include "CommHelper.h"

namespace {

HBITMAP CopyBitmap(HBITMAP source) {
  return source ? static_cast<HBITMAP>(::CopyImage(source, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
}

HBITMAP LoadFile(const std::wstring& path) {
  HBITMAP bitmap = nullptr;
  int width = 0, height = 0;
  if (path.empty() || !CCommHelper::LoadPictureBitmap(&bitmap, path, &width, &height)) return nullptr;
  return bitmap;
}

void DrawSlice(HDC dc, HDC source, HBITMAP bitmap, int x, int y, int width, int height) {
  if (!bitmap || width <= 0 || height <= 0) return;
  fw::ScopedSelectObject select(source, bitmap);
  ::BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
}

}  // namespace

HBITMAP CBkgBtn::GetSlice(int state, int slice) const {
  if (state < 0 || state >= kStates || slice < 0 || slice >= kSlices) return nullptr;
  return states_[state][slice].bitmap.Get();
}

void CBkgBtn::FreeBkgBitmaps() {
  for (State& state : states_)
    for (Slice& slice : state) slice = Slice{};
}

void CBkgBtn::SetBkgMode(int mode) {
  if (mode < kBkgTransparent || mode > kBkgNone) return;
  mode_ = mode;
}

int CBkgBtn::StoreState(int state, fw::ScopedBitmap start, fw::ScopedBitmap middle, fw::ScopedBitmap end) {
  State& slices = states_[state];
  for (Slice& slice : slices) slice = Slice{};
  if (!start) return BTNST_OK;
  // A missing middle or end repeats the start, as a copy of its own.
  if (!middle) middle.Reset(CopyBitmap(start.Get()));
  if (!end) end.Reset(CopyBitmap(start.Get()));
  fw::ScopedBitmap* parts[kSlices] = {&start, &middle, &end};
  for (int i = 0; i < kSlices; ++i) {
    BITMAP info{};
    if (!*parts[i] || !::GetObjectW(parts[i]->Get(), sizeof(info), &info)) {
      for (Slice& slice : slices) slice = Slice{};
      return BTNST_INVALIDRESOURCE;
    }
    slices[i].width = info.bmWidth;
    slices[i].height = std::abs(info.bmHeight);
    slices[i].bitmap = std::move(*parts[i]);
  }
  return BTNST_OK;
}

int CBkgBtn::SetStateSlices(HBITMAP start, HBITMAP middle, HBITMAP end, int state) {
  if (state < 0 || state >= kStates) return BTNST_INVALIDINDEX;
  int result = StoreState(state, fw::ScopedBitmap(CopyBitmap(start)), fw::ScopedBitmap(CopyBitmap(middle)),
                          fw::ScopedBitmap(CopyBitmap(end)));
  Repaint();
  return result;
}

int CBkgBtn::SetBkgBitmaps(const HBITMAP bitmaps[12], BOOL vertical) {
  FreeBkgBitmaps();
  vertical_ = vertical != FALSE;
  if (!bitmaps) return BTNST_INVALIDRESOURCE;
  int result = BTNST_OK;
  for (int state = 0; state < kStates; ++state) {
    const HBITMAP* slices = bitmaps + state * kSlices;
    int stored = StoreState(state, fw::ScopedBitmap(CopyBitmap(slices[0])), fw::ScopedBitmap(CopyBitmap(slices[1])),
                            fw::ScopedBitmap(CopyBitmap(slices[2])));
    if (stored != BTNST_OK) result = stored;
  }
  Repaint();
  return result;
}

int CBkgBtn::SetBkgBitmapFiles(const std::wstring files[12], BOOL vertical) {
  FreeBkgBitmaps();
  vertical_ = vertical != FALSE;
  if (!files) return BTNST_INVALIDRESOURCE;
  int result = BTNST_OK;
  for (int state = 0; state < kStates; ++state) {
    const std::wstring* names = files + state * kSlices;
    fw::ScopedBitmap loaded[kSlices];
    for (int i = 0; i < kSlices; ++i) {
      loaded[i].Reset(LoadFile(names[i]));
      if (!names[i].empty() && !loaded[i]) result = BTNST_INVALIDRESOURCE;
    }
    int stored = StoreState(state, std::move(loaded[0]), std::move(loaded[1]), std::move(loaded[2]));
    if (stored != BTNST_OK) result = stored;
  }
  Repaint();
  return result;
}

void CBkgBtn::ApplyTextStyle(const std::wstring& face, int height, COLORREF normal, COLORREF hover) {
  SetCaptionFont(face, height, 0);
  SetColor(BTNST_COLOR_FG_OUT, normal, FALSE);
  SetColor(BTNST_COLOR_FG_FOCUS, normal, FALSE);
  SetColor(BTNST_COLOR_FG_IN, hover, TRUE);
}

void CBkgBtn::DrawItem(const DRAWITEMSTRUCT* draw) {
  if (!draw) return;
  PaintItem(draw, (draw->itemState & ODS_DISABLED) != 0);
}

void CBkgBtn::PaintBackgroundLayer(HDC dc, RECT* rect) {
  switch (mode_) {
    case kBkgTransparent:
      if (transparent_) PaintParentBackground(dc);
      else PaintBackground(dc, rect);
      break;
    case kBkgTransparentHover:
      if (transparent_ && mouseOver_) PaintParentBackground(dc);
      else PaintBackground(dc, rect);
      break;
    case kBkgOpaqueHover:
      if (!transparent_ || mouseOver_) PaintBackground(dc, rect);
      else PaintParentBackground(dc);
      break;
    default:
      break;
  }
}

int CBkgBtn::StateIndex() const {
  auto orNormal = [this](int state) { return states_[state][kStart].bitmap ? state : kNormal; };
  int index = kNormal;
  if (isCheckBox_) index = pressed_ ? kNormal : orNormal(kHover);
  else if (isRadio_ && pressed_) index = orNormal(kHover);
  else if (mouseOver_) index = pressed_ ? orNormal(kPressed) : orNormal(kHover);
  if (drawnDisabled_) index = orNormal(kDisabled);
  return index;
}

DWORD CBkgBtn::PaintBackground(HDC dc, RECT* rect) {
  CButtonST::PaintBackground(dc, rect);
  const State& state = states_[StateIndex()];
  if (state[kStart].bitmap) PaintSlices(dc, *rect, state);
  return BTNST_OK;
}

void CBkgBtn::PaintSlices(HDC dc, const RECT& rect, const State& state) const {
  const Slice& start = state[kStart];
  const Slice& middle = state[kMiddle];
  const Slice& end = state[kEnd];
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  if (!source) return;
  int middleX = rect.left, middleY = rect.top, middleWidth = 0, middleHeight = 0;
  DrawSlice(dc, source.Get(), start.bitmap.Get(), rect.left, rect.top, start.width, start.height);
  if (vertical_) {
    DrawSlice(dc, source.Get(), end.bitmap.Get(), rect.left, rect.bottom - end.height, end.width, end.height);
    middleY = rect.top + start.height;
    middleWidth = start.width;
    middleHeight = rect.bottom - end.height - middleY;
  } else {
    DrawSlice(dc, source.Get(), end.bitmap.Get(), rect.right - end.width, rect.top, end.width, end.height);
    middleX = rect.left + start.width;
    middleWidth = rect.right - end.width - middleX;
    middleHeight = middle.height;
  }
  // Slices wider than the button leave no room for the middle.
  if (!middle.bitmap || middleWidth <= 0 || middleHeight <= 0) return;
  fw::ScopedBrush pattern(::CreatePatternBrush(middle.bitmap.Get()));
  if (!pattern) return;
  POINT oldOrigin{};
  ::SetBrushOrgEx(dc, middleX, middleY, &oldOrigin);
  {
    fw::ScopedSelectObject select(dc, pattern.Get());
    ::PatBlt(dc, middleX, middleY, middleWidth, middleHeight, PATCOPY);
  }
  ::SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
}

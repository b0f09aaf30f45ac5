#include "MoveBarCtrl.h"

#include "BitmapDC.h"
#include "DrawHelpers.h"

namespace {

// The scroll buttons sit this far in from the inside area's corners.
constexpr int kScrollInset = 5;

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Draw3dRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  FillSolid(dc, {rect.left, rect.top, rect.left + w - 1, rect.top + 1}, topLeft);
  FillSolid(dc, {rect.left, rect.top, rect.left + 1, rect.top + h - 1}, topLeft);
  FillSolid(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
  FillSolid(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap) ::GetObjectW(bitmap, sizeof(info), &info);
  return {info.bmWidth, info.bmHeight};
}

void DrawKeyedBitmap(HDC dc, HBITMAP bitmap, const RECT& to, int sourceWidth, COLORREF key) {
  SIZE size = BitmapSize(bitmap);
  if (!bitmap || to.right <= to.left) return;
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  fw::ScopedSelectObject selection(source.Get(), bitmap);
  TransparentStretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source.Get(), 0, 0,
                        sourceWidth, size.cy, key);
}

}  // namespace

void CMoveBarCtrl::PaintAll(HDC dc, bool withChildren) {
  RECT client = ClientRect();
  fw::ScopedCreatedDC memory(::CreateCompatibleDC(dc));
  fw::ScopedBitmap bitmap(::CreateCompatibleBitmap(dc, client.right, client.bottom));
  fw::ScopedSelectObject selection(memory.Get(), bitmap.Get());
  bool hasChild = IsFolder(selFolder_) && folders_[selFolder_].child;
  if (hasChild && withChildren) {
    ::SendMessageW(folders_[selFolder_].child, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 0);
  }
  if (!hasChild) FillSolid(memory.Get(), GetInsideRect(), backColour_);
  for (int i = 0; i < GetFolderCount(); ++i) DrawFolder(memory.Get(), i, false);
  if (!hasChild) PaintInside(memory.Get());
  RECT target = client;
  if (hasChild && !withChildren) {
    // The child paints itself: copy only the buttons around it.
    RECT inside = GetInsideRect();
    ::ExcludeClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
  }
  ::BitBlt(dc, 0, 0, target.right, target.bottom, memory.Get(), 0, 0, SRCCOPY);
}

void CMoveBarCtrl::DrawFolder(HDC dc, int index, bool pressed) {
  RECT rect = GetFolderRect(index);
  bool selected = index == selFolder_;
  int set = selected ? 3 : 0;
  if (folderImages_[set] && folderImages_[set + 1] && folderImages_[set + 2]) {
    // The caps' keyed corners show the bar's background.
    FillSolid(dc, rect, backColour_);
    SIZE left = BitmapSize(folderImages_[set].Get()), right = BitmapSize(folderImages_[set + 2].Get());
    // The normal right cap is drawn 10 pixels narrower than its picture.
    int rightWidth = selected ? right.cx : right.cx - 10;
    if (rightWidth < 0) rightWidth = 0;
    RECT middle{rect.left + left.cx, rect.top, rect.right - rightWidth, rect.bottom};
    if (middle.right > middle.left) {
      fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
      fw::ScopedSelectObject selection(source.Get(), folderImages_[set + 1].Get());
      SIZE m = BitmapSize(folderImages_[set + 1].Get());
      ::StretchBlt(dc, middle.left, middle.top, middle.right - middle.left, middle.bottom - middle.top, source.Get(), 0,
                   0, m.cx, m.cy, SRCCOPY);
    }
    DrawKeyedBitmap(dc, folderImages_[set].Get(), {rect.left, rect.top, rect.left + left.cx, rect.bottom}, left.cx,
                    transparentColour_);
    DrawKeyedBitmap(dc, folderImages_[set + 2].Get(), {rect.right - rightWidth, rect.top, rect.right, rect.bottom},
                    rightWidth, transparentColour_);
  } else {
    FillSolid(dc, {rect.left, rect.top, rect.right, rect.top + 1}, edgeColour_);
    RECT body{rect.left, rect.top + 1, rect.right, rect.bottom};
    if (pressed) {
      Draw3dRect(dc, body, darkShadowColour_, highlightColour_);
    } else {
      Draw3dRect(dc, body, highlightColour_, darkShadowColour_);
    }
    ::InflateRect(&body, -1, -1);
    FillSolid(dc, body, faceColour_);
  }
  fw::ScopedFont font(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"宋体"));
  fw::ScopedSelectObject fontSelection(dc, font.Get());
  int mode = ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, selected ? selTextColour_ : normalTextColour_);
  RECT label = rect;
  if (pressed) ::OffsetRect(&label, 1, 1);
  const std::wstring& name = folders_[index].name;
  ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &label, textFormat_);
  ::SetBkMode(dc, mode);
}

void CMoveBarCtrl::PaintInside(HDC dc) {
  RECT inside = GetInsideRect();
  int last = LastVisibleItem();
  upVisible_ = firstItem_ > 0;
  downVisible_ = GetItemCount() > 0 && !LastItemFullyVisible();
  int side = ::GetSystemMetrics(SM_CXVSCROLL);
  upRect_ = {inside.right - kScrollInset - side, inside.top + kScrollInset,
             inside.right - kScrollInset, inside.top + kScrollInset + side};
  downRect_ = {upRect_.left, inside.bottom - kScrollInset - side, upRect_.right,
               inside.bottom - kScrollInset};
  int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
  if (upVisible_) DrawScrollButton(dc, true);
  if (downVisible_) DrawScrollButton(dc, false);
  if (upVisible_) ::ExcludeClipRect(dc, upRect_.left, upRect_.top, upRect_.right, upRect_.bottom);
  if (downVisible_) ::ExcludeClipRect(dc, downRect_.left, downRect_.top, downRect_.right, downRect_.bottom);
  for (int i = firstItem_; i <= last; ++i) DrawItem(dc, i, {0, 0});
  ::RestoreDC(dc, saved);
}

void CMoveBarCtrl::DrawScrollButton(HDC dc, bool up) {
  RECT rect = up ? upRect_ : downRect_;
  bool pressed = up ? upPressed_ : downPressed_;
  ::DrawFrameControl(dc, &rect, DFC_SCROLL, (up ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) | (pressed ? DFCS_PUSHED : 0));
}

void CMoveBarCtrl::DrawItem(HDC dc, int index, POINT iconOffset) {
  const CBarItem* item = OpenItem(index);
  if (!item) return;
  RECT rect = GetItemRect(index);
  RECT icon = GetIconRect(index);
  if (item->image >= 0) {
    if (HIMAGELIST images = ImagesOf(selFolder_)) {
      ::ImageList_Draw(images, item->image, dc, icon.left + iconOffset.x, icon.top + iconOffset.y, ILD_TRANSPARENT);
    }
  }
  fw::ScopedSelectObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  int mode = ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, textColour_);
  if (SmallIcons()) {
    int iconWidth = icon.right - icon.left;
    ::TextOutW(dc, rect.left + iconWidth + smallLabelOffset_, rect.top, item->name.c_str(),
               static_cast<int>(item->name.size()));
  } else {
    int iconBottom = item->image >= 0 ? icon.bottom : rect.top;
    RECT label{rect.left, iconBottom + largeLabelOffset_, rect.right, rect.bottom};
    ::DrawTextW(dc, item->name.c_str(), static_cast<int>(item->name.size()), &label, DT_CENTER | DT_WORDBREAK);
  }
  ::SetBkMode(dc, mode);
  if ((flags_ & MBS_KEEPSELECTION) && index == lastSelected_ && item->image >= 0) {
    DrawIconFrame(dc, index, darkShadowColour_, faceColour_);
  }
}

void CMoveBarCtrl::DrawIconFrame(HDC dc, int index, COLORREF topLeft, COLORREF bottomRight) {
  RECT icon = GetIconRect(index);
  if (icon.right <= icon.left) return;
  ::InflateRect(&icon, 1, 1);
  Draw3dRect(dc, icon, topLeft, bottomRight);
}

// A two-line edge along the bottom and the right side; taken away by drawing
// the button again, so its own edges and skin images come back.
void CMoveBarCtrl::HighlightFolder(HDC dc, int index, bool on) {
  if (!IsFolder(index)) return;
  if (!on) {
    DrawFolder(dc, index, false);
    return;
  }
  RECT rect = GetFolderRect(index);
  FillSolid(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, darkShadowColour_);
  FillSolid(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, darkShadowColour_);
  FillSolid(dc, {rect.left + 1, rect.bottom - 2, rect.right - 1, rect.bottom - 1}, shadowColour_);
  FillSolid(dc, {rect.right - 2, rect.top + 1, rect.right - 1, rect.bottom - 1}, shadowColour_);
}

// The hot item's icon is framed raised, or sunken while pressed; the old
// frame is painted over in the background colour first.
void CMoveBarCtrl::HighlightItem(int index, bool pressed) {
  fw::WindowDC dc(Hwnd());
  RECT inside = GetInsideRect();
  ::IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
  bool animated = selAnimationPeriod_ > 0 || (flags_ & MBS_KEEPSELECTION);
  if (hotItem_ != index && IsItem(hotItem_) && !(animated && hotItem_ == lastSelected_)) {
    DrawIconFrame(dc, hotItem_, backColour_, backColour_);
  }
  hotItem_ = index;
  itemPressed_ = pressed;
  if (!IsItem(index) || (animated && index == lastSelected_)) return;
  if (pressed) {
    DrawIconFrame(dc, index, darkShadowColour_, faceColour_);
  } else {
    DrawIconFrame(dc, index, faceColour_, darkShadowColour_);
  }
}

void CMoveBarCtrl::DrawInsertMark(HDC dc, int target) {
  RECT inside = GetInsideRect();
  int count = GetItemCount();
  if (count == 0 || target < 0) return;
  int y;
  if (target >= count) {
    y = GetItemRect(count - 1).bottom + 6;
  } else if (target == 0) {
    y = GetItemRect(0).top - 2;
  } else {
    y = GetItemRect(target).top - (SmallIcons() ? 5 : 13);
  }
  int left = inside.left + 2, right = inside.right - 2;
  fw::ScopedSelectObject pen(dc, blackPen_.Get());
  ::MoveToEx(dc, left, y, nullptr);
  ::LineTo(dc, right, y);
  static const int leftLines[] = {7, 5, 3, 1};
  static const int rightLines[] = {6, 4, 2};
  for (int side = 0; side < 2; ++side) {
    int direction = side == 0 ? 1 : -1;  // below the line, then above it
    if ((direction == 1 && target >= count) || (direction == -1 && target == 0)) continue;
    for (int row = 0; row < 4; ++row) {
      int rowY = y + direction * (row + 1);
      ::MoveToEx(dc, left, rowY, nullptr);
      ::LineTo(dc, left + leftLines[row], rowY);
      if (row < 3) {
        ::MoveToEx(dc, right - rightLines[row], rowY, nullptr);
        ::LineTo(dc, right, rowY);
      }
    }
  }
}

void CMoveBarCtrl::EraseInsertMark(int target) {
  if (target < 0 || GetItemCount() == 0) return;
  RECT inside = GetInsideRect();
  int y = target >= GetItemCount() ? GetItemRect(GetItemCount() - 1).bottom + 6
          : target == 0           ? GetItemRect(0).top - 2
                                  : GetItemRect(target).top - (SmallIcons() ? 5 : 13);
  RECT area{inside.left, y - 5, inside.right, y + 6};
  ::InvalidateRect(Hwnd(), &area, TRUE);
  ::UpdateWindow(Hwnd());
}

// Slides the new folder's contents over the inside area, one folder height
// per frame, with the buttons between the two folders moving along.
void CMoveBarCtrl::AnimateChange(int from, int to) {
  RECT client = ClientRect();
  fw::WindowDC screen(Hwnd());
  CBitmapDC before(client.right, client.bottom, screen);
  PaintAll(before, true);
  int old = selFolder_, oldFirst = firstItem_;
  selFolder_ = to;
  firstItem_ = 0;
  CBitmapDC after(client.right, client.bottom, screen);
  PaintAll(after, true);
  selFolder_ = old;
  firstItem_ = oldFirst;
  // The moving part starts below the upper of the two folders' buttons.
  int top = GetFolderRect((to > from ? from : to) + 1).top;
  if (to < from) top = (to + 1) * folderHeight_;
  int span = client.bottom - top;
  int step = folderHeight_ > 0 ? folderHeight_ : 20;
  for (int moved = step; moved < span; moved += step) {
    ::BitBlt(screen, 0, 0, client.right, client.bottom, before, 0, 0, SRCCOPY);
    if (to > from) {
      // Rising: the new contents come up from the bottom.
      ::BitBlt(screen, 0, client.bottom - moved, client.right, moved, after, 0, client.bottom - moved, SRCCOPY);
    } else {
      // Falling: they come down from under the new folder's button.
      ::BitBlt(screen, 0, top, client.right, moved, after, 0, top, SRCCOPY);
    }
    ::GdiFlush();
    ::Sleep(animationTick_);
  }
}

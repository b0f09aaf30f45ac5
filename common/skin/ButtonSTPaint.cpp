// Painting of the owner-drawn button: the layers of an item, the image
// layout and the parent's snapshot behind a transparent button.
#include "ButtonST.h"

#include <algorithm>

namespace {

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  if (brush) ::FillRect(dc, &rect, brush.Get());
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF colour) {
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  if (brush) ::FrameRect(dc, &rect, brush.Get());
}

void Draw3dRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
  int x = rect.left, y = rect.top, cx = Width(rect), cy = Height(rect);
  if (cx <= 0 || cy <= 0) return;
  FillSolid(dc, RECT{x, y, x + cx - 1, y + 1}, topLeft);
  FillSolid(dc, RECT{x, y, x + 1, y + cy - 1}, topLeft);
  FillSolid(dc, RECT{x + cx - 1, y, x + cx, y + cy}, bottomRight);
  FillSolid(dc, RECT{x, y + cy - 1, x + cx, y + cy}, bottomRight);
}

// A polyline of three points drawn with a one-pixel pen of a system colour.
void SystemLine(HDC dc, int colourIndex, POINT a, POINT b, POINT c) {
  fw::ScopedPen pen(::CreatePen(PS_SOLID, 0, ::GetSysColor(colourIndex)));
  if (!pen) return;
  fw::ScopedSelectObject select(dc, pen.Get());
  ::MoveToEx(dc, a.x, a.y, nullptr);
  ::LineTo(dc, b.x, b.y);
  ::LineTo(dc, c.x, c.y);
}

// Etched: a light copy one pixel down and right under the shadow colour.
void DrawEtchedText(HDC dc, const std::wstring& text, RECT rect) {
  int length = static_cast<int>(text.size());
  ::OffsetRect(&rect, 1, 1);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  ::DrawTextW(dc, text.c_str(), length, &rect, DT_WORDBREAK | DT_CENTER);
  ::OffsetRect(&rect, -1, -1);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
  ::DrawTextW(dc, text.c_str(), length, &rect, DT_WORDBREAK | DT_CENTER);
}

}  // namespace

// ---------------------------------------------------------------------------
// Painting

void CButtonST::DrawItem(const DRAWITEMSTRUCT* draw) {
  if (!draw) return;
  PaintItem(draw, (draw->itemState & ODS_DISABLED) != 0 && disabled_);
}

void CButtonST::PaintItem(const DRAWITEMSTRUCT* draw, bool drawnDisabled) {
  RECT item = draw->rcItem;
  if (!draw->hDC || item.right <= 0 || item.bottom <= 0 || ::IsRectEmpty(&item)) return;
  fw::MemoryDC memory(draw->hDC, item.right, item.bottom);
  if (!memory) return;
  HDC dc = memory.Get();
  fw::ScopedSelectObject selectFont(dc, ::GetCurrentObject(draw->hDC, OBJ_FONT));
  TakeDrawState(draw->itemState, drawnDisabled);

  // Start from what the target shows, so a layer that paints no background
  // leaves it as it was.
  ::BitBlt(dc, 0, 0, item.right, item.bottom, draw->hDC, 0, 0, SRCCOPY);
  ::SetBkMode(dc, TRANSPARENT);
  // The border goes inside the default frame the background may draw.
  RECT frame = item;
  PaintBackgroundLayer(dc, &frame);
  PaintBorder(dc, &frame);
  RECT caption = PaintContent(dc, item);
  PaintFocus(dc, item, caption);
  ::BitBlt(draw->hDC, 0, 0, item.right, item.bottom, dc, 0, 0, SRCCOPY);
}

void CButtonST::TakeDrawState(UINT itemState, bool drawnDisabled) {
  bool selected = (itemState & ODS_SELECTED) != 0;
  if (isCheckBox_ || isRadio_) pressed_ = selected || checked_;
  else pressed_ = selected || (HasMenu() && menuShown_);
  focused_ = (itemState & ODS_FOCUS) != 0;
  drawnDisabled_ = drawnDisabled;
}

RECT CButtonST::PaintContent(HDC dc, const RECT& item) {
  std::wstring text = GetText();
  bool hasCaption = !text.empty();
  RECT caption = item;
  if (icons_[0].icon) PaintIcon(dc, hasCaption, &item, &caption, pressed_, drawnDisabled_);
  if (bitmaps_[0].bitmap) {
    ::SetBkColor(dc, RGB(255, 255, 255));
    PaintBitmap(dc, hasCaption, &item, &caption, pressed_, drawnDisabled_);
  }
  if (hasCaption) PaintCaption(dc, text, &item, &caption, pressed_, drawnDisabled_);
  return caption;
}

void CButtonST::PaintFocus(HDC dc, const RECT& item, const RECT& caption) const {
  if (!focused_ || (flat_ && !flatFocus_)) return;
  RECT focus = item;
  ::InflateRect(&focus, -3, -3);
  if (isCheckBox_ || isRadio_) focus = caption;
  ::DrawFocusRect(dc, &focus);
}

void CButtonST::PaintBackgroundLayer(HDC dc, RECT* rect) {
  if (transparent_) PaintParentBackground(dc);
  else PaintBackground(dc, rect);
}

DWORD CButtonST::PaintBackground(HDC dc, RECT* rect) {
  if (!flat_ && (focused_ || isDefault_)) {
    FrameSolid(dc, *rect, RGB(0, 0, 0));
    ::InflateRect(rect, -1, -1);
  }
  COLORREF fill = colours_[BTNST_COLOR_BK_OUT];
  if (mouseOver_ || pressed_) fill = colours_[BTNST_COLOR_BK_IN];
  else if (focused_) fill = colours_[BTNST_COLOR_BK_FOCUS];
  FillSolid(dc, *rect, fill);
  return BTNST_OK;
}

DWORD CButtonST::PaintBorder(HDC dc, RECT* rect) {
  const RECT& r = *rect;
  if (pressed_) {
    if (!flat_) FrameSolid(dc, r, ::GetSysColor(COLOR_BTNSHADOW));
    else if (flatBorder_) Draw3dRect(dc, r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    return BTNST_OK;
  }
  if (!flat_) {
    SystemLine(dc, COLOR_BTNHIGHLIGHT, {r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top});
    SystemLine(dc, COLOR_3DLIGHT, {r.left + 1, r.bottom - 1}, {r.left + 1, r.top + 1}, {r.right, r.top + 1});
    SystemLine(dc, COLOR_3DDKSHADOW, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1});
    SystemLine(dc, COLOR_BTNSHADOW, {r.left + 1, r.bottom - 2}, {r.right - 2, r.bottom - 2}, {r.right - 2, r.top});
    return BTNST_OK;
  }
  if (mouseOver_ && flatBorder_)
    Draw3dRect(dc, r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
  return BTNST_OK;
}

// ---------------------------------------------------------------------------
// Images and caption

void CButtonST::LayoutImageRect(bool hasCaption, const RECT* item, RECT* caption, bool, int width, int height,
                                RECT* image) const {
  // Overlapping images keep the item's corner.
  int left = item->left, top = item->top;
  const int centredX = item->left + (Width(*item) - width) / 2;
  const int centredY = item->top + (Height(*item) - height) / 2;
  switch (alignment_) {
    case ST_ALIGN_HORIZ:
      left = hasCaption ? item->left + marginX_ : centredX;
      top = centredY;
      if (hasCaption) caption->left += width + marginX_;
      break;
    case ST_ALIGN_VERT:
      left = centredX;
      top = hasCaption ? marginY_ : centredY;
      if (hasCaption) caption->top += height;
      break;
    case ST_ALIGN_HORIZ_RIGHT:
      left = hasCaption ? item->right - width - marginX_ : centredX;
      top = centredY;
      if (!hasCaption) break;
      caption->right = Width(*caption) - width - marginX_;
      caption->left = marginX_;
      break;
    default:
      break;
  }
  *image = RECT{left, top, left + width, top + height};
}

DWORD CButtonST::PaintIcon(HDC dc, bool hasCaption, const RECT* item, RECT* caption, bool pressed, bool) {
  bool twoState = isCheckBox_ || isRadio_;
  int index = 0;
  if (!((twoState && pressed) || (!twoState && (pressed || mouseOver_))))
    index = icons_[1].icon ? 1 : 0;
  const IconSlot& icon = icons_[index];
  if (!icon.icon || icon.width <= 0 || icon.height <= 0) return BTNST_OK;
  RECT image{};
  LayoutImageRect(hasCaption, item, caption, pressed, icon.width, icon.height, &image);
  POINT at{image.left, image.top};
  if (iconAtLeft_) at = POINT{2, item->bottom / 2 - 8};
  // Drawn normally also when disabled: the caption shows the state.
  ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.icon.Get()), 0, at.x, at.y, icon.width,
               icon.height, DST_ICON | DSS_NORMAL);
  return BTNST_OK;
}

int CButtonST::BitmapIndex(bool pressed, bool disabled) const {
  auto orIn = [this](int index) { return bitmaps_[index].bitmap ? index : 0; };
  int index = 0;
  if (isCheckBox_) index = pressed ? 0 : orIn(1);
  else if (isRadio_ && pressed) index = orIn(2);
  else if (mouseOver_) index = pressed ? orIn(2) : 0;
  else index = orIn(1);
  if (disabled && useDisabledBitmap_) index = orIn(3);
  return index;
}

DWORD CButtonST::PaintBitmap(HDC dc, bool hasCaption, const RECT* item, RECT* caption, bool pressed,
                             bool disabled) {
  const BitmapSlot& slot = bitmaps_[BitmapIndex(pressed, disabled)];
  if (!slot.bitmap || slot.width <= 0 || slot.height <= 0) return BTNST_OK;
  RECT image{};
  LayoutImageRect(hasCaption, item, caption, pressed, slot.width, slot.height, &image);
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  if (!source) return BTNST_OK;
  if (slot.mask) {
    // Mask 1 (key) becomes white and keeps the background, 0 clears it;
    // the image, black at its key pixels, is then OR-ed in.
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    {
      fw::ScopedSelectObject selectMask(source.Get(), slot.mask.Get());
      ::BitBlt(dc, image.left, image.top, slot.width, slot.height, source.Get(), 0, 0, SRCAND);
    }
    fw::ScopedSelectObject selectImage(source.Get(), slot.bitmap.Get());
    ::BitBlt(dc, image.left, image.top, slot.width, slot.height, source.Get(), 0, 0, SRCPAINT);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    return BTNST_OK;
  }
  fw::ScopedSelectObject selectImage(source.Get(), slot.bitmap.Get());
  if (transparent_)
    ::TransparentBlt(dc, image.left, image.top, slot.width, slot.height, source.Get(), 0, 0, slot.width, slot.height,
                     slot.key);
  else
    ::BitBlt(dc, image.left, image.top, slot.width, slot.height, source.Get(), 0, 0, SRCCOPY);
  return BTNST_OK;
}

DWORD CButtonST::PaintCaption(HDC dc, const std::wstring& text, const RECT*, RECT* caption, bool pressed,
                              bool disabled) {
  if (text.empty()) return BTNST_OK;
  fw::ScopedFont font = CreateCaptionFont();
  fw::ScopedSelectObject selectFont(dc, font.Get());

  if (pressed) ::OffsetRect(caption, pressedOffsetX_, pressedOffsetY_);
  RECT centred = *caption;
  int length = static_cast<int>(text.size());
  ::DrawTextW(dc, text.c_str(), length, &centred, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
  ::OffsetRect(&centred, (Width(*caption) - Width(centred)) / 2, (Height(*caption) - Height(centred)) / 2);
  ::SetBkMode(dc, TRANSPARENT);
  if (disabled) {
    DrawEtchedText(dc, text, centred);
    return BTNST_OK;
  }
  SetCaptionColours(dc, pressed);
  ::DrawTextW(dc, text.c_str(), length, &centred, DT_WORDBREAK | DT_CENTER);
  return BTNST_OK;
}

fw::ScopedFont CButtonST::CreateCaptionFont() const {
  // Height and styles hold with or without a face; an empty face lets the
  // system pick one for the height and character set.
  return fw::ScopedFont(::CreateFontW(fontHeight_, 0, 0, 0, bold_ ? 900 : 400, italic_, underline_, strikeOut_,
                                      DEFAULT_CHARSET, OUT_STRING_PRECIS, CLIP_CHARACTER_PRECIS,
                                      antialiased_ ? ANTIALIASED_QUALITY : DEFAULT_QUALITY, 0, fontFace_.c_str()));
}

void CButtonST::SetCaptionColours(HDC dc, bool pressed) const {
  BYTE text = BTNST_COLOR_FG_OUT, back = BTNST_COLOR_BK_OUT;
  if (mouseOver_ || pressed) {
    text = BTNST_COLOR_FG_IN;
    back = BTNST_COLOR_BK_IN;
  } else if (focused_) {
    text = BTNST_COLOR_FG_FOCUS;
    back = BTNST_COLOR_BK_FOCUS;
  }
  ::SetTextColor(dc, colours_[text]);
  ::SetBkColor(dc, colours_[back]);
}

// ---------------------------------------------------------------------------
// Transparent background

int CButtonST::SetTransparentBackground(BOOL repaint) {
  transparent_ = true;
  DropSnapshot();
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::CaptureBackground(HDC parentDC) {
  if (!transparent_ || !parentDC || !Hwnd()) return BTNST_BADPARAM;
  DropSnapshot();
  RECT client = ClientRect();
  RECT inParent = WindowRect();
  ::MapWindowPoints(nullptr, ::GetParent(Hwnd()), reinterpret_cast<POINT*>(&inParent), 2);
  if (!MakeSnapshot(parentDC, std::max(Width(client), 1), std::max(Height(client), 1))) return BTNST_BADPARAM;
  ::BitBlt(snapshotDC_.Get(), 0, 0, Width(client), Height(client), parentDC, inParent.left, inParent.top, SRCCOPY);
  return BTNST_OK;
}

bool CButtonST::MakeSnapshot(HDC reference, int width, int height) {
  snapshotDC_.Reset(::CreateCompatibleDC(reference));
  snapshot_.Reset(::CreateCompatibleBitmap(reference, width, height));
  if (!snapshotDC_ || !snapshot_) {
    DropSnapshot();
    return false;
  }
  replacedBitmap_ = ::SelectObject(snapshotDC_.Get(), snapshot_.Get());
  return true;
}

void CButtonST::DropSnapshot() {
  // The snapshot bitmap leaves its DC before either is deleted.
  if (snapshotDC_ && replacedBitmap_) ::SelectObject(snapshotDC_.Get(), replacedBitmap_);
  replacedBitmap_ = nullptr;
  snapshotDC_.Reset();
  snapshot_.Reset();
}

void CButtonST::PaintParentBackground(HDC dc) {
  HWND parent = Hwnd() ? ::GetParent(Hwnd()) : nullptr;
  if (!snapshotDC_ && parent) TakeSnapshot(dc, parent);
  if (!snapshotDC_) return;
  RECT client = ClientRect();
  ::BitBlt(dc, 0, 0, Width(client), Height(client), snapshotDC_.Get(), 0, 0, SRCCOPY);
}

void CButtonST::TakeSnapshot(HDC reference, HWND parent) {
  RECT parentClient{};
  ::GetClientRect(parent, &parentClient);
  RECT client = ClientRect();
  if (Width(client) <= 0 || Height(client) <= 0 || Width(parentClient) <= 0 || Height(parentClient) <= 0) return;
  fw::WindowDC parentDC(parent);
  fw::MemoryDC printed(parentDC, Width(parentClient), Height(parentClient));
  if (!printed) return;
  FillSolid(printed, parentClient, ::GetSysColor(COLOR_BTNFACE));
  // Flags 0 would print nothing: the parent's background and client area are
  // what lies under the button (not its children, the button among them).
  ::SendMessageW(parent, WM_PRINT, reinterpret_cast<WPARAM>(printed.Get()), PRF_CLIENT | PRF_ERASEBKGND);
  RECT inParent = WindowRect();
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inParent), 2);
  if (!MakeSnapshot(reference, Width(client), Height(client))) return;
  ::BitBlt(snapshotDC_.Get(), 0, 0, Width(client), Height(client), printed, inParent.left, inParent.top, SRCCOPY);
}

#include "HeaderCtrlEx.h"

#include <algorithm>

#include "DrawHelpers.h"
#include "MemDC.h"

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

// Stretches the whole bitmap over `rect`.
void StretchBitmap(HDC dc, HBITMAP bitmap, const RECT& rect) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  DrawBitmapInRect(bitmap, dc, rect, true);
}

}  // namespace

int CHeaderCtrlEx::SetBitmaps(fw::ScopedBitmap background, fw::ScopedBitmap itemLeft, fw::ScopedBitmap itemRight) {
  background_.Reset();
  itemLeft_.Reset();
  itemRight_.Reset();
  itemLeftWidth_ = itemRightWidth_ = backgroundWidth_ = backgroundHeight_ = 0;
  if (background) {
    SIZE size = BitmapSize(background.Get());
    backgroundWidth_ = size.cx;
    backgroundHeight_ = size.cy;
    background_ = std::move(background);
  }
  int sameHeight = 1;
  if (itemLeft && itemRight) {
    SIZE left = BitmapSize(itemLeft.Get());
    SIZE right = BitmapSize(itemRight.Get());
    itemLeftWidth_ = left.cx;
    itemRightWidth_ = right.cx;
    sameHeight = left.cy == right.cy ? 1 : 0;
    itemLeft_ = std::move(itemLeft);
    itemRight_ = std::move(itemRight);
  }
  if (Hwnd()) Invalidate();
  return sameHeight;
}

void CHeaderCtrlEx::SetHeight(int height) {
  height_ = height;
  if (!Hwnd() || !ParentIsList()) return;
  // The list lays its header out only when its columns change.
  HWND list = ::GetParent(Hwnd());
  int end = ItemCount();
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  int inserted = static_cast<int>(::SendMessageW(list, LVM_INSERTCOLUMNW, end, reinterpret_cast<LPARAM>(&column)));
  if (inserted >= 0) ::SendMessageW(list, LVM_DELETECOLUMN, inserted, 0);
}

void CHeaderCtrlEx::SetColors(COLORREF background, COLORREF text) {
  backgroundColour_ = background;
  textColour_ = text;
  if (Hwnd()) Invalidate();
}

void CHeaderCtrlEx::SetHeaderFont(fw::ScopedFont font) {
  font_ = std::move(font);
  if (Hwnd()) Invalidate();
}

bool CHeaderCtrlEx::SetItemWidth(int item, int width) {
  if (width == -1) {
    if (!ParentIsList()) return false;
    RECT client{};
    ::GetClientRect(::GetParent(Hwnd()), &client);
    int rest = client.right - client.left;
    for (int i = 0, count = ItemCount(); i < count; ++i)
      if (i != item) rest -= ItemWidth(i);
    width = std::max(rest, 0);
  }
  HDITEMW info{};
  info.mask = HDI_WIDTH;
  info.cxy = width;
  return Send(HDM_SETITEMW, item, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool CHeaderCtrlEx::SetItemText(int item, const std::wstring& text) {
  wchar_t buffer[256] = {};
  text.copy(buffer, 255);
  HDITEMW info{};
  info.mask = HDI_TEXT;
  info.pszText = buffer;
  info.cchTextMax = 256;
  return Send(HDM_SETITEMW, item, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool CHeaderCtrlEx::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      if (!IsSkinned()) break;
      result = 1;
      return true;
    case WM_PAINT:
      if (!IsSkinned()) break;
      {
        fw::PaintDC dc(Hwnd());
        Paint(dc);
      }
      result = 0;
      return true;
    case HDM_LAYOUT:
      if (!lParam || !Layout(*reinterpret_cast<HDLAYOUT*>(lParam))) break;
      result = 0;
      return true;
  }
  return fw::Wnd::OnMessage(message, wParam, lParam, result);
}

bool CHeaderCtrlEx::IsSkinned() const {
  return background_ || backgroundColour_ != CLR_INVALID || textColour_ != CLR_INVALID;
}

bool CHeaderCtrlEx::ParentIsList() const {
  HWND parent = Hwnd() ? ::GetParent(Hwnd()) : nullptr;
  wchar_t name[64] = {};
  return parent && ::GetClassNameW(parent, name, 64) && ::lstrcmpiW(name, WC_LISTVIEWW) == 0;
}

int CHeaderCtrlEx::ItemCount() const { return static_cast<int>(Send(HDM_GETITEMCOUNT)); }

int CHeaderCtrlEx::ItemWidth(int item) const {
  HDITEMW info{};
  info.mask = HDI_WIDTH;
  return Send(HDM_GETITEMW, item, reinterpret_cast<LPARAM>(&info)) ? info.cxy : 0;
}

bool CHeaderCtrlEx::Layout(HDLAYOUT& layout) {
  int height = height_ != -1 ? height_ : (background_ ? backgroundHeight_ : -1);
  if (height == -1 || !layout.prc || !layout.pwpos) return false;
  RECT& area = *layout.prc;
  WINDOWPOS& place = *layout.pwpos;
  place.hwnd = Hwnd();
  place.hwndInsertAfter = nullptr;
  place.x = area.left;
  place.y = 0;
  place.cx = area.right - area.left;
  place.cy = height;
  place.flags = SWP_FRAMECHANGED;
  area.top = height;
  return true;
}

void CHeaderCtrlEx::Paint(HDC target) {
  RECT client = ClientRect();
  CMemDC dc(target, &client);
  if (backgroundColour_ != CLR_INVALID) {
    fw::ScopedBrush brush(::CreateSolidBrush(backgroundColour_));
    ::FillRect(dc, &client, brush.Get());
  }
  if (background_) StretchBitmap(dc, background_.Get(), client);

  HFONT font = font_ ? font_.Get() : reinterpret_cast<HFONT>(Send(WM_GETFONT));
  fw::ScopedSelectObject selectFont(dc, font);
  SIZE space{};
  ::GetTextExtentPoint32W(dc, L" ", 1, &space);
  int saved = ::SaveDC(dc);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, textColour_ != CLR_INVALID ? textColour_ : ::GetSysColor(COLOR_BTNTEXT));
  for (int order = 0, count = ItemCount(); order < count; ++order) {
    int index = static_cast<int>(Send(HDM_ORDERTOINDEX, order));
    PaintItem(dc, index, space.cx);
  }
  ::RestoreDC(dc, saved);
}

void CHeaderCtrlEx::PaintItem(HDC dc, int index, int margin) {
  wchar_t text[256] = {};
  HDITEMW info{};
  info.mask = HDI_TEXT | HDI_FORMAT | HDI_BITMAP;
  info.pszText = text;
  info.cchTextMax = 256;
  RECT item{};
  if (!Send(HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&info)) ||
      !Send(HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)))
    return;

  if (itemRight_ && item.right - item.left > 0) {
    StretchBitmap(dc, itemRight_.Get(), RECT{item.right - itemRightWidth_, item.top, item.right, item.bottom});
    item.right -= itemRightWidth_;
  }
  if (itemLeft_ && itemLeftWidth_ < item.right - item.left) {
    StretchBitmap(dc, itemLeft_.Get(), RECT{item.left, item.top, item.left + itemLeftWidth_, item.bottom});
    item.left += itemLeftWidth_;
  }
  if (item.right < item.left) return;

  RECT textRect{item.left + margin / 2, item.top, item.right - margin / 2, item.bottom};
  UINT align = 0;
  if ((info.fmt & HDF_JUSTIFYMASK) == HDF_CENTER) align = DT_CENTER;
  if ((info.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT) align = DT_RIGHT;
  int length = ::lstrlenW(text);
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, text, length, &extent);
  if ((info.fmt & HDF_BITMAP) && info.hbm) {
    SortBitmapPlace place{info.hbm, (info.fmt & HDF_BITMAP_ON_RIGHT) != 0, extent.cx, margin};
    PaintSortBitmap(dc, place, item, textRect, align);
  }
  if (extent.cx > textRect.right - textRect.left) align = 0;
  ::DrawTextW(dc, text, length, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | align);
}

// Places the bitmap beside the text as the text's alignment puts it, keeps it
// inside the item and leaves the text what the bitmap does not take.
void CHeaderCtrlEx::PaintSortBitmap(HDC dc, const SortBitmapPlace& place, const RECT& item, RECT& text,
                                    UINT& align) const {
  SIZE size = BitmapSize(place.bitmap);
  if (size.cx <= 0 || size.cy <= 0) return;
  const int b = size.cx;
  const int half = place.margin / 2;
  if (place.onRight)
    text.right -= b;
  else
    text.left += b;
  const int left = text.left;
  const int right = text.right;
  const int t = place.textWidth;
  if (t > right - left) align = 0;  // a text that does not fit is left-aligned

  int x = 0;
  if (align == DT_RIGHT)
    x = place.onRight ? right + half : right - t - half - b;
  else if (align == DT_CENTER)
    x = place.onRight ? left + (right - left) / 2 + t / 2 + half : left + (right - left) / 2 - t / 2 - half - b;
  else
    x = place.onRight ? left + t + half : left - half - b;

  if (place.onRight && x + b > item.right) {
    x = item.right - b;
    text.right = x - half;
    if (align == DT_CENTER) align = DT_RIGHT;
  } else if (!place.onRight && x < item.left) {
    x = item.left;
    text.left = x + b + half;
    if (align == DT_CENTER) align = 0;
  }

  int y = item.top + (item.bottom - item.top - size.cy) / 2;
  RECT shown{std::max<LONG>(x, item.left), std::max<LONG>(y, item.top), std::min<LONG>(x + b, item.right),
             std::min<LONG>(y + size.cy, item.bottom)};
  if (shown.right <= shown.left || shown.bottom <= shown.top) return;
  int width = shown.right - shown.left;
  int height = shown.bottom - shown.top;
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  fw::ScopedSelectObject select(source.Get(), place.bitmap);
  // A bitmap cut on the left shows its right part.
  int sourceX = shown.left - x;
  int sourceY = shown.top - y;
  if (transparentColour_ != CLR_INVALID)
    TransparentStretchBlt(dc, shown.left, shown.top, width, height, source.Get(), sourceX, sourceY, width, height,
                          transparentColour_);
  else
    ::BitBlt(dc, shown.left, shown.top, width, height, source.Get(), sourceX, sourceY, SRCCOPY);
}

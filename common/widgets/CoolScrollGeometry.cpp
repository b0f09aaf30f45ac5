#include "CoolScrollGeometry.h"

#include <algorithm>

namespace {
const UINT kHugeRange = 0x7FFFFFFE;
}

bool CoolIsScrollable(const SCROLLINFO& info) {
  return info.nPage <= static_cast<UINT>(info.nMax) && info.nMin < info.nMax && info.nMax != 0;
}

UINT CoolClampPage(UINT page, int minPos, int maxPos) {
  const UINT limit = static_cast<UINT>(maxPos) - static_cast<UINT>(minPos) + 1;
  return std::min(page, limit);
}

int CoolClampPos(int pos, const SCROLLINFO& info) {
  const int pageLess = std::max(static_cast<int>(info.nPage) - 1, 0);
  // 64-bit so that a range near the int limits cannot wrap.
  const long long top = static_cast<long long>(info.nMax) - pageLess;
  long long clamped = pos;
  if (clamped > top) clamped = top;
  if (clamped < info.nMin) clamped = info.nMin;
  return static_cast<int>(clamped);
}

CoolThumb CoolThumbGeometry(int left, int width, int arrow, const SCROLLINFO& info, int minThumb) {
  const int channel = width - 2 * arrow;
  const UINT range = static_cast<UINT>(info.nMax) - static_cast<UINT>(info.nMin);
  CoolThumb thumb{0, 0, left + arrow};
  if (info.nPage == 0) {
    thumb.length = arrow;
  } else if (range <= kHugeRange) {
    thumb.length = std::max(MulDiv(static_cast<int>(info.nPage), channel, static_cast<int>(range) + 1), minThumb);
  }
  if (range <= kHugeRange) {
    const int page = info.nPage == 0 ? 1 : static_cast<int>(info.nPage);
    const int room = channel - thumb.length;
    const int offset = MulDiv(info.nPos - info.nMin, room, static_cast<int>(range) - page + 1);
    thumb.offset = std::max(0, std::min(offset, room));
  }
  thumb.start = left + arrow + thumb.offset;
  return thumb;
}

int CoolResolveMetric(int value, int systemMetric) {
  return value < 0 ? -value * GetSystemMetrics(systemMetric) : value;
}

int CoolArrowLength(const CoolScrollBarState& bar) {
  return CoolResolveMetric(bar.arrowLength, bar.barType == SB_HORZ ? SM_CXHSCROLL : SM_CYVSCROLL);
}

int CoolThickness(const CoolScrollBarState& bar) {
  return CoolResolveMetric(bar.thickness, bar.barType == SB_HORZ ? SM_CYHSCROLL : SM_CXVSCROLL);
}

int CoolButtonSize(const CoolScrollBarState& bar, const CoolScrollButton& button) {
  return button.size < 0 ? -button.size * CoolArrowLength(bar) : button.size;
}

int CoolGroupSize(const CoolScrollBarState& bar, int placement) {
  int size = 0;
  for (UINT i = 0; i < bar.buttonCount; ++i) {
    if (bar.buttons[i].placement == placement) size += CoolButtonSize(bar, bar.buttons[i]);
  }
  return size;
}

int CoolClampButtonSize(const CoolScrollButton& button, int size) {
  // The minimum first: a negative size compared unsigned would pass any
  // maximum and take it.
  size = std::max(size, button.minSize);
  if (static_cast<UINT>(size) > static_cast<UINT>(button.maxSize)) size = button.maxSize;
  return size;
}

RECT CoolTranspose(const RECT& rect) { return RECT{rect.top, rect.left, rect.bottom, rect.right}; }
POINT CoolTranspose(POINT point) { return POINT{point.y, point.x}; }

RECT CoolPartsRect(const CoolScrollBarState& bar, const RECT& rect) {
  RECT parts = rect;
  if (bar.beforeShown) parts.left += bar.beforeSize;
  if (bar.afterShown) parts.right -= bar.afterSize;
  return parts;
}

int CoolHitTestParts(const CoolScrollBarState& bar, const RECT& rect, POINT point) {
  const int width = rect.right - rect.left;
  const int arrow = CoolArrowLength(bar);
  const int end = 2 * arrow < width ? arrow : width / 2;
  if (point.x < rect.left || point.x >= rect.right) return kHtNone;
  if (point.x < rect.left + end) return kHtLineUp;
  if (point.x >= rect.right - end) return kHtLineDown;
  const CoolThumb thumb = CoolThumbGeometry(rect.left, width, arrow, bar.info, bar.minThumb);
  if (thumb.length >= width - 2 * arrow) return kHtNone;
  if (point.x >= thumb.start && point.x < thumb.start + thumb.length) return kHtThumb;
  if (point.x >= rect.left + arrow && point.x < thumb.start) return kHtPageUp;
  if (point.x >= thumb.start + thumb.length && point.x < rect.right - arrow) return kHtPageDown;
  return kHtNone;
}

int CoolButtonAt(const CoolScrollBarState& bar, const RECT& rect, POINT point, RECT* buttonRect) {
  int before = rect.left;
  int after = rect.right - bar.afterSize;
  for (UINT i = 0; i < bar.buttonCount; ++i) {
    const CoolScrollButton& button = bar.buttons[i];
    const bool isBefore = button.placement == kSbbpBefore;
    if (isBefore ? !bar.beforeShown : !bar.afterShown) continue;
    int& cursor = isBefore ? before : after;
    const int size = CoolButtonSize(bar, button);
    const RECT span{cursor, rect.top, cursor + size, rect.bottom};
    cursor += size;
    if (point.x >= span.left && point.x < span.right) {
      if (buttonRect) *buttonRect = span;
      return static_cast<int>(i);
    }
  }
  return -1;
}

int CoolHitTest(const CoolScrollBarState& bar, const RECT& rect, POINT point) {
  if (point.y < rect.top || point.y >= rect.bottom) return kHtNone;
  if (bar.beforeShown && point.x >= rect.left && point.x < rect.left + bar.beforeSize) return kHtButton;
  if (bar.afterShown && point.x >= rect.right - bar.afterSize && point.x < rect.right) return kHtButton;
  return CoolHitTestParts(bar, CoolPartsRect(bar, rect), point);
}

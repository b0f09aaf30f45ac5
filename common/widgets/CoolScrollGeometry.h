#pragma once
// The pure arithmetic of a skinned bar: clamping, thumb geometry and
// hit-testing, all told for a horizontal bar. The vertical bar passes its
// rectangles and points through Transpose.
#include <windows.h>

#include "CoolScrollBar.h"

struct CoolThumb {
  int length;
  int offset;  // from the channel start
  int start;   // left + arrow + offset
};

bool CoolIsScrollable(const SCROLLINFO& info);
// Page at most the range plus one (compared unsigned).
UINT CoolClampPage(UINT page, int minPos, int maxPos);
// Position within nMin and nMax - max(nPage - 1, 0).
int CoolClampPos(int pos, const SCROLLINFO& info);
CoolThumb CoolThumbGeometry(int left, int width, int arrow, const SCROLLINFO& info, int minThumb);

// A negative metric value n means -n times the system metric.
int CoolResolveMetric(int value, int systemMetric);
int CoolArrowLength(const CoolScrollBarState& bar);
int CoolThickness(const CoolScrollBarState& bar);
int CoolButtonSize(const CoolScrollBarState& bar, const CoolScrollButton& button);
int CoolGroupSize(const CoolScrollBarState& bar, int placement);
// A resizable button's new size within its minimum and maximum.
int CoolClampButtonSize(const CoolScrollButton& button, int size);

RECT CoolTranspose(const RECT& rect);
POINT CoolTranspose(POINT point);

// The bar's own parts, given the rectangle left once its shown button groups
// are cut off (horizontal orientation): the part code at `point`.
int CoolHitTestParts(const CoolScrollBarState& bar, const RECT& rect, POINT point);
// The rectangle of the bar without its shown button groups.
RECT CoolPartsRect(const CoolScrollBarState& bar, const RECT& rect);
// Index of the inserted button at `point` and its rectangle, -1 when none.
int CoolButtonAt(const CoolScrollBarState& bar, const RECT& rect, POINT point, RECT* buttonRect);
int CoolHitTest(const CoolScrollBarState& bar, const RECT& rect, POINT point);

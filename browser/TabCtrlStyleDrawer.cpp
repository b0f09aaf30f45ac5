// The drawer's painting: tab backgrounds, captions, the close mark, buttons,
// fills and lines.
#include "TabCtrlStyleDrawer.h"

#include <algorithm>

#include "TabCtrl.h"

namespace {

const int kCloseMarkWidth = 18;
const int kCloseMarkSize = 14;
// The right part of a tab kept free of text, under the close mark.
const int kTextRightReserve = 14;
const COLORREF kActivePageColour = RGB(218, 255, 215);

// The rounded end a squeezed tab keeps from its picture.
const int kTabEdge = 12;

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, int sourceX = 0) {
  if (!bitmap) return;
  fw::ScopedCreatedDC memory(::CreateCompatibleDC(dc));
  if (!memory) return;
  fw::ScopedSelectObject select(memory.Get(), bitmap);
  ::BitBlt(dc, x, y, width, height, memory.Get(), sourceX, 0, SRCCOPY);
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rect, brush.Get());
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  fw::ScopedPen pen(::CreatePen(PS_SOLID, 1, colour));
  fw::ScopedSelectObject select(dc, pen.Get());
  ::MoveToEx(dc, x1, y1, nullptr);
  ::LineTo(dc, x2, y2);
}

// Top-left, down to bottom-left, across to bottom-right, up to top-right and
// back; right and bottom one pixel inside the rectangle.
void Outline(HDC dc, const RECT& rect, COLORREF colour) {
  fw::ScopedPen pen(::CreatePen(PS_SOLID, 1, colour));
  fw::ScopedSelectObject select(dc, pen.Get());
  ::MoveToEx(dc, rect.left, rect.top, nullptr);
  ::LineTo(dc, rect.left, rect.bottom - 1);
  ::LineTo(dc, rect.right - 1, rect.bottom - 1);
  ::LineTo(dc, rect.right - 1, rect.top);
  ::LineTo(dc, rect.left, rect.top);
}

COLORREF Blend(COLORREF a, COLORREF b, int weight) {
  auto mix = [weight](int x, int y) { return (weight * x + (100 - weight) * y) / 100; };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

}  // namespace

COLORREF TabCtrlStyleDrawer::GetBorderColor(const TabCtrl*) { return skin_.borderColor; }
COLORREF TabCtrlStyleDrawer::GetSeparatorColor(const TabCtrl*) { return skin_.borderColor; }
COLORREF TabCtrlStyleDrawer::GetCtrlAreaBackColor(const TabCtrl*) { return skin_.ctrlAreaBackColor; }
COLORREF TabCtrlStyleDrawer::GetWndsAreaBackColor(const TabCtrl*) { return skin_.wndsAreaBackColor; }
COLORREF TabCtrlStyleDrawer::GetWndsAreaActiveColor(const TabCtrl*) { return kActivePageColour; }
COLORREF TabCtrlStyleDrawer::GetTabTextColor(const TabCtrl*, const Tab*) { return skin_.textColor; }

COLORREF TabCtrlStyleDrawer::GetButtonGlyphColor(const TabCtrl* ctrl, bool, bool) {
  return ::GetSysColor(ctrl->GetSelectedTab() ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
}

COLORREF TabCtrlStyleDrawer::GetCtrlAreaSpareColor(const TabCtrl*) { return ::GetSysColor(COLOR_WINDOW); }
COLORREF TabCtrlStyleDrawer::GetWndsAreaEmptyColor(const TabCtrl*) { return ::GetSysColor(COLOR_APPWORKSPACE); }

// ---- tabs ------------------------------------------------------------------

void TabCtrlStyleDrawer::DrawTab(const TabCtrl* ctrl, HDC dc, Tab* tab, HRGN clip) {
  const RECT rect = tab->rect;
  DrawTabBack(ctrl, dc, tab, rect, clip);
  RECT content = rect;
  content.right -= kTextRightReserve;
  DrawTabContent(ctrl, dc, tab, content, clip);
  if (tab != ctrl->GetSelectedTab()) return;

  const int height = rect.bottom - rect.top;
  closeMarkRect_ = RECT{rect.right - kCloseMarkWidth, (height - kCloseMarkSize) / 2 + rect.top - 2, rect.right,
                        rect.bottom};
  POINT pointer{};
  ::GetCursorPos(&pointer);
  ::ScreenToClient(ctrl->Hwnd(), &pointer);
  if (::PtInRect(&closeMarkRect_, pointer))
    DrawCloseMark(ctrl, dc, closeMarkRect_, true, false);
  else if (tab == ctrl->GetHoveredTab())
    DrawCloseMarkTabHover(ctrl, dc, closeMarkRect_, -1);
  else
    DrawCloseMark(ctrl, dc, closeMarkRect_, false, false);
}

void TabCtrlStyleDrawer::DrawTabBack(const TabCtrl* ctrl, HDC dc, const Tab* tab, const RECT& rect, HRGN) {
  const TabImages& images = tab == ctrl->GetSelectedTab() ? skin_.currentTab : skin_.normalTab;
  if (!images.normal) return;
  const Tab* hovered = ctrl->GetHoveredTab();
  const Tab* pressed = ctrl->GetPressedTab();
  HBITMAP image = images.normal.Get();
  if (tab == hovered && !pressed && !tab->disabled)
    image = images.hover.Get();
  else if (!hovered && tab == pressed && !tab->disabled)
    image = images.down.Get();
  // Right-aligned: a tab wider than its picture grows to the left.
  const int width = rect.right - rect.left;
  if (width >= images.width) {
    DrawBitmap(dc, image, rect.right - images.width, rect.top, images.width, images.height);
    return;
  }
  // A squeezed tab (fit mode) keeps both ends of its picture and never paints
  // over its neighbour's title.
  const int edge = std::min(kTabEdge, width / 2);
  DrawBitmap(dc, image, rect.left, rect.top, width - edge, images.height);
  DrawBitmap(dc, image, rect.right - edge, rect.top, edge, images.height, images.width - edge);
}

void TabCtrlStyleDrawer::DrawTabContent(const TabCtrl* ctrl, HDC dc, const Tab* tab, const RECT& rect, HRGN clip) {
  ITabCtrlRecalc* recalc = ctrl->GetRecalcManager();
  RECT inset = recalc->GetTabInset(ctrl, ctrl->GetDefaultService());
  RECT rest{rect.left + inset.left, rect.top + inset.top, rect.right - inset.right, rect.bottom - inset.bottom};
  HIMAGELIST list = tab->disabled ? ctrl->GetDisabledImageList() : ctrl->GetImageList();
  if (tab->image >= 0 && list) {
    rest.top -= 1;
    DrawTabImage(ctrl, dc, tab, rest, clip);
    SIZE icon = tab->disabled ? ctrl->GetDisabledImageSize() : ctrl->GetImageSize();
    rest.left += icon.cx + recalc->GetTabImageTextSpace(ctrl, ctrl->GetDefaultService());
  }
  if (!::IsRectEmpty(&rest)) DrawTabText(ctrl, dc, tab, rest, clip);
}

void TabCtrlStyleDrawer::DrawTabImage(const TabCtrl* ctrl, HDC dc, const Tab* tab, const RECT& rect, HRGN) {
  HIMAGELIST list = tab->disabled ? ctrl->GetDisabledImageList() : ctrl->GetImageList();
  SIZE icon = tab->disabled ? ctrl->GetDisabledImageSize() : ctrl->GetImageSize();
  ::ImageList_Draw(list, tab->image, dc, rect.left, (rect.top + rect.bottom - icon.cy + 1) / 2, ILD_TRANSPARENT);
}

void TabCtrlStyleDrawer::DrawTabText(const TabCtrl* ctrl, HDC dc, const Tab* tab, const RECT& rect, HRGN) {
  RECT area = rect;
  ::SetTextColor(dc, GetTabTextColor(ctrl, tab));
  ::SetBkMode(dc, TRANSPARENT);
  // No prefix processing: a page title's "&" is shown as it is.
  ::DrawTextW(dc, tab->text.c_str(), static_cast<int>(tab->text.size()), &area,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// ---- buttons ---------------------------------------------------------------

void TabCtrlStyleDrawer::DrawButton(HDC dc, const ButtonImages& images, int x, int y, bool hover, bool pushed) {
  if (!images.normal) return;
  HBITMAP image = hover ? images.hover.Get() : pushed ? images.down.Get() : images.normal.Get();
  DrawBitmap(dc, image, x, y, images.width, images.height);
}

void TabCtrlStyleDrawer::DrawCloseMarkTabHover(const TabCtrl*, HDC dc, const RECT& rect, int) {
  if (!skin_.close.normal) return;
  DrawBitmap(dc, skin_.close.disable.Get(), rect.left - 3, rect.top, skin_.close.width, skin_.close.height);
}

void TabCtrlStyleDrawer::DrawCloseMark(const TabCtrl*, HDC dc, const RECT& rect, bool hover, bool pushed) {
  DrawButton(dc, skin_.close, rect.left - 3, rect.top, hover, pushed);
}

void TabCtrlStyleDrawer::DrawButtonCloseAll(const TabCtrl*, HDC dc, const RECT& rect, bool hover, bool pushed) {
  DrawButton(dc, skin_.closeAll, rect.left - 3, rect.top + 3, hover, pushed);
}

void TabCtrlStyleDrawer::DrawButtonAdd(const TabCtrl*, HDC dc, const RECT& rect, bool hover, bool pushed) {
  DrawButton(dc, skin_.add, rect.left - 3, rect.top + 4, hover, pushed);
}

void TabCtrlStyleDrawer::DrawButtonScrollLeft(const TabCtrl*, HDC dc, const RECT& rect, bool hover, bool pushed,
                                              bool) {
  DrawButton(dc, skin_.left, rect.left - 3, rect.top + 4, hover, pushed);
}

void TabCtrlStyleDrawer::DrawButtonScrollRight(const TabCtrl*, HDC dc, const RECT& rect, bool hover, bool pushed,
                                               bool) {
  DrawButton(dc, skin_.right, rect.left - 3, rect.top + 4, hover, pushed);
}

void TabCtrlStyleDrawer::DrawButtonMenu(const TabCtrl* ctrl, HDC dc, const RECT& rect, bool hover, bool pushed,
                                        bool scrollingPossible) {
  DrawButtonHighlight(ctrl, dc, rect, hover, pushed);
  HIMAGELIST list = ctrl->GetButtonImageList();
  const int glyph = scrollingPossible ? 2 : 1;
  IMAGEINFO info{};
  if (!list || !::ImageList_GetImageInfo(list, glyph, &info)) return;
  if (!info.hbmMask) {
    ::ImageList_Draw(list, glyph, dc, rect.left, rect.top, ILD_NORMAL);
    return;
  }
  const int width = std::min(info.rcImage.right - info.rcImage.left, rect.right - rect.left);
  const int height = std::min(info.rcImage.bottom - info.rcImage.top, rect.bottom - rect.top);
  if (width <= 0 || height <= 0) return;
  // The glyph as a silhouette: its mask cuts a hole (AND), the colour goes
  // through the inverted mask into it (OR). The mask is taken from the glyph
  // drawn transparently over magenta, which no glyph uses.
  fw::ScopedCreatedDC maskDc(::CreateCompatibleDC(dc));
  fw::ScopedBitmap mask(::CreateBitmap(width, height, 1, 1, nullptr));
  fw::ScopedCreatedDC colourDc(::CreateCompatibleDC(dc));
  fw::ScopedBitmap colour(::CreateCompatibleBitmap(dc, width, height));
  if (!maskDc || !mask || !colourDc || !colour) return;
  fw::ScopedSelectObject selectMask(maskDc.Get(), mask.Get());
  fw::ScopedSelectObject selectColour(colourDc.Get(), colour.Get());
  const RECT all{0, 0, width, height};
  const COLORREF key = RGB(255, 0, 255);
  Fill(colourDc.Get(), all, key);
  ::ImageList_Draw(list, glyph, colourDc.Get(), 0, 0, ILD_TRANSPARENT);
  ::SetBkColor(colourDc.Get(), key);
  ::BitBlt(maskDc.Get(), 0, 0, width, height, colourDc.Get(), 0, 0, SRCCOPY);
  Fill(colourDc.Get(), all, GetButtonGlyphColor(ctrl, hover, pushed));
  ::SetTextColor(colourDc.Get(), RGB(0, 0, 0));
  ::SetBkColor(colourDc.Get(), RGB(255, 255, 255));
  ::BitBlt(colourDc.Get(), 0, 0, width, height, maskDc.Get(), 0, 0, 0x00220326);  // D and not S
  COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
  COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
  ::BitBlt(dc, rect.left, rect.top, width, height, maskDc.Get(), 0, 0, SRCAND);
  ::BitBlt(dc, rect.left, rect.top, width, height, colourDc.Get(), 0, 0, SRCPAINT);
  ::SetTextColor(dc, oldText);
  ::SetBkColor(dc, oldBack);
}

void TabCtrlStyleDrawer::DrawButtonHighlight(const TabCtrl*, HDC dc, const RECT& rect, bool hover, bool pushed) {
  if (!hover && !pushed) return;
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  Fill(dc, rect, Blend(highlight, ::GetSysColor(COLOR_WINDOW), hover && pushed ? 22 : 30));
  Outline(dc, rect, highlight);
}

// ---- areas -----------------------------------------------------------------

void TabCtrlStyleDrawer::DrawCtrlAreaBack(const TabCtrl* ctrl, HDC dc, const RECT& area) {
  const RECT inset = ctrl->GetRecalcManager()->GetControlAreaInset(ctrl, ctrl->GetDefaultService());
  if (ctrl->GetLayout() == 0) {
    RECT back = area;
    back.bottom -= inset.bottom;
    Fill(dc, back, GetCtrlAreaBackColor(ctrl));
    Line(dc, back.left, back.bottom - 1, back.right, back.bottom - 1, GetSeparatorColor(ctrl));
    RECT spare{area.left, back.bottom, area.right, area.bottom};
    if (!::IsRectEmpty(&spare)) Fill(dc, spare, GetCtrlAreaSpareColor(ctrl));
  } else {
    RECT spare{area.left, area.top, area.right, area.top + inset.top};
    if (!::IsRectEmpty(&spare)) Fill(dc, spare, GetCtrlAreaSpareColor(ctrl));
    Line(dc, area.left, spare.bottom, area.right, spare.bottom, GetSeparatorColor(ctrl));
    Fill(dc, RECT{area.left, spare.bottom + 1, area.right, area.bottom}, GetCtrlAreaBackColor(ctrl));
  }
}

void TabCtrlStyleDrawer::DrawBorder(const TabCtrl* ctrl, HDC dc, const RECT& client) {
  Outline(dc, client, GetCtrlAreaBackColor(ctrl));
  Line(dc, client.left, client.bottom - 1, client.right, client.bottom - 1, GetBorderColor(ctrl));
}

void TabCtrlStyleDrawer::DrawWndsArea(const TabCtrl* ctrl, HDC dc, const RECT& area) {
  const bool active = ctrl->GetCount() > 0 && ctrl->GetSelectedTab();
  Fill(dc, area, active ? GetWndsAreaActiveColor(ctrl) : GetWndsAreaEmptyColor(ctrl));
}

// Painting: the window through a memory DC, each owner-drawn row in its
// colours, cells of text, icons and links, the gradient highlight and the
// progress cell.
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include <gdiplus.h>

#include "ListCtrlOwnData.h"
#include "MemDC.h"

namespace {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rect, brush.Get());
}

// Each channel halfway to white: the selection of a list without the focus.
COLORREF Paler(COLORREF colour) {
  return RGB(GetRValue(colour) / 2 + 128, GetGValue(colour) / 2 + 128, GetBValue(colour) / 2 + 128);
}

UINT AlignmentOf(int format) {
  switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
      return DT_RIGHT;
    case LVCFMT_CENTER:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

void StretchImage(HDC dc, HBITMAP image, int x, int y, int width, int height, int sourceWidth, int sourceHeight) {
  if (!image || width <= 0 || height <= 0) return;
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  fw::ScopedSelectObject select(source.Get(), image);
  ::StretchBlt(dc, x, y, width, height, source.Get(), 0, 0, sourceWidth, sourceHeight, SRCCOPY);
}

}  // namespace

void CListCtrlOwnData::Paint() {
  RECT client = ClientRect();
  if (!::EqualRect(&client, &lastClient_)) {
    int column = fillColumn_ >= 0 ? fillColumn_ : (lastColumnFill_ ? ColumnCount() - 1 : -1);
    if (column >= 0 && header_.Hwnd()) header_.SetItemWidth(column, -1);
    lastClient_ = client;
  }
  fw::PaintDC paint(Hwnd());
  RECT area = client;
  if (header_.Hwnd() && ::IsWindowVisible(header_.Hwnd())) {
    RECT header = header_.WindowRect();
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&header), 2);
    area.top = std::max(area.top, header.bottom);
  }
  if (area.bottom <= area.top) return;
  CMemDC memory(paint, &area);
  ::IntersectClipRect(memory, area.left, area.top, area.right, area.bottom);
  // The list paints its background and rows (through DrawItem) into the memory DC.
  DefaultProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.GetSafeHdc()), 0);
  DefaultProc(WM_PAINT, reinterpret_cast<WPARAM>(memory.GetSafeHdc()), 0);
}

void CListCtrlOwnData::GetRowColors(int row, COLORREF& background, COLORREF& text) const {
  text = ::GetSysColor(COLOR_WINDOWTEXT);
  background = static_cast<COLORREF>(Send(LVM_GETBKCOLOR));
  if (!IsReportView() || rowColours_.empty() || row < 0) return;
  const RowColorData& entry = rowColours_[static_cast<size_t>(row) % rowColours_.size()];
  if (entry.background != CLR_INVALID) background = entry.background;
  if (entry.text != CLR_INVALID) text = entry.text;
}

void CListCtrlOwnData::DrawItem(const DRAWITEMSTRUCT& item) {
  RowPaint paint{item.hDC, item.rcItem, static_cast<int>(item.itemID), 0, 0};
  GetRowColors(paint.row, paint.background, paint.text);
  DrawRow(paint);
}

bool CListCtrlOwnData::DrawCell(HDC dc, int row, int column, const RECT& cell) {
  if (!linkColumns_.count(column)) return false;
  const CCellLinkGroup* group = GetCellLinks(row, column);
  if (!group) return false;
  DrawCellLinks(dc, *group, cell, ColumnFormat(column));
  return true;
}

void CListCtrlOwnData::DrawRow(const RowPaint& paint) {
  if (!IsReportView() || (rowColours_.empty() && highlightBackground_ == CLR_INVALID)) return;
  RECT row = paint.rect;
  if (header_.Hwnd() && ::IsWindowVisible(header_.Hwnd())) {
    RECT header = header_.WindowRect();
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&header), 2);
    if (row.top < header.bottom) return;
  }
  row.right = ClientRect().right;
  const HDC dc = paint.dc;
  const UINT state = static_cast<UINT>(
      Send(LVM_GETITEMSTATE, static_cast<WPARAM>(paint.row), LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK));
  const LONG_PTR style = ::GetWindowLongPtrW(Hwnd(), GWL_STYLE);
  const bool fullRow = (Send(LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_FULLROWSELECT) != 0;
  // Only the selected bit: some list views answer bits beyond the mask asked
  // for (drop-highlight among them), and this list never drops onto a row.
  bool selected = (state & LVIS_SELECTED) != 0;
  const bool focused = ::GetFocus() == Hwnd() || ::GetCapture() == Hwnd();
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::ScreenToClient(Hwnd(), &cursor);
  const bool hovered = paint.row == hoverRow_ && RowAt(cursor) == paint.row && !selected;

  RECT back{row.left + 1, row.top, row.right - 1, row.bottom};
  if (!fullRow) back.right = row.left + ColumnWidth(0) - 1;

  COLORREF text = paint.text;
  bool drawnSelected = false;
  if (selected && !focused && !(style & LVS_SHOWSELALWAYS)) selected = false;
  if (selected) {
    drawnSelected = true;
    if (highlightText_ != CLR_INVALID) text = highlightText_;
    if (!focused) {
      COLORREF fill = showAlwaysBackground_ != CLR_INVALID ? showAlwaysBackground_ : Paler(highlightBackground_);
      FillSolid(dc, back, fill);
      if (showAlwaysText_ != CLR_INVALID) text = showAlwaysText_;
    } else if (gradientHighlight_) {
      FillGradient(dc, back, highlightBackground_);
    }
  } else if (hovered) {
    if (hoverText_ != CLR_INVALID) text = hoverText_;
    if (hoverBackground_ != CLR_INVALID) FillSolid(dc, back, hoverBackground_);
  } else {
    // The row's own background: the alternating colours, or the list's.
    FillSolid(dc, back, paint.background);
  }

  fw::ScopedSelectObject font(dc, ListFont());
  const int saved = ::SaveDC(dc);
  ::SetBkMode(dc, TRANSPARENT);
  RECT first{row.left, row.top, row.left + ColumnWidth(0), row.bottom};
  DrawFirstColumn(paint, first, state, text);

  const COLORREF otherText = fullRow ? text : paint.text;
  const int columns = ColumnCount();
  std::vector<int> order(static_cast<size_t>(std::max(columns, 0)));
  if (columns > 0) Send(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(columns), reinterpret_cast<LPARAM>(order.data()));
  for (int position = 1; position < columns; ++position) {
    int column = order[static_cast<size_t>(position)];
    if (column == 0) continue;
    RECT cell = CellRect(paint.row, column);
    ::SetTextColor(dc, otherText);
    if (DrawCell(dc, paint.row, column, cell)) continue;
    std::wstring cellText = GetCellText(paint.row, column);
    if (!cellText.empty()) DrawCellText(dc, cellText, cell, column);
  }
  ::RestoreDC(dc, saved);

  if ((state & LVIS_FOCUSED) && drawnSelected && highlightBackground_ != CLR_INVALID) {
    fw::ScopedBrush frame(::CreateSolidBrush(highlightBackground_));
    ::FrameRect(dc, &back, frame.Get());
  }
}

void CListCtrlOwnData::DrawFirstColumn(const RowPaint& paint, const RECT& cell, UINT state, COLORREF text) {
  ::SetTextColor(paint.dc, text);
  if (DrawCell(paint.dc, paint.row, 0, cell)) return;
  RECT icon{};
  icon.left = LVIR_ICON;
  Send(LVM_GETITEMRECT, static_cast<WPARAM>(paint.row), reinterpret_cast<LPARAM>(&icon));

  HIMAGELIST states = reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, LVSIL_STATE));
  int stateImage = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12) - 1;
  if (states && stateImage >= 0) {
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(states, &cx, &cy);
    ::ImageList_Draw(states, stateImage, paint.dc, icon.left - cx, icon.top + (icon.bottom - icon.top - cy) / 2,
                     ILD_TRANSPARENT);
  }
  HIMAGELIST small = reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, LVSIL_SMALL));
  if (small) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = paint.row;
    if (Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) && item.iImage >= 0) {
      int cx = ::GetSystemMetrics(SM_CXSMICON);
      int cy = ::GetSystemMetrics(SM_CYSMICON);
      ::ImageList_DrawEx(small, item.iImage, paint.dc, icon.left + (icon.right - icon.left - cx) / 2,
                         icon.top + (icon.bottom - icon.top - cy) / 2, cx, cy, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    }
  }
  RECT label{};
  label.left = LVIR_LABEL;
  Send(LVM_GETITEMRECT, static_cast<WPARAM>(paint.row), reinterpret_cast<LPARAM>(&label));
  label.right = std::min(label.right, cell.right);
  DrawCellText(paint.dc, GetCellText(paint.row, 0), label, 0);
}

// Half a space in from both ends of the cell, in the column's alignment.
void CListCtrlOwnData::DrawCellText(HDC dc, const std::wstring& text, RECT cell, int column) const {
  SIZE space{};
  ::GetTextExtentPoint32W(dc, L" ", 1, &space);
  cell.left += space.cx / 2;
  cell.right -= space.cx / 2;
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | AlignmentOf(ColumnFormat(column));
  if (DrawsEllipsis(column)) format |= DT_END_ELLIPSIS;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell, format);
}

// A vertical gradient from a lighter tone of the colour down to the colour.
void CListCtrlOwnData::FillGradient(HDC dc, const RECT& rect, COLORREF colour) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  WORD hue = 0, lightness = 0, saturation = 0;
  ::ColorRGBToHLS(colour, &hue, &lightness, &saturation);
  lightness = lightness >= 211 ? 240 : static_cast<WORD>(lightness + 30);
  COLORREF top = ::ColorHLSToRGB(hue, lightness, saturation);
  Gdiplus::Graphics graphics(dc);
  const INT width = rect.right - rect.left;
  const INT height = rect.bottom - rect.top;
  // The brush reaches a pixel beyond both edges, so its wrap never shows.
  Gdiplus::Rect span(rect.left, rect.top - 1, width, height + 2);
  Gdiplus::LinearGradientBrush brush(span, Gdiplus::Color(255, GetRValue(top), GetGValue(top), GetBValue(top)),
                                     Gdiplus::Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)),
                                     Gdiplus::LinearGradientModeVertical);
  graphics.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top), width, height);
}

// The bar and its frame are 51 x 13 pictures; without the ascending arrow
// the progress cell is not painted.
void CListCtrlOwnData::DrawProgress(HDC dc, int row) {
  if (progressColumn_ < 0 || row < 0 || !ascendingArrow_) return;
  RECT label{};
  label.left = LVIR_LABEL;
  label.top = progressColumn_;
  Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
  RECT cell = CellRect(row, progressColumn_);
  const int x = label.left + 4;
  const int width = cell.right - cell.left - 4;
  const int height = cell.bottom - cell.top;
  if (width <= 5) return;
  FillSolid(dc, RECT{x, cell.top, x + width, cell.bottom}, RGB(255, 255, 255));
  StretchImage(dc, progressFrame_.Get(), x, cell.top + 2, width - 2, height - 6, 51, 13);
  const int filled = width * progressPercentage_ / 100;
  const int bar = filled < 16 ? 8 : filled - 8;
  StretchImage(dc, progressBar_.Get(), x + 6, cell.top + 4, bar - 8, height - 10, 51, 13);
}

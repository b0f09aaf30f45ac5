// The row and the link under the mouse: hover colours, link tooltips, the
// hand cursor and link clicks.
#include <algorithm>

#include "ListCtrlOwnData.h"
#include "ToolInfo.h"

namespace {

const int kLinkInset = 10;  // links keep this far from the cell's edges

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

}  // namespace

bool CListCtrlOwnData::OnMouseMove(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = DefaultProc(WM_MOUSEMOVE, wParam, lParam);
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = Hwnd();
  ::TrackMouseEvent(&track);
  POINT point = PointOf(lParam);
  if (hoverBackground_ != CLR_INVALID) TrackHover(point);
  if (!linkColumns_.empty()) TrackLinkHover(point);
  return true;
}

void CListCtrlOwnData::TrackHover(POINT point) {
  int row = RowAt(point);
  if (row == hoverRow_) return;
  int old = hoverRow_;
  hoverRow_ = row;
  int first = old < 0 ? row : (row < 0 ? old : std::min(old, row));
  int last = std::max(old, row);
  Send(LVM_REDRAWITEMS, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
  ::UpdateWindow(Hwnd());
  OnHoverChanged(old, row);
}

void CListCtrlOwnData::TrackLinkHover(POINT point) {
  LinkHit hit;
  if (!LinkAt(point, hit)) {
    HideTooltip();
    linkHoverRow_ = -1;
    return;
  }
  bool same = hit.row == linkHoverRow_ && hit.column == linkHoverColumn_ && hit.link->id == linkHoverId_;
  if (same || !hit.link->enabled) return;
  ShowLinkTooltip(hit);
}

void CListCtrlOwnData::ShowLinkTooltip(const LinkHit& hit) {
  if (!tooltip_.Hwnd()) {
    fw::CreateArgs args;
    args.className = TOOLTIPS_CLASSW;
    args.parent = Hwnd();
    args.style = WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP;
    args.exStyle = WS_EX_TOPMOST;
    if (!tooltip_.Create(args)) return;
    toolInfo_ = fw::ToolInfo(Hwnd(), reinterpret_cast<UINT_PTR>(Hwnd()));
    toolInfo_.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tooltipText_.assign(1, L'\0');
    toolInfo_.lpszText = &tooltipText_[0];
    tooltip_.Send(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&toolInfo_));
  }
  linkHoverRow_ = hit.row;
  linkHoverColumn_ = hit.column;
  linkHoverId_ = hit.link->id;
  tooltipText_ = hit.link->tooltip;
  tooltipText_.push_back(L'\0');
  toolInfo_.lpszText = &tooltipText_[0];
  POINT cursor{};
  ::GetCursorPos(&cursor);
  tooltip_.Send(TTM_TRACKPOSITION, 0, MAKELPARAM(cursor.x, cursor.y + 20));
  tooltip_.Send(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&toolInfo_));
  tooltip_.Send(TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&toolInfo_));
}

void CListCtrlOwnData::HideTooltip() {
  if (tooltip_.Hwnd()) tooltip_.Send(TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&toolInfo_));
}

void CListCtrlOwnData::ResetHover() {
  if (hoverRow_ != -1) {
    hoverRow_ = -1;
    Invalidate(false);
  }
  linkHoverRow_ = -1;
  HideTooltip();
}

// A press on a link never selects the row; only an enabled link tells the
// parent.
bool CListCtrlOwnData::OnLinkPress(POINT point) {
  LinkHit hit;
  if (!LinkAt(point, hit)) return false;
  if (!hit.link->enabled) return true;
  CellLinkClick click{Hwnd(), hit.row, hit.column, hit.link->id};
  ::SendMessageW(::GetParent(Hwnd()), WM_COMMAND, MAKEWPARAM(0, LCN_LINKCLICKED), reinterpret_cast<LPARAM>(&click));
  return true;
}

bool CListCtrlOwnData::LinkAt(POINT point, LinkHit& hit) const {
  if (linkColumns_.empty()) return false;
  LVHITTESTINFO info{};
  info.pt = point;
  Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info));
  if (info.iItem < 0 || !(info.flags & LVHT_ONITEM) || !linkColumns_.count(info.iSubItem)) return false;
  const CCellLinkGroup* group = GetCellLinks(info.iItem, info.iSubItem);
  if (!group) return false;
  RECT cell = CellRect(info.iItem, info.iSubItem);
  if (!::PtInRect(&cell, point) || cell.right - cell.left <= kLinkInset) return false;
  RECT links = LayoutCellLinks(group->GetTotalWidth(), group->LineHeight(), cell, ColumnFormat(info.iSubItem));
  hit.link = group->LinkFromPoint(point.x - links.left, point.y - links.top);
  if (!hit.link) return false;
  hit.row = info.iItem;
  hit.column = info.iSubItem;
  return true;
}

// Drawing and hit-testing share these places, so a link answers where it is drawn.
RECT CListCtrlOwnData::LayoutCellLinks(int width, int lineHeight, const RECT& cell, int format) const {
  const int cellWidth = cell.right - cell.left;
  int left = cell.left + kLinkInset;
  switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
      left = cell.right - width - kLinkInset;
      break;
    case LVCFMT_CENTER:
      if (width < cellWidth - kLinkInset) left = cell.left + std::max(kLinkInset, (cellWidth - width) / 2);
      break;
  }
  left = std::max<int>(left, cell.left);
  return RECT{left, cell.top, left + width, cell.top + lineHeight};
}

void CListCtrlOwnData::DrawCellLinks(HDC dc, const CCellLinkGroup& group, const RECT& cell, int format) const {
  if (cell.right - cell.left <= kLinkInset) return;
  RECT links = LayoutCellLinks(group.GetTotalWidth(), group.LineHeight(), cell, format);
  group.Draw(dc, links.left, cell.top, 0, 0, cell.right - links.left, cell.bottom - cell.top);
}

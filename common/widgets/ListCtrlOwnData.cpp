#include "ListCtrlOwnData.h"

#include <algorithm>

#include "ScrollBarHook.h"

CListCtrlOwnData::CListCtrlOwnData() = default;

// Link groups and templates go first: the groups draw with the templates' fonts.
CListCtrlOwnData::~CListCtrlOwnData() {
  GiveBackWindowFont();
  cellLinks_.clear();
  linkColumns_.clear();
  tooltip_.Destroy();
}

void CListCtrlOwnData::SetHeaderColors(COLORREF background, COLORREF text) { header_.SetColors(background, text); }

int CListCtrlOwnData::SetHeaderBitmaps(fw::ScopedBitmap background, fw::ScopedBitmap itemLeft,
                                       fw::ScopedBitmap itemRight) {
  return header_.SetBitmaps(std::move(background), std::move(itemLeft), std::move(itemRight));
}

void CListCtrlOwnData::SetHeaderHeight(int height) { header_.SetHeight(height); }

void CListCtrlOwnData::SetLastColumnFill(bool fill) {
  lastColumnFill_ = fill;
  lastClient_ = RECT{};  // the widths are worked out again at the next paint
}

void CListCtrlOwnData::SetFillColumn(int column) {
  fillColumn_ = column;
  if (column >= 0) lastColumnFill_ = false;
  lastClient_ = RECT{};
}

int CListCtrlOwnData::AddRowColors(COLORREF background, COLORREF text) {
  if (background == CLR_INVALID && text == CLR_INVALID) return -1;
  rowColours_.push_back(RowColorData{background, text});
  return static_cast<int>(rowColours_.size()) - 1;
}

void CListCtrlOwnData::SetHighlightColors(COLORREF background, COLORREF text) {
  highlightBackground_ = background;
  highlightText_ = text;
}

void CListCtrlOwnData::SetShowAlwaysColors(COLORREF background, COLORREF text) {
  showAlwaysBackground_ = background;
  showAlwaysText_ = text;
}

void CListCtrlOwnData::SetHoverColors(COLORREF background, COLORREF text) {
  hoverBackground_ = background;
  hoverText_ = text;
}

bool CListCtrlOwnData::EnableSort(bool enable) {
  bool previous = sortEnabled_;
  sortEnabled_ = enable;
  return previous;
}

bool CListCtrlOwnData::SetSortTypes(const BYTE* types, int count) {
  sortTypes_.clear();
  if (!types || count <= 0) return count == 0;
  for (int i = 0; i < count; ++i)
    if (types[i] >= kSortTypeCount) return false;
  sortTypes_.assign(types, types + count);
  return true;
}

// -1: the column does not sort.
int CListCtrlOwnData::SortTypeOf(int column) const {
  if (column < 0 || column >= static_cast<int>(sortTypes_.size())) return -1;
  return sortTypes_[static_cast<size_t>(column)];
}

void CListCtrlOwnData::SetSortArrowBitmaps(fw::ScopedBitmap ascending, fw::ScopedBitmap descending,
                                           COLORREF transparent) {
  ReplaceSortArrows(std::move(ascending), std::move(descending));
  header_.SetTransparentColor(transparent);
}

void CListCtrlOwnData::SetBitmaps(UINT progressBar, UINT progressFrame, UINT ascending, UINT descending,
                                  COLORREF transparent) {
  HINSTANCE program = ::GetModuleHandleW(nullptr);
  auto load = [program](UINT id) { return fw::ScopedBitmap(::LoadBitmapW(program, MAKEINTRESOURCEW(id))); };
  progressBar_ = load(progressBar);
  progressFrame_ = load(progressFrame);
  ReplaceSortArrows(load(ascending), load(descending));
  header_.SetTransparentColor(transparent);
}

// The header items hold the arrows' handles: they take the new arrows (or
// lose theirs) before the old bitmaps are deleted, or they would draw a
// deleted handle, or whatever picture the system gives that handle next.
void CListCtrlOwnData::ReplaceSortArrows(fw::ScopedBitmap ascending, fw::ScopedBitmap descending) {
  const fw::ScopedBitmap oldAscending = std::exchange(ascendingArrow_, std::move(ascending));
  const fw::ScopedBitmap oldDescending = std::exchange(descendingArrow_, std::move(descending));
  if (!header_.Hwnd()) return;
  for (int item = 0, count = ColumnCount(); item < count; ++item) {
    HDITEMW info{};
    info.mask = HDI_FORMAT | HDI_BITMAP;
    if (!header_.Send(HDM_GETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)) || !info.hbm) continue;
    if (info.hbm == oldAscending.Get()) info.hbm = ascendingArrow_.Get();
    else if (info.hbm == oldDescending.Get()) info.hbm = descendingArrow_.Get();
    else continue;
    if (!info.hbm) info.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
    header_.Send(HDM_SETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info));
  }
}

void CListCtrlOwnData::SetProgress(int column, int percentage) {
  progressColumn_ = column;
  progressPercentage_ = std::min(std::max(percentage, 0), 100);
}

void CListCtrlOwnData::SetItemCountEx(int count) {
  if (count == itemCount_) return;
  itemCount_ = count;
  settingItemCount_ = true;
  Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
  settingItemCount_ = false;
}

int CListCtrlOwnData::ColumnCount() const {
  return header_.Hwnd() ? static_cast<int>(::SendMessageW(header_.Hwnd(), HDM_GETITEMCOUNT, 0, 0)) : 0;
}

bool CListCtrlOwnData::DrawsEllipsis(int column) const {
  return column >= 0 && column < kEllipsisColumns && drawEllipsis_.at(static_cast<size_t>(column)) != 0;
}

// --- cell links -------------------------------------------------------------

CCellLinkGroup* CListCtrlOwnData::GetCellLinks(int row, int column) const {
  auto found = cellLinks_.find(column);
  if (found == cellLinks_.end() || row < 0 || row >= static_cast<int>(found->second.size())) return nullptr;
  return found->second[static_cast<size_t>(row)].get();
}

int CListCtrlOwnData::LinkRowsOf(int column) const {
  auto found = cellLinks_.find(column);
  return found == cellLinks_.end() ? 0 : static_cast<int>(found->second.size());
}

const CListCtrlOwnData::LinkColumnTemplate* CListCtrlOwnData::LinkColumn(int column) const {
  auto found = linkColumns_.find(column);
  return found == linkColumns_.end() ? nullptr : found->second.get();
}

void CListCtrlOwnData::StoreGroup(std::vector<std::unique_ptr<CCellLinkGroup>>& column, int row,
                                  std::unique_ptr<CCellLinkGroup> group) {
  if (row >= static_cast<int>(column.size())) column.resize(row > 9 ? static_cast<size_t>(row) * 2 : 10);
  column[static_cast<size_t>(row)] = std::move(group);  // frees a group already there
}

// Only rows the list has: a row far beyond them would grow the column's
// vector to twice its index.
bool CListCtrlOwnData::SetCellLinks(std::unique_ptr<CCellLinkGroup> group, int row, int column, bool insert) {
  if (row < 0 || row >= ItemCount() || column < 0) return false;
  auto& groups = cellLinks_[column];
  if (!insert) {
    StoreGroup(groups, row, std::move(group));
    return true;
  }
  if (row > static_cast<int>(groups.size())) groups.resize(static_cast<size_t>(row));
  groups.insert(groups.begin() + row, std::move(group));
  return true;
}

bool CListCtrlOwnData::RemoveCellLinks(int row, int column) {
  auto found = cellLinks_.find(column);
  if (found == cellLinks_.end() || row < 0 || row >= static_cast<int>(found->second.size())) return false;
  found->second[static_cast<size_t>(row)].reset();
  return true;
}

bool CListCtrlOwnData::SetCellLinkText(int row, int column, int linkId, const std::wstring& text) {
  CCellLinkGroup* group = GetCellLinks(row, column);
  return group && group->SetLinkText(linkId, text);
}

bool CListCtrlOwnData::GetCellLinkText(int row, int column, int linkId, std::wstring& text) const {
  const CCellLinkGroup* group = GetCellLinks(row, column);
  return group && group->GetLinkText(linkId, text);
}

bool CListCtrlOwnData::SetCellLinkTooltip(int row, int column, int linkId, const std::wstring& text) {
  CCellLinkGroup* group = GetCellLinks(row, column);
  return group && group->SetLinkTooltip(linkId, text);
}

bool CListCtrlOwnData::EnableCellLink(int row, int column, int linkId, bool enable) {
  CCellLinkGroup* group = GetCellLinks(row, column);
  return group && group->EnableLink(linkId, enable);
}

bool CListCtrlOwnData::IsCellLinkEnabled(int row, int column, int linkId) const {
  const CCellLinkGroup* group = GetCellLinks(row, column);
  return group && group->IsLinkEnabled(linkId);
}

std::unique_ptr<CCellLinkGroup> CListCtrlOwnData::CreateCellLinks(const LinkColumnTemplate& linkColumn,
                                                                  int row) const {
  auto group = std::make_unique<CCellLinkGroup>();
  group->SetOwnerWindow(Hwnd());
  group->SetSpacing(linkColumn.spacing);
  group->SetFonts(linkColumn.normalFont, linkColumn.underlinedFont);
  for (const LinkTemplate& link : linkColumn.links) {
    if (!group->AddLink(link.id, link.text)) continue;
    group->SetLinkTooltip(link.id, link.tooltip);
    group->EnableLink(link.id, !link.disabled);
    group->SetLinkColor(link.id, link.colour);
    group->SetLinkDisabledColor(link.id, link.disabledColour);
    group->SetLinkUnderline(link.id, link.underline);
  }
  RECT cell = CellRect(row, linkColumn.column);
  group->SetLineHeight(cell.bottom - cell.top);
  return group;
}

void CListCtrlOwnData::InsertRowLinks(int row) {
  for (auto& [column, groups] : cellLinks_) {
    // Later rows move down in the columns without a template too.
    if (!linkColumns_.count(column) && row < static_cast<int>(groups.size()))
      groups.insert(groups.begin() + row, nullptr);
  }
  for (const auto& [column, linkColumn] : linkColumns_) SetCellLinks(CreateCellLinks(*linkColumn, row), row, column, true);
}

// A row the vector never reached has no group to remove.
void CListCtrlOwnData::DeleteRowLinks(int row) {
  for (auto& [column, groups] : cellLinks_) {
    if (row >= 0 && row < static_cast<int>(groups.size())) groups.erase(groups.begin() + row);
  }
}

void CListCtrlOwnData::FreeAllLinks() {
  cellLinks_.clear();
  linkHoverRow_ = -1;
}

void CListCtrlOwnData::ReorderLinks(const std::vector<int>& oldIndexOfRow) {
  for (auto& [column, groups] : cellLinks_) {
    std::vector<std::unique_ptr<CCellLinkGroup>> moved(oldIndexOfRow.size());
    for (size_t row = 0; row < oldIndexOfRow.size(); ++row) {
      int old = oldIndexOfRow[row];
      if (old >= 0 && old < static_cast<int>(groups.size())) moved[row] = std::move(groups[static_cast<size_t>(old)]);
    }
    groups = std::move(moved);
  }
}

// --- window -----------------------------------------------------------------

void CListCtrlOwnData::PreCreateWindow(fw::CreateArgs& args) {
  if (!args.className) args.className = WC_LISTVIEWW;
  // Asked for at creation, the row height then comes from WM_MEASUREITEM.
  args.style |= LVS_OWNERDRAWFIXED;
}

void CListCtrlOwnData::PreSubclassWindow() {
  LONG_PTR style = ::GetWindowLongPtrW(Hwnd(), GWL_STYLE);
  if (!(style & LVS_OWNERDRAWFIXED)) ::SetWindowLongPtrW(Hwnd(), GWL_STYLE, style | LVS_OWNERDRAWFIXED);
  AttachHeader();
  CScrollBarHook::GetInstance().AttachWithStyle(Hwnd(), SB_BOTH, 1);
}

void CListCtrlOwnData::AttachHeader() {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  if (header && !header_.Hwnd()) header_.Subclass(header);
}

bool CListCtrlOwnData::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      result = DefaultProc(message, wParam, lParam);
      AttachHeader();
      return true;
    case WM_SIZE:
      if (fillColumn_ >= 0 || lastColumnFill_) ::ShowScrollBar(Hwnd(), SB_HORZ, FALSE);
      return false;
    case WM_PAINT:
      Paint();
      result = 0;
      return true;
    case WM_ERASEBKGND:
      if (!IsReportView() || (ItemCount() == 0 && highlightBackground_ == CLR_INVALID)) return false;
      result = 1;
      return true;
    case WM_VSCROLL:
      ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      return false;
    case WM_MOUSEMOVE:
      return OnMouseMove(wParam, lParam, result);
    case WM_MOUSELEAVE:
      ResetHover();
      return false;
    case WM_LBUTTONDOWN:
      if (!OnLinkPress(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))})) return false;
      result = 0;
      return true;
    case WM_SETCURSOR: {
      DWORD at = ::GetMessagePos();
      POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
      ::ScreenToClient(Hwnd(), &point);
      LinkHit hit;
      if (!LinkAt(point, hit) || !hit.link->enabled) return false;
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      result = TRUE;
      return true;
    }
  }
  return fw::Wnd::OnMessage(message, wParam, lParam, result);
}

bool CListCtrlOwnData::OnReflect(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_MEASUREITEM:
      MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_NOTIFY:
      if (!OnListNotify(*reinterpret_cast<NMHDR*>(lParam))) return false;
      result = 0;
      return true;
  }
  return false;
}

// The list notifications it keeps its link groups by; the parent sees them
// too, except the custom-draw and hover ones, which the owner-drawn rows make
// its own.
bool CListCtrlOwnData::OnListNotify(NMHDR& header) {
  switch (header.code) {
    case NM_CUSTOMDRAW:
    case NM_HOVER:
      return true;
    case LVN_INSERTITEM:
      InsertRowLinks(reinterpret_cast<NMLISTVIEW&>(header).iItem);
      return false;
    case LVN_DELETEITEM:
      DeleteRowLinks(reinterpret_cast<NMLISTVIEW&>(header).iItem);
      return false;
    case LVN_DELETEALLITEMS:
      FreeAllLinks();
      return false;
  }
  return false;
}

void CListCtrlOwnData::MeasureItem(MEASUREITEMSTRUCT& measure) { measure.itemHeight = 16; }

void CListCtrlOwnData::OnHoverChanged(int, int) {}

std::wstring CListCtrlOwnData::GetCellText(int row, int column) const {
  std::wstring text(260, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = &text[0];
    item.cchTextMax = static_cast<int>(text.size());
    int length = static_cast<int>(Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length < static_cast<int>(text.size()) - 1) {
      text.resize(static_cast<size_t>(std::max(length, 0)));
      return text;
    }
    text.resize(text.size() * 2);
  }
}

bool CListCtrlOwnData::IsReportView() const {
  return (::GetWindowLongPtrW(Hwnd(), GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
}

int CListCtrlOwnData::RowAt(POINT point) const {
  LVHITTESTINFO hit{};
  hit.pt = point;
  int row = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & LVHT_ONITEM) ? row : -1;
}

int CListCtrlOwnData::ColumnFormat(int column) const {
  LVCOLUMNW info{};
  info.mask = LVCF_FMT;
  return Send(LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)) ? info.fmt : LVCFMT_LEFT;
}

int CListCtrlOwnData::ColumnWidth(int column) const {
  return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

RECT CListCtrlOwnData::CellRect(int row, int column) const {
  RECT cell{};
  cell.left = LVIR_BOUNDS;
  cell.top = column;
  if (column == 0) {
    // The bounds of column 0 are the whole row's.
    Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    cell.right = cell.left + ColumnWidth(0);
    return cell;
  }
  Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  return cell;
}

HFONT CListCtrlOwnData::ListFont() const {
  if (listFont_) return listFont_.Get();
  HFONT font = reinterpret_cast<HFONT>(Send(WM_GETFONT));
  return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

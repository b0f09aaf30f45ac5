#include "ListCtrlEx.h"

#include <memory>
#include <vector>

bool CListCtrlEx::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY && lParam) {
    auto& notify = *reinterpret_cast<NMHEADERW*>(lParam);
    bool click = notify.hdr.code == HDN_ITEMCLICKW || notify.hdr.code == HDN_ITEMCLICKA;
    if (click && notify.hdr.hwndFrom == Header().Hwnd() && notify.iButton == 0 && SortByHeaderClick(notify.iItem)) {
      result = 0;
      return true;
    }
  }
  return CListCtrlOwnData::OnMessage(message, wParam, lParam, result);
}

bool CListCtrlEx::SortByHeaderClick(int column) {
  int type = SortTypeOf(column);
  if (!IsSortEnabled() || type < 0) return false;
  ascending_ = column != lastSortColumn_ ? true : !ascending_;
  lastSortColumn_ = column;
  SetSortArrow(column, ascending_);
  Sort(column, type, ascending_);
  return true;
}

// While the list sorts, each row's item data is its sort record; afterwards
// every row gets its own data back and the link groups follow the rows.
void CListCtrlEx::Sort(int column, int type, bool ascending) {
  const int count = ItemCount();
  bool referenceValid = false;
  const DATE reference = ReferenceTime(referenceValid);
  std::vector<std::unique_ptr<SortRecord>> records;
  records.reserve(static_cast<size_t>(count));
  for (int row = 0; row < count; ++row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    records.push_back(std::make_unique<SortRecord>(SortRecord{item.lParam, GetCellText(row, column), reference,
                                                              referenceValid, row}));
    item.lParam = reinterpret_cast<LPARAM>(records.back().get());
    Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  LPARAM value = (static_cast<LPARAM>(type) << 8) | (ascending ? 1 : 0);
  Send(LVM_SORTITEMS, static_cast<WPARAM>(value), reinterpret_cast<LPARAM>(&CListCtrlOwnData::SortCompare));

  std::vector<int> oldIndexOfRow(static_cast<size_t>(count), -1);
  for (int row = 0; row < count; ++row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const auto* record = reinterpret_cast<const SortRecord*>(item.lParam);
    if (!record) continue;
    oldIndexOfRow[static_cast<size_t>(row)] = record->index;
    item.lParam = record->itemData;
    Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  ReorderLinks(oldIndexOfRow);
  Invalidate(false);
}

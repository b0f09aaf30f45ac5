#pragma once
#include "ListCtrlOwnData.h"

// The skinned list sorted by a click on a column header, each column by its
// own compare rule; cell links move with their rows.
class CListCtrlEx : public CListCtrlOwnData {
 public:
  // Sorts as a header click does: another column sorts ascending, the same
  // column again reverses. False when sorting is off or the column has no
  // sort type.
  bool SortByHeaderClick(int column);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Sort(int column, int type, bool ascending);
};

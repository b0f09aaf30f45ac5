#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ListCtrlEdit.h"
#include "Wnd.h"

// A report list whose cells are edited in place: a double-click opens the
// editor over the cell (column 0 holds row numbers and is never edited),
// Tab, Shift+Tab and Ctrl+Tab move it to the next, previous or lower cell,
// and a click into the header closes it without writing.
class CEditListCtrl : public fw::Wnd {
 public:
  struct Cell {
    int row;
    int column;
  };
  enum class Move { kNext, kPrevious, kDown };

  CEditListCtrl();
  ~CEditListCtrl() override;

  void AddExtendedStyle(DWORD style);
  int InsertColumn(int index, const wchar_t* title, int width);
  int ColumnCount() const;
  int RowCount() const;
  // The new row's index; its first cell holds `text`.
  int AppendRow(const std::wstring& text);
  bool DeleteRow(int row);
  std::wstring CellText(int row, int column) const;
  void SetCellText(int row, int column, const std::wstring& text);

  // Opens the editor on the cell at `point` (client coordinates); the row,
  // or -1 when no row is there.
  int BeginEdit(POINT point);
  bool IsEditing() const;
  Cell CurrentCell() const;
  CListCtrlEdit* Editor() const { return m_editor.get(); }

  // The cell a Tab key moves to from `from` in a list of `rows` and `columns`.
  static Cell NextCell(Cell from, Move move, int rows, int columns);

  bool PreTranslateMessage(MSG& message) override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void EditCell(Cell cell);
  void EndEdit(bool write, bool keepShown);
  void MoveEditor(Move move);
  void SelectOnly(int row);
  void OnParentNotify(WPARAM wParam, LPARAM lParam);

  std::unique_ptr<CListCtrlEdit> m_editor;
  // Row in the high 16 bits, column in the low 16 bits.
  DWORD m_currentCell = 0;
};

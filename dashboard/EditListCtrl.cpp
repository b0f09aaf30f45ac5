#include "EditListCtrl.h"

#include <commctrl.h>

#include <vector>

namespace {

const int kEditorIndent = 3;

DWORD Pack(CEditListCtrl::Cell cell) {
  return (static_cast<DWORD>(cell.row & 0xFFFF) << 16) | static_cast<DWORD>(cell.column & 0xFFFF);
}

bool KeyHeld(int key) { return ::GetKeyState(key) < 0; }

}  // namespace

CEditListCtrl::CEditListCtrl() = default;
CEditListCtrl::~CEditListCtrl() = default;

void CEditListCtrl::AddExtendedStyle(DWORD style) { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, style, style); }

int CEditListCtrl::InsertColumn(int index, const wchar_t* title, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = const_cast<wchar_t*>(title);
  column.cx = width;
  column.iSubItem = index;
  return static_cast<int>(Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CEditListCtrl::ColumnCount() const {
  auto header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  return header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int CEditListCtrl::RowCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

int CEditListCtrl::AppendRow(const std::wstring& text) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = RowCount();
  item.pszText = const_cast<wchar_t*>(text.c_str());
  return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CEditListCtrl::DeleteRow(int row) { return Send(LVM_DELETEITEM, static_cast<WPARAM>(row)) != FALSE; }

std::wstring CEditListCtrl::CellText(int row, int column) const {
  // The list copies at most the buffer's size: grow until the text fits.
  std::vector<wchar_t> buffer(256);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    auto copied = static_cast<size_t>(Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < buffer.size()) return std::wstring(buffer.data(), copied);
    buffer.resize(buffer.size() * 4);
  }
}

void CEditListCtrl::SetCellText(int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool CEditListCtrl::IsEditing() const { return m_editor && ::IsWindowVisible(m_editor->Hwnd()); }

CEditListCtrl::Cell CEditListCtrl::CurrentCell() const {
  return Cell{static_cast<int>(HIWORD(m_currentCell)), static_cast<int>(LOWORD(m_currentCell))};
}

int CEditListCtrl::BeginEdit(POINT point) {
  LVHITTESTINFO hit{};
  hit.pt = point;
  Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.iItem < 0) return -1;
  EditCell(Cell{hit.iItem, hit.iSubItem});
  return hit.iItem;
}

void CEditListCtrl::EditCell(Cell cell) {
  // Column 0 numbers the rows; the text to edit is beside it.
  if (cell.column <= 0) cell.column = ColumnCount() > 1 ? 1 : 0;
  RECT rect{};
  rect.top = cell.column;
  rect.left = LVIR_LABEL;
  if (!Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(cell.row), reinterpret_cast<LPARAM>(&rect))) return;
  rect.left += kEditorIndent;
  rect.top -= kEditorIndent;
  if (!m_editor) {
    auto editor = std::make_unique<CListCtrlEdit>();
    if (!editor->CreateIn(hwnd_)) return;
    m_editor = std::move(editor);
  }
  HWND editor = m_editor->Hwnd();
  ::MoveWindow(editor, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  ::ShowWindow(editor, SW_SHOW);
  m_editor->SetText(CellText(cell.row, cell.column));
  ::SetFocus(editor);
  ::SendMessageW(editor, EM_SETSEL, 0, -1);
  ::SendMessageW(editor, EM_SCROLLCARET, 0, 0);
  m_currentCell = Pack(cell);
}

void CEditListCtrl::EndEdit(bool write, bool keepShown) {
  if (!m_editor) return;
  if (write) {
    Cell cell = CurrentCell();
    SetCellText(cell.row, cell.column, m_editor->GetText());
  }
  if (keepShown) return;
  // The keyboard stays in the list rather than with a hidden window.
  if (::GetFocus() == m_editor->Hwnd()) ::SetFocus(hwnd_);
  ::ShowWindow(m_editor->Hwnd(), SW_HIDE);
}

CEditListCtrl::Cell CEditListCtrl::NextCell(Cell from, Move move, int rows, int columns) {
  Cell next = from;
  switch (move) {
    case Move::kDown:
      next.row = from.row + 1 < rows ? from.row + 1 : 0;
      break;
    case Move::kPrevious:
      // Column 0 is never edited, so going back from the first edited column
      // goes to the last column of the row above.
      next.column = from.column - 1;
      if (next.column < 1) {
        next.column = columns - 1;
        next.row = from.row - 1 >= 0 ? from.row - 1 : rows - 1;
      }
      break;
    case Move::kNext:
      next.column = from.column + 1;
      if (next.column >= columns) {
        next.column = 0;
        next.row = from.row + 1 < rows ? from.row + 1 : 0;
      }
      break;
  }
  // Rows deleted while the editor was open may leave it below the last one.
  if (next.row > rows - 1) next.row = rows - 1;
  return next;
}

void CEditListCtrl::MoveEditor(Move move) {
  EndEdit(true, true);
  int rows = RowCount();
  if (rows <= 0) {
    EndEdit(false, false);
    return;
  }
  Cell next = NextCell(CurrentCell(), move, rows, ColumnCount());
  // A row scrolled out of view has no place on the screen to edit at.
  Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(next.row), FALSE);
  EditCell(next);
  SelectOnly(next.row);
}

void CEditListCtrl::SelectOnly(int row) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  for (int selected = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); selected >= 0;
       selected = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(selected), LVNI_SELECTED))) {
    state.state = 0;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&state));
  }
  state.state = LVIS_SELECTED;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

bool CEditListCtrl::PreTranslateMessage(MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || !IsEditing()) return false;
  if (KeyHeld(VK_CONTROL))
    MoveEditor(Move::kDown);
  else if (KeyHeld(VK_SHIFT))
    MoveEditor(Move::kPrevious);
  else
    MoveEditor(Move::kNext);
  return true;
}

void CEditListCtrl::OnParentNotify(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) != WM_LBUTTONDOWN || !IsEditing()) return;
  auto header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  if (!header) return;
  RECT rect{};
  ::GetWindowRect(header, &rect);
  ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (!::PtInRect(&rect, point)) return;
  // Losing the focus must not write the text either.
  m_editor->SetCommit(0);
  EndEdit(false, false);
}

bool CEditListCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_LBUTTONDBLCLK: {
      POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      // No row there: nothing to edit and nothing more to do.
      result = BeginEdit(point) < 0 ? -1 : DefaultProc(message, wParam, lParam);
      return true;
    }
    case WM_LISTEDIT_END:
      EndEdit(wParam == 1, lParam != 0);
      result = 0;
      return true;
    case WM_PARENTNOTIFY:
      result = DefaultProc(message, wParam, lParam);
      OnParentNotify(wParam, lParam);
      return true;
    default:
      return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
}

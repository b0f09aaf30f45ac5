#include "SiteRows.h"

#include <commctrl.h>

#include <vector>

#include "PassList.h"

namespace {

const struct {
  const wchar_t* title;
  int width;
} kColumns[] = {{L"网站名称", 100}, {L"网址", 415}};

}  // namespace

void CSiteRows::RegisterListClass() {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof(classes);
  classes.dwICC = ICC_LISTVIEW_CLASSES;
  ::InitCommonControlsEx(&classes);
}

void CSiteRows::InsertColumns() {
  int index = 0;
  for (const auto& column : kColumns) {
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    header.pszText = const_cast<wchar_t*>(column.title);
    header.cx = column.width;
    header.iSubItem = index;
    ::SendMessageW(m_list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&header));
    ::SendMessageW(m_list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(column.width, 0));
    ++index;
  }
}

void CSiteRows::Append(const std::wstring& name, const std::wstring& address) {
  LVITEMW row{};
  row.mask = LVIF_TEXT;
  row.iItem = Count();
  row.pszText = const_cast<wchar_t*>(name.c_str());
  int inserted = static_cast<int>(::SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
  if (inserted < 0) return;
  LVITEMW cell{};
  cell.iSubItem = 1;
  cell.pszText = const_cast<wchar_t*>(address.c_str());
  ::SendMessageW(m_list, LVM_SETITEMTEXTW, static_cast<WPARAM>(inserted), reinterpret_cast<LPARAM>(&cell));
}

int CSiteRows::Count() const { return static_cast<int>(::SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0)); }

bool CSiteRows::AppendAsked(HWND owner) {
  CPassList ask(owner);
  if (ask.DoModal(owner) != IDOK) return false;
  Append(ask.Name(), ask.Address());
  return true;
}

void CSiteRows::DeleteAll() { ::SendMessageW(m_list, LVM_DELETEALLITEMS, 0, 0); }

std::wstring CSiteRows::Text(int row, int column) const {
  // The list copies at most the buffer's size and says how much it copied;
  // a text that filled the buffer may be longer, so ask again with more room.
  for (size_t size = 256;; size *= 2) {
    std::vector<wchar_t> buffer(size);
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = buffer.data();
    cell.cchTextMax = static_cast<int>(size);
    size_t copied = static_cast<size_t>(
        ::SendMessageW(m_list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell)));
    if (copied + 1 < size || size >= 1u << 20) return std::wstring(buffer.data(), copied < size ? copied : size - 1);
  }
}

#include "KidsLogDlg.h"

#include <algorithm>
#include <cwchar>
#include <new>
#include <string_view>

#include "DashboardMessages.h"
#include "DashboardResources.h"
#include "SnapshotList.h"
#include "StringConv.h"
#include "SysConf.h"

namespace {

const struct {
  const wchar_t* title;
  int width;
} kColumns[] = {{L"网站名称", 250}, {L"上网时间", 200}, {L"上网时长", 165}};

}  // namespace

CKidsLogDlg::CKidsLogDlg(HWND parent) : CPanelPage(IDD_KIDSLOG, parent, L"logdlg") {}

void CKidsLogDlg::InitPage() {
  InsertColumns();
  FitListToColumns(IDC_LOG_LIST, {IDC_CLEAR_LOG});
  FillRows();
  HWND list = Item(IDC_LOG_LIST);
  if (::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0) ::EnableWindow(Item(IDC_CLEAR_LOG), FALSE);
  SetChecked(IDC_ENABLE_LOG, Conf().enable_log != 0);
}

void CKidsLogDlg::InsertColumns() {
  HWND list = Item(IDC_LOG_LIST);
  int index = 0;
  for (const auto& column : kColumns) {
    LVCOLUMNW entry{};
    entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    entry.pszText = const_cast<wchar_t*>(column.title);
    entry.cx = column.width;
    entry.iSubItem = index;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&entry));
    ++index;
  }
}

void CKidsLogDlg::FillRows() {
  {
    CHistoryList history;
    // Only looked at: closing it must not write back over what the browser
    // saved meanwhile (a missing or unreadable file is still replaced).
    history.KeepFileOnClose();
    try {
      history.ForEach(
          [](HistoryRecord* record, void* rows) {
            static_cast<std::vector<Row>*>(rows)->push_back({record->title, record->time});
          },
          &m_rows);
    } catch (const std::bad_alloc&) {
      // A history that fits in memory once but not twice: the rows that fit
      // are shown, and "清空" still empties the whole file.
    }
  }
  ::SendMessageW(Item(IDC_LOG_LIST), LVM_SETITEMCOUNT, static_cast<WPARAM>(m_rows.size()), 0);
}

void CKidsLogDlg::GiveCellText(LVITEMW& item) const {
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const std::wstring* text = nullptr;
  if (item.iItem >= 0 && static_cast<size_t>(item.iItem) < m_rows.size()) {
    const Row& row = m_rows[static_cast<size_t>(item.iItem)];
    if (item.iSubItem == 0) text = &row.title;
    if (item.iSubItem == 1) text = &row.time;
  }
  size_t length = text ? std::min(text->size(), static_cast<size_t>(item.cchTextMax) - 1) : 0;
  if (length) std::wmemcpy(item.pszText, text->c_str(), length);
  item.pszText[length] = L'\0';
}

// Typing in the list finds a row by the start of its title, as the list
// would find its own items.
int CKidsLogDlg::FindRow(const NMLVFINDITEMW& find) const {
  const LVFINDINFOW& wanted = find.lvfi;
  if (!(wanted.flags & (LVFI_STRING | LVFI_PARTIAL)) || !wanted.psz || m_rows.empty()) return -1;
  const std::wstring_view text = wanted.psz;
  const size_t count = m_rows.size();
  size_t start = find.iStart > 0 ? static_cast<size_t>(find.iStart) : 0;
  const bool wrap = (wanted.flags & LVFI_WRAP) != 0;
  if (start >= count) {
    if (!wrap) return -1;
    start = 0;
  }
  const size_t steps = wrap ? count : count - start;
  for (size_t step = 0; step < steps; ++step) {
    size_t row = (start + step) % count;
    std::wstring_view title = m_rows[row].title;
    if (wanted.flags & LVFI_PARTIAL) title = title.substr(0, text.size());
    if (fw::EqualsNoCase(title, text)) return static_cast<int>(row);
  }
  return -1;
}

void CKidsLogDlg::NotifyChanged() { ::SendMessageW(::GetParent(hwnd_), WM_PAGE_MODIFIED, 0, 0); }

void CKidsLogDlg::OnClearLog() {
  ::SendMessageW(Item(IDC_LOG_LIST), LVM_SETITEMCOUNT, 0, 0);
  // The list asks for none of them any more.
  std::vector<Row>().swap(m_rows);
  ::EnableWindow(Item(IDC_CLEAR_LOG), FALSE);
  m_cleared = 1;
  NotifyChanged();
}

void CKidsLogDlg::OnEnableLogClicked() { NotifyChanged(); }

int CKidsLogDlg::SaveToConf() {
  Conf().enable_log = IsChecked(IDC_ENABLE_LOG) ? 1 : 0;
  return 1;
}

int CKidsLogDlg::SaveHistory() {
  if (!m_cleared) return 1;
  CHistoryList history;
  history.RemoveAll();
  if (!history.Save()) {
    // Still asked for: the next save tries again.
    Prompt((L"上网记录没有清空，无法写入文件：\n" + history.Path()).c_str(), MB_OK | MB_ICONWARNING);
    return 0;
  }
  // Saved: a later Apply must not empty what the browser records meanwhile.
  m_cleared = 0;
  return 1;
}

bool CKidsLogDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (id == IDC_CLEAR_LOG && code == BN_CLICKED) {
    OnClearLog();
    return true;
  }
  if (id == IDC_ENABLE_LOG && code == BN_CLICKED) {
    OnEnableLogClicked();
    return true;
  }
  return CPanelPage::OnCommand(id, code, control);
}

bool CKidsLogDlg::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.idFrom != IDC_LOG_LIST) return CPanelPage::OnNotify(header, result);
  if (header.code == LVN_GETDISPINFOW) {
    GiveCellText(reinterpret_cast<NMLVDISPINFOW&>(header).item);
    result = 0;
    return true;
  }
  if (header.code == LVN_ODFINDITEMW) {
    result = FindRow(reinterpret_cast<const NMLVFINDITEMW&>(header));
    return true;
  }
  return CPanelPage::OnNotify(header, result);
}

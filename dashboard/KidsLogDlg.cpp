#include "KidsLogDlg.h"

#include <commctrl.h>

#include "DashboardMessages.h"
#include "DashboardResources.h"
#include "SnapshotList.h"
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
  CHistoryList history;
  history.ForEach(
      [](HistoryRecord* record, void* page) {
        static_cast<CKidsLogDlg*>(page)->AppendRow(record->title, record->time, record->extra);
      },
      this);
}

void CKidsLogDlg::AppendRow(const std::wstring& title, const std::wstring& time, const std::wstring& extra) {
  HWND list = Item(IDC_LOG_LIST);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<wchar_t*>(title.c_str());
  int row = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return;
  const std::wstring* cells[] = {&time, &extra};
  for (int column = 1; column <= 2; ++column) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(cells[column - 1]->c_str());
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  }
}

void CKidsLogDlg::NotifyChanged() { ::SendMessageW(::GetParent(hwnd_), WM_PAGE_MODIFIED, 0, 0); }

void CKidsLogDlg::OnClearLog() {
  ::SendMessageW(Item(IDC_LOG_LIST), LVM_DELETEALLITEMS, 0, 0);
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

#include "WordsConfDlg.h"

#include <commctrl.h>

#include <climits>
#include <cstdlib>

#include "DashboardResources.h"
#include "StringConv.h"
#include "SysConf.h"
#include "WordsList.h"

namespace {

const int kNumberWidth = 40;
const int kMessageWidth = 580;
// The browser's own default, for a stored interval that could never work.
const int kDefaultInterval = 15;

std::wstring RowNumber(int row) { return fw::Format(L"%d", row + 1); }

}  // namespace

CWordsConfDlg::CWordsConfDlg(HWND parent) : CPanelPage(IDD_WORDSCONF, parent, L"wozdlg") {}

void CWordsConfDlg::InitPage() {
  m_list.SubclassDlgItem(IDC_WORDS_LIST, hwnd_);
  // Without full-row selection a click right of column 0 hits no cell.
  m_list.AddExtendedStyle(LVS_EX_FULLROWSELECT);
  m_list.InsertColumn(0, L"序号", kNumberWidth);
  m_list.InsertColumn(1, L"留言", kMessageWidth);
  FitListToColumns(IDC_WORDS_LIST, {IDC_ADD_WORD, IDC_DELETE_WORD});
  FillRows();
  SelectInterval();
}

void CWordsConfDlg::FillRows() {
  CWordsList words;
  words.ForEach(
      [](std::wstring text, void* list) {
        auto* rows = static_cast<CEditListCtrl*>(list);
        int row = rows->AppendRow(RowNumber(rows->RowCount()));
        if (row >= 0) rows->SetCellText(row, 1, text);
      },
      &m_list);
}

void CWordsConfDlg::SelectInterval() {
  std::wstring text = fw::Format(L"%d", Conf().interval);
  ::SendMessageW(Item(IDC_INTERVAL), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
}

int CWordsConfDlg::IntervalToSave() const {
  HWND combo = Item(IDC_INTERVAL);
  if (::SendMessageW(combo, CB_GETCURSEL, 0, 0) == CB_ERR) {
    // No entry matched the stored value: keep it, unless it would make the
    // browser's message timer fire without pause.
    int stored = Conf().interval;
    return stored > 0 ? stored : kDefaultInterval;
  }
  long seconds = std::strtol(fw::ToAnsi(ItemText(IDC_INTERVAL)).c_str(), nullptr, 10);
  return static_cast<int>(seconds > INT_MAX ? INT_MAX : seconds < 0 ? 0 : seconds);
}

int CWordsConfDlg::SaveToConf() {
  Conf().interval = IntervalToSave();
  CWordsList words;
  words.RemoveAll();
  for (int row = 0, rows = m_list.RowCount(); row < rows; ++row) words.Add(m_list.CellText(row, 1));
  if (!words.Save()) {
    Prompt((L"温馨留言没有保存，无法写入文件：\n" + GetWordsPath()).c_str(), MB_OK | MB_ICONWARNING);
    return 0;
  }
  return 1;
}

void CWordsConfDlg::OnAddWord() {
  m_list.AppendRow(RowNumber(m_list.RowCount()));
  OnSettingChanged();
}

void CWordsConfDlg::OnDeleteWord() {
  if (m_clickedRow == -1 || m_clickedColumn == -1) return;
  m_list.DeleteRow(m_clickedRow);
  Renumber();
  OnSettingChanged();
}

void CWordsConfDlg::Renumber() {
  for (int row = 0, rows = m_list.RowCount(); row < rows; ++row) m_list.SetCellText(row, 0, RowNumber(row));
}

bool CWordsConfDlg::PreTranslateMessage(MSG& message) {
  if (CPanelPage::PreTranslateMessage(message)) return true;
  // A click into the list is how an edit of the messages begins; one on its
  // header only sizes a column.
  if (message.message == WM_LBUTTONDOWN && IsInitialised() && IsInList(message.hwnd) && !IsInHeader(message.hwnd))
    OnSettingChanged();
  return false;
}

bool CWordsConfDlg::IsInList(HWND window) const {
  return window == m_list.Hwnd() || ::IsChild(m_list.Hwnd(), window);
}

bool CWordsConfDlg::IsInHeader(HWND window) const {
  HWND header = ListView_GetHeader(m_list.Hwnd());
  return header && (window == header || ::IsChild(header, window));
}

bool CWordsConfDlg::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.idFrom == IDC_WORDS_LIST && header.code == NM_CLICK) {
    const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
    m_clickedRow = click.iItem;
    m_clickedColumn = click.iSubItem;
    result = 0;
    return true;
  }
  return CPanelPage::OnNotify(header, result);
}

bool CWordsConfDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (code == BN_CLICKED && id == IDC_ADD_WORD) {
    OnAddWord();
    return true;
  }
  if (code == BN_CLICKED && id == IDC_DELETE_WORD) {
    OnDeleteWord();
    return true;
  }
  if (id == IDC_INTERVAL && code == CBN_SELCHANGE) {
    OnSettingChanged();
    return true;
  }
  return CPanelPage::OnCommand(id, code, control);
}

#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "PanelPage.h"

// The log page: where the child went (the browsing history, read once when
// the panel starts), a button that empties it, and the switch that keeps it.
class CKidsLogDlg : public CPanelPage {
 public:
  explicit CKidsLogDlg(HWND parent);

  // Stores the switch only: the history is the child's file and is saved
  // apart from the parent's rules.
  int SaveToConf() override;
  // Empties the history file when "清空" was pressed since the last save; 0
  // after telling the parent it could not.
  int SaveHistory();

 protected:
  void InitPage() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;

 private:
  // What one visit shows. The third column is the record's extra text,
  // which no file stores, so it is always empty.
  struct Row {
    std::wstring title;
    std::wstring time;
  };

  void InsertColumns();
  void FillRows();
  // The list holds no items of its own (owner data): a history of a
  // hundred thousand visits would take minutes to insert and to destroy row
  // by row. It asks for each cell as it shows or hands it out.
  void GiveCellText(LVITEMW& item) const;
  int FindRow(const NMLVFINDITEMW& find) const;
  void OnClearLog();
  void OnEnableLogClicked();
  // This page's changes reach the panel at once, also during start-up.
  void NotifyChanged();

  std::vector<Row> m_rows;
  int m_cleared = 0;
};

#pragma once
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

 private:
  void InsertColumns();
  void FillRows();
  void AppendRow(const std::wstring& title, const std::wstring& time, const std::wstring& extra);
  void OnClearLog();
  void OnEnableLogClicked();
  // This page's changes reach the panel at once, also during start-up.
  void NotifyChanged();

  int m_cleared = 0;
};

#pragma once
#include "PanelPage.h"

// The log page: where the child went (the browsing history, read once when
// the panel starts), a button that empties it, and the switch that keeps it.
class CKidsLogDlg : public CPanelPage {
 public:
  explicit CKidsLogDlg(HWND parent);

  // Empties the history file when "清空" was pressed since the last save.
  int SaveToConf() override;

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

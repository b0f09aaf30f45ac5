#pragma once
#include "ComSupport.h"
#include "EditListCtrl.h"
#include "PanelPage.h"

// The messages page: the parent's messages for the child, edited in place in
// the list and kept there until the save, and how many seconds each shows.
class CWordsConfDlg : public CPanelPage {
 public:
  explicit CWordsConfDlg(HWND parent);

  // Stores the interval and writes the messages in row order to words.xml.
  int SaveToConf() override;
  bool PreTranslateMessage(MSG& message) override;

 protected:
  void InitPage() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;

 private:
  void FillRows();
  void SelectInterval();
  int IntervalToSave() const;
  void OnAddWord();
  void OnDeleteWord();
  void Renumber();
  bool IsInList(HWND window) const;
  bool IsInHeader(HWND window) const;

  fw::ComThreadScope m_com;
  int m_clickedRow = -1;
  int m_clickedColumn = -1;
  CEditListCtrl m_list;
};

#pragma once
#include <windows.h>

#include "Wnd.h"

// From the cell editor to its list: wParam 1 writes the editor's text into
// the cell being edited, 0 drops it; lParam 0 hides the editor afterwards,
// non-zero keeps it shown. Used inside this library only (the browser gives
// the same number to a page's title change; the two never meet).
const UINT WM_LISTEDIT_END = 2025;

// The edit box that a CEditListCtrl moves over the cell being edited. Enter
// and leaving it write the text back; Esc drops it.
class CListCtrlEdit : public fw::Wnd {
 public:
  static const int kControlId = 1;

  // Makes the hidden editor inside `list`.
  bool CreateIn(HWND list);
  // 1 while the text is to be written back when the editor loses the focus.
  int Commit() const { return m_commit; }
  void SetCommit(int commit) { m_commit = commit; }

  bool PreTranslateMessage(MSG& message) override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // Posted, so the key or focus change that ended the edit is done first.
  void PostEnd(int write);

  int m_commit = 0;
};

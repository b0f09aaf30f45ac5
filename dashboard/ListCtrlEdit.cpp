#include "ListCtrlEdit.h"

bool CListCtrlEdit::CreateIn(HWND list) {
  fw::CreateArgs args;
  args.parent = list;
  args.className = L"EDIT";
  args.style = WS_CHILD | WS_BORDER | ES_AUTOHSCROLL | ES_WANTRETURN;
  args.x = args.y = 0;
  args.width = args.height = 0;
  args.idOrMenu = kControlId;
  if (!Create(args)) return false;
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return true;
}

void CListCtrlEdit::PostEnd(int write) { ::PostMessageW(::GetParent(hwnd_), WM_LISTEDIT_END, write, 0); }

bool CListCtrlEdit::PreTranslateMessage(MSG& message) {
  if (message.hwnd != hwnd_ || message.message != WM_KEYDOWN) return false;
  if (message.wParam == VK_RETURN) {
    m_commit = 1;
    PostEnd(1);
  } else if (message.wParam == VK_ESCAPE) {
    m_commit = 0;
    PostEnd(0);
  }
  // The key goes on: the page keeps Enter and Esc from the panel.
  return false;
}

bool CListCtrlEdit::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETFOCUS:
      result = DefaultProc(message, wParam, lParam);
      m_commit = 1;
      return true;
    case WM_KILLFOCUS:
      result = DefaultProc(message, wParam, lParam);
      PostEnd(m_commit);
      return true;
    default:
      return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
}

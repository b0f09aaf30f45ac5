#include "AboutDlg.h"

#include "CoreResources.h"

CAboutDlg::CAboutDlg(HWND parent) : CFrameDlg(IDD_ABOUTBOX, parent) {}

const wchar_t CAboutDlg::kCaption[] = L"关于 Brivan";

BOOL CAboutDlg::OnInitDialog() {
  SetText(kCaption);
  CFrameDlg::OnInitDialog();
  m_skin.SetItemText(L"title", kCaption, 0, false);
  SetTransparentChildren(TRUE);
  // The frame's default skin is a large window; the box needs far less.
  ::SetWindowPos(hwnd_, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

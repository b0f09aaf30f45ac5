#include "ParentAboutDlg.h"

#include "DashboardResources.h"

CParentAboutDlg::CParentAboutDlg(HWND parent) : CFrameDlg(IDD_ABOUTBOX, parent) {}

void CParentAboutDlg::OnFrameInit() {
  SetText(L"关于 Marrot");
  m_skin.SetItemText(L"title", L"关于 Marrot", 0, false);
}

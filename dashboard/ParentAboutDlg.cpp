#include "ParentAboutDlg.h"

#include "DashboardResources.h"

CParentAboutDlg::CParentAboutDlg(HWND parent) : CFrameDlg(IDD_ABOUTBOX, parent) {}

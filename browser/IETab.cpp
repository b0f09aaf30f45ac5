#include "IETab.h"

#include "PageHostResources.h"
#include "TabCtrl.h"

void IETab::OnTitleChange(const std::wstring& title) {
  text = ::_wcsicmp(title.c_str(), L"about:blank") == 0 ? L"空白页" : title;
  ::InvalidateRect(GetOwner(), nullptr, FALSE);
  CIEDlg::OnTitleChange(text);
}

void DestroyIETabWindow(IETab* tab) {
  if (tab) tab->Destroy();
}

IETab* TabCtrl::NewIETab() { return new IETab(IDD_IE_PAGE, Hwnd()); }

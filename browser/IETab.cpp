#include "IETab.h"

#include "PageHostResources.h"
#include "TabCtrl.h"

void IETab::OnTitleChange(const std::wstring& title) {
  text = ::_wcsicmp(title.c_str(), L"about:blank") == 0 ? L"空白页" : title;
  ::InvalidateRect(GetOwner(), nullptr, FALSE);
  CIEDlg::OnTitleChange(text);
}

bool IETab::CreatePage(HWND strip) {
  if (!CIEDlg::Hwnd() && !CreatePageWindow(strip)) return false;
  ::SetWindowLongPtrW(CIEDlg::Hwnd(), GWLP_ID, static_cast<LONG_PTR>(kPageId));
  return true;
}

void IETab::DestroyPage() { DestroyIETabWindow(this); }

void DestroyIETabWindow(IETab* tab) {
  if (tab) tab->Destroy();
}

IETab* TabCtrl::NewIETab() { return new IETab(IDD_IE_PAGE, Hwnd()); }

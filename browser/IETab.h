#pragma once
#include "CIEDlg.h"
#include "Tab.h"

// A tab of the strip and its browser page in one: the strip shows the page's
// window and the page's title as the tab text.
class IETab : public Tab, public CIEDlg {
 public:
  IETab(UINT templateId, HWND strip) : CIEDlg(templateId, strip) {}

  HWND PageWindow() const override { return CIEDlg::Hwnd(); }
  void OnTitleChange(const std::wstring& title) override;
};

// Destroys the page dialog's window; the tab object stays.
void DestroyIETabWindow(IETab* tab);

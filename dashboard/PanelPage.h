#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

#include "Handles.h"
#include "SkinDlg.h"

class CSysConf;

// What every page of the panel shares: a hidden child dialog of the panel
// with its own skin element, white behind its controls, change notices to the
// panel only after its own start-up, Enter, Esc and F1 kept from the panel,
// and a save into the settings record when the panel asks.
class CPanelPage : public CSkinDlg {
 public:
  CPanelPage(UINT templateId, HWND parent, const wchar_t* skinElement);

  // Creates the hidden page window inside the panel.
  bool CreatePage();
  // Stores the controls into the settings record; 0 after telling the
  // parent why it could not.
  virtual int SaveToConf() = 0;
  bool IsInitialised() const { return m_initialised != 0; }

  bool PreTranslateMessage(MSG& message) override;
  // Enter, Esc and F1: kept from the dialog manager, which would end the
  // panel (or the dialog) on them.
  static bool IsFilteredKey(const MSG& message);

 protected:
  // The page's own start-up, after the skin is loaded.
  virtual void InitPage() = 0;
  // A control changed: tells the panel once the page has started.
  void OnSettingChanged();
  // A message box of the panel's, titled "提示".
  int Prompt(const wchar_t* text, UINT type = MB_OK | MB_ICONINFORMATION);
  // Tells the parent which file of the page could not be written; returns
  // the failed save's 0.
  int ReportUnwrittenFile(const std::wstring& path);
  // The same for a list shown from a file that could not be read: saving
  // its rows would replace the parent's list.
  int ReportUnreadFile(const std::wstring& path);
  static CSysConf& Conf();
  // Sizes report list `listId` to show all its columns beside a vertical
  // scroll bar, whatever the dialog font makes of the template, and moves the
  // buttons that end at its right edge along with it.
  void FitListToColumns(int listId, std::initializer_list<int> rightButtons);

  BOOL OnInitDialog() override;
  void BindSkinItems() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  fw::ScopedBrush m_brush;
  int m_initialised = 0;
};

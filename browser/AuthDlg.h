#pragma once
#include <string>

#include "ButtonST.h"
#include "Handles.h"
#include "SkinDlg.h"

class CSysConf;

// Asks for the parent password before the locked browser may close or be
// minimised. Passed from the start when the settings ask for no password.
class CAuthDlg : public CSkinDlg {
 public:
  static const wchar_t kCaption[];
  static const wchar_t kWrongPasswordText[];

  CAuthDlg(const CSysConf& settings, HWND parent = nullptr);

  int IsPassed() const { return m_bPassed; }

 protected:
  void DoDataExchange(fw::DataExchange& exchange) override;
  BOOL OnInitDialog() override;
  void BindSkinItems() override;
  void OnOK() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  const CSysConf& settings_;
  fw::ScopedBrush whiteBrush_;
  fw::Wnd password_;
  CButtonST ok_;
  CButtonST cancel_;
  int m_bPassed;
};

#pragma once
#include "ButtonST.h"
#include "Handles.h"
#include "SkinDlg.h"

// The password prompt in front of the panel's guarded pages.
class CParentAuthDlg : public CSkinDlg {
 public:
  explicit CParentAuthDlg(HWND parent);

  // 1 when no password is asked for, or once the right one was given.
  int Passed() const { return m_passed; }
  // The password is asked whatever login_need_pwd says.
  void AskAlways() { m_passed = 0; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::DataExchange& exchange) override;
  void BindSkinItems() override;
  void OnOK() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  fw::ScopedBrush m_brush;
  int m_passed = 0;
  CButtonST m_ok;
  CButtonST m_cancel;
};

#pragma once
#include "FrameDlg.h"

// The about box: the program's name and version in the default frame.
class CAboutDlg : public CFrameDlg {
 public:
  static const wchar_t kCaption[];
  static const int kWidth = 380;
  static const int kHeight = 220;

  explicit CAboutDlg(HWND parent = nullptr);

 protected:
  BOOL OnInitDialog() override;
};

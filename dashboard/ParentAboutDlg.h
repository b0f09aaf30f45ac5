#pragma once
#include "FrameDlg.h"

// The about box, reached through the panel's system command 0x10.
class CParentAboutDlg : public CFrameDlg {
 public:
  explicit CParentAboutDlg(HWND parent);
};

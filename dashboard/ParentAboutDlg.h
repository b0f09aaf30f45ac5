#pragma once
#include "FrameDlg.h"

// The about box, reached through the panel's system command 0x10.
class CParentAboutDlg : public CFrameDlg {
 public:
  explicit CParentAboutDlg(HWND parent);

 protected:
  // The frame's skin has no caption of its own: it shows the box's.
  void OnFrameInit() override;
};

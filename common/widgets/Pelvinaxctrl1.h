#pragma once
#include <windows.h>

#include "OleControlHost.h"

// The program's own ActiveX control as a child window. The wrapper only makes
// the control by its class id and shows it. Creatable by its class name.
class CPelvinaxctrl1 : public fw::OleControlHost {
 public:
  static const CLSID& GetClsid();
  // Creates the control in place of a plain window (args.className is not
  // used); FALSE, and no window, where the control is not registered.
  BOOL Create(const fw::CreateArgs& args) { return CreateControl(GetClsid(), args) ? TRUE : FALSE; }
};

#pragma once
#include <windows.h>

#include "OleControlHost.h"

// The Flash player control as a child window. F1 inside the control shows
// no help: the wrapper answers the help request the control passes up.
// Creatable by its class name.
class CShockwaveflash1 : public fw::OleControlHost {
 public:
  static const CLSID& GetClsid();
  // Creates the control in place of a plain window (args.className is not
  // used); FALSE, and no window, where the Flash player is not installed.
  BOOL Create(const fw::CreateArgs& args) { return CreateControl(GetClsid(), args) ? TRUE : FALSE; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

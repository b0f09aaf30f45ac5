#pragma once
#include <ole2.h>
#include <windows.h>

#include "OleControlSite.h"
#include "Wnd.h"

namespace fw {

// One ActiveX control, made from its class id and activated in place in a
// child window of its own. The control is made at WM_CREATE through the site
// CreateControlSite gives, and torn down at WM_DESTROY: the derived host lets
// go of it, the control is closed without saving and the site detached, so
// nothing the control still holds reaches a dead window. Keys go to the
// control's TranslateAccelerator before any parent dialog's. The caller's
// thread has OLE started.
class OleControlHost : public Wnd {
 public:
  OleControlHost() = default;
  ~OleControlHost() override;

  // A window made from `args` (its class name is not used) that hosts a new
  // control of class `clsid`; false, and no window, when the class is not
  // registered or its control cannot be activated.
  bool CreateControl(REFCLSID clsid, const CreateArgs& args);
  // The control, without a reference; nullptr while none is hosted.
  IOleObject* Control() const { return object_; }
  OleControlSite* Site() const { return site_; }
  // The control's own window; nullptr when it has none.
  HWND ControlWindow() const;
  bool PreTranslateMessage(MSG& message) override;

 protected:
  // The site the control is hosted through, with one reference for the
  // host; nullptr gives up the control.
  virtual OleControlSite* CreateControlSite() { return new OleControlSite(Hwnd()); }
  // The control is active: take what the derived host uses from it; false
  // gives it up.
  virtual bool OnControlActivated() { return true; }
  // The control is about to be closed: undo what was registered around it.
  virtual void OnControlClosing() {}
  // Then: release the interfaces taken in OnControlActivated.
  virtual void ReleaseControlInterfaces() {}
  // Places the control; by default over the whole client area.
  virtual void PlaceControl(const RECT& client);
  void SetControlRect(const RECT& rect);
  // Derived hosts call this from their destructor, while they are whole.
  void CloseControl();

  void PreCreateWindow(CreateArgs& args) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool MakeControl();

  CLSID clsid_ = CLSID_NULL;
  IOleObject* object_ = nullptr;
  OleControlSite* site_ = nullptr;
};

}  // namespace fw

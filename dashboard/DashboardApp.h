#pragma once
#include "App.h"
#include "SysConf.h"

// The library's one application object, built when the DLL loads. It holds
// the panel's settings record and publishes it as the current settings.
class CDashboardApp : public fw::App {
 public:
  CDashboardApp() = default;

  // Publishes the record; the DLL's entry calls it once it is loaded.
  bool InitInstance() override;
  CSysConf& Settings() { return m_conf; }

 private:
  // Declared last, so it goes before the application base.
  CSysConf m_conf;
};

extern CDashboardApp theApp;

// The settings every window of the panel reads and writes.
extern CSysConf* g_pCurConf;

#include "DashboardApp.h"

CSysConf* g_pCurConf = nullptr;

CDashboardApp theApp;

bool CDashboardApp::InitInstance() {
  g_pCurConf = &m_conf;
  return true;
}

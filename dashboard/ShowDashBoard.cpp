// The library's entry and its one export.
#include <windows.h>

#include "DashboardApp.h"
#include "MarrotDlg.h"
#include "ParentAuthDlg.h"
#include "SysConf.h"

namespace {

// The caller's active top-level window: it owns the prompt and the panel and
// is disabled while they run.
HWND CallerWindow() {
  HWND active = ::GetActiveWindow();
  return active ? ::GetAncestor(active, GA_ROOT) : nullptr;
}

bool PasswordGiven(CMarrotDlg& panel, HWND owner) {
  const CSysConf& conf = *g_pCurConf;
  if (!conf.login_need_pwd || conf.password.empty()) return true;
  CParentAuthDlg prompt(owner);
  prompt.DoModal(owner);
  if (!prompt.Passed()) return false;
  panel.SetAuthenticated();
  return true;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) theApp.InitInstance();
  return TRUE;
}

extern "C" __declspec(dllexport) int ShowDashBoard(int mode) {
  // The browser keeps this library loaded: what the wizard or an earlier run
  // saved since must be what the password is checked against and what the
  // pages show, and a failed save of an earlier run must not linger.
  g_pCurConf->Load();
  HWND owner = CallerWindow();
  // Without the file's password and rules the panel would let anyone in and
  // save defaults over them.
  if (const std::wstring unread = g_pCurConf->UnreadablePath(); !unread.empty()) {
    ::MessageBoxW(owner, CSysConf::UnreadableText(unread).c_str(), L"提示", MB_OK | MB_ICONWARNING);
    return IDCANCEL;
  }
  CMarrotDlg panel(owner);
  panel.SetMode(mode);
  if (mode == 1 && !PasswordGiven(panel, owner)) return IDCANCEL;
  return panel.DoModal(owner) == IDOK ? IDOK : IDCANCEL;
}

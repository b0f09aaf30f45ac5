// Shows the wizard on one page, or its password prompt, for a look or a
// screenshot: wizard_gallery.exe [0-3 | prompt]. Starts no program.
#include <windows.h>
#include <prsht.h>

#include <string>

#include "ComSupport.h"
#include "WizardAuthDlg.h"
#include "WizardMain.h"

namespace {

int shownPage = 0;
CWizardMain* shownSheet = nullptr;

bool NoStart(const std::wstring&, const std::wstring&) { return true; }

void CALLBACK ShowPage(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  for (int page = 1; page <= shownPage; ++page) shownSheet->SetActivePage(page);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  fw::ComThreadScope com;
  std::wstring argument = commandLine ? commandLine : L"";
  if (argument == L"prompt") {
    CWizardAuthDlg prompt(L"secret");
    prompt.DoModal();
    return 0;
  }
  CWizardMain::startProgram = &NoStart;
  CWizardMain sheet;
  shownSheet = &sheet;
  shownPage = argument.empty() ? 0 : _wtoi(argument.c_str());
  ::SetTimer(nullptr, 0, 300, &ShowPage);
  sheet.Flags() |= PSH_WIZARD | PSH_HASHELP;
  sheet.DoModal();
  return 0;
}

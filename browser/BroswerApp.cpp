#include "BroswerApp.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "HandOver.h"
#include "Profile.h"
#include "SharedState.h"

const wchar_t CBroswerApp::kRegistryKey[] = L"应用程序向导生成的本地应用程序";
const wchar_t CBroswerApp::kProfileName[] = L"Brivan";

std::wstring CBroswerApp::UrlArgument(const wchar_t* commandLine) {
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(commandLine, &count);
  if (!words) return std::wstring();
  std::wstring url = count >= 2 ? words[1] : L"";
  ::LocalFree(words);
  return url;
}

bool CBroswerApp::InitInstance() {
  ::InitCommonControls();
  fw::App::InitInstance();
  std::wstring url = UrlArgument(::GetCommandLineW());
  // Unchanged: a running browser opens whatever it is given in a new tab.
  if (HandOverToRunningInstance(url, CSharedState().GetMainWindow()) == 0) return false;
  // ActiveX hosting needs COM on this thread; the main window initialises it.
  fw::SetRegistryKey(kRegistryKey, kProfileName);
  RunBroswerMainWindow(url);
  return false;
}

#pragma once
#include <string>

#include "App.h"

// Defined beside the main window: builds it with no parent, makes it the
// program's main window, gives it the start URL (which it keeps only when
// IsWebUrl accepts it) and runs it modally.
int RunBroswerMainWindow(const std::wstring& startUrl);

// The browser program. Start-up offers a URL of the command line to a
// browser already running and otherwise runs the main window until it
// closes; the program then ends.
class CBroswerApp : public fw::App {
 public:
  // The profile key below HKCU\Software, as the browser has always used it.
  static const wchar_t kRegistryKey[];
  static const wchar_t kProfileName[];

  // The URL of a command line: its first argument, or empty.
  static std::wstring UrlArgument(const wchar_t* commandLine);

 protected:
  bool InitInstance() override;
};

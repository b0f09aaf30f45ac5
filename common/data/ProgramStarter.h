#pragma once
#include <string>

// Starts another program of the system (the browser, the wizard, the
// launcher, the help viewer). The path is always quoted: unquoted, a folder
// such as "C:\Program Files\..." would run "C:\Program.exe" when one exists.
class CProgramStarter {
 public:
  // The command line a started program receives: the quoted path, then the
  // arguments when there are any.
  static std::wstring CommandLine(const std::wstring& program, const std::wstring& arguments);
  // CreateProcessW on the wide text, so folders outside the ANSI code page
  // work; the process and thread handles are closed at once. False when the
  // program could not be started.
  static bool Start(const std::wstring& program, const std::wstring& arguments = L"");
};

#include "ProgramStarter.h"

#include <windows.h>

#include <vector>


std::wstring CProgramStarter::CommandLine(const std::wstring& program, const std::wstring& arguments) {
  std::wstring line = L"\"" + program + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  return line;
}

bool CProgramStarter::Start(const std::wstring& program, const std::wstring& arguments) {
  if (program.empty()) return false;
  std::wstring line = CommandLine(program, arguments);
  // CreateProcessW may write into the command line, so it gets a copy.
  std::vector<wchar_t> buffer(line.begin(), line.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

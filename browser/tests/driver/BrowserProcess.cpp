#include "BrowserProcess.h"

#include "ProgramStarter.h"

bool BrowserProcess::Start(const std::wstring& program, const std::wstring& argument) {
  Kill();
  std::wstring line = CProgramStarter::CommandLine(program, argument);
  const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!::CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info_)) {
    info_ = PROCESS_INFORMATION{};
    return false;
  }
  ::CloseHandle(info_.hThread);
  info_.hThread = nullptr;
  return true;
}

bool BrowserProcess::Running() const {
  return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool BrowserProcess::WaitForExit(DWORD milliseconds) const {
  return info_.hProcess && ::WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

void BrowserProcess::Kill() {
  if (!info_.hProcess) return;
  if (Running()) {
    ::TerminateProcess(info_.hProcess, 1);
    ::WaitForSingleObject(info_.hProcess, 5000);
  }
  ::CloseHandle(info_.hProcess);
  info_ = PROCESS_INFORMATION{};
}

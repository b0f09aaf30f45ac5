#pragma once
#include <windows.h>

#include <string>

// One started program, ended when the object goes, whatever the test did.
class BrowserProcess {
 public:
  BrowserProcess() = default;
  ~BrowserProcess() { Kill(); }
  BrowserProcess(const BrowserProcess&) = delete;
  BrowserProcess& operator=(const BrowserProcess&) = delete;

  // The program with `argument` as its one argument (none when empty),
  // started in its own folder. False when it could not be started.
  bool Start(const std::wstring& program, const std::wstring& argument = L"");

  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool Running() const;
  // True when the process ended within the time.
  bool WaitForExit(DWORD milliseconds) const;
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace fw {

// The program object. A program whose main window is a modal dialog runs it
// inside InitInstance and returns false: the program then ends without a
// message loop of its own.
class App {
 public:
  App();
  virtual ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  static App* Current();

  // wWinMain's body: InitInstance, then Run when it returned true, then
  // ExitInstance, whose answer is the program's exit code.
  int Main(HINSTANCE instance, const wchar_t* commandLine);

  HINSTANCE Instance() const { return instance_; }
  const std::wstring& CommandLine() const { return commandLine_; }
  // The command line split by the shell's rules, without the program name.
  std::vector<std::wstring> Arguments() const;
  void SetExitCode(int code) { exitCode_ = code; }
  // The key under HKEY_CURRENT_USER\Software that holds the program's profile
  // settings; naming it writes nothing.
  void SetRegistryKey(const std::wstring& key) { registryKey_ = key; }
  const std::wstring& RegistryKey() const { return registryKey_; }
  // The window that owns the program's dialogs when no other window of the
  // thread is active.
  void SetMainWindow(HWND window) { mainWindow_ = window; }
  HWND MainWindow() const { return mainWindow_; }

 protected:
  virtual bool InitInstance() { return false; }
  virtual int Run();
  virtual int ExitInstance() { return exitCode_; }

 private:
  HINSTANCE instance_ = nullptr;
  std::wstring commandLine_;
  std::wstring registryKey_;
  int exitCode_ = 0;
  HWND mainWindow_ = nullptr;
};

}  // namespace fw

// Defines the program entry for an application class.
#define FW_PROGRAM_ENTRY(AppClass)                                                \
  int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {    \
    AppClass app;                                                                 \
    return app.Main(instance, commandLine);                                       \
  }

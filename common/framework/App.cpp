#include "App.h"

#include <commctrl.h>
#include <shellapi.h>

#include "MessageLoop.h"

namespace fw {
namespace {
App* currentApp = nullptr;
}

App::App() { currentApp = this; }

App::~App() {
  if (currentApp == this) currentApp = nullptr;
}

App* App::Current() { return currentApp; }

int App::Main(HINSTANCE instance, const wchar_t* commandLine) {
  instance_ = instance;
  commandLine_ = commandLine ? commandLine : L"";
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES;
  ::InitCommonControlsEx(&controls);
  if (InitInstance()) exitCode_ = Run();
  return ExitInstance();
}

int App::Run() { return RunMessageLoop(); }

std::vector<std::wstring> App::Arguments() const {
  std::vector<std::wstring> arguments;
  if (commandLine_.empty()) return arguments;
  // CommandLineToArgvW treats the first word as the program name, so give it one.
  std::wstring line = L"program " + commandLine_;
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(line.c_str(), &count);
  if (!words) return arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(words[i]);
  ::LocalFree(words);
  return arguments;
}

}  // namespace fw

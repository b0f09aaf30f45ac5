// A stand-in main window for the real start-up of the browser program: it
// registers like the main window (at once, then every second), answers the
// hand-over with the reply in HOLLIN_PROBE_REPLY, and leaves what happened
// in files of the folder HOLLIN_PROBE_DIR named after its process id.
#include <windows.h>

#include <fstream>
#include <string>

#include "BroswerApp.h"
#include "HandOver.h"
#include "SharedState.h"

namespace {

const UINT_PTR kRegisterTimer = 1007;

std::wstring ProbeFile(const wchar_t* kind) {
  wchar_t folder[MAX_PATH] = {};
  GetEnvironmentVariableW(L"HOLLIN_PROBE_DIR", folder, MAX_PATH);
  return std::wstring(folder) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"." + kind;
}

// Written whole under another name first: the test takes a file that
// exists as complete.
void Leave(const wchar_t* kind, const std::string& bytes) {
  const std::wstring path = ProbeFile(kind);
  const std::wstring part = path + L".part";
  {
    std::ofstream file(part.c_str(), std::ios::binary | std::ios::trunc);
    file << bytes;
  }
  ::MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

LRESULT ReplyFromEnvironment() {
  wchar_t reply[8] = {};
  GetEnvironmentVariableW(L"HOLLIN_PROBE_REPLY", reply, 8);
  return reply[0] == L'1' ? 1 : 0;
}

void Register(HWND window) {
  CSharedState state;
  if (state.GetMainWindow() != window) state.SetMainWindowIfEmpty(window);
  if (state.GetMainWindow() == window) Leave(L"registered", "");
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA: {
      auto* data = reinterpret_cast<COPYDATASTRUCT*>(lParam);
      if (data->dwData != COPYDATA_OPEN_URL) return 1;
      Leave(L"received", std::string(static_cast<char*>(data->lpData), data->cbData));
      return ReplyFromEnvironment();
    }
    case WM_TIMER:
      Register(window);
      return 0;
    case WM_DESTROY:
      CSharedState().ClearMainWindowIfOwn(window);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int RunBroswerMainWindow(const std::wstring& startUrl) {
  Leave(L"started", std::string(startUrl.begin(), startUrl.end()));
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &ProbeProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"BrivanStartupProbe";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"BrivanStartupProbe", L"probe", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
  Register(window);
  SetTimer(window, kRegisterTimer, 1000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

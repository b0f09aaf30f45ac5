#include "HandOver.h"

#include <vector>

#include "SharedState.h"
#include "StringConv.h"

namespace {

void BringToFront(HWND window) {
  if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
  ::SetActiveWindow(window);
  ::BringWindowToTop(window);
  ::SetForegroundWindow(window);
}

int Offer(const std::wstring& url, HWND window, UINT timeoutMs) {
  if (!window || url.empty() || !CSharedState::IsLiveMainWindow(window)) return 1;
  std::string ansi = fw::ToAnsi(url);
  std::vector<char> buffer(ansi.begin(), ansi.end());
  buffer.push_back('\0');
  COPYDATASTRUCT data{};
  data.dwData = COPYDATA_OPEN_URL;
  data.cbData = static_cast<DWORD>(buffer.size());
  data.lpData = buffer.data();
  DWORD_PTR reply = 1;
  if (!::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &reply)) {
    return 1;
  }
  if (reply != 0) return 1;
  BringToFront(window);
  return 0;
}

}  // namespace

int HandOverToRunningInstance(std::wstring url, HWND window, UINT timeoutMs) {
  try {
    return Offer(url, window, timeoutMs);
  } catch (...) {
    return 1;
  }
}

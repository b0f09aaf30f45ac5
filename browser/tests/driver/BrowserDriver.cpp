#include "BrowserDriver.h"

#include "StringConv.h"

namespace {

// Set by the main window when it registers in the shared words, also when
// another browser holds them.
const wchar_t kMainWindowMark[] = L"Brivan.RegisteredMainWindow";
const UINT kSendTimeoutMs = 10000;
const int kMessageBoxTextId = 0xFFFF;
const int kNotifierCloseButtonId = 3002;

struct ProcessWindows {
  DWORD processId;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<ProcessWindows*>(lParam);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && (!search->visibleOnly || ::IsWindowVisible(window)))
    search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> WindowsOf(DWORD processId, bool visibleOnly) {
  ProcessWindows search{processId, visibleOnly, {}};
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Children(HWND parent, int id) {
  std::vector<HWND> children;
  for (HWND child = parent ? ::GetWindow(parent, GW_CHILD) : nullptr; child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (::GetDlgCtrlID(child) == id) children.push_back(child);
  return children;
}

}  // namespace

bool BrowserDriver::WaitUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
  for (;;) {
    if (done()) return true;
    if (::GetTickCount64() >= deadline) return false;
    // Keep this thread's own windows and hooks answering while it waits.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

std::vector<HWND> BrowserDriver::MainWindows() const {
  std::vector<HWND> mains;
  for (HWND window : WindowsOf(processId_, false))
    if (::GetPropW(window, kMainWindowMark)) mains.push_back(window);
  return mains;
}

std::vector<HWND> BrowserDriver::TopLevelWindows() const { return WindowsOf(processId_, true); }

HWND BrowserDriver::WaitForMainWindow(DWORD milliseconds, bool untilStarted) {
  main_ = nullptr;
  WaitUntil(
      [this] {
        for (HWND window : MainWindows())
          if (::IsWindowVisible(window)) main_ = window;
        return main_ != nullptr;
      },
      milliseconds);
  // The window shows first thing in the message that goes on to finish the start.
  if (main_ && untilStarted) Sync();
  return main_;
}

int BrowserDriver::PageCount() const {
  return static_cast<int>(Children(::GetDlgItem(main_, kStripId), kPageId).size());
}

HWND BrowserDriver::ShownPage() const {
  for (HWND page : Children(::GetDlgItem(main_, kStripId), kPageId))
    if (::IsWindowVisible(page)) return page;
  return nullptr;
}

std::wstring BrowserDriver::AddressText() const {
  wchar_t text[2048] = {};
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(::GetDlgItem(main_, kAddressBoxId), WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text),
                        SMTO_BLOCK, kSendTimeoutMs, &copied);
  return text;
}

bool BrowserDriver::Sync() const {
  DWORD_PTR ignored = 0;
  for (int round = 0; round < 2; ++round)
    if (!::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_BLOCK, kSendTimeoutMs, &ignored)) return false;
  return true;
}

LRESULT BrowserDriver::HandOver(const std::string& bytes, ULONG_PTR kind) const {
  COPYDATASTRUCT data{kind, static_cast<DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
  DWORD_PTR reply = static_cast<DWORD_PTR>(-1);
  if (!::SendMessageTimeoutW(main_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_BLOCK, kSendTimeoutMs,
                             &reply))
    return -1;
  return static_cast<LRESULT>(reply);
}

LRESULT BrowserDriver::HandOverUrl(const std::wstring& url) const {
  std::string bytes = fw::ToAnsi(url, CP_ACP);
  bytes.push_back('\0');
  return HandOver(bytes);
}

void BrowserDriver::StepMinute() const {
  // Sent, not posted: a thread answers every sent message before it takes a
  // posted one, so a posted tick could still wait after Sync's rounds.
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(main_, WM_TIMER, kMinuteTimer, 0, SMTO_BLOCK, kSendTimeoutMs, &ignored);
  Sync();
}

HWND BrowserDriver::Notifier() const {
  for (HWND window : WindowsOf(processId_, false))
    if (::GetWindow(window, GW_OWNER) == main_ && ::GetDlgItem(window, kNotifierCloseButtonId)) return window;
  return nullptr;
}

std::wstring BrowserDriver::NotifierText() const { return Text(Notifier()); }

void BrowserDriver::ForgetNotifierText() const {
  DWORD_PTR ignored = 0;
  if (HWND notifier = Notifier())
    ::SendMessageTimeoutW(notifier, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_BLOCK, kSendTimeoutMs,
                          &ignored);
}

std::wstring BrowserDriver::WaitForNotifierText(DWORD milliseconds) const {
  std::wstring text;
  WaitUntil(
      [&] {
        text = NotifierText();
        return !text.empty();
      },
      milliseconds);
  return text;
}

HWND BrowserDriver::FindWindowTitled(const std::wstring& caption) const {
  for (HWND window : TopLevelWindows())
    if (Text(window) == caption) return window;
  return nullptr;
}

HWND BrowserDriver::WaitForWindowTitled(const std::wstring& caption, DWORD milliseconds) const {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowTitled(caption)) != nullptr; }, milliseconds);
  return found;
}

HWND BrowserDriver::FindMessageBox() const {
  for (HWND window : TopLevelWindows()) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32770" && Text(window) == L"提示" && ::GetDlgItem(window, kMessageBoxTextId))
      return window;
  }
  return nullptr;
}

HWND BrowserDriver::WaitForMessageBox(DWORD milliseconds) const {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindMessageBox()) != nullptr; }, milliseconds);
  return found;
}

std::wstring BrowserDriver::MessageBoxText(HWND box) { return Text(::GetDlgItem(box, kMessageBoxTextId)); }

void BrowserDriver::Click(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void BrowserDriver::SetItemText(HWND dialog, int id, const std::wstring& text) {
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK,
                        kSendTimeoutMs, &ignored);
}

std::wstring BrowserDriver::Text(HWND window) {
  if (!window) return std::wstring();
  wchar_t text[1024] = {};
  ::InternalGetWindowText(window, text, 1024);
  return text;
}

bool BrowserDriver::WaitGone(HWND window, DWORD milliseconds) {
  return WaitUntil([window] { return !::IsWindow(window); }, milliseconds);
}

bool BrowserDriver::BringToFront() const {
  ::SetForegroundWindow(main_);
  return WaitUntil([this] { return ::GetForegroundWindow() == main_; }, 3000) && Sync();
}

void BrowserDriver::PressChord(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  auto add = [&inputs](WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  for (WORD key : keys) add(key, 0);
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) add(*key, KEYEVENTF_KEYUP);
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

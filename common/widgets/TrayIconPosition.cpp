#include "TrayIconPosition.h"

#include <commctrl.h>
#include <shellapi.h>

#include "Handles.h"

namespace {

// What the shell keeps behind each tray button's data pointer.
struct TrayButtonData {
  HWND owner;
  UINT id;
};

// Memory allocated inside another process; freed with it.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, SIZE_T size)
      : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* Address() const { return address_; }

 private:
  HANDLE process_;
  void* address_;
};

template <typename T>
bool ReadRemote(HANDLE process, const void* address, T& out) {
  SIZE_T read = 0;
  return ::ReadProcessMemory(process, address, &out, sizeof(T), &read) && read == sizeof(T);
}

bool IsNearBlack(HDC source, int x, int y) { return (::GetPixel(source, x, y) & 0xFCFCFC) == 0; }

}  // namespace

CTrayIconPosition::CTrayIconPosition() {
  version_.dwOSVersionInfoSize = sizeof(version_);
  ::GetVersionExW(&version_);
}

void CTrayIconPosition::InitializeTracking(HWND owner, UINT iconId) {
  owner_ = owner;
  iconId_ = static_cast<int>(iconId);
}

void CTrayIconPosition::SetPrecisionTimes(int seconds1, int seconds2, int seconds3) {
  lifetimes_[0] = seconds1, lifetimes_[1] = seconds2, lifetimes_[2] = seconds3;
}

void CTrayIconPosition::Invalidate() {
  std::tm moment{};
  moment.tm_year = 100, moment.tm_mon = 0, moment.tm_mday = 1;
  moment.tm_hour = 1, moment.tm_min = 1, moment.tm_sec = 1, moment.tm_isdst = -1;
  lastScan_ = std::mktime(&moment);
}

void CTrayIconPosition::RestoreIcon(HICON icon) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = owner_;
  data.uID = static_cast<UINT>(iconId_);
  data.uFlags = NIF_ICON;
  data.hIcon = icon;
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

// Several windows may carry the taskbar's class (a shell of another make
// next to the real one): the first with a notification window counts.
HWND CTrayIconPosition::FindNotifyToolbar() {
  for (HWND taskbar = ::FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr); taskbar;
       taskbar = ::FindWindowExW(nullptr, taskbar, L"Shell_TrayWnd", nullptr)) {
    HWND notify = ::FindWindowExW(taskbar, nullptr, L"TrayNotifyWnd", nullptr);
    if (!notify) continue;
    HWND toolbar = ::FindWindowExW(notify, nullptr, L"ToolbarWindow32", nullptr);
    return toolbar ? toolbar : notify;
  }
  return nullptr;
}

RECT CTrayIconPosition::TaskbarRect() const {
  RECT rect{};
  if (HWND toolbar = FindNotifyToolbar()) {
    ::GetWindowRect(toolbar, &rect);
    return rect;
  }
  int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  return {width - 40, height - 20, width, height};
}

// Reads the toolbar's buttons across processes: the toolbar writes each
// record into a buffer inside its own process, which is read back from there.
bool CTrayIconPosition::LookUpInTaskbar(POINT& point) {
  HWND toolbar = FindNotifyToolbar();
  if (!toolbar) return false;
  taskbarRect_ = TaskbarRect();
  RECT found = taskbarRect_;
  bool success = false;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(toolbar, &processId);
  fw::ScopedHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId));
  int count = static_cast<int>(::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
  if (process && count > 0) {
    RemoteBuffer buffer(process.Get(), sizeof(TBBUTTON) > sizeof(RECT) ? sizeof(TBBUTTON) : sizeof(RECT));
    for (int i = 0; buffer.Address() && i < count; ++i) {
      TBBUTTON button{};
      TrayButtonData data{};
      if (!::SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(buffer.Address())) ||
          !ReadRemote(process.Get(), buffer.Address(), button) ||
          !ReadRemote(process.Get(), reinterpret_cast<const void*>(button.dwData), data)) {
        continue;
      }
      if (data.owner != owner_ || data.id != static_cast<UINT>(iconId_)) continue;
      if (button.fsState & TBSTATE_HIDDEN) break;
      RECT item{};
      if (::SendMessageW(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(buffer.Address())) &&
          ReadRemote(process.Get(), buffer.Address(), item)) {
        ::MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&item), 2);
        found = item;
        success = true;
      }
      break;
    }
  }
  point = {found.left + 4, found.top + 6};
  return success;
}

HICON CTrayIconPosition::CreateTestIcon() {
  static const BYTE andMask[32] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xc3, 0xff, 0xff, 0xff, 0x00,
                                   0xff, 0xff, 0xfe, 0x00, 0x7f, 0xff, 0xfc, 0x00, 0x1f, 0xff, 0xf8,
                                   0x00, 0x0f, 0xff, 0xf8, 0x00, 0x0f, 0xff, 0xf0, 0x00, 0x07};
  BYTE xorMask[32] = {};
  xorMask[30] = 0x38;
  return ::CreateIcon(nullptr, 16, 16, 1, 1, andMask, xorMask);
}

bool CTrayIconPosition::FindIconMark(HDC source, const RECT& area, POINT& found) {
  for (int y = area.bottom - 3; y > area.top; --y) {
    int run = 0;
    for (int x = area.left; x < area.right; ++x) {
      if (!IsNearBlack(source, x, y) || !IsNearBlack(source, x, y - 2) || !IsNearBlack(source, x, y + 2)) {
        run = 0;
        continue;
      }
      if (++run > 8) {
        found = {x - 1, y - 6};
        return true;
      }
    }
  }
  return false;
}

int CTrayIconPosition::ScanScreen(POINT& point, int precision) {
  int lifetime = lifetimes_[precision - 1];
  std::time_t now = std::time(nullptr);
  if (lastScan_ != 0 && now - lastScan_ < lifetime) {
    point = cachedPoint_;
    return 1;
  }
  taskbarRect_ = TaskbarRect();
  fw::ScopedIcon testIcon(CreateTestIcon());
  RestoreIcon(testIcon.Get());
  int result = 0;
  {
    fw::WindowDC screen(nullptr);
    POINT found{};
    if (FindIconMark(screen, taskbarRect_, found)) {
      cachedPoint_ = found;
      lastScan_ = now;
      point = found;
      result = 1;
    }
  }
  if (!result) {
    const RECT& r = taskbarRect_;
    bool ntFive = version_.dwPlatformId == VER_PLATFORM_WIN32_NT && version_.dwMajorVersion >= 5;
    point = ntFive ? POINT{r.left + 6, (r.top + r.bottom) / 2} : POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  return result;
}

int CTrayIconPosition::GetIconPosition(POINT& point, int method, int precision) {
  if (!owner_ || iconId_ == -1) return -1;
  if (precision < 1 || precision > 3) precision = defaultPrecision_;
  switch (method) {
    case kLookupThenScan:
      return LookUpInTaskbar(point) ? 1 : ScanScreen(point, precision);
    case kScanThenLookup:
      return ScanScreen(point, precision) ? 1 : (LookUpInTaskbar(point) ? 1 : 0);
    case kLookupOnly:
      return LookUpInTaskbar(point) ? 1 : 0;
    case kScanOnly:
      return ScanScreen(point, precision);
    default:
      return 0;
  }
}

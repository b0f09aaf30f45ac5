#include "SystemTray.h"

#include <algorithm>
#include <new>

#include "Handles.h"

namespace {

// The Windows 2000/XP layout of the icon data, of this architecture's size
// (936 bytes on 32-bit).
constexpr DWORD kIconDataSize = NOTIFYICONDATAW_V2_SIZE;

HINSTANCE ProgramModule() { return ::GetModuleHandleW(nullptr); }

void CopyTip(NOTIFYICONDATAW& data, const wchar_t* text) {
  size_t capacity = sizeof(data.szTip) / sizeof(data.szTip[0]);
  std::fill(std::begin(data.szTip), std::end(data.szTip), L'\0');
  if (text) wcsncpy(data.szTip, text, capacity - 1);
}

struct MainWindowSearch {
  HWND except;
  HWND found;
};

BOOL CALLBACK TakeMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<MainWindowSearch*>(param);
  if (window == search->except || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindThreadMainWindow(HWND except) {
  MainWindowSearch search{except, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), TakeMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

CSystemTray::CSystemTray() = default;

CSystemTray::CSystemTray(fw::Wnd* notificationWnd, UINT callbackMessage, const wchar_t* tip, HICON icon, UINT id) {
  Create(notificationWnd, callbackMessage, tip, icon, id);
}

CSystemTray::~CSystemTray() {
  position_.reset();
  RemoveIcon();
  iconList_.clear();
  Destroy();
}

BOOL CSystemTray::Create(fw::Wnd* notificationWnd, UINT callbackMessage, const wchar_t* tip, HICON icon, UINT id) {
  if (LOBYTE(LOWORD(::GetVersion())) < 4) {
    enabled_ = FALSE;
    return FALSE;
  }
  if (!Hwnd()) {
    fw::CreateArgs args;
    args.style = WS_POPUP;
    args.x = 0, args.y = 0, args.width = 10, args.height = 10;
    if (!fw::Wnd::Create(args)) return FALSE;
  }
  iconData_ = NOTIFYICONDATAW{};
  iconData_.cbSize = kIconDataSize;
  iconData_.hWnd = notificationWnd ? notificationWnd->Hwnd() : Hwnd();
  iconData_.uID = id;
  iconData_.hIcon = icon;
  iconData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  iconData_.uCallbackMessage = callbackMessage;
  CopyTip(iconData_, tip);
  savedIcon_ = icon;
  enabled_ = ::Shell_NotifyIconW(NIM_ADD, &iconData_);
  hidden_ = FALSE;
  if (!position_) position_ = std::make_unique<CTrayIconPosition>();
  // The shell names the icon by the window it reports to, so that is the
  // window the finder looks for.
  position_->InitializeTracking(iconData_.hWnd, id);
  return enabled_;
}

void CSystemTray::RemoveIcon() {
  if (!enabled_) return;
  iconData_.uFlags = 0;
  ::Shell_NotifyIconW(NIM_DELETE, &iconData_);
  enabled_ = FALSE;
}

void CSystemTray::HideIcon() {
  if (!enabled_ || hidden_) return;
  iconData_.uFlags = NIF_ICON;
  ::Shell_NotifyIconW(NIM_DELETE, &iconData_);
  hidden_ = TRUE;
}

BOOL CSystemTray::ShowIcon() {
  if (!enabled_ || !hidden_) return FALSE;
  iconData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  BOOL added = ::Shell_NotifyIconW(NIM_ADD, &iconData_);
  hidden_ = FALSE;
  return added;
}

BOOL CSystemTray::RefreshIcon() {
  HideIcon();
  return ShowIcon();
}

BOOL CSystemTray::ShowInTray(HICON icon) {
  if (!enabled_) return FALSE;
  iconData_.uFlags = NIF_ICON;
  iconData_.hIcon = icon;
  return ::Shell_NotifyIconW(NIM_MODIFY, &iconData_);
}

BOOL CSystemTray::SetIcon(HICON icon) {
  if (!enabled_) return FALSE;
  // What the caller chooses is what an animation or a position search
  // returns to afterwards.
  savedIcon_ = icon;
  return ShowInTray(icon);
}

BOOL CSystemTray::SetIcon(const wchar_t* resourceName) { return SetIcon(::LoadIconW(ProgramModule(), resourceName)); }
BOOL CSystemTray::SetIcon(UINT resourceId) { return SetIcon(MAKEINTRESOURCEW(resourceId)); }
BOOL CSystemTray::SetStandardIcon(const wchar_t* iconName) { return SetIcon(::LoadIconW(nullptr, iconName)); }
BOOL CSystemTray::SetStandardIcon(UINT iconId) { return SetStandardIcon(MAKEINTRESOURCEW(iconId)); }

HICON CSystemTray::GetIcon() const { return enabled_ ? iconData_.hIcon : nullptr; }

BOOL CSystemTray::SetIconList(UINT firstId, UINT lastId) {
  iconList_.clear();
  if (lastId < firstId) return FALSE;
  try {
    for (UINT id = firstId; id <= lastId; ++id) {
      HICON icon = ::LoadIconW(ProgramModule(), MAKEINTRESOURCEW(id));
      if (!icon) {
        iconList_.clear();
        return FALSE;
      }
      iconList_.push_back(icon);
    }
  } catch (const std::bad_alloc&) {
    iconList_.clear();
    return FALSE;
  }
  return TRUE;
}

BOOL CSystemTray::SetIconList(const HICON* icons, int count) {
  iconList_.clear();
  if (!icons || count <= 0) return FALSE;
  try {
    iconList_.assign(icons, icons + count);
  } catch (const std::bad_alloc&) {
    iconList_.clear();
    return FALSE;
  }
  return TRUE;
}

BOOL CSystemTray::Animate(UINT intervalMs, int durationSeconds) {
  StopAnimation();
  animationIndex_ = 0;
  animationStart_ = std::time(nullptr);
  animationDuration_ = durationSeconds;
  animationTimer_ = ::SetTimer(Hwnd(), kAnimationTimer, intervalMs, nullptr);
  return animationTimer_ != 0;
}

BOOL CSystemTray::StepAnimation() {
  if (iconList_.empty()) return FALSE;
  if (animationIndex_ >= iconList_.size()) animationIndex_ = 0;
  BOOL shown = ShowInTray(iconList_[animationIndex_]);
  animationIndex_ = (animationIndex_ + 1) % iconList_.size();
  return shown;
}

BOOL CSystemTray::StopAnimation() {
  BOOL wasRunning = animationTimer_ != 0;
  if (animationTimer_) ::KillTimer(Hwnd(), animationTimer_);
  animationTimer_ = 0;
  if (wasRunning) ShowInTray(savedIcon_);
  return wasRunning;
}

void CSystemTray::OnAnimationTimer() {
  if (animationDuration_ > 0 && std::time(nullptr) - animationStart_ > animationDuration_) {
    StopAnimation();
  } else {
    StepAnimation();
  }
}

BOOL CSystemTray::SetTooltipText(const wchar_t* text) {
  if (!enabled_) return FALSE;
  CopyTip(iconData_, text);
  iconData_.uFlags = NIF_TIP;
  return ::Shell_NotifyIconW(NIM_MODIFY, &iconData_);
}

BOOL CSystemTray::SetTooltipText(UINT stringId) {
  wchar_t text[128] = {};
  ::LoadStringW(ProgramModule(), stringId, text, 128);
  return SetTooltipText(text);
}

std::wstring CSystemTray::GetTooltipText() const { return enabled_ ? std::wstring(iconData_.szTip) : std::wstring(); }

BOOL CSystemTray::SetNotificationWnd(fw::Wnd* window) {
  if (!enabled_ || !window || !::IsWindow(window->Hwnd())) return FALSE;
  iconData_.hWnd = window->Hwnd();
  iconData_.uFlags = 0;
  BOOL changed = ::Shell_NotifyIconW(NIM_MODIFY, &iconData_);
  if (position_) position_->InitializeTracking(iconData_.hWnd, iconData_.uID);
  return changed;
}

fw::Wnd* CSystemTray::GetNotificationWnd() const { return fw::Wnd::FromHandle(iconData_.hWnd); }

BOOL CSystemTray::SetMenuDefaultItem(UINT item, bool byPosition) {
  if (defaultItem_ == item && defaultByPosition_ == byPosition) return TRUE;
  defaultItem_ = item;
  defaultByPosition_ = byPosition;
  fw::ScopedMenu menu(::LoadMenuW(ProgramModule(), MAKEINTRESOURCEW(iconData_.uID)));
  HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
  if (!popup) return FALSE;
  ::SetMenuDefaultItem(popup, defaultItem_, defaultByPosition_);
  return TRUE;
}

void CSystemTray::GetMenuDefaultItem(UINT& item, bool& byPosition) const {
  item = defaultItem_;
  byPosition = defaultByPosition_;
}

POINT CSystemTray::GetIconPosition() {
  POINT point{};
  if (!position_) return point;
  position_->GetIconPosition(point, CTrayIconPosition::kLookupThenScan, 0);
  // The scan shows its test icon in place of ours: put back what was shown.
  position_->RestoreIcon(iconData_.hIcon);
  return point;
}

UINT CSystemTray::DefaultCommand(HMENU menu) const {
  if (!defaultByPosition_) return defaultItem_;
  HMENU popup = menu ? ::GetSubMenu(menu, 0) : nullptr;
  if (!popup) return 0;
  UINT id = ::GetMenuItemID(popup, static_cast<int>(defaultItem_));
  return id == static_cast<UINT>(-1) ? 0 : id;
}

void CSystemTray::ShowMenu(HWND receiver) {
  fw::ScopedMenu menu(::LoadMenuW(ProgramModule(), MAKEINTRESOURCEW(iconData_.uID)));
  HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
  if (!popup) return;
  ::SetMenuDefaultItem(popup, defaultItem_, defaultByPosition_);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::SetForegroundWindow(receiver);
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, receiver, nullptr);
  // Lets the menu close when the user clicks elsewhere.
  ::PostMessageW(receiver, WM_NULL, 0, 0);
}

LRESULT CSystemTray::OnTrayNotification(WPARAM id, LPARAM mouseMessage) {
  if (id != iconData_.uID) return 0;
  if (targetWnd_ && ::IsWindow(targetWnd_)) {
    ::PostMessageW(targetWnd_, iconData_.uCallbackMessage, id, mouseMessage);
    if (mouseMessage == WM_RBUTTONUP || mouseMessage == WM_LBUTTONUP) ::SetForegroundWindow(Hwnd());
    ::PostMessageW(Hwnd(), WM_NULL, 0, 0);
    return 1;
  }
  HWND receiver = FindThreadMainWindow(Hwnd());
  if (!receiver) return 1;
  if (mouseMessage == WM_RBUTTONUP) {
    ShowMenu(receiver);
  } else if (mouseMessage == WM_LBUTTONDBLCLK) {
    ::SetForegroundWindow(receiver);
    fw::ScopedMenu menu(::LoadMenuW(ProgramModule(), MAKEINTRESOURCEW(iconData_.uID)));
    ::SendMessageW(receiver, WM_COMMAND, DefaultCommand(menu.Get()), 0);
  }
  return 1;
}

bool CSystemTray::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_TIMER && wParam == kAnimationTimer) {
    OnAnimationTimer();
    result = 0;
    return true;
  }
  if (iconData_.uCallbackMessage != 0 && message == iconData_.uCallbackMessage) {
    result = OnTrayNotification(wParam, lParam);
    return true;
  }
  return false;
}

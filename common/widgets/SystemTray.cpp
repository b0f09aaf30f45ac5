#include "SystemTray.h"

#include <shellapi.h>

#include <new>

#include "Handles.h"

namespace {

// The Windows 2000/XP layout of the icon data, of this architecture's size
// (936 bytes on 32-bit).
constexpr DWORD kIconDataSize = NOTIFYICONDATAW_V2_SIZE;

HINSTANCE ProgramModule() { return ::GetModuleHandleW(nullptr); }

// The shell's tip holds 127 characters and a terminator.
constexpr size_t kTipLength = 127;

std::wstring CutTip(const wchar_t* text) { return std::wstring(text ? text : L"").substr(0, kTipLength); }

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
  notifyWnd_ = notificationWnd ? notificationWnd->Hwnd() : Hwnd();
  iconId_ = id;
  icon_ = icon;
  callbackMessage_ = callbackMessage;
  tip_ = CutTip(tip);
  savedIcon_ = icon;
  enabled_ = Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  hidden_ = FALSE;
  if (!position_) position_ = std::make_unique<CTrayIconPosition>();
  // The shell names the icon by the window it reports to, so that is the
  // window the finder looks for.
  position_->InitializeTracking(notifyWnd_, id);
  return enabled_;
}

BOOL CSystemTray::Notify(DWORD action, UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = kIconDataSize;
  data.hWnd = notifyWnd_;
  data.uID = iconId_;
  data.uFlags = flags;
  data.uCallbackMessage = callbackMessage_;
  data.hIcon = icon_;
  wcsncpy(data.szTip, tip_.c_str(), kTipLength);
  return NotifyShell(action, data);
}

BOOL CSystemTray::NotifyShell(DWORD action, NOTIFYICONDATAW& data) const { return ::Shell_NotifyIconW(action, &data); }

void CSystemTray::RemoveIcon() {
  if (!enabled_) return;
  Notify(NIM_DELETE, 0);
  enabled_ = FALSE;
}

void CSystemTray::HideIcon() {
  if (!enabled_ || hidden_) return;
  Notify(NIM_DELETE, NIF_ICON);
  hidden_ = TRUE;
}

BOOL CSystemTray::ShowIcon() {
  if (!enabled_ || !hidden_) return FALSE;
  BOOL added = Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  hidden_ = FALSE;
  return added;
}

BOOL CSystemTray::RefreshIcon() {
  HideIcon();
  return ShowIcon();
}

BOOL CSystemTray::ShowInTray(HICON icon) {
  if (!enabled_) return FALSE;
  icon_ = icon;
  return Notify(NIM_MODIFY, NIF_ICON);
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

HICON CSystemTray::GetIcon() const { return enabled_ ? icon_ : nullptr; }

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
  tip_ = CutTip(text);
  return Notify(NIM_MODIFY, NIF_TIP);
}

BOOL CSystemTray::SetTooltipText(UINT stringId) {
  wchar_t text[128] = {};
  ::LoadStringW(ProgramModule(), stringId, text, 128);
  return SetTooltipText(text);
}

std::wstring CSystemTray::GetTooltipText() const { return enabled_ ? tip_ : std::wstring(); }

// The shell knows an icon by the window and id it was added with, so a
// change of window takes the icon away and adds it again under the new one.
BOOL CSystemTray::SetNotificationWnd(fw::Wnd* window) {
  if (!enabled_ || !window || !::IsWindow(window->Hwnd())) return FALSE;
  HWND old = notifyWnd_;
  if (window->Hwnd() == old) return TRUE;
  // A hidden icon is not in the tray: ShowIcon adds it under the new window.
  if (!hidden_) {
    if (!Notify(NIM_DELETE, 0)) return FALSE;
    notifyWnd_ = window->Hwnd();
    if (!Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP)) {
      notifyWnd_ = old;
      Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
      return FALSE;
    }
  }
  notifyWnd_ = window->Hwnd();
  if (position_) position_->InitializeTracking(notifyWnd_, iconId_);
  return TRUE;
}

fw::Wnd* CSystemTray::GetNotificationWnd() const { return fw::Wnd::FromHandle(notifyWnd_); }

BOOL CSystemTray::SetMenuDefaultItem(UINT item, bool byPosition) {
  if (defaultItem_ == item && defaultByPosition_ == byPosition) return TRUE;
  defaultItem_ = item;
  defaultByPosition_ = byPosition;
  fw::ScopedMenu menu(::LoadMenuW(ProgramModule(), MAKEINTRESOURCEW(iconId_)));
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
  position_->RestoreIcon(icon_);
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
  fw::ScopedMenu menu(::LoadMenuW(ProgramModule(), MAKEINTRESOURCEW(iconId_)));
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
  if (id != iconId_) return 0;
  if (targetWnd_ && ::IsWindow(targetWnd_)) {
    ::PostMessageW(targetWnd_, callbackMessage_, id, mouseMessage);
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
    fw::ScopedMenu menu(::LoadMenuW(ProgramModule(), MAKEINTRESOURCEW(iconId_)));
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
  if (callbackMessage_ != 0 && message == callbackMessage_) {
    result = OnTrayNotification(wParam, lParam);
    return true;
  }
  return false;
}

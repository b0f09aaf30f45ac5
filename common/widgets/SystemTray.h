#pragma once
#include <windows.h>

#include <shellapi.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "TrayIconPosition.h"
#include "Wnd.h"

// One icon in the taskbar's notification area, with a tooltip, an optional
// animation through a list of icons, a popup menu (the program's menu
// resource named by the icon id) and a default command on double-click.
// Its callbacks and timer arrive through a hidden window of its own.
class CSystemTray : public fw::Wnd {
 public:
  static constexpr UINT_PTR kAnimationTimer = 4567;

  CSystemTray();
  CSystemTray(fw::Wnd* notificationWnd, UINT callbackMessage, const wchar_t* tip, HICON icon, UINT id);
  ~CSystemTray() override;

  // The icon is added; false when the shell refused it.
  BOOL Create(fw::Wnd* notificationWnd, UINT callbackMessage, const wchar_t* tip, HICON icon, UINT id);
  BOOL IsEnabled() const { return enabled_; }
  BOOL IsHidden() const { return hidden_; }

  void RemoveIcon();
  void HideIcon();
  BOOL ShowIcon();
  BOOL RefreshIcon();

  // The icon shown, and the one shown again after an animation.
  BOOL SetIcon(HICON icon);
  BOOL SetIcon(const wchar_t* resourceName);
  BOOL SetIcon(UINT resourceId);
  BOOL SetStandardIcon(const wchar_t* iconName);
  BOOL SetStandardIcon(UINT iconId);
  HICON GetIcon() const;

  BOOL SetIconList(UINT firstId, UINT lastId);
  BOOL SetIconList(const HICON* icons, int count);
  BOOL Animate(UINT intervalMs, int durationSeconds = -1);
  BOOL StepAnimation();
  BOOL StopAnimation();
  bool IsAnimating() const { return animationTimer_ != 0; }

  BOOL SetTooltipText(const wchar_t* text);
  BOOL SetTooltipText(UINT stringId);
  std::wstring GetTooltipText() const;

  // Moves the icon to report to `window`; FALSE, and the icon as it was,
  // when the shell refuses.
  BOOL SetNotificationWnd(fw::Wnd* window);
  fw::Wnd* GetNotificationWnd() const;
  void SetTargetWnd(HWND target) { targetWnd_ = target; }
  HWND GetTargetWnd() const { return targetWnd_; }

  BOOL SetMenuDefaultItem(UINT item, bool byPosition);
  void GetMenuDefaultItem(UINT& item, bool& byPosition) const;

  POINT GetIconPosition();

  virtual LRESULT OnTrayNotification(WPARAM id, LPARAM mouseMessage);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Hands the icon's record to the shell (Shell_NotifyIconW).
  virtual BOOL NotifyShell(DWORD action, NOTIFYICONDATAW& data) const;

 private:
  // The shell's record of the icon, with `flags` saying what it carries.
  BOOL Notify(DWORD action, UINT flags) const;
  BOOL ShowInTray(HICON icon);
  void OnAnimationTimer();
  UINT DefaultCommand(HMENU menu) const;
  void ShowMenu(HWND receiver);

  BOOL enabled_ = FALSE;
  BOOL hidden_ = FALSE;
  // The icon as the shell knows it; kept field by field so that this class
  // has one layout whatever Windows version a user of it compiles for.
  HWND notifyWnd_ = nullptr;
  UINT iconId_ = 0;
  UINT callbackMessage_ = 0;
  HICON icon_ = nullptr;
  std::wstring tip_;
  std::vector<HICON> iconList_;
  UINT_PTR animationTimer_ = 0;
  size_t animationIndex_ = 0;
  std::time_t animationStart_ = 0;
  int animationDuration_ = 0;
  HICON savedIcon_ = nullptr;
  UINT defaultItem_ = 0;
  bool defaultByPosition_ = true;
  HWND targetWnd_ = nullptr;
  std::unique_ptr<CTrayIconPosition> position_;
};

// The thread's main window: its first visible top-level window without an
// owner, other than `except`.
HWND FindThreadMainWindow(HWND except);

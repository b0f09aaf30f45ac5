#pragma once
#include <windows.h>

#include "ButtonST.h"
#include "SkinDlg.h"

// A skinned top-level window with a title bar of its own: caption buttons
// from skin items, a caption area for moving, 5-pixel borders for sizing,
// maximise and restore with button swapping, and optionally one hosted child
// that fills the item "childwnd" and is asked before every system command.
class CFrameDlg : public CSkinDlg {
 public:
  enum : UINT {
    kMinButtonId = 40000,
    kMaxButtonId = 40001,
    kCloseButtonId = 40002,
    kRestoreButtonId = 40003,
    kUpButtonId = 40004,
  };
  static const int kBorder = 5;

  CFrameDlg(UINT templateId, HWND parent, HINSTANCE module = fw::ThisModule());

  // Call before the dialog is created.
  void SetCaptionButtons(bool hasMin, bool hasUp, bool hasMax, bool hasClose);
  void SetChildWnd(HWND child, int preferredWidth, int preferredHeight);
  HWND GetChildWnd() const { return child_; }

  void OnMinButton();
  void OnMaxButton();
  void OnCloseButton();
  void OnRestoreButton();
  void OnUpButton();
  // Asks the hosted child about a system command; non-zero vetoes it.
  LRESULT NotifyChild(UINT command);
  void UpdateSysMenuSize(HMENU menu = nullptr);

  // The caption in screen coordinates, as the window stands now.
  RECT CaptionRect() const;
  CButtonST& CaptionButton(UINT id);

  // Hooks, after the skinned dialog's.
  virtual void OnFrameInit();
  virtual UINT HitTest(POINT screen);
  virtual bool CanMinimize();
  virtual bool CanMaximize();

 protected:
  void OnSkinLayout() override;
  void OnSkinPrePaint() override;
  void BindSkinItems() override;
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void CreateCaptionButtons();
  void CreateCaptionButton(CButtonST& button, UINT id, const wchar_t* item, bool visible);
  void ShowMaximizedButtons(bool maximized);
  void SendSysCommand(UINT command, LPARAM position);
  bool OnSysCommand(WPARAM command, LPARAM lParam);
  bool OnSetCursor();
  void OnFrameLButtonDown(LPARAM lParam);
  bool HasMaximizeBox() const { return (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_MAXIMIZEBOX) != 0; }

  CButtonST restoreButton_, maxButton_, minButton_, closeButton_, upButton_;
  bool hasMin_ = true, hasMax_ = true, hasClose_ = true, hasUp_ = true;
  HWND child_ = nullptr;
  RECT caption_{};
  int preferredWidth_ = 0, preferredHeight_ = 0;
};

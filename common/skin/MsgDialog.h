#pragma once
#include <windows.h>

#include <string>

#include "ButtonST.h"
#include "FrameDlg.h"
#include "Handles.h"

// A skinned replacement for the system message box: a frame with a close
// button, one text painted by the skin item "text", and OK alone or OK and
// Cancel centred under it.
class CMsgDialog : public CFrameDlg {
 public:
  enum Type { kOkOnly = 0, kOkCancel = 1 };
  // What GetResult tells: OK, Cancel (button or Esc), or closed through the
  // caption's close button, Alt+F4 or WM_CLOSE.
  enum Result { kClosed = -1, kNone = 0, kOk = 1, kCancelled = 2, kClosing = 3 };
  // Pixels between OK and Cancel.
  static constexpr int kButtonGap = 50;

  // `module` holds the template (SkinDialogs.rc) and the program icon.
  CMsgDialog(const std::wstring& text, HWND parent, int type, HINSTANCE module = fw::ThisModule());

  int GetResult() const { return result_; }
  const std::wstring& GetText() const { return text_; }
  int GetType() const { return type_; }
  CButtonST& OkButton() { return ok_; }
  CButtonST& CancelButton() { return cancel_; }
  HICON LargeIcon() const { return largeIcon_.Get(); }
  HICON SmallIcon() const { return smallIcon_.Get(); }

  bool PreTranslateMessage(MSG& message) override;

 protected:
  BOOL OnInitDialog() override;
  void BindSkinItems() override;
  void OnSkinPrePaint() override;
  void OnSkinLayout() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void LoadIcons(HINSTANCE module);
  void PlaceButtons();

  int result_ = kNone;
  std::wstring text_;
  HWND textControl_ = nullptr;
  CButtonST ok_;
  CButtonST cancel_;
  int type_;
  fw::ScopedIcon largeIcon_;
  fw::ScopedIcon smallIcon_;
};

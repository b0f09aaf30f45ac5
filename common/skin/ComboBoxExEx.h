#pragma once
#include <windows.h>

#include <string>

#include "Handles.h"
#include "Wnd.h"

// The browser's address box: a combo box with a flat frame, a bitmap
// drop-down button and coloured edit field, which opens its list as soon as
// the child types and completes the typed text inline from the list. The
// combo must be made with CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS.
class CComboBoxExEx : public fw::Wnd {
 public:
  CComboBoxExEx();

  bool SubclassCombo(HWND combo);
  // The pictures stay the caller's; the box keeps copies.
  void SetBitmaps(HBITMAP normal, HBITMAP hover, HBITMAP pressed);
  void SetColors(COLORREF frame, COLORREF background, int frameWidth);
  void SetTextFont(int height, const wchar_t* face);
  void SetItemIcon(HICON icon) { itemIcon_ = icon; }

  bool IsPressed() const { return pressed_; }
  bool AutoCompleteOn() const { return autoComplete_; }
  const std::wstring& TypedText() const { return typedText_; }
  int CompletedIndex() const { return completedIndex_; }
  const RECT& ButtonRect() const { return buttonRect_; }

  // Every key turns completion on, except Delete and Backspace, which turn it
  // off so that deleting never completes again at once.
  bool PreTranslateMessage(MSG& message) override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint();
  void Complete();
  void DrawItem(const DRAWITEMSTRUCT& item);

  bool hover_ = false;
  bool pressed_ = false;
  fw::ScopedBitmap normal_, hoverBitmap_, pressedBitmap_;
  RECT buttonRect_{};
  HICON itemIcon_ = nullptr;
  bool autoComplete_ = true;
  bool completing_ = false;  // our own text change must not complete again
  std::wstring typedText_;
  int completedIndex_ = -1;
  int frameWidth_ = 1;
  COLORREF frameColour_ = 0xD5A554;
  COLORREF backgroundColour_ = 0xD5A554;
  COLORREF disabledColour_ = 0xF0F0F0;
  fw::ScopedBrush editBrush_;
  fw::ScopedBrush disabledBrush_;
  fw::ScopedFont font_;
};

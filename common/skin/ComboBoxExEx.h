#pragma once
#include <windows.h>

#include <string>

#include "Handles.h"
#include "Wnd.h"

// The browser's address box: a combo box with a flat frame, a bitmap
// drop-down button and coloured edit field, which opens its list as soon as
// the child types and completes the typed text inline from the list. It is
// owner-drawn with strings (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS) whether it
// is created or bound, and its items are as high as its font.
class CComboBoxExEx : public fw::Wnd {
 public:
  static constexpr DWORD kOwnStyles = CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;

  CComboBoxExEx();

  bool SubclassCombo(HWND combo) { return Subclass(combo); }
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
  void PreCreateWindow(fw::CreateArgs& args) override { args.style |= kOwnStyles; }
  // A combo reads its owner-draw style only when it is made: one bound
  // without it is made again in its place, with its own styles.
  void PreSubclassWindow() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint();
  void Complete();
  void DrawItem(const DRAWITEMSTRUCT& item);
  // The absolute height of the box's font, 0 without one.
  int FontHeight() const;
  void FitItemsToFont();

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

#pragma once
#include <windows.h>

#include "Handles.h"
#include "Wnd.h"

// Edit control with its own text and background colours, a font given by
// height and a drawn two-pixel frame. It colours itself through the reflected
// control-colour message, so the parent needs no code for it.
class CEditEx : public fw::Wnd {
 public:
  CEditEx();

  // Height in tenths of a point; rebuilds the font.
  void SetFontHeight(int tenthsOfPoint);
  void SetTextColor(COLORREF color) { textColor_ = color; }
  void SetBkColor(COLORREF color);
  void DrawBorder();

  bool PreTranslateMessage(MSG& message) override;

  static constexpr COLORREF kFrameColor = 0x3AD99C;
  static constexpr COLORREF kDisabledBkColor = 0xF0F0F0;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  int fontHeight_ = 132;
  bool hover_ = false;
  fw::ScopedFont font_;
  COLORREF textColor_;
  COLORREF bkColor_;
  COLORREF disabledTextColor_;
  COLORREF disabledBkColor_ = kDisabledBkColor;
  fw::ScopedBrush bkBrush_;
  fw::ScopedBrush disabledBrush_;
};

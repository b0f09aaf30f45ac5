#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "Handles.h"
#include "Wnd.h"

// The header of the skinned list: a background colour or a stretched
// picture, a left and a right slice on every item, its own font, text colour,
// sort bitmap placement and height. With neither picture nor colour it paints
// and lays out as the system header does.
class CHeaderCtrlEx : public fw::Wnd {
 public:
  CHeaderCtrlEx() = default;

  // Takes over what is given. The slices are used only as a pair; the answer
  // is 0 when both are given and differ in height, else 1.
  int SetBitmaps(fw::ScopedBitmap background, fw::ScopedBitmap itemLeft, fw::ScopedBitmap itemRight);
  // -1: as high as the background picture, or as the system lays it out.
  void SetHeight(int height);
  int Height() const { return height_; }
  // Of the sort bitmaps; CLR_INVALID copies them as they are.
  void SetTransparentColor(COLORREF colour) { transparentColour_ = colour; }
  // CLR_INVALID for either leaves it unset.
  void SetColors(COLORREF background, COLORREF text);
  void SetHeaderFont(fw::ScopedFont font);
  HFONT HeaderFont() const { return font_.Get(); }

  // -1 fills what the other items leave of the list's width.
  bool SetItemWidth(int item, int width);
  // Texts longer than 255 characters are cut.
  bool SetItemText(int item, const std::wstring& text);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool IsSkinned() const;
  bool ParentIsList() const;
  int ItemCount() const;
  int ItemWidth(int item) const;
  void Paint(HDC target);
  void PaintItem(HDC dc, int index, int margin);
  struct SortBitmapPlace {
    HBITMAP bitmap;
    bool onRight;
    int textWidth;
    int margin;
  };
  void PaintSortBitmap(HDC dc, const SortBitmapPlace& place, const RECT& item, RECT& text, UINT& align) const;
  bool Layout(HDLAYOUT& layout);

  COLORREF backgroundColour_ = CLR_INVALID;
  COLORREF textColour_ = CLR_INVALID;
  fw::ScopedFont font_;
  fw::ScopedBitmap itemLeft_;
  fw::ScopedBitmap background_;
  fw::ScopedBitmap itemRight_;
  int itemLeftWidth_ = 0;
  int itemRightWidth_ = 0;
  int backgroundWidth_ = 0;
  int backgroundHeight_ = 0;
  COLORREF transparentColour_ = CLR_INVALID;
  int height_ = -1;
};

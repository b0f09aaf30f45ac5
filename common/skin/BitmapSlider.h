#pragma once
#include <windows.h>

#include <string>

#include "Handles.h"
#include "Wnd.h"

const UINT WM_SLIDER_MOVING = 10449;
const UINT WM_SLIDER_MOVED = 10450;

// A slider drawn from a channel and a thumb picture (each optionally with an
// "active" picture and a transparent colour). It posts WM_SLIDER_MOVING while
// the thumb is dragged and WM_SLIDER_MOVED when a drag ends or a key moved
// it, with the control id and the position. Bitmaps passed in stay the
// caller's: the slider keeps copies of its own.
class CBitmapSlider : public fw::Wnd {
 public:
  // The transparent colour that means "the colour of the pixel at (x, y)".
  static const COLORREF kColourAtPoint = 0xFF000000;

  void SetRange(int minimum, int maximum, bool repaint = false);
  void SetRangeMin(int minimum, bool repaint = false);
  void SetRangeMax(int maximum, bool repaint = false);
  int GetRangeMin() const { return minimum_; }
  int GetRangeMax() const { return maximum_; }
  void SetPos(int position);
  int GetPos() const { return position_; }
  int SetPageSize(int page);
  void SetMargin(int left, int top, int right, int bottom);
  void SetVertical(bool vertical) { vertical_ = vertical; }
  void Enable(bool enable = true);
  void DrawFocusRect(bool draw = true, bool repaint = false);

  bool SetBitmapChannel(HBITMAP channel, HBITMAP activeChannel = nullptr, bool transparent = false,
                        COLORREF transparentColour = kColourAtPoint, int x = 0, int y = 0);
  bool SetBitmapChannelFiles(const std::wstring& channel, const std::wstring& activeChannel,
                             bool transparent = false, COLORREF transparentColour = kColourAtPoint, int x = 0,
                             int y = 0);
  bool SetBitmapThumb(HBITMAP thumb, HBITMAP activeThumb = nullptr, bool transparent = false,
                      COLORREF transparentColour = kColourAtPoint, int x = 0, int y = 0);
  bool SetBitmapThumbFiles(const std::wstring& thumb, const std::wstring& activeThumb, bool transparent = false,
                           COLORREF transparentColour = kColourAtPoint, int x = 0, int y = 0);
  void SetChannelSize(int width, int height);

  // Thumb centre for a position and position for a pixel. An empty range or
  // a channel no longer than the thumb never divides by zero, and positions
  // stay inside the range.
  int Pos2Pixel(int position) const;
  int Pixel2Pos(int pixel) const;

 protected:
  // A static without SS_NOTIFY answers WM_NCHITTEST with HTTRANSPARENT and
  // would never see the mouse.
  void PreSubclassWindow() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  struct Picture {
    fw::ScopedBitmap image;
    fw::ScopedBitmap mask;
  };
  static bool TakePicture(HBITMAP source, bool transparent, COLORREF key, int x, int y, Picture* picture);
  static void DrawPicture(HDC dc, const Picture& picture, bool transparent, int x, int y, int width, int height,
                          int sourceX, int sourceY);
  void Paint();
  void OnButtonDown(POINT at);
  void OnMouseMove(POINT at);
  void OnButtonUp();
  void OnKeyDown(WPARAM key);
  void Notify(UINT message);
  int Span() const;
  void Repaint();

  int maximum_ = 100, minimum_ = 0, position_ = 0, page_ = 20;
  RECT client_{};
  int channelWidth_ = 0, channelHeight_ = 0, thumbWidth_ = 0, thumbHeight_ = 0;
  int marginLeft_ = 0, marginRight_ = 0, marginTop_ = 0, marginBottom_ = 0;
  int clickOffset_ = 0;
  bool vertical_ = false, hasActiveChannel_ = false, hasActiveThumb_ = false;
  bool transparentChannel_ = false, transparentThumb_ = false, thumbSet_ = false, channelSet_ = false;
  bool buttonDown_ = false, hasFocus_ = false, drawFocusRect_ = true, enabled_ = true;
  // The focus rectangle is drawn by XOR: over a see-through background the
  // next paint starts from the screen, which still shows it.
  bool focusRectDrawn_ = false;
  Picture channel_, activeChannel_, thumb_, activeThumb_;
  // What lay under the thumb when nothing of ours is painted below it, put
  // back at the next paint so the thumb leaves no trail.
  fw::ScopedBitmap thumbBackground_;
  POINT thumbBackgroundAt_{-1, -1};
};

#pragma once
#include <windows.h>

#include <string>

#include "Handles.h"
#include "Wnd.h"

// A skinned popup that slides out of the screen edge where the taskbar lies,
// shows a text for a while and slides back. A click hides it and tells the
// owner with kClosedMessage.
class CTaskbarNotifier : public fw::Wnd {
 public:
  static const UINT kClosedMessage = WM_USER + 123;  // 1147
  static const int kCloseButtonId = 3002;
  enum State { kHidden = 0, kAppearing = 1, kStaying = 2, kHiding = 3 };
  enum Edge { kTop = 1, kLeft = 2, kRight = 3, kBottom = 4 };

  CTaskbarNotifier();
  ~CTaskbarNotifier() override;

  bool Create(HWND parent);
  // The skin is the window's picture and size; a bitmap passed in stays the
  // caller's (the notifier keeps a copy). Unless a component is -1 the
  // window is cut to the pixels that are not of that colour. 0 when the
  // bitmap cannot be had (the skin is then unchanged), else 1.
  int SetSkin(HBITMAP bitmap, int red = -1, int green = -1, int blue = -1);
  int SetSkin(UINT bitmapResourceId, int red = -1, int green = -1, int blue = -1);
  int SetSkin(const std::wstring& bitmapFile, int red = -1, int green = -1, int blue = -1);
  // Size in tenths of a point; style bit 0 bold, bit 1 italic, bit 2 underline.
  void SetTextFont(const wchar_t* face, int pointSize, int normalStyle, int hoverStyle);
  void SetTextColor(COLORREF normal, COLORREF hover);
  void SetTextRect(const RECT& rect) { textRect_ = rect; }
  // Must be set before Create: the close button is made with the window.
  void SetCloseButtonRect(const RECT& rect) { closeButtonRect_ = rect; }

  // Shows `text`: slides in over `appear` ms, stays `stay` ms, slides out
  // over `hide` ms. A new text while visible replaces the old one and, once
  // in, stays a full `stay` again.
  void ShowText(const std::wstring& text, UINT appear, UINT stay, UINT hide);
  void Hide();

  int GetState() const { return state_; }
  const std::wstring& GetText() const { return text_; }
  Edge GetEdge() const { return edge_; }
  UINT AppearStepDelay() const { return appearDelay_; }
  UINT HideStepDelay() const { return hideDelay_; }
  static const int kStep = 2;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  int TakeSkin(fw::ScopedBitmap skin, int red, int green, int blue);
  void FindEdge();
  POINT ShownPosition() const;
  int SlideLength() const;
  void OnTimer(UINT_PTR id);
  void Place();
  void Paint();
  void Redraw();
  void StartSliding();

  HWND owner_ = nullptr;
  fw::ScopedFont normalFont_;
  fw::ScopedFont hoverFont_;
  COLORREF normalColour_ = 0xB59285;
  COLORREF hoverColour_ = 0x6A240A;
  HCURSOR handCursor_ = nullptr;
  HWND closeButton_ = nullptr;
  fw::ScopedBitmap skin_;
  RECT textRect_{};
  RECT closeButtonRect_{};
  int skinWidth_ = 0;
  int skinHeight_ = 0;
  std::wstring text_;
  bool mouseOver_ = false;
  int state_ = kHidden;
  UINT appear_ = 0, stay_ = 0, hide_ = 0;
  UINT appearDelay_ = 0, hideDelay_ = 0;
  POINT start_{};
  POINT current_{};
  RECT workArea_{};
  Edge edge_ = kBottom;
};

#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>

#include "Handles.h"
#include "Wnd.h"

class BCMenu;

// The owner-drawn push button of every window: it subclasses a dialog button,
// turns it into BS_OWNERDRAW and paints background, border, icon, bitmap,
// caption and focus rectangle off screen. It tracks hover, plays a hover and
// a click sound, shows a tooltip, opens a web address or drops down a menu on
// click, and can act as a check box or radio button. Setters report small
// codes (0 success) and never throw. Every image it holds is its own: bitmaps
// handed in stay the caller's and are copied.
class CButtonST : public fw::Wnd {
 public:
  enum {
    BTNST_COLOR_BK_IN = 0,
    BTNST_COLOR_FG_IN,
    BTNST_COLOR_BK_OUT,
    BTNST_COLOR_FG_OUT,
    BTNST_COLOR_BK_FOCUS,
    BTNST_COLOR_FG_FOCUS,
    BTNST_MAX_COLORS
  };
  enum {
    BTNST_OK = 0,
    BTNST_INVALIDRESOURCE = 1,
    BTNST_FAILEDMASK = 2,
    BTNST_INVALIDINDEX = 3,
    BTNST_INVALIDALIGN = 4,
    BTNST_BADPARAM = 5,
    BTNST_INVALIDPRESSEDSTYLE = 6
  };
  enum { ST_ALIGN_HORIZ = 0, ST_ALIGN_VERT, ST_ALIGN_HORIZ_RIGHT, ST_ALIGN_OVERLAP };
  enum { BTNST_PRESSED_LEFTRIGHT = 0, BTNST_PRESSED_TOPBOTTOM };
  // Caption font flags of SetCaptionFont.
  enum {
    BTNST_FONT_BOLD = 0x1,
    BTNST_FONT_ITALIC = 0x2,
    BTNST_FONT_UNDERLINE = 0x4,
    BTNST_FONT_STRIKEOUT = 0x8,
    BTNST_FONT_ANTIALIASED = 0x10,
    BTNST_FONT_CENTER = 0x20,
    BTNST_FONT_LEFT = 0x40,
    BTNST_FONT_RIGHT = 0x80
  };
  // SetIcon's "out" argument: a copy made from the in icon.
  static HICON const kGrayscaleIcon;
  static HICON const kDarkerIcon;
  static const UINT kGrayscaleIconId = static_cast<UINT>(-2);
  static const UINT kDarkerIconId = static_cast<UINT>(-3);

  // Seams for the two calls that reach outside the process; tests replace them.
  using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR sound, HMODULE module, DWORD flags);
  using ShellExecuteFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW* info);
  static PlaySoundFunction playSound;
  static ShellExecuteFunction shellExecute;

  CButtonST();
  ~CButtonST() override;

  // Takes over an existing "Button" window; binding it by Subclass or a
  // dialog's data exchange does the same (the switch to owner draw is its
  // pre-subclass step).
  bool SubclassButton(HWND button) { return Subclass(button); }
  bool SubclassDlgItemButton(int id, HWND dialog) { return Subclass(::GetDlgItem(dialog, id)); }

  // Images. SetIcon takes ownership of the icons it is given; bitmaps are copied.
  int SetIcon(HICON in, HICON out = nullptr);
  int SetIconResources(UINT in, int inWidth, int inHeight, UINT out = 0, int outWidth = 0, int outHeight = 0);
  int SetIconResources(UINT in, UINT out = 0) { return SetIconResources(in, 0, 0, out, 0, 0); }
  int SetIconFiles(const std::wstring& in, const std::wstring& out = L"");
  int SetBitmaps(HBITMAP in, COLORREF inKey, HBITMAP out = nullptr, COLORREF outKey = 0, HBITMAP pressed = nullptr,
                 COLORREF pressedKey = 0, HBITMAP disabled = nullptr, COLORREF disabledKey = 0);
  int SetBitmapResources(UINT in, COLORREF inKey, UINT out = 0, COLORREF outKey = 0);
  int SetBitmapFiles(const std::wstring& in, COLORREF inKey, const std::wstring& out = L"", COLORREF outKey = 0,
                     const std::wstring& pressed = L"", COLORREF pressedKey = 0, const std::wstring& disabled = L"",
                     COLORREF disabledKey = 0);
  void FreeResources(BOOL destroy = TRUE);
  int SetBuildMasks(BOOL on);
  int FitToImage();

  // Look.
  int SetFlatStyle(BOOL on, BOOL repaint = TRUE);
  int SetFlatBorder(BOOL on, BOOL repaint = TRUE);
  int SetFlatFocusRect(BOOL on, BOOL repaint = TRUE);
  int SetIconAtLeft(BOOL on, BOOL repaint = TRUE);
  int SetImageAlignment(BYTE alignment, BOOL repaint = TRUE);
  int SetPressedOffsetStyle(BYTE style, BOOL repaint = TRUE);
  int SetColor(BYTE index, COLORREF colour, BOOL repaint = TRUE);
  int GetColor(BYTE index, COLORREF* colour) const;
  int ShiftColor(BYTE index, short shade, BOOL repaint = TRUE);
  int ResetColorsToSystem(BOOL repaint = TRUE);
  int SetCaptionFont(const std::wstring& face, int height, DWORD flags);
  int SetTransparentBackground(BOOL repaint = TRUE);
  int CaptureBackground(HDC parentDC);
  int SetCursorResource(UINT cursorId, BOOL repaint = FALSE);
  int SetUseDisabledBitmap(BOOL on);

  // Behaviour.
  int SetCheckState(int state, BOOL repaint = TRUE);
  int GetCheckState() const { return checked_ ? 1 : 0; }
  BOOL IsDefaultButton() const { return isDefault_; }
  BOOL IsCheckBox() const { return isCheckBox_; }
  BOOL IsRadio() const { return isRadio_; }
  int SetTrackWhenInactive(BOOL on);
  int SetLinkUrl(const wchar_t* url);
  std::wstring GetLinkUrl() const { return url_; }
  int AttachMenu(UINT menuId, HWND owner, BOOL drawStyle, UINT toolbarId, int imageWidth, int imageHeight,
                 COLORREF toolbarBackground, BOOL repaint = TRUE);
  int SetMenuNotify(HWND window, UINT message, LPARAM lParam);
  BCMenu* Menu() const { return menu_.get(); }
  bool HasMenu() const;

  // Tooltip, built on the first mouse move that has text for it.
  void SetTooltipText(const std::wstring& text);
  void SetTooltipTextResource(UINT stringId);
  std::wstring GetTooltipText() const { return tooltipText_; }
  void EnableTooltip(BOOL on);
  void UseBalloonTooltip() { tooltipStyle_ |= TTS_BALLOON_STYLE; }
  HWND ToolTip() const { return tooltip_; }

  // Sounds: slot 0 on hover, slot 1 on click.
  int SetSound(const wchar_t* sound, HMODULE module = nullptr, BOOL clickSlot = FALSE, BOOL async = TRUE);
  int EnableSound(BOOL on) { soundsEnabled_ = on != FALSE; return BTNST_OK; }
  BOOL IsSoundEnabled() const { return soundsEnabled_; }
  std::wstring GetSoundFile(int slot) const;
  DWORD GetSoundFlags(int slot) const;
  HMODULE GetSoundModule(int slot) const;

  // Accessors.
  HBITMAP GetBitmap(int index) const;
  HBITMAP GetMask(int index) const;
  HICON GetIcon(int index) const;
  SIZE GetImageSize(int index, bool icon) const;
  BOOL IsHovered() const { return mouseOver_; }
  BOOL IsFlat() const { return flat_; }
  UINT GetCaptionAlignment() const { return textAlign_; }
  BYTE GetImageAlignment() const { return alignment_; }

  // Paints one item into `draw->hDC`; also reached through reflected WM_DRAWITEM.
  virtual void DrawItem(const DRAWITEMSTRUCT* draw);

 protected:
  static const DWORD TTS_BALLOON_STYLE = 0x40;
  struct IconSlot {
    fw::ScopedIcon icon;
    int width = 0;
    int height = 0;
  };
  struct BitmapSlot {
    fw::ScopedBitmap bitmap;
    fw::ScopedBitmap mask;
    int width = 0;
    int height = 0;
    COLORREF key = 0;
  };
  struct SoundSlot {
    std::wstring name;           // file or resource name
    ULONG_PTR resourceId = 0;    // an integer resource name instead
    HMODULE module = nullptr;
    DWORD flags = 0;
    bool IsSet() const { return resourceId != 0 || !name.empty(); }
    const wchar_t* Name() const { return resourceId ? MAKEINTRESOURCEW(resourceId) : name.c_str(); }
  };

  bool PreTranslateMessage(MSG& message) override;
  // Reads the button's kind from its style, then makes it owner-drawn.
  void PreSubclassWindow() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  virtual DWORD OnHoverLeave() { return 1; }
  virtual DWORD OnHoverEnter() { return 1; }
  virtual DWORD PaintBackground(HDC dc, RECT* rect);
  virtual DWORD PaintBorder(HDC dc, RECT* rect);
  virtual DWORD PaintIcon(HDC dc, bool hasCaption, const RECT* item, RECT* caption, bool pressed, bool disabled);
  virtual DWORD PaintBitmap(HDC dc, bool hasCaption, const RECT* item, RECT* caption, bool pressed, bool disabled);
  virtual DWORD PaintCaption(HDC dc, const std::wstring& text, const RECT* item, RECT* caption, bool pressed,
                             bool disabled);

  // Shared by this DrawItem and the background button's.
  void PaintItem(const DRAWITEMSTRUCT* draw, bool drawnDisabled);
  // The parent's snapshot in transparent mode, else PaintBackground.
  virtual void PaintBackgroundLayer(HDC dc, RECT* rect);
  void PaintParentBackground(HDC dc);
  void LayoutImageRect(bool hasCaption, const RECT* item, RECT* caption, bool pressed, int width, int height,
                       RECT* image) const;
  void Repaint();
  void CancelHover();
  void DropSnapshot();
  void PlaySlot(int slot) const;

  // State of the paint in progress.
  bool pressed_ = false;
  bool focused_ = false;
  bool drawnDisabled_ = false;
  bool mouseOver_ = false;
  bool transparent_ = false;
  bool flat_ = true;
  bool isDefault_ = false;
  bool isCheckBox_ = false;
  bool isRadio_ = false;
  bool checked_ = false;

 private:
  // Images.
  int LoadIconSlot(int index, HICON icon);
  int StoreBitmap(int index, HBITMAP owned, COLORREF key);
  int SetOwnedBitmaps(std::array<fw::ScopedBitmap, 4> owned, const std::array<COLORREF, 4>& keys);

  // Painting.
  void TakeDrawState(UINT itemState, bool drawnDisabled);
  // Icon, bitmap and caption; answers the caption's rectangle as laid out.
  RECT PaintContent(HDC dc, const RECT& item);
  void PaintFocus(HDC dc, const RECT& item, const RECT& caption) const;
  int BitmapIndex(bool pressed, bool disabled) const;
  fw::ScopedFont CreateCaptionFont() const;
  void SetCaptionColours(HDC dc, bool pressed) const;
  void TakeSnapshot(HDC reference, HWND parent);
  bool MakeSnapshot(HDC reference, int width, int height);

  // Messages, hover, tooltip, click and menu.
  bool OnPointerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnWindowStateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void OnMouseMove(WPARAM flags, POINT point);
  void EnterHover();
  void BuildTooltip();
  void DestroyTooltip();
  void RelayToTooltip(WPARAM flags, POINT point) const;
  void ResizeTool(int width, int height);
  void OnClicked();
  void OpenLink() const;
  void ShowMenu();
  bool OnMenuChar(WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnMeasureMenuItem(MEASUREITEMSTRUCT* measure, LRESULT& result);
  bool OnDrawMenuItem(const DRAWITEMSTRUCT* draw, LRESULT& result);

  bool iconAtLeft_ = false;
  bool useDisabledBitmap_ = true;
  int marginX_ = 3, marginY_ = 3;
  int pressedOffsetX_ = 1, pressedOffsetY_ = 1;
  bool soundsEnabled_ = false;
  BYTE alignment_ = ST_ALIGN_OVERLAP;
  bool flatBorder_ = true;
  bool flatFocus_ = false;
  std::array<COLORREF, BTNST_MAX_COLORS> colours_{};
  HWND menuOwner_ = nullptr;
  bool menuShown_ = false;
  bool disabled_ = false;
  std::unique_ptr<BCMenu> menu_;
  HCURSOR cursor_ = nullptr;
  fw::ScopedIcon ownedCursor_;  // a loaded cursor; the shared system one is never destroyed
  HWND tooltip_ = nullptr;
  fw::ScopedCreatedDC snapshotDC_;
  fw::ScopedBitmap snapshot_;
  HGDIOBJ replacedBitmap_ = nullptr;
  bool trackWhenInactive_ = true;
  int buttonType_ = 15;
  DWORD tooltipStyle_ = TTS_ALWAYSTIP;
  std::wstring url_;
  std::wstring tooltipText_;
  std::array<IconSlot, 4> icons_;
  std::array<BitmapSlot, 4> bitmaps_;
  HWND notifyWindow_ = nullptr;
  UINT notifyMessage_ = 0;
  LPARAM notifyLParam_ = 0;
  std::array<SoundSlot, 2> sounds_;
  bool buildMasks_ = false;
  bool bold_ = false, italic_ = false, underline_ = false, strikeOut_ = false, antialiased_ = false;
  // Stored from the font flags; the caption is always drawn centred.
  UINT textAlign_ = DT_LEFT;
  std::wstring fontFace_;
  int fontHeight_ = 12;
};

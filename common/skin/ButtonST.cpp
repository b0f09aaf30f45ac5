#include "ButtonST.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "BCMenu.h"
#include "ButtonImages.h"
#include "CommHelper.h"


namespace {

const UINT kTypeMask = 0x0F;
const UINT kToolId = 1;
const UINT kMenuTrackFlags = TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD;  // 0x182
const DWORD kSoundBaseFlags = SND_NODEFAULT | SND_NOWAIT;                                    // 0x2002

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{-1, -1};
  return SIZE{info.bmWidth, std::abs(info.bmHeight)};
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  if (brush) ::FillRect(dc, &rect, brush.Get());
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF colour) {
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  if (brush) ::FrameRect(dc, &rect, brush.Get());
}

void Draw3dRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
  int x = rect.left, y = rect.top, cx = Width(rect), cy = Height(rect);
  if (cx <= 0 || cy <= 0) return;
  FillSolid(dc, RECT{x, y, x + cx - 1, y + 1}, topLeft);
  FillSolid(dc, RECT{x, y, x + 1, y + cy - 1}, topLeft);
  FillSolid(dc, RECT{x + cx - 1, y, x + cx, y + cy}, bottomRight);
  FillSolid(dc, RECT{x, y + cy - 1, x + cx, y + cy}, bottomRight);
}

// A polyline of three points drawn with a one-pixel pen of a system colour.
void SystemLine(HDC dc, int colourIndex, POINT a, POINT b, POINT c) {
  fw::ScopedPen pen(::CreatePen(PS_SOLID, 0, ::GetSysColor(colourIndex)));
  if (!pen) return;
  fw::ScopedSelectObject select(dc, pen.Get());
  ::MoveToEx(dc, a.x, a.y, nullptr);
  ::LineTo(dc, b.x, b.y);
  ::LineTo(dc, c.x, c.y);
}

HICON LoadIconFile(const std::wstring& path) {
  if (path.empty()) return nullptr;
  return static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
}

HICON LoadIconResource(UINT id, int width, int height) {
  if (!id) return nullptr;
  return static_cast<HICON>(
      ::LoadImageW(fw::ThisModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

HBITMAP LoadBitmapFile(const std::wstring& path) {
  HBITMAP bitmap = nullptr;
  int width = 0, height = 0;
  if (path.empty() || !CCommHelper::LoadPictureBitmap(&bitmap, path, &width, &height)) return nullptr;
  return bitmap;
}

}  // namespace

HICON const CButtonST::kGrayscaleIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(-2));
HICON const CButtonST::kDarkerIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(-3));
CButtonST::PlaySoundFunction CButtonST::playSound = &::PlaySoundW;
CButtonST::ShellExecuteFunction CButtonST::shellExecute = &::ShellExecuteExW;

CButtonST::CButtonST() {
  ResetColorsToSystem(FALSE);
  cursor_ = ::LoadCursorW(nullptr, IDC_HAND);
  menu_ = std::make_unique<BCMenu>();
}

CButtonST::~CButtonST() {
  DropSnapshot();
  DestroyTooltip();
  if (menu_ && menu_->GetSafeHmenu()) menu_->DestroyMenu();
  menu_.reset();
}

// ---------------------------------------------------------------------------
// Subclassing

bool CButtonST::SubclassButton(HWND button) {
  if (!button || Hwnd()) return false;
  PreSubclass(button);
  return Subclass(button);
}

void CButtonST::PreSubclass(HWND button) {
  LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
  buttonType_ = static_cast<int>(style & kTypeMask);
  switch (buttonType_) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
      isCheckBox_ = true;
      alignment_ = ST_ALIGN_HORIZ;
      break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      isRadio_ = true;
      alignment_ = ST_ALIGN_HORIZ;
      break;
    case BS_DEFPUSHBUTTON:
      isDefault_ = true;
      buttonType_ = BS_PUSHBUTTON;
      break;
    default:
      break;
  }
  // A button created disabled never sees WM_ENABLE.
  disabled_ = !::IsWindowEnabled(button);
  ::SetWindowLongPtrW(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(kTypeMask)) | BS_OWNERDRAW);
  ::SetWindowPos(button, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(button, nullptr, TRUE);
}

// ---------------------------------------------------------------------------
// Images

void CButtonST::FreeResources(BOOL destroy) {
  for (IconSlot& slot : icons_) {
    if (!destroy) slot.icon.Release();
    slot = IconSlot{};
  }
  for (BitmapSlot& slot : bitmaps_) {
    if (!destroy) {
      slot.bitmap.Release();
      slot.mask.Release();
    }
    slot = BitmapSlot{};
  }
}

int CButtonST::LoadIconSlot(int index, HICON icon) {
  icons_[index].icon.Reset(icon);
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return BTNST_INVALIDRESOURCE;
  // The information bitmaps are copies made for us.
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  icons_[index].width = static_cast<int>(info.xHotspot) * 2;
  icons_[index].height = static_cast<int>(info.yHotspot) * 2;
  return BTNST_OK;
}

int CButtonST::SetIcon(HICON in, HICON out) {
  FreeResources(TRUE);
  bool outIsCopy = out == kGrayscaleIcon || out == kDarkerIcon;
  if (!in) {
    if (out && !outIsCopy) ::DestroyIcon(out);
    Repaint();
    return BTNST_OK;
  }
  if (LoadIconSlot(0, in) != BTNST_OK) {
    if (out && !outIsCopy) ::DestroyIcon(out);
    FreeResources(TRUE);
    return BTNST_INVALIDRESOURCE;
  }
  if (out == kGrayscaleIcon) out = CreateGrayscaleIcon(in);
  else if (out == kDarkerIcon) out = CreateDarkerIcon(in);
  if (out && LoadIconSlot(1, out) != BTNST_OK) {
    FreeResources(TRUE);
    return BTNST_INVALIDRESOURCE;
  }
  Repaint();
  return BTNST_OK;
}

int CButtonST::SetIconResources(UINT in, int inWidth, int inHeight, UINT out, int outWidth, int outHeight) {
  HICON inIcon = LoadIconResource(in, inWidth, inHeight);
  HICON outIcon = nullptr;
  if (out == kGrayscaleIconId) outIcon = kGrayscaleIcon;
  else if (out == kDarkerIconId) outIcon = kDarkerIcon;
  else outIcon = LoadIconResource(out, outWidth, outHeight);
  if (in && !inIcon) {
    if (outIcon && outIcon != kGrayscaleIcon && outIcon != kDarkerIcon) ::DestroyIcon(outIcon);
    FreeResources(TRUE);
    return BTNST_INVALIDRESOURCE;
  }
  return SetIcon(inIcon, outIcon);
}

int CButtonST::SetIconFiles(const std::wstring& in, const std::wstring& out) {
  HICON inIcon = LoadIconFile(in);
  HICON outIcon = LoadIconFile(out);
  if (!in.empty() && !inIcon) {
    if (outIcon) ::DestroyIcon(outIcon);
    FreeResources(TRUE);
    return BTNST_INVALIDRESOURCE;
  }
  return SetIcon(inIcon, outIcon);
}

int CButtonST::StoreBitmap(int index, HBITMAP owned, COLORREF key) {
  BitmapSlot& slot = bitmaps_[index];
  slot.bitmap.Reset(owned);
  slot.key = key;
  SIZE size = BitmapSize(owned);
  if (size.cx < 0) return BTNST_INVALIDRESOURCE;
  slot.width = size.cx;
  slot.height = size.cy;
  if (!buildMasks_) return BTNST_OK;
  slot.mask.Reset(CreateMaskBitmap(owned, size.cx, size.cy, key));
  return slot.mask ? BTNST_OK : BTNST_FAILEDMASK;
}

int CButtonST::SetOwnedBitmaps(std::array<fw::ScopedBitmap, 4> owned, const std::array<COLORREF, 4>& keys) {
  FreeResources(TRUE);
  if (!owned[0]) {
    Repaint();
    return BTNST_INVALIDRESOURCE;
  }
  for (int i = 0; i < 4; ++i) {
    if (!owned[i]) continue;
    int result = StoreBitmap(i, owned[i].Release(), keys[i]);
    if (result != BTNST_OK) {
      FreeResources(TRUE);
      Repaint();
      return result;
    }
  }
  Repaint();
  return BTNST_OK;
}

int CButtonST::SetBitmaps(HBITMAP in, COLORREF inKey, HBITMAP out, COLORREF outKey, HBITMAP pressed,
                          COLORREF pressedKey, HBITMAP disabled, COLORREF disabledKey) {
  // The caller keeps its bitmaps: the button draws and deletes copies.
  std::array<fw::ScopedBitmap, 4> copies;
  const HBITMAP sources[4] = {in, out, pressed, disabled};
  for (int i = 0; i < 4; ++i) {
    if (!sources[i]) continue;
    copies[i].Reset(static_cast<HBITMAP>(::CopyImage(sources[i], IMAGE_BITMAP, 0, 0, 0)));
    if (!copies[i]) {
      FreeResources(TRUE);
      Repaint();
      return BTNST_INVALIDRESOURCE;
    }
  }
  return SetOwnedBitmaps(std::move(copies), {inKey, outKey, pressedKey, disabledKey});
}

int CButtonST::SetBitmapResources(UINT in, COLORREF inKey, UINT out, COLORREF outKey) {
  std::array<fw::ScopedBitmap, 4> loaded;
  const UINT ids[2] = {in, out};
  for (int i = 0; i < 2; ++i) {
    if (!ids[i]) continue;
    loaded[i].Reset(static_cast<HBITMAP>(
        ::LoadImageW(fw::ThisModule(), MAKEINTRESOURCEW(ids[i]), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!loaded[i]) {
      FreeResources(TRUE);
      return BTNST_INVALIDRESOURCE;
    }
  }
  return SetOwnedBitmaps(std::move(loaded), {inKey, outKey, 0, 0});
}

int CButtonST::SetBitmapFiles(const std::wstring& in, COLORREF inKey, const std::wstring& out, COLORREF outKey,
                              const std::wstring& pressed, COLORREF pressedKey, const std::wstring& disabled,
                              COLORREF disabledKey) {
  std::array<fw::ScopedBitmap, 4> loaded;
  const std::wstring* paths[4] = {&in, &out, &pressed, &disabled};
  for (int i = 0; i < 4; ++i) {
    if (paths[i]->empty()) continue;
    loaded[i].Reset(LoadBitmapFile(*paths[i]));
    if (!loaded[i]) {
      FreeResources(TRUE);
      Repaint();
      return BTNST_INVALIDRESOURCE;
    }
  }
  return SetOwnedBitmaps(std::move(loaded), {inKey, outKey, pressedKey, disabledKey});
}

int CButtonST::SetUseDisabledBitmap(BOOL on) {
  useDisabledBitmap_ = on != FALSE;
  return BTNST_OK;
}

int CButtonST::SetBuildMasks(BOOL on) {
  buildMasks_ = on != FALSE;
  return BTNST_OK;
}

int CButtonST::FitToImage() {
  marginX_ = 0;
  marginY_ = 0;
  SIZE size{0, 0};
  if (icons_[0].icon) size = SIZE{icons_[0].width, icons_[0].height};
  else if (bitmaps_[0].bitmap) size = SIZE{bitmaps_[0].width, bitmaps_[0].height};
  else return BTNST_OK;
  if (Hwnd())
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  return BTNST_OK;
}

HBITMAP CButtonST::GetBitmap(int index) const {
  return index >= 0 && index < 4 ? bitmaps_[index].bitmap.Get() : nullptr;
}

HBITMAP CButtonST::GetMask(int index) const {
  return index >= 0 && index < 4 ? bitmaps_[index].mask.Get() : nullptr;
}

HICON CButtonST::GetIcon(int index) const { return index >= 0 && index < 4 ? icons_[index].icon.Get() : nullptr; }

SIZE CButtonST::GetImageSize(int index, bool icon) const {
  if (index < 0 || index >= 4) return SIZE{0, 0};
  return icon ? SIZE{icons_[index].width, icons_[index].height} : SIZE{bitmaps_[index].width, bitmaps_[index].height};
}

// ---------------------------------------------------------------------------
// Look

int CButtonST::SetFlatStyle(BOOL on, BOOL repaint) {
  flat_ = on != FALSE;
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::SetFlatBorder(BOOL on, BOOL repaint) {
  flatBorder_ = on != FALSE;
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::SetFlatFocusRect(BOOL on, BOOL repaint) {
  flatFocus_ = on != FALSE;
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::SetIconAtLeft(BOOL on, BOOL repaint) {
  iconAtLeft_ = on != FALSE;
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::SetImageAlignment(BYTE alignment, BOOL repaint) {
  if (alignment > ST_ALIGN_OVERLAP) return BTNST_INVALIDALIGN;
  alignment_ = alignment;
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::SetPressedOffsetStyle(BYTE style, BOOL repaint) {
  if (style == BTNST_PRESSED_LEFTRIGHT) {
    pressedOffsetX_ = 1;
    pressedOffsetY_ = 1;
  } else if (style == BTNST_PRESSED_TOPBOTTOM) {
    pressedOffsetX_ = 0;
    pressedOffsetY_ = 2;
  } else {
    return BTNST_INVALIDPRESSEDSTYLE;
  }
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::SetColor(BYTE index, COLORREF colour, BOOL repaint) {
  if (index >= BTNST_MAX_COLORS) return BTNST_INVALIDINDEX;
  colours_[index] = colour;
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::GetColor(BYTE index, COLORREF* colour) const {
  if (index >= BTNST_MAX_COLORS) return BTNST_INVALIDINDEX;
  if (colour) *colour = colours_[index];
  return BTNST_OK;
}

int CButtonST::ShiftColor(BYTE index, short shade, BOOL repaint) {
  if (index >= BTNST_MAX_COLORS) return BTNST_INVALIDINDEX;
  if (shade < -255 || shade > 255) return BTNST_BADPARAM;
  COLORREF colour = colours_[index];
  int red = GetRValue(colour), green = GetGValue(colour), blue = GetBValue(colour);
  // One amount for all three channels, so the hue stays: the amount shrinks
  // until no channel leaves 0..255.
  int amount = shade;
  if (amount > 0) amount = std::min(amount, 255 - std::max({red, green, blue}));
  if (amount < 0) amount = std::max(amount, -std::min({red, green, blue}));
  colours_[index] = RGB(red + amount, green + amount, blue + amount);
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::ResetColorsToSystem(BOOL repaint) {
  for (int i = 0; i < BTNST_MAX_COLORS; ++i)
    colours_[i] = ::GetSysColor(i % 2 == 0 ? COLOR_BTNFACE : COLOR_BTNTEXT);
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::SetCaptionFont(const std::wstring& face, int height, DWORD flags) {
  if (!face.empty()) fontFace_ = face;
  if (height != 0) fontHeight_ = height;
  if (flags & BTNST_FONT_BOLD) bold_ = true;
  if (flags & BTNST_FONT_ITALIC) italic_ = true;
  if (flags & BTNST_FONT_UNDERLINE) underline_ = true;
  if (flags & BTNST_FONT_STRIKEOUT) strikeOut_ = true;
  if (flags & BTNST_FONT_ANTIALIASED) antialiased_ = true;
  if (flags & BTNST_FONT_CENTER) textAlign_ = DT_CENTER;
  else if (flags & BTNST_FONT_RIGHT) textAlign_ = DT_RIGHT;
  else textAlign_ = DT_LEFT;
  Repaint();
  return BTNST_OK;
}

int CButtonST::SetTransparentBackground(BOOL repaint) {
  transparent_ = true;
  DropSnapshot();
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::CaptureBackground(HDC parentDC) {
  if (!transparent_ || !parentDC || !Hwnd()) return BTNST_BADPARAM;
  DropSnapshot();
  RECT client = ClientRect();
  RECT inParent = WindowRect();
  ::MapWindowPoints(nullptr, ::GetParent(Hwnd()), reinterpret_cast<POINT*>(&inParent), 2);
  snapshotDC_.Reset(::CreateCompatibleDC(parentDC));
  snapshot_.Reset(::CreateCompatibleBitmap(parentDC, std::max(Width(client), 1), std::max(Height(client), 1)));
  if (!snapshotDC_ || !snapshot_) {
    DropSnapshot();
    return BTNST_BADPARAM;
  }
  replacedBitmap_ = ::SelectObject(snapshotDC_.Get(), snapshot_.Get());
  ::BitBlt(snapshotDC_.Get(), 0, 0, Width(client), Height(client), parentDC, inParent.left, inParent.top, SRCCOPY);
  return BTNST_OK;
}

void CButtonST::DropSnapshot() {
  // The snapshot bitmap leaves its DC before either is deleted.
  if (snapshotDC_ && replacedBitmap_) ::SelectObject(snapshotDC_.Get(), replacedBitmap_);
  replacedBitmap_ = nullptr;
  snapshotDC_.Reset();
  snapshot_.Reset();
}

int CButtonST::SetCursorResource(UINT cursorId, BOOL repaint) {
  cursor_ = nullptr;
  ownedCursor_.Reset();
  if (cursorId) {
    ownedCursor_.Reset(static_cast<HCURSOR>(
        ::LoadImageW(fw::ThisModule(), MAKEINTRESOURCEW(cursorId), IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR)));
    if (!ownedCursor_) return BTNST_INVALIDRESOURCE;
    cursor_ = ownedCursor_.Get();
  }
  if (repaint) Repaint();
  return BTNST_OK;
}

// ---------------------------------------------------------------------------
// Behaviour

int CButtonST::SetCheckState(int state, BOOL repaint) {
  if (!isCheckBox_ && !isRadio_) return BTNST_OK;
  checked_ = state != 0;
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::SetTrackWhenInactive(BOOL on) {
  trackWhenInactive_ = on != FALSE;
  return BTNST_OK;
}

int CButtonST::SetLinkUrl(const wchar_t* url) {
  // Kept whole: a cut address would open another page.
  url_ = url ? url : L"";
  return BTNST_OK;
}

int CButtonST::AttachMenu(UINT menuId, HWND owner, BOOL drawStyle, UINT toolbarId, int imageWidth, int imageHeight,
                          COLORREF toolbarBackground, BOOL repaint) {
  if (menu_->GetSafeHmenu()) {
    menu_->DestroyMenu();
    menuOwner_ = nullptr;
    menuShown_ = false;
  }
  if (menuId) {
    BCMenu::SetDrawStyle(drawStyle);
    if (!menu_->LoadMenu(menuId)) return BTNST_INVALIDRESOURCE;
    if (toolbarId) {
      menu_->SetTransparentColour(toolbarBackground);
      BCMenu::SetImageSize(imageWidth, imageHeight);
      if (!menu_->AddToolbarImages(toolbarId)) {
        menu_->DestroyMenu();
        return BTNST_INVALIDRESOURCE;
      }
    }
    menuOwner_ = owner;
  }
  if (repaint) Repaint();
  return BTNST_OK;
}

int CButtonST::SetMenuNotify(HWND window, UINT message, LPARAM lParam) {
  notifyWindow_ = window;
  notifyMessage_ = message;
  notifyLParam_ = lParam;
  return BTNST_OK;
}

bool CButtonST::HasMenu() const {
  return menu_ && menu_->GetSafeHmenu() != nullptr;
}

// ---------------------------------------------------------------------------
// Tooltip

void CButtonST::SetTooltipText(const std::wstring& text) {
  tooltipText_ = text;
  if (!tooltip_) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Hwnd();
  tool.uId = kToolId;
  tool.lpszText = const_cast<wchar_t*>(tooltipText_.c_str());
  ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CButtonST::SetTooltipTextResource(UINT stringId) {
  const wchar_t* text = nullptr;
  int length = ::LoadStringW(fw::ThisModule(), stringId, reinterpret_cast<wchar_t*>(&text), 0);
  if (length > 0 && text) SetTooltipText(std::wstring(text, static_cast<size_t>(length)));
}

void CButtonST::EnableTooltip(BOOL on) {
  if (tooltip_ && ::SendMessageW(tooltip_, TTM_GETTOOLCOUNT, 0, 0) > 0)
    ::SendMessageW(tooltip_, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

void CButtonST::BuildTooltip() {
  if (tooltip_ || tooltipText_.empty() || !Hwnd()) return;
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&init);
  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | tooltipStyle_, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, nullptr, nullptr);
  if (!tooltip_) return;
  ::SendMessageW(tooltip_, TTM_ACTIVATE, TRUE, 0);
  ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
  if (::SendMessageW(tooltip_, TTM_GETTOOLCOUNT, 0, 0) > 0) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Hwnd();
  tool.uId = kToolId;
  tool.rect = ClientRect();
  tool.lpszText = const_cast<wchar_t*>(tooltipText_.c_str());
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CButtonST::DestroyTooltip() {
  if (tooltip_) ::DestroyWindow(tooltip_);
  tooltip_ = nullptr;
}

// ---------------------------------------------------------------------------
// Sounds

int CButtonST::SetSound(const wchar_t* sound, HMODULE module, BOOL clickSlot, BOOL async) {
  SoundSlot& slot = sounds_[clickSlot ? 1 : 0];
  slot = SoundSlot{};
  if (!sound) return BTNST_OK;
  DWORD flags = kSoundBaseFlags | (async ? SND_ASYNC : 0);
  if (module) {
    if (IS_INTRESOURCE(sound)) slot.resourceId = reinterpret_cast<ULONG_PTR>(sound);
    else slot.name = sound;
    slot.module = module;
    slot.flags = flags | SND_RESOURCE;
  } else {
    // Kept whole; a cut file name would play nothing or another file.
    slot.name = sound;
    slot.flags = flags | SND_FILENAME;
  }
  if (!slot.IsSet()) slot = SoundSlot{};
  return BTNST_OK;
}

std::wstring CButtonST::GetSoundFile(int slot) const {
  if (slot < 0 || slot > 1 || sounds_[slot].resourceId) return std::wstring();
  return sounds_[slot].name;
}

DWORD CButtonST::GetSoundFlags(int slot) const { return slot >= 0 && slot <= 1 ? sounds_[slot].flags : 0; }

HMODULE CButtonST::GetSoundModule(int slot) const { return slot >= 0 && slot <= 1 ? sounds_[slot].module : nullptr; }

void CButtonST::PlaySlot(int slot) const {
  const SoundSlot& sound = sounds_[slot];
  if (!soundsEnabled_ || !sound.IsSet() || !playSound) return;
  playSound(sound.Name(), sound.module, sound.flags);
}

// ---------------------------------------------------------------------------
// Messages

void CButtonST::Repaint() {
  if (Hwnd()) ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CButtonST::CancelHover() {
  // A 3-D button keeps its hover flag until the pointer really leaves.
  if (flat_ && mouseOver_) {
    mouseOver_ = false;
    Repaint();
  }
}

bool CButtonST::PreTranslateMessage(MSG& message) {
  // A double click acts as a second click.
  if (message.hwnd == Hwnd() && message.message == WM_LBUTTONDBLCLK) message.message = WM_LBUTTONDOWN;
  return fw::Wnd::PreTranslateMessage(message);
}

bool CButtonST::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETCURSOR:
      if (!cursor_) return false;
      ::SetCursor(cursor_);
      result = TRUE;
      return true;
    case WM_KILLFOCUS:
      result = DefaultProc(message, wParam, lParam);
      CancelHover();
      return true;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      result = 0;
      return true;
    case WM_SYSCOLORCHANGE:
      result = DefaultProc(message, wParam, lParam);
      DropSnapshot();
      ResetColorsToSystem(TRUE);
      return true;
    case WM_ACTIVATE:
      result = DefaultProc(message, wParam, lParam);
      if (LOWORD(wParam) == WA_INACTIVE) CancelHover();
      return true;
    case WM_ENABLE:
      result = DefaultProc(message, wParam, lParam);
      if (!wParam) CancelHover();
      disabled_ = wParam == FALSE;
      Repaint();
      return true;
    case WM_CANCELMODE:
      result = DefaultProc(message, wParam, lParam);
      CancelHover();
      return true;
    case WM_GETDLGCODE:
      result = DefaultProc(message, wParam, lParam) | (isDefault_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      return true;
    case WM_LBUTTONDBLCLK:
      // Also when no framework loop translated it: a double click is a click.
      result = DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
      return true;
    case WM_MENUCHAR:
      return OnMenuChar(wParam, lParam, result);
    case WM_MEASUREITEM:
      return OnMeasureMenuItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), result);
    case WM_DRAWITEM:
      return OnDrawMenuItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), result);
    case BM_SETSTYLE: {
      UINT type = static_cast<UINT>(wParam) & kTypeMask;
      if (type == BS_DEFPUSHBUTTON) isDefault_ = true;
      else if (type == BS_PUSHBUTTON) isDefault_ = false;
      result = DefaultProc(message, (wParam & ~static_cast<WPARAM>(kTypeMask)) | BS_OWNERDRAW, lParam);
      return true;
    }
    case WM_MOUSELEAVE:
      CancelHover();
      OnHoverLeave();
      mouseOver_ = false;
      DestroyTooltip();
      result = 0;
      return true;
    case BM_SETCHECK:
      SetCheckState(wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? 1 : 0, TRUE);
      result = 0;
      return true;
    case BM_GETCHECK:
      result = GetCheckState();
      return true;
    case WM_SIZE:
      result = DefaultProc(message, wParam, lParam);
      ResizeTool(LOWORD(lParam), HIWORD(lParam));
      return true;
    default:
      return false;
  }
}

bool CButtonST::OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_COMMAND:
      // The parent still receives the click.
      if (HIWORD(wParam) == BN_CLICKED) OnClicked();
      return false;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
      return true;
    default:
      return false;
  }
}

void CButtonST::ResizeTool(int width, int height) {
  if (!tooltip_) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Hwnd();
  tool.uId = kToolId;
  tool.rect = RECT{0, 0, width, height};
  ::SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool CButtonST::OnMenuChar(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HMENU menu = reinterpret_cast<HMENU>(lParam);
  if (!BCMenu::IsKnownMenu(menu)) return false;
  result = BCMenu::FindMnemonicItem(LOWORD(wParam), HIWORD(wParam), menu);
  return true;
}

// Every item of the drop-down menu is owner-drawn, not only its sub-menus
// (whose id is a menu handle): the button's menu measures whatever item
// record it holds; an item of any other menu gets the default.
bool CButtonST::OnMeasureMenuItem(MEASUREITEMSTRUCT* measure, LRESULT& result) {
  if (!measure || measure->CtlType != ODT_MENU || !menu_) return false;
  if (!menu_->MeasureItem(measure)) return false;
  result = TRUE;
  return true;
}

bool CButtonST::OnDrawMenuItem(const DRAWITEMSTRUCT* draw, LRESULT& result) {
  if (!draw || draw->CtlType != ODT_MENU) return false;
  BCMenu* menu = BCMenu::FromHandle(reinterpret_cast<HMENU>(draw->hwndItem));
  if (!menu) menu = menu_.get();
  if (!menu || !menu->DrawItem(draw)) return false;
  result = TRUE;
  return true;
}

void CButtonST::OnMouseMove(WPARAM flags, POINT point) {
  BuildTooltip();
  if (tooltip_) {
    // A relayed mouse message carries its point in lParam, as a real one does.
    MSG relayed{};
    relayed.hwnd = Hwnd();
    relayed.message = WM_MOUSEMOVE;
    relayed.wParam = flags;
    relayed.lParam = MAKELPARAM(point.x, point.y);
    relayed.time = static_cast<DWORD>(::GetMessageTime());
    ::GetCursorPos(&relayed.pt);
    ::SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  DefaultProc(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
  POINT screen = point;
  ::ClientToScreen(Hwnd(), &screen);
  HWND under = ::WindowFromPoint(screen);
  if ((flags & MK_LBUTTON) && !mouseOver_) return;
  HWND active = trackWhenInactive_ ? Hwnd() : ::GetActiveWindow();
  if (under != Hwnd() || !active) {
    CancelHover();
    return;
  }
  if (mouseOver_) return;
  mouseOver_ = true;
  if (flat_) Repaint();
  if (!OnHoverEnter()) {
    mouseOver_ = false;
    if (flat_) Repaint();
    return;
  }
  PlaySlot(0);
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Hwnd(), 0};
  ::TrackMouseEvent(&track);
}

void CButtonST::OnClicked() {
  ::SetFocus(Hwnd());
  PlaySlot(1);
  if (isCheckBox_ || isRadio_) {
    checked_ = !checked_;
    Repaint();
    return;
  }
  if (HasMenu()) {
    ShowMenu();
    return;
  }
  if (url_.empty() || !shellExecute) return;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = Hwnd();
  info.lpVerb = L"open";
  info.lpFile = url_.c_str();
  info.nShow = SW_SHOWMAXIMIZED;
  shellExecute(&info);
}

void CButtonST::ShowMenu() {
  HWND self = Hwnd();
  RECT rect = WindowRect();
  menuShown_ = true;
  Repaint();
  ::UpdateWindow(self);
  BCMenu* sub = menu_->GetSubMenu(0);
  HMENU popup = sub ? sub->GetSafeHmenu() : nullptr;
  if (notifyWindow_) ::SendMessageW(notifyWindow_, notifyMessage_, reinterpret_cast<WPARAM>(popup), notifyLParam_);
  UINT command = popup ? static_cast<UINT>(::TrackPopupMenu(popup, kMenuTrackFlags, rect.left, rect.bottom, 0, self,
                                                            nullptr))
                       : 0;
  // The owner may have closed the window while the menu was up.
  if (!::IsWindow(self) || Hwnd() != self) return;
  menuShown_ = false;
  Repaint();
  if (command && menuOwner_) ::PostMessageW(menuOwner_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// ---------------------------------------------------------------------------
// Painting

void CButtonST::DrawItem(const DRAWITEMSTRUCT* draw) {
  if (!draw) return;
  PaintItem(draw, (draw->itemState & ODS_DISABLED) != 0 && disabled_);
}

void CButtonST::PaintItem(const DRAWITEMSTRUCT* draw, bool drawnDisabled) {
  RECT item = draw->rcItem;
  if (!draw->hDC || item.right <= 0 || item.bottom <= 0 || ::IsRectEmpty(&item)) return;
  fw::MemoryDC memory(draw->hDC, item.right, item.bottom);
  if (!memory) return;
  HDC dc = memory.Get();
  fw::ScopedSelectObject selectFont(dc, ::GetCurrentObject(draw->hDC, OBJ_FONT));

  if (isCheckBox_ || isRadio_) pressed_ = (draw->itemState & ODS_SELECTED) != 0 || checked_;
  else pressed_ = (draw->itemState & ODS_SELECTED) != 0 || (HasMenu() && menuShown_);
  focused_ = (draw->itemState & ODS_FOCUS) != 0;
  drawnDisabled_ = drawnDisabled;

  // Start from what the target shows, so a layer that paints no background
  // leaves it as it was.
  ::BitBlt(dc, 0, 0, item.right, item.bottom, draw->hDC, 0, 0, SRCCOPY);
  ::SetBkMode(dc, TRANSPARENT);
  // The border goes inside the default frame the background may draw.
  RECT frame = item;
  PaintBackgroundLayer(dc, &frame);
  PaintBorder(dc, &frame);

  std::wstring text = GetText();
  RECT caption = item;
  if (icons_[0].icon) PaintIcon(dc, !text.empty(), &item, &caption, pressed_, drawnDisabled_);
  if (bitmaps_[0].bitmap) {
    ::SetBkColor(dc, RGB(255, 255, 255));
    PaintBitmap(dc, !text.empty(), &item, &caption, pressed_, drawnDisabled_);
  }
  if (!text.empty()) PaintCaption(dc, text, &item, &caption, pressed_, drawnDisabled_);

  if ((!flat_ || flatFocus_) && focused_) {
    RECT focus = item;
    ::InflateRect(&focus, -3, -3);
    if (isCheckBox_ || isRadio_) focus = caption;
    ::DrawFocusRect(dc, &focus);
  }
  ::BitBlt(draw->hDC, 0, 0, item.right, item.bottom, dc, 0, 0, SRCCOPY);
}

void CButtonST::PaintBackgroundLayer(HDC dc, RECT* rect) {
  if (transparent_) PaintParentBackground(dc);
  else PaintBackground(dc, rect);
}

DWORD CButtonST::PaintBackground(HDC dc, RECT* rect) {
  if (!flat_ && (focused_ || isDefault_)) {
    FrameSolid(dc, *rect, RGB(0, 0, 0));
    ::InflateRect(rect, -1, -1);
  }
  COLORREF fill = colours_[BTNST_COLOR_BK_OUT];
  if (mouseOver_ || pressed_) fill = colours_[BTNST_COLOR_BK_IN];
  else if (focused_) fill = colours_[BTNST_COLOR_BK_FOCUS];
  FillSolid(dc, *rect, fill);
  return BTNST_OK;
}

DWORD CButtonST::PaintBorder(HDC dc, RECT* rect) {
  const RECT& r = *rect;
  if (pressed_) {
    if (!flat_) FrameSolid(dc, r, ::GetSysColor(COLOR_BTNSHADOW));
    else if (flatBorder_) Draw3dRect(dc, r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    return BTNST_OK;
  }
  if (!flat_) {
    SystemLine(dc, COLOR_BTNHIGHLIGHT, {r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top});
    SystemLine(dc, COLOR_3DLIGHT, {r.left + 1, r.bottom - 1}, {r.left + 1, r.top + 1}, {r.right, r.top + 1});
    SystemLine(dc, COLOR_3DDKSHADOW, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1});
    SystemLine(dc, COLOR_BTNSHADOW, {r.left + 1, r.bottom - 2}, {r.right - 2, r.bottom - 2}, {r.right - 2, r.top});
    return BTNST_OK;
  }
  if (mouseOver_ && flatBorder_)
    Draw3dRect(dc, r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
  return BTNST_OK;
}

void CButtonST::LayoutImageRect(bool hasCaption, const RECT* item, RECT* caption, bool, int width, int height,
                                RECT* image) const {
  *image = *item;
  auto centreX = [&] { image->left += (Width(*image) - width) / 2; };
  auto centreY = [&] { image->top += (Height(*image) - height) / 2; };
  switch (alignment_) {
    case ST_ALIGN_HORIZ:
      if (!hasCaption) {
        centreX();
      } else {
        image->left += marginX_;
        caption->left += width + marginX_;
      }
      centreY();
      break;
    case ST_ALIGN_VERT:
      centreX();
      if (!hasCaption) {
        centreY();
      } else {
        image->top = marginY_;
        caption->top += height;
      }
      break;
    case ST_ALIGN_HORIZ_RIGHT:
      if (!hasCaption) {
        centreX();
      } else {
        int captionWidth = Width(*caption);
        caption->right = captionWidth - width - marginX_;
        caption->left = marginX_;
        image->left = item->right - width - marginX_;
      }
      centreY();
      break;
    default:
      break;
  }
  image->right = image->left + width;
  image->bottom = image->top + height;
}

DWORD CButtonST::PaintIcon(HDC dc, bool hasCaption, const RECT* item, RECT* caption, bool pressed, bool) {
  bool twoState = isCheckBox_ || isRadio_;
  int index = 0;
  if (!((twoState && pressed) || (!twoState && (pressed || mouseOver_))))
    index = icons_[1].icon ? 1 : 0;
  const IconSlot& icon = icons_[index];
  if (!icon.icon || icon.width <= 0 || icon.height <= 0) return BTNST_OK;
  RECT image{};
  LayoutImageRect(hasCaption, item, caption, pressed, icon.width, icon.height, &image);
  POINT at{image.left, image.top};
  if (iconAtLeft_) at = POINT{2, item->bottom / 2 - 8};
  // Drawn normally also when disabled: the caption shows the state.
  ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.icon.Get()), 0, at.x, at.y, icon.width,
               icon.height, DST_ICON | DSS_NORMAL);
  return BTNST_OK;
}

int CButtonST::BitmapIndex(bool pressed, bool disabled) const {
  auto orIn = [this](int index) { return bitmaps_[index].bitmap ? index : 0; };
  int index = 0;
  if (isCheckBox_) index = pressed ? 0 : orIn(1);
  else if (isRadio_ && pressed) index = orIn(2);
  else if (mouseOver_) index = pressed ? orIn(2) : 0;
  else index = orIn(1);
  if (disabled && useDisabledBitmap_) index = orIn(3);
  return index;
}

DWORD CButtonST::PaintBitmap(HDC dc, bool hasCaption, const RECT* item, RECT* caption, bool pressed,
                             bool disabled) {
  const BitmapSlot& slot = bitmaps_[BitmapIndex(pressed, disabled)];
  if (!slot.bitmap || slot.width <= 0 || slot.height <= 0) return BTNST_OK;
  RECT image{};
  LayoutImageRect(hasCaption, item, caption, pressed, slot.width, slot.height, &image);
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  if (!source) return BTNST_OK;
  if (slot.mask) {
    // Mask 1 (key) becomes white and keeps the background, 0 clears it;
    // the image, black at its key pixels, is then OR-ed in.
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    {
      fw::ScopedSelectObject selectMask(source.Get(), slot.mask.Get());
      ::BitBlt(dc, image.left, image.top, slot.width, slot.height, source.Get(), 0, 0, SRCAND);
    }
    fw::ScopedSelectObject selectImage(source.Get(), slot.bitmap.Get());
    ::BitBlt(dc, image.left, image.top, slot.width, slot.height, source.Get(), 0, 0, SRCPAINT);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    return BTNST_OK;
  }
  fw::ScopedSelectObject selectImage(source.Get(), slot.bitmap.Get());
  if (transparent_)
    ::TransparentBlt(dc, image.left, image.top, slot.width, slot.height, source.Get(), 0, 0, slot.width, slot.height,
                     slot.key);
  else
    ::BitBlt(dc, image.left, image.top, slot.width, slot.height, source.Get(), 0, 0, SRCCOPY);
  return BTNST_OK;
}

DWORD CButtonST::PaintCaption(HDC dc, const std::wstring& text, const RECT*, RECT* caption, bool pressed,
                              bool disabled) {
  if (text.empty()) return BTNST_OK;
  // Without a face of its own the caption keeps the dialog's font.
  fw::ScopedFont font;
  if (!fontFace_.empty())
    font.Reset(::CreateFontW(fontHeight_, 0, 0, 0, bold_ ? 900 : 400, italic_, underline_, strikeOut_,
                             DEFAULT_CHARSET, OUT_STRING_PRECIS, CLIP_CHARACTER_PRECIS,
                             antialiased_ ? ANTIALIASED_QUALITY : DEFAULT_QUALITY, 0, fontFace_.c_str()));
  fw::ScopedSelectObject selectFont(dc, font.Get());

  if (pressed) ::OffsetRect(caption, pressedOffsetX_, pressedOffsetY_);
  RECT centred = *caption;
  int length = static_cast<int>(text.size());
  ::DrawTextW(dc, text.c_str(), length, &centred, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
  ::OffsetRect(&centred, (Width(*caption) - Width(centred)) / 2, (Height(*caption) - Height(centred)) / 2);
  ::SetBkMode(dc, TRANSPARENT);
  if (disabled) {
    // Etched: a light copy one pixel down and right under the shadow colour.
    ::OffsetRect(&centred, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::DrawTextW(dc, text.c_str(), length, &centred, DT_WORDBREAK | DT_CENTER);
    ::OffsetRect(&centred, -1, -1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    ::DrawTextW(dc, text.c_str(), length, &centred, DT_WORDBREAK | DT_CENTER);
    return BTNST_OK;
  }
  if (mouseOver_ || pressed) {
    ::SetTextColor(dc, colours_[BTNST_COLOR_FG_IN]);
    ::SetBkColor(dc, colours_[BTNST_COLOR_BK_IN]);
  } else if (focused_) {
    ::SetTextColor(dc, colours_[BTNST_COLOR_FG_FOCUS]);
    ::SetBkColor(dc, colours_[BTNST_COLOR_BK_FOCUS]);
  } else {
    ::SetTextColor(dc, colours_[BTNST_COLOR_FG_OUT]);
    ::SetBkColor(dc, colours_[BTNST_COLOR_BK_OUT]);
  }
  ::DrawTextW(dc, text.c_str(), length, &centred, DT_WORDBREAK | DT_CENTER);
  return BTNST_OK;
}

void CButtonST::PaintParentBackground(HDC dc) {
  HWND parent = Hwnd() ? ::GetParent(Hwnd()) : nullptr;
  if (!snapshotDC_ && parent) TakeSnapshot(dc, parent);
  if (!snapshotDC_) return;
  RECT client = ClientRect();
  ::BitBlt(dc, 0, 0, Width(client), Height(client), snapshotDC_.Get(), 0, 0, SRCCOPY);
}

void CButtonST::TakeSnapshot(HDC reference, HWND parent) {
  RECT parentClient{};
  ::GetClientRect(parent, &parentClient);
  RECT client = ClientRect();
  if (Width(client) <= 0 || Height(client) <= 0 || Width(parentClient) <= 0 || Height(parentClient) <= 0) return;
  fw::WindowDC parentDC(parent);
  fw::MemoryDC printed(parentDC, Width(parentClient), Height(parentClient));
  if (!printed) return;
  FillSolid(printed, parentClient, ::GetSysColor(COLOR_BTNFACE));
  // Flags 0 would print nothing: the parent's background and client area are
  // what lies under the button (not its children, the button among them).
  ::SendMessageW(parent, WM_PRINT, reinterpret_cast<WPARAM>(printed.Get()), PRF_CLIENT | PRF_ERASEBKGND);
  RECT inParent = WindowRect();
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inParent), 2);
  snapshotDC_.Reset(::CreateCompatibleDC(reference));
  snapshot_.Reset(::CreateCompatibleBitmap(reference, Width(client), Height(client)));
  if (!snapshotDC_ || !snapshot_) {
    DropSnapshot();
    return;
  }
  replacedBitmap_ = ::SelectObject(snapshotDC_.Get(), snapshot_.Get());
  ::BitBlt(snapshotDC_.Get(), 0, 0, Width(client), Height(client), printed, inParent.left, inParent.top, SRCCOPY);
}

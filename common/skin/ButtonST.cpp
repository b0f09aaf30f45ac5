// Construction and setters of the owner-drawn button: images, look,
// behaviour and sounds.
#include "ButtonST.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

#include "BCMenu.h"
#include "ButtonImages.h"
#include "CommHelper.h"

namespace {

const DWORD kSoundBaseFlags = SND_NODEFAULT | SND_NOWAIT;  // 0x2002

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{-1, -1};
  return SIZE{info.bmWidth, std::abs(info.bmHeight)};
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

void CButtonST::Repaint() {
  if (Hwnd()) ::InvalidateRect(Hwnd(), nullptr, TRUE);
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

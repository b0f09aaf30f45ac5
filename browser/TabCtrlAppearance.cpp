// The strip's images, fonts, cursor, button texts and style.
#include <utility>

#include "TabCtrl.h"
#include "TabCtrlStyleDrawer.h"

namespace {

const COLORREF kMaskColour = RGB(255, 0, 255);

// A copy of `source` into `owner` with its icon size; a failed copy leaves
// the size 0, 0. A null source clears.
bool CopyImageList(HIMAGELIST source, fw::ScopedImageList* owner, HIMAGELIST* inUse, SIZE* size) {
  owner->Reset();
  *inUse = nullptr;
  *size = SIZE{};
  if (!source) return true;
  owner->Reset(::ImageList_Duplicate(source));
  if (!*owner) return false;
  int cx = 0;
  int cy = 0;
  if (!::ImageList_GetIconSize(owner->Get(), &cx, &cy)) {
    owner->Reset();
    return false;
  }
  *inUse = owner->Get();
  *size = SIZE{cx, cy};
  return true;
}

bool KeepImageList(HIMAGELIST list, fw::ScopedImageList* owner, HIMAGELIST* inUse, SIZE* size) {
  owner->Reset();
  *inUse = list;
  *size = SIZE{};
  if (!list) return true;
  int cx = 0;
  int cy = 0;
  if (!::ImageList_GetIconSize(list, &cx, &cy)) return false;
  *size = SIZE{cx, cy};
  return true;
}

// A copy of the font's logical description.
bool CopyFont(HFONT source, fw::ScopedFont* owner, HFONT* inUse) {
  LOGFONTW description{};
  if (!source || !::GetObjectW(source, sizeof(description), &description)) return false;
  fw::ScopedFont copy(::CreateFontIndirectW(&description));
  if (!copy) return false;
  *owner = std::move(copy);
  *inUse = owner->Get();
  return true;
}

}  // namespace

bool TabCtrl::SetImageLists(HIMAGELIST normal, HIMAGELIST disabled) {
  bool normalCopied = CopyImageList(normal, &ownImageList_, &imageList_, &imageSize_);
  bool disabledCopied = CopyImageList(disabled, &ownDisabledImageList_, &disabledImageList_, &disabledImageSize_);
  return normalCopied && disabledCopied;
}

bool TabCtrl::SetImageListsRef(HIMAGELIST normal, HIMAGELIST disabled) {
  bool normalKept = KeepImageList(normal, &ownImageList_, &imageList_, &imageSize_);
  bool disabledKept = KeepImageList(disabled, &ownDisabledImageList_, &disabledImageList_, &disabledImageSize_);
  return normalKept && disabledKept;
}

bool TabCtrl::SetButtonImageList(HIMAGELIST list) {
  return CopyImageList(list, &ownButtonImageList_, &buttonImageList_, &buttonImageSize_);
}

bool TabCtrl::SetButtonImageListRef(HIMAGELIST list) {
  return KeepImageList(list, &ownButtonImageList_, &buttonImageList_, &buttonImageSize_);
}

bool TabCtrl::SetButtonImageList(UINT bitmapId) {
  fw::ScopedImageList glyphs(::ImageList_Create(14, 14, ILC_COLOR24 | ILC_MASK, 4, 0));
  HBITMAP loaded = static_cast<HBITMAP>(
      ::LoadImageW(fw::ThisModule(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  fw::ScopedBitmap bitmap(loaded);
  if (!glyphs || !bitmap || ::ImageList_AddMasked(glyphs.Get(), bitmap.Get(), kMaskColour) < 0) {
    SetButtonImageList(static_cast<HIMAGELIST>(nullptr));
    return false;
  }
  return SetButtonImageList(glyphs.Get());
}

bool TabCtrl::SetNormalFont(HFONT font) { return CopyFont(font, &ownNormalFont_, &normalFont_); }

bool TabCtrl::SetNormalFontRef(HFONT font) {
  ownNormalFont_.Reset();
  normalFont_ = font;
  return font != nullptr;
}

bool TabCtrl::SetSelectedFont(HFONT font) { return CopyFont(font, &ownSelectedFont_, &selectedFont_); }

bool TabCtrl::SetSelectedFontRef(HFONT font) {
  ownSelectedFont_.Reset();
  selectedFont_ = font;
  return font != nullptr;
}

bool TabCtrl::SetFonts(const wchar_t* face, int pointSizeTenths) {
  // A size in tenths of a point, at the screen's resolution.
  fw::WindowDC screen(nullptr);
  LOGFONTW description{};
  description.lfHeight = -::MulDiv(pointSizeTenths, ::GetDeviceCaps(screen, LOGPIXELSY), 720);
  description.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(description.lfFaceName, face ? face : L"", LF_FACESIZE);
  fw::ScopedFont font(::CreateFontIndirectW(&description));
  if (!font) return false;
  SetNormalFont(font.Get());
  return SetSelectedFont(font.Get());
}

bool TabCtrl::SetCursor(UINT resourceId, HINSTANCE module) {
  ownCursor_.Reset();
  ownCursorHandle_ = nullptr;
  cursor_ = nullptr;
  if (!resourceId || !module) return true;
  ownCursor_.Reset(static_cast<HICON>(
      ::LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
  if (!ownCursor_) return false;
  ownCursorHandle_ = ownCursor_.Get();
  cursor_ = &ownCursorHandle_;
  return true;
}

bool TabCtrl::SetCursor(HCURSOR cursor) {
  ownCursor_.Reset();
  ownCursorHandle_ = nullptr;
  cursor_ = nullptr;
  if (!cursor) return true;
  ownCursor_.Reset(::CopyIcon(cursor));
  if (!ownCursor_) return false;
  ownCursorHandle_ = ownCursor_.Get();
  cursor_ = &ownCursorHandle_;
  return true;
}

void TabCtrl::SetCursorRef(const HCURSOR* cursor) {
  ownCursor_.Reset();
  ownCursorHandle_ = nullptr;
  cursor_ = cursor;
}

void TabCtrl::SetButtonToolTipText(int button, const wchar_t* text) {
  if (button >= 1 && button <= 5) buttonToolTips_[button - 1] = text ? text : L"";
}

std::wstring TabCtrl::GetButtonToolTipText(int button) const {
  return button >= 1 && button <= 5 ? buttonToolTips_[button - 1] : std::wstring();
}

void TabCtrl::SetStyle(ITabCtrlStyle* style) {
  draw_ = style ? style->GetDrawManager() : nullptr;
  ITabCtrlRecalc* recalc = style ? style->GetRecalcManager() : nullptr;
  ITabCtrlBehavior* behavior = style ? style->GetBehaviorManager() : nullptr;
  ITabCtrlToolTip* toolTip = style ? style->GetToolTipManager() : nullptr;
  recalc_ = recalc ? recalc : &service_;
  behavior_ = behavior ? behavior : &service_;
  toolTipManager_ = toolTip ? toolTip : &service_;
}

void TabCtrl::SetSkin(const wchar_t* theme) { drawer_->SetSkin(this, theme); }

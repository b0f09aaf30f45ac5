// Measuring and drawing menu items in the XP-like and the classic look.
#include <algorithm>
#include <optional>
#include <vector>

#include "BCMenu.h"
#include "BCMenuDrawing.h"
#include "BCMenuMemDC.h"
#include "BCMenuState.h"

using namespace menu_drawing;

namespace {

const UINT kLabelFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE;         // 0x24
const UINT kAcceleratorFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;  // 0x26

// Sizes and colours of the XP-like look.
struct XPLook {
  int gap, imageWidth, imageHeight, column;
  bool xpActive;
  COLORREF columnColour, background, selection, highlight;

  static XPLook Current() {
    BCMenuState& state = BCMenuState::Get();
    XPLook look{};
    look.gap = state.ImageGap();
    look.imageWidth = state.imageWidth;
    look.imageHeight = state.imageHeight;
    look.column = look.imageWidth + look.gap;
    look.xpActive = state.IsXPStyleActive();
    const COLORREF dark = RGB(0x5A, 0x5A, 0x5A);
    look.columnColour = look.xpActive ? dark : Lighten(dark, 0.25);
    look.background = Darken(RGB(0x8C, 0x8C, 0x8C), 0.02);
    look.selection = RGB(138, 220, 23);
    look.highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    return look;
  }
};

// Half of a gap, halves rounded up, never below 0.
int HalfUp(int gap) { return gap <= 0 ? 0 : (gap + 1) / 2; }

// Where a mark goes inside a box: half the box less 3, 0 for small boxes.
int MarkOffset(int extent) { return extent < 6 ? 0 : extent / 2 - 3; }

// The label left-aligned and the accelerator right-aligned, the latter kept
// an image width from the right edge.
void DrawLabel(HDC dc, const BCMenuData& record, RECT rect, int imageWidth) {
  if (record.GetText().empty() || rect.right <= rect.left) return;
  if (!record.HasTab()) {
    const std::wstring& text = record.GetText();
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, kLabelFormat);
    return;
  }
  rect.right -= imageWidth;
  std::wstring label = record.Label();
  std::wstring accelerator = record.Accelerator();
  ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &rect, kLabelFormat);
  ::DrawTextW(dc, accelerator.c_str(), static_cast<int>(accelerator.size()), &rect, kAcceleratorFormat);
}

void DrawLabelIn(HDC dc, const BCMenuData& record, const RECT& rect, int imageWidth, COLORREF ink) {
  COLORREF oldInk = ::SetTextColor(dc, ink);
  DrawLabel(dc, record, rect, imageWidth);
  ::SetTextColor(dc, oldInk);
}

void DrawImage(HDC dc, HIMAGELIST list, int index, int x, int y) {
  if (list && index >= 0 && index < ::ImageList_GetImageCount(list))
    ::ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
}

// A monochrome mask of the image drawn on the face colour: with dither only
// white stays white, else the face and highlight pixels are white.
fw::ScopedBitmap DisabledMask(const PixelCanvas& image, bool dither) {
  const COLORREF face = ScreenColour(::GetSysColor(COLOR_BTNFACE));
  const COLORREF shine = ScreenColour(::GetSysColor(COLOR_BTNHIGHLIGHT));
  const int width = image.Width(), height = image.Height();
  const int stride = ((width + 15) / 16) * 2;  // monochrome rows are word aligned
  std::vector<BYTE> bits(static_cast<size_t>(stride) * height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      COLORREF pixel = image.At(x, y);
      bool white = dither ? pixel == RGB(255, 255, 255) : (pixel == face || pixel == shine);
      if (white) bits[y * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
    }
  }
  return fw::ScopedBitmap(::CreateBitmap(width, height, 1, 1, bits.data()));
}

// Paints `brush` through the mask: 0xB8074A where the mask is black (with
// black text and white back colours), 0xE20746 where its bits are set.
void PaintThroughMask(HDC dc, int x, int y, HDC mask, int width, int height, COLORREF colour, DWORD rop) {
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  fw::ScopedSelectObject select(dc, brush.Get());
  ::BitBlt(dc, x, y, width, height, mask, 0, 0, rop);
}

// The image of a grayed item without state images.
void DrawDisabledImage(HDC dc, HIMAGELIST list, int index, int x, int y, COLORREF background, bool classic,
                       bool dither) {
  int width = 0, height = 0;
  if (!list || !::ImageList_GetIconSize(list, &width, &height) || width <= 0 || height <= 0) return;
  PixelCanvas copy(width, height);
  if (!DrawOnFace(list, index, &copy)) return;

  if (!dither && classic && BCMenuState::Get().systemColourImages) {
    const COLORREF face = ScreenColour(::GetSysColor(COLOR_BTNFACE));
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        COLORREF pixel = copy.At(column, row);
        double grey = (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) / 3.0 / 255.0;
        copy.Set(column, row, pixel == face ? background : Lighten(shadow, grey));
      }
    }
    ::BitBlt(dc, x, y, width, height, copy.Dc(), 0, 0, SRCCOPY);
    return;
  }

  fw::ScopedBitmap mask = DisabledMask(copy, dither);
  fw::ScopedCreatedDC maskDC(::CreateCompatibleDC(nullptr));
  if (!mask || !maskDC) return;
  fw::ScopedSelectObject selectMask(maskDC.Get(), mask.Get());
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = ::GetSysColor(COLOR_BTNSHADOW);
  if (dither) {
    Fill(dc, RECT{x, y, x + width, y + height}, background);
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    PaintThroughMask(dc, x + 1, y + 1, maskDC.Get(), width, height, light, 0xB8074A);
    PaintThroughMask(dc, x, y, maskDC.Get(), width, height, dark, 0xB8074A);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    return;
  }
  // Embossed on the item's background: highlight one pixel down and right,
  // shadow in place. White text colour turns the black mask pixels into set bits.
  PixelCanvas emboss(width + 1, height + 1);
  if (!emboss) return;
  Fill(emboss.Dc(), RECT{0, 0, width + 1, height + 1}, background);
  ::SetTextColor(emboss.Dc(), RGB(255, 255, 255));
  ::SetBkColor(emboss.Dc(), RGB(0, 0, 0));
  PaintThroughMask(emboss.Dc(), 1, 1, maskDC.Get(), width, height, light, 0xE20746);
  PaintThroughMask(emboss.Dc(), 0, 0, maskDC.Get(), width, height, dark, 0xE20746);
  ::BitBlt(dc, x, y, width + 1, height + 1, emboss.Dc(), 0, 0, SRCCOPY);
}

void DrawXPSeparator(HDC dc, const RECT& item, const XPLook& look) {
  Fill(dc, item, look.background);
  RECT line{item.left + look.column + look.gap, item.top + (item.bottom - item.top) / 2, item.right, item.bottom};
  ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
  Fill(dc, RECT{item.left, item.top, item.left + look.column, item.bottom}, look.columnColour);
}

void DrawXPText(HDC dc, const BCMenuData& record, const RECT& item, const XPLook& look, bool grayed,
                bool selected) {
  RECT text{item.left + look.column + 8, item.top, item.right, item.bottom};
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF ink = ::GetSysColor(COLOR_MENUTEXT);
  if (grayed) {
    ink = ::GetSysColor(COLOR_GRAYTEXT);
    if (!selected && !look.xpActive) ink = Lighten(ink, 0.4);
  }
  DrawLabelIn(dc, record, text, look.imageWidth, ink);
  if (selected) DrawLabelIn(dc, record, text, look.imageWidth, RGB(255, 255, 255));
  ::SetBkMode(dc, oldMode);
}

// An item's image in the XP-like look at (x, y) by state.
void DrawXPImage(HDC dc, HIMAGELIST list, int index, bool stateImages, const RECT& item, const RECT& cell, int x,
                 int y, const XPLook& look, UINT itemState, bool selected, bool dither) {
  const bool grayed = (itemState & ODS_GRAYED) != 0;
  if (grayed && stateImages) {
    DrawImage(dc, list, index + 3, x, y);
  } else if (grayed) {
    COLORREF under = selected ? look.selection : look.columnColour;
    Fill(dc, cell, under);
    if (selected) Frame(dc, item, look.highlight);
    DrawDisabledImage(dc, list, index, x, y, under, false, dither);
  } else if (itemState & ODS_CHECKED) {
    Fill(dc, cell, Lighten(look.highlight, selected ? 0.55 : 0.85));
    Frame(dc, cell, look.highlight);
    DrawImage(dc, list, index, x - 1, y - 1);
  } else if (selected) {
    Fill(dc, cell, look.selection);
    if (stateImages) DrawImage(dc, list, index + 2, x + 1, y + 1);
    DrawImage(dc, list, index, stateImages ? x - 1 : x, stateImages ? y - 1 : y);
  } else {
    Fill(dc, cell, look.columnColour);
    Frame(dc, cell, look.columnColour);
    DrawImage(dc, list, stateImages ? index + 1 : index, x, y);
  }
}

void DrawClassicText(HDC dc, const BCMenuData& record, const RECT& item, int imageWidth, COLORREF background,
                     bool grayed, bool selected) {
  RECT text{item.left + imageWidth + 9, item.top - 1, item.right, item.bottom - 1};
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  if (!grayed) {
    DrawLabelIn(dc, record, text, imageWidth, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  } else if (selected) {
    DrawLabelIn(dc, record, text, imageWidth, background);
  } else {
    RECT raised = text;
    ::OffsetRect(&raised, 1, 1);
    DrawLabelIn(dc, record, raised, imageWidth, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawLabelIn(dc, record, text, imageWidth, ::GetSysColor(COLOR_GRAYTEXT));
  }
  ::SetBkMode(dc, oldMode);
}

}  // namespace

BCMenu* BCMenu::OwnerOfRecord(ULONG_PTR data, BCMenuData** record) {
  for (const auto& item : items_) {
    if (reinterpret_cast<ULONG_PTR>(item.get()) != data) continue;
    *record = item.get();
    return this;
  }
  for (HMENU sub : subMenus_) {
    BCMenu* popup = FromHandle(sub);
    BCMenu* owner = popup && popup != this ? popup->OwnerOfRecord(data, record) : nullptr;
    if (owner) return owner;
  }
  return nullptr;
}

BOOL BCMenu::MeasureItem(MEASUREITEMSTRUCT* measure) {
  if (!measure || measure->CtlType != ODT_MENU) return FALSE;
  BCMenuData* record = nullptr;
  if (!OwnerOfRecord(measure->itemData, &record)) return FALSE;
  BCMenuState& state = BCMenuState::Get();
  const bool xpLook = state.XPLookInForce();
  const int gap = xpLook ? state.ImageGap() : 4;
  if (record->IsSeparator()) {
    measure->itemWidth = 0;
    measure->itemHeight = xpLook ? 3 : std::max((state.imageHeight + gap) / 2, ::GetSystemMetrics(SM_CYMENU) / 2);
    return TRUE;
  }
  int textWidth = 0;
  if (state.family != 0 && !record->GetText().empty()) {
    fw::WindowDC dc(::GetDesktopWindow());
    fw::ScopedFont font = state.family >= 2 ? CreateMenuFont() : fw::ScopedFont();
    fw::ScopedSelectObject select(dc, font.Get());
    RECT rect{0, 0, 0, 0};
    const std::wstring& text = record->GetText();
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    textWidth = rect.right - rect.left;
  }
  measure->itemWidth = xpLook ? state.imageWidth + gap + textWidth + 8 : 2 * state.imageWidth + textWidth + 1;
  measure->itemHeight = std::max(::GetSystemMetrics(SM_CYMENU), state.imageHeight + gap);
  return TRUE;
}

BOOL BCMenu::DrawItem(const DRAWITEMSTRUCT* draw) {
  if (!draw || draw->CtlType != ODT_MENU) return FALSE;
  BCMenuData* record = nullptr;
  BCMenu* owner = OwnerOfRecord(draw->itemData, &record);
  if (!owner) return FALSE;
  if (::IsRectEmpty(&draw->rcItem)) return TRUE;
  bool palette = (::GetDeviceCaps(draw->hDC, RASTERCAPS) & RC_PALETTE) != 0;
  if (palette || !BCMenuState::Get().XPLookInForce()) {
    owner->DrawClassic(*draw, *record);
  } else {
    owner->DrawXP(*draw, *record);
  }
  return TRUE;
}

bool BCMenu::ImageOf(const BCMenuData& record, HIMAGELIST* list, int* index, bool* stateImages) const {
  BCMenuState& state = BCMenuState::Get();
  if (record.OwnImages() && record.ownImageIndex >= 0) {
    *list = record.OwnImages();
    *index = record.ownImageIndex;
    *stateImages = state.wideImageColumn && record.OwnImageCount() > 2;
    return true;
  }
  if (record.IsPopup() || record.IsSeparator() || !state.SharedImages()) return false;
  int shared = state.SharedIndexOf(static_cast<int>(record.Command()));
  if (shared < 0) return false;
  const auto& commands = state.SharedCommands();
  *list = state.SharedImages();
  *index = shared;
  *stateImages = state.wideImageColumn && shared + 2 < static_cast<int>(commands.size()) &&
                 commands[shared + 1] == commands[shared] && commands[shared + 2] == commands[shared];
  return true;
}

bool BCMenu::HasCheckMarkBitmap(UINT command, bool checked) const {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_CHECKMARKS;
  if (!::GetMenuItemInfoW(menu_, command, FALSE, &info)) return false;
  return (checked ? info.hbmpChecked : info.hbmpUnchecked) != nullptr;
}

HIMAGELIST BCMenu::CheckMarkList(bool selected) const {
  const BCMenu* marks = checkMarkOwner_ ? checkMarkOwner_ : this;
  bool use = (marks->checkMarkSelected_ > 0 && selected) || marks->checkMarkNormal_ > 0;
  return use ? marks->checkMarks_.Get() : nullptr;
}

void BCMenu::DrawXP(const DRAWITEMSTRUCT& draw, BCMenuData& record) {
  const bool grayed = (draw.itemState & ODS_GRAYED) != 0;
  const bool mayNotSelect = grayed && !BCMenuState::Get().SelectDisabled(true);
  // A grayed item is painted off-screen in the menu font, so the system's
  // own disabled rendering never shows through.
  std::optional<BCMenuMemDC> buffer;
  fw::ScopedFont font;
  if (mayNotSelect) {
    buffer.emplace(draw.hDC, draw.rcItem);
    font = CreateMenuFont();
  }
  HDC dc = buffer ? buffer->Get() : draw.hDC;
  fw::ScopedSelectObject selectFont(dc, font.Get());

  const XPLook look = XPLook::Current();
  const RECT item = draw.rcItem;
  if (record.IsSeparator()) {
    DrawXPSeparator(dc, item, look);
    return;
  }
  const bool selected = (draw.itemState & ODS_SELECTED) && !mayNotSelect;
  if (selected) {
    Fill(dc, item, look.selection);
    Frame(dc, item, look.highlight);
  } else {
    Fill(dc, item, look.background);
    Fill(dc, RECT{item.left, item.top, item.left + look.column, item.bottom}, look.columnColour);
  }

  const int x = item.left + HalfUp(look.column - look.imageWidth);
  const int y = item.top + HalfUp(item.bottom - item.top - look.imageHeight);
  const RECT cell{item.left + 1, item.top + 1, item.left + look.column - 2, item.bottom - 1};
  HIMAGELIST list = nullptr;
  int index = -1;
  bool stateImages = false;
  if (ImageOf(record, &list, &index, &stateImages)) {
    DrawXPImage(dc, list, index, stateImages, item, cell, x, y, look, draw.itemState, selected, dither_);
  } else if (draw.itemState & ODS_CHECKED) {
    DrawXPCheck(dc, cell, x, y, look.columnColour, look.highlight, draw.itemID, selected);
  }
  DrawXPText(dc, record, item, look, grayed, selected);
}

void BCMenu::DrawXPCheck(HDC dc, const RECT& cell, int x, int y, COLORREF column, COLORREF highlight, UINT command,
                         bool selected) {
  if (HIMAGELIST marks = CheckMarkList(selected)) {
    Fill(dc, cell, column);
    DrawImage(dc, marks, selected ? 1 : 0, x, y);
    return;
  }
  Fill(dc, cell, Lighten(highlight, selected ? 0.55 : 0.85));
  Frame(dc, cell, highlight);
  int markX = cell.left + MarkOffset(cell.right - cell.left);
  int markY = cell.top + MarkOffset(cell.bottom - cell.top);
  COLORREF ink = ::GetSysColor(COLOR_MENUTEXT);
  if (HasCheckMarkBitmap(command, true)) {
    DrawDot(dc, markX, markY, ink);
  } else {
    DrawCheckMark(dc, markX, markY, ink, 1);
  }
}

void BCMenu::DrawClassic(const DRAWITEMSTRUCT& draw, BCMenuData& record) {
  BCMenuState& state = BCMenuState::Get();
  HDC dc = draw.hDC;
  const RECT item = draw.rcItem;
  const int imageWidth = state.imageWidth, imageHeight = state.imageHeight;
  const COLORREF background = ::GetSysColor(state.IsXPStyleActive() ? COLOR_BTNFACE : COLOR_MENU);
  Fill(dc, item, background);
  if (record.IsSeparator()) {
    RECT line = item;
    line.top += (item.bottom - item.top) / 2;
    ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const bool grayed = (draw.itemState & ODS_GRAYED) != 0;
  const bool selected = (draw.itemState & ODS_SELECTED) && (!grayed || state.SelectDisabled(false));
  const bool checked = (draw.itemState & ODS_CHECKED) != 0;
  HIMAGELIST list = nullptr;
  int index = -1;
  bool stateImages = false;
  const bool hasImage = ImageOf(record, &list, &index, &stateImages);
  if (selected) {
    RECT bar = item;
    if (hasImage || checked) bar.left = item.left + imageWidth + 5;
    Fill(dc, bar, ::GetSysColor(COLOR_HIGHLIGHT));
  }

  const int d = std::max(0, static_cast<int>(item.bottom - item.top - imageHeight - 4) / 2);
  if (hasImage) {
    DrawClassicImage(dc, list, index, item, d, background, grayed, selected, checked);
  } else if (checked) {
    RECT cell{item.left + 1, item.top + d + 2, item.left + imageWidth + 1, item.top + imageHeight + d + 2};
    Fill(dc, cell, selected ? background : Lighten(background, 0.6));
    if (state.family >= 2) ::DrawEdge(dc, &cell, BDR_SUNKENOUTER, BF_RECT);
    COLORREF ink = ::GetSysColor(COLOR_MENUTEXT);
    if (HasCheckMarkBitmap(draw.itemID, true)) {
      DrawDot(dc, cell.left + 5, cell.top + 4, ink);
    } else {
      DrawCheckMark(dc, cell.left + 4, cell.top + 4, ink, 0);
    }
  }
  DrawClassicText(dc, record, item, imageWidth, background, grayed, selected);
}

void BCMenu::DrawClassicImage(HDC dc, HIMAGELIST list, int index, const RECT& item, int d, COLORREF background,
                              bool grayed, bool selected, bool checked) {
  BCMenuState& state = BCMenuState::Get();
  const int imageWidth = state.imageWidth, imageHeight = state.imageHeight;
  RECT inner{item.left + 1, item.top + d + 1, item.left + imageWidth + 3, item.top + imageHeight + d + 3};
  Fill(dc, inner, checked && !selected ? Lighten(background, 0.6) : background);
  // 3-D edges only where the system draws them itself.
  RECT outer{item.left, item.top + d, item.left + imageWidth + 4, item.top + imageHeight + d + 4};
  if (state.family >= 2 && checked) {
    Frame3D(dc, outer, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  } else if (state.family >= 2 && selected) {
    Frame3D(dc, outer, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
  }
  if (grayed) {
    DrawDisabledImage(dc, list, index, item.left + 2, item.top + d + 2, background, true, dither_ != FALSE);
  } else {
    DrawImage(dc, list, index, item.left + 2, item.top + d + 2);
  }
}

// Measuring and drawing menu items in the XP-like and the classic look.
#include <algorithm>
#include <optional>

#include "BCMenu.h"
#include "BCMenuDrawing.h"
#include "BCMenuMemDC.h"
#include "BCMenuState.h"

using namespace menu_drawing;

namespace {

const UINT kLabelFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE;         // 0x24
const UINT kAcceleratorFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;  // 0x26

// Half of a gap, halves rounded up, never below 0.
int HalfUp(int gap) { return gap <= 0 ? 0 : (gap + 1) / 2; }

// The label left-aligned and the accelerator right-aligned, the latter kept
// an image width from the right edge.
void DrawLabel(HDC dc, const BCMenuData& record, RECT rect, int imageWidth) {
  if (record.GetText().empty() || rect.right <= rect.left) return;
  if (!record.HasTab()) {
    std::wstring text = record.GetText();
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, kLabelFormat);
    return;
  }
  rect.right -= imageWidth;
  std::wstring label = record.Label();
  std::wstring accelerator = record.Accelerator();
  ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &rect, kLabelFormat);
  ::DrawTextW(dc, accelerator.c_str(), static_cast<int>(accelerator.size()), &rect, kAcceleratorFormat);
}

void DrawImage(HDC dc, HIMAGELIST list, int index, int x, int y) {
  if (list && index >= 0 && index < ::ImageList_GetImageCount(list))
    ::ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
}

// Where a mark goes inside a box: half the box less 3, 0 for small boxes.
int MarkOffset(int extent) { return extent < 6 ? 0 : extent / 2 - 3; }

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
  int shared = state.SharedIndexOf(static_cast<int>(record.Command()));
  if (record.IsPopup() || record.IsSeparator() || shared < 0 || !state.SharedImages()) return false;
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

void BCMenu::DrawXP(const DRAWITEMSTRUCT& draw, BCMenuData& record) {
  BCMenuState& state = BCMenuState::Get();
  const bool grayed = (draw.itemState & ODS_GRAYED) != 0;
  const bool mayNotSelect = grayed && !state.SelectDisabled(true);
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

  const int gap = state.ImageGap(), imageWidth = state.imageWidth, imageHeight = state.imageHeight;
  const int column = imageWidth + gap;
  const RECT item = draw.rcItem;
  const int height = item.bottom - item.top;
  const bool xpActive = state.IsXPStyleActive();
  const COLORREF columnColour = xpActive ? RGB(0x5A, 0x5A, 0x5A) : Lighten(RGB(0x5A, 0x5A, 0x5A), 0.25);
  const COLORREF background = Darken(RGB(0x8C, 0x8C, 0x8C), 0.02);
  const COLORREF selection = RGB(138, 220, 23);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const RECT columnRect{item.left, item.top, item.left + column, item.bottom};

  if (record.IsSeparator()) {
    Fill(dc, item, background);
    RECT line{item.left + column + gap, item.top + height / 2, item.right, item.bottom};
    ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    Fill(dc, columnRect, columnColour);
    return;
  }
  const bool selected = (draw.itemState & ODS_SELECTED) && !mayNotSelect;
  const bool checked = (draw.itemState & ODS_CHECKED) != 0;
  if (selected) {
    Fill(dc, item, selection);
    Frame(dc, item, highlight);
  } else {
    Fill(dc, item, background);
    Fill(dc, columnRect, columnColour);
  }

  const int x = item.left + HalfUp(column - imageWidth);
  const int y = item.top + HalfUp(height - imageHeight);
  const RECT cell{item.left + 1, item.top + 1, item.left + column - 2, item.bottom - 1};
  HIMAGELIST list = nullptr;
  int index = -1;
  bool stateImages = false;
  if (ImageOf(record, &list, &index, &stateImages)) {
    if (grayed) {
      if (stateImages) {
        DrawImage(dc, list, index + 3, x, y);
      } else {
        COLORREF under = selected ? selection : columnColour;
        Fill(dc, cell, under);
        if (selected) Frame(dc, item, highlight);
        DrawDisabledImage(dc, list, index, x, y, under, false);
      }
    } else if (checked) {
      Fill(dc, cell, Lighten(highlight, selected ? 0.55 : 0.85));
      Frame(dc, cell, highlight);
      DrawImage(dc, list, index, x - 1, y - 1);
    } else if (selected) {
      Fill(dc, cell, selection);
      if (stateImages) {
        DrawImage(dc, list, index + 2, x + 1, y + 1);
        DrawImage(dc, list, index, x - 1, y - 1);
      } else {
        DrawImage(dc, list, index, x, y);
      }
    } else {
      Fill(dc, cell, columnColour);
      Frame(dc, cell, columnColour);
      DrawImage(dc, list, stateImages ? index + 1 : index, x, y);
    }
  } else if (checked) {
    const BCMenu* marks = checkMarkOwner_ ? checkMarkOwner_ : this;
    bool useList = marks->checkMarks_ &&
                   ((marks->checkMarkSelected_ > 0 && selected) || marks->checkMarkNormal_ > 0);
    if (useList) {
      Fill(dc, cell, columnColour);
      DrawImage(dc, marks->checkMarks_.Get(), selected ? 1 : 0, x, y);
    } else {
      Fill(dc, cell, Lighten(highlight, selected ? 0.55 : 0.85));
      Frame(dc, cell, highlight);
      int markX = cell.left + MarkOffset(cell.right - cell.left);
      int markY = cell.top + MarkOffset(cell.bottom - cell.top);
      COLORREF ink = ::GetSysColor(COLOR_MENUTEXT);
      if (HasCheckMarkBitmap(draw.itemID, true)) {
        DrawDot(dc, markX, markY, ink);
      } else {
        DrawCheckMark(dc, markX, markY, ink, 1);
      }
    }
  }

  RECT text{item.left + column + 8, item.top, item.right, item.bottom};
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF ink = ::GetSysColor(COLOR_MENUTEXT);
  if (grayed) {
    ink = ::GetSysColor(COLOR_GRAYTEXT);
    if (!selected && !xpActive) ink = Lighten(ink, 0.4);
  }
  COLORREF oldInk = ::SetTextColor(dc, ink);
  DrawLabel(dc, record, text, imageWidth);
  if (selected) {
    ::SetTextColor(dc, RGB(255, 255, 255));
    DrawLabel(dc, record, text, imageWidth);
  }
  ::SetTextColor(dc, oldInk);
  ::SetBkMode(dc, oldMode);
}

void BCMenu::DrawClassic(const DRAWITEMSTRUCT& draw, BCMenuData& record) {
  BCMenuState& state = BCMenuState::Get();
  HDC dc = draw.hDC;
  const RECT item = draw.rcItem;
  const int height = item.bottom - item.top;
  const int imageWidth = state.imageWidth, imageHeight = state.imageHeight;
  const COLORREF background = ::GetSysColor(state.IsXPStyleActive() ? COLOR_BTNFACE : COLOR_MENU);
  const bool edges = state.family >= 2;

  if (record.IsSeparator()) {
    Fill(dc, item, background);
    RECT line = item;
    line.top += height / 2;
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

  Fill(dc, item, background);
  if (selected) {
    RECT bar = item;
    if (hasImage || checked) bar.left = item.left + imageWidth + 5;
    Fill(dc, bar, ::GetSysColor(COLOR_HIGHLIGHT));
  }

  const int d = std::max(0, (height - imageHeight - 4) / 2);
  if (hasImage) {
    RECT inner{item.left + 1, item.top + d + 1, item.left + imageWidth + 3, item.top + imageHeight + d + 3};
    Fill(dc, inner, checked && !selected ? Lighten(background, 0.6) : background);
    RECT outer{item.left, item.top + d, item.left + imageWidth + 4, item.top + imageHeight + d + 4};
    if (edges && checked) {
      Frame3D(dc, outer, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    } else if (edges && selected) {
      Frame3D(dc, outer, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    }
    if (grayed) {
      DrawDisabledImage(dc, list, index, item.left + 2, item.top + d + 2, background, true);
    } else {
      DrawImage(dc, list, index, item.left + 2, item.top + d + 2);
    }
  } else if (checked) {
    RECT cell{item.left + 1, item.top + d + 2, item.left + imageWidth + 1, item.top + imageHeight + d + 2};
    Fill(dc, cell, selected ? background : Lighten(background, 0.6));
    if (edges) ::DrawEdge(dc, &cell, BDR_SUNKENOUTER, BF_RECT);
    COLORREF ink = ::GetSysColor(COLOR_MENUTEXT);
    if (HasCheckMarkBitmap(draw.itemID, true)) {
      DrawDot(dc, cell.left + 5, cell.top + 4, ink);
    } else {
      DrawCheckMark(dc, cell.left + 4, cell.top + 4, ink, 0);
    }
  }

  RECT text{item.left + imageWidth + 9, item.top - 1, item.right, item.bottom - 1};
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldInk = ::GetTextColor(dc);
  if (!grayed) {
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawLabel(dc, record, text, imageWidth);
  } else if (selected) {
    ::SetTextColor(dc, background);
    DrawLabel(dc, record, text, imageWidth);
  } else {
    RECT raised = text;
    ::OffsetRect(&raised, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawLabel(dc, record, raised, imageWidth);
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    DrawLabel(dc, record, text, imageWidth);
  }
  ::SetTextColor(dc, oldInk);
  ::SetBkMode(dc, oldMode);
}

void BCMenu::DrawDisabledImage(HDC dc, HIMAGELIST list, int index, int x, int y, COLORREF background,
                               bool classic) {
  int width = 0, height = 0;
  if (!list || !::ImageList_GetIconSize(list, &width, &height) || width <= 0 || height <= 0) return;
  PixelCanvas copy(width, height);
  if (!DrawOnFace(list, index, &copy)) return;
  const COLORREF face = ScreenColour(::GetSysColor(COLOR_BTNFACE));
  const COLORREF shine = ScreenColour(::GetSysColor(COLOR_BTNHIGHLIGHT));

  if (!dither_ && classic && BCMenuState::Get().systemColourImages) {
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

  // A monochrome mask: with dither only white stays white, else the face
  // and highlight pixels are white.
  fw::ScopedBitmap mask(::CreateBitmap(width, height, 1, 1, nullptr));
  fw::ScopedCreatedDC maskDC(::CreateCompatibleDC(nullptr));
  if (!mask || !maskDC) return;
  fw::ScopedSelectObject selectMask(maskDC.Get(), mask.Get());
  ::PatBlt(maskDC.Get(), 0, 0, width, height, BLACKNESS);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      COLORREF pixel = copy.At(column, row);
      bool white = dither_ ? pixel == RGB(255, 255, 255) : (pixel == face || pixel == shine);
      if (white) ::SetPixelV(maskDC.Get(), column, row, RGB(255, 255, 255));
    }
  }

  fw::ScopedBrush light(::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT)));
  fw::ScopedBrush dark(::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW)));
  if (dither_) {
    Fill(dc, RECT{x, y, x + width, y + height}, background);
    // 0xB8074A paints the brush where the mask is black.
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    {
      fw::ScopedSelectObject brush(dc, light.Get());
      ::BitBlt(dc, x + 1, y + 1, width, height, maskDC.Get(), 0, 0, 0xB8074A);
    }
    {
      fw::ScopedSelectObject brush(dc, dark.Get());
      ::BitBlt(dc, x, y, width, height, maskDC.Get(), 0, 0, 0xB8074A);
    }
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    return;
  }

  // Embossed: highlight one pixel down and right, shadow in place, on the
  // item's background.
  PixelCanvas emboss(width + 1, height + 1);
  if (!emboss) return;
  Fill(emboss.Dc(), RECT{0, 0, width + 1, height + 1}, background);
  // 0xE20746 paints the brush where the source bits are set: black mask
  // pixels become set through the text colour.
  ::SetTextColor(emboss.Dc(), RGB(255, 255, 255));
  ::SetBkColor(emboss.Dc(), RGB(0, 0, 0));
  {
    fw::ScopedSelectObject brush(emboss.Dc(), light.Get());
    ::BitBlt(emboss.Dc(), 1, 1, width, height, maskDC.Get(), 0, 0, 0xE20746);
  }
  {
    fw::ScopedSelectObject brush(emboss.Dc(), dark.Get());
    ::BitBlt(emboss.Dc(), 0, 0, width, height, maskDC.Get(), 0, 0, 0xE20746);
  }
  ::BitBlt(dc, x, y, width + 1, height + 1, emboss.Dc(), 0, 0, SRCCOPY);
}

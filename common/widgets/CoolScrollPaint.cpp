#include <algorithm>
#include <vector>

#include "CoolScrollBar.h"
#include "CoolScrollGeometry.h"
#include "CoolScrollInternal.h"
#include "DrawHelpers.h"
#include "Handles.h"

namespace {
// The whole-window DC that WM_NCPAINT draws through.
class WholeWindowDC {
 public:
  explicit WholeWindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetWindowDC(hwnd)) {}
  ~WholeWindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WholeWindowDC(const WholeWindowDC&) = delete;
  WholeWindowDC& operator=(const WholeWindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

struct BarPainter {
  HWND hwnd;
  HDC dc;
  CoolScrollBarState* bar;
  bool custom = false;  // the parent draws the parts

  RECT Out(const RECT& flat) const { return bar->barType == SB_HORZ ? flat : CoolTranspose(flat); }

  LRESULT Notify(DWORD stage, const RECT& flat, UINT_PTR item, UINT itemState, int barCode, WPARAM wParam) const {
    HWND parent = GetParent(hwnd);
    if (!parent) return 0;
    CoolScrollCustomDraw draw{};
    draw.hdr.hwndFrom = hwnd;
    draw.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrW(hwnd, GWLP_ID));
    draw.hdr.code = kNmCoolSbCustomDraw;
    draw.drawStage = stage;
    draw.dc = dc;
    draw.rect = Out(flat);
    draw.item = item;
    draw.itemState = itemState;
    draw.bar = barCode;
    return SendMessageW(parent, WM_NOTIFY, wParam, reinterpret_cast<LPARAM>(&draw));
  }
  void NotifyItem(const RECT& flat, int item, UINT itemState) const {
    Notify(kCoolItemPrePaint, flat, static_cast<UINT_PTR>(item), itemState, bar->barType,
           static_cast<WPARAM>(GetWindowLongPtrW(hwnd, GWLP_ID)));
  }

  void Fill(const RECT& flat, COLORREF colour) const {
    const RECT rect = Out(flat);
    fw::ScopedBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.Get());
  }

  void Channel(const RECT& flat, bool pressed) const {
    const RECT rect = Out(flat);
    if (IsRectEmpty(&rect)) return;
    static const WORD kChecker[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    fw::ScopedBitmap pattern(CreateBitmap(8, 8, 1, 1, kChecker));
    fw::ScopedBrush brush(CreatePatternBrush(pattern.Get()));
    COLORREF fore = bar->colours[kClrChannelFore];
    COLORREF back = bar->colours[kClrChannelBack];
    // Where the highlight cannot be told from the window, the pattern would vanish.
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    if (highlight == GetSysColor(COLOR_WINDOW) && highlight != RGB(255, 255, 255)) fore = GetSysColor(COLOR_BTNFACE);
    if (pressed) {
      fore ^= 0xFFFFFF;
      back ^= 0xFFFFFF;
    }
    const COLORREF oldText = SetTextColor(dc, fore);
    const COLORREF oldBack = SetBkColor(dc, back);
    POINT oldOrigin{};
    SetBrushOrgEx(dc, rect.left, rect.top, &oldOrigin);
    FillRect(dc, &rect, brush.Get());
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
  }

  void Thumb(const RECT& flat, bool pressedOrHot) const {
    if (bar->style != kCsbStandard && pressedOrHot) {
      Fill(flat, bar->colours[kClrThumbHot]);
      return;
    }
    RECT rect = Out(flat);
    DrawEdge(dc, &rect, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST | (bar->style != kCsbStandard ? BF_FLAT : 0));
    fw::ScopedBrush brush(CreateSolidBrush(bar->colours[kClrThumb]));
    FillRect(dc, &rect, brush.Get());
  }

  void Arrow(const RECT& flat, UINT arrowState, bool pressed, bool hot) const {
    RECT rect = Out(flat);
    if (bar->style == kCsbStandard) {
      DrawFrameControl(dc, &rect, DFC_SCROLL, arrowState | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));
      return;
    }
    const COLORREF face = bar->colours[pressed ? kClrArrowFacePressed : hot ? kClrArrowFaceHot : kClrArrowFace];
    const COLORREF glyph = bar->colours[pressed ? kClrArrowGlyphPressed : hot ? kClrArrowGlyphHot : kClrArrowGlyph];
    RecolouredArrow(rect, arrowState, face, glyph);
  }

  // The system arrow drawn flat into a bitmap, its face and glyph pixels
  // given the skin's colours.
  void RecolouredArrow(const RECT& rect, UINT arrowState, COLORREF face, COLORREF glyph) const {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info = TopDownBitmapInfo(width, height, 32);
    void* bits = nullptr;
    fw::ScopedBitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::ScopedCreatedDC memory(CreateCompatibleDC(dc));
    if (!bitmap || !memory) return;
    fw::ScopedSelectObject select(memory.Get(), bitmap.Get());
    RECT local{0, 0, width, height};
    DrawFrameControl(memory.Get(), &local, DFC_SCROLL, arrowState | DFCS_FLAT);
    GdiFlush();
    auto toDib = [](COLORREF c) { return static_cast<DWORD>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c); };
    const DWORD systemFace = toDib(GetSysColor(COLOR_BTNFACE));
    const DWORD systemText = toDib(GetSysColor(COLOR_BTNTEXT));
    DWORD* pixel = static_cast<DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) {
      const DWORD value = pixel[i] & 0xFFFFFF;
      if (value == systemFace) pixel[i] = toDib(face);
      else if (value == systemText) pixel[i] = toDib(glyph);
    }
    BitBlt(dc, rect.left, rect.top, width, height, memory.Get(), 0, 0, SRCCOPY);
  }
};

UINT ItemState(bool pressed, bool hot, bool inactive) {
  if (pressed) return CDIS_SELECTED;
  if (hot) return CDIS_HOT;
  if (inactive) return CDIS_DISABLED;
  return CDIS_DEFAULT;
}

void DrawButtonContent(HDC dc, const CoolScrollButton& button, RECT inner, bool pressed) {
  if (pressed) OffsetRect(&inner, 1, 1);
  fw::ScopedBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  FillRect(dc, &inner, face.Get());
  if (button.bitmap) {
    BITMAP info{};
    GetObjectW(button.bitmap, sizeof(info), &info);
    const int width = inner.right - inner.left, height = inner.bottom - inner.top;
    const int drawWidth = std::min<int>(info.bmWidth, width), drawHeight = std::min<int>(info.bmHeight, height);
    fw::ScopedCreatedDC memory(CreateCompatibleDC(dc));
    fw::ScopedSelectObject select(memory.Get(), button.bitmap);
    BitBlt(dc, inner.left + (width - drawWidth) / 2, inner.top + (height - drawHeight) / 2, drawWidth, drawHeight,
           memory.Get(), (info.bmWidth - drawWidth) / 2, (info.bmHeight - drawHeight) / 2, SRCCOPY);
  } else if (button.metafile) {
    RECT play = inner;
    InflateRect(&play, -1, -1);
    PlayEnhMetaFile(dc, button.metafile, &play);
  }
}

UINT ArrowGlyphState(UINT style) {
  if (style & kSbbsArrowLeft) return DFCS_SCROLLLEFT;
  if (style & kSbbsArrowRight) return DFCS_SCROLLRIGHT;
  if (style & kSbbsArrowUp) return DFCS_SCROLLUP;
  return DFCS_SCROLLDOWN;
}

void DrawPushButton(HDC dc, const CoolScrollButton& button, RECT rect, bool pressed) {
  const UINT style = button.kindStyle;
  if (style & (kSbbsArrowLeft | kSbbsArrowRight | kSbbsArrowUp | kSbbsArrowDown)) {
    DrawFrameControl(dc, &rect, DFC_SCROLL, ArrowGlyphState(style) | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));
    return;
  }
  if (pressed) {
    if (style & kSbbsPressedFrame) {
      fw::ScopedBrush dark(CreateSolidBrush(GetSysColor(COLOR_3DDKSHADOW)));
      FrameRect(dc, &rect, dark.Get());
      InflateRect(&rect, -1, -1);
    }
    DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT | BF_FLAT | BF_ADJUST);
  } else if (style & (kSbbsPushInset2 | kSbbsPushInset1)) {
    DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH);
    const int inset = (style & kSbbsPushInset2) ? 2 : 1;
    InflateRect(&rect, -inset, -inset);
  } else {
    DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT | BF_ADJUST);
  }
  DrawButtonContent(dc, button, rect, pressed);
}

void DrawOneButton(const BarPainter& painter, const CoolScrollButton& button, const RECT& flat, bool pressed) {
  HDC dc = painter.dc;
  RECT rect = painter.Out(flat);
  switch (button.kindStyle & kSbbsKindMask) {
    case kSbbPush:
      DrawPushButton(dc, button, rect, pressed);
      break;
    case kSbbToggle:
      DrawPushButton(dc, button, rect, pressed || button.state != 0);
      break;
    case kSbbFixed:
      DrawPushButton(dc, button, rect, button.state != 0);
      break;
    case kSbbBlank: {
      DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT | BF_FLAT | BF_ADJUST);
      fw::ScopedBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
      FillRect(dc, &rect, face.Get());
      break;
    }
    case kSbbBlankFlat:
      painter.Fill(flat, GetSysColor(COLOR_BTNFACE));
      break;
    case kSbbBlankDark:
      painter.Fill(flat, GetSysColor(COLOR_3DDKSHADOW));
      break;
    case kSbbOwnerDraw: {
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
      painter.Notify(kCoolItemPrePaint, flat, static_cast<UINT_PTR>(static_cast<INT_PTR>(button.commandId)),
                     pressed ? 1 : 0, kCoolBarButton, static_cast<WPARAM>(GetWindowLongPtrW(painter.hwnd, GWLP_ID)));
      RestoreDC(dc, saved);
      break;
    }
    default:
      break;
  }
}

bool IsHotBar(HWND hwnd, const CoolScrollBarState& bar) {
  const CoolTracking& track = CoolTrack();
  return bar.style == kCsbHotTracked && track.lastWindow == hwnd && track.hotBar == bar.barType;
}

void DrawParts(const BarPainter& p, const RECT& flat, int pressed, int hot) {
  CoolScrollBarState* bar = p.bar;
  const int width = flat.right - flat.left;
  const int arrow = CoolArrowLength(*bar);
  const bool scrollable = CoolIsScrollable(bar->info);
  const bool bothDisabled = (bar->flags & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH;
  const bool inactive = !scrollable && !(bar->flags & kCsbThumbAlways);
  const bool horz = bar->barType == SB_HORZ;
  const UINT firstState = (horz ? DFCS_SCROLLLEFT : DFCS_SCROLLUP) |
                          ((inactive || (bar->flags & ESB_DISABLE_LTUP)) ? DFCS_INACTIVE : 0);
  const UINT secondState = (horz ? DFCS_SCROLLRIGHT : DFCS_SCROLLDOWN) |
                           ((inactive || (bar->flags & ESB_DISABLE_RTDN)) ? DFCS_INACTIVE : 0);
  auto arrowPart = [&](const RECT& part, int code, UINT state) {
    const bool isPressed = pressed == code;
    const bool isHot = hot == code && !(state & DFCS_INACTIVE);
    if (p.custom) p.NotifyItem(part, code, ItemState(isPressed, isHot, (state & DFCS_INACTIVE) != 0));
    else p.Arrow(part, state, isPressed, isHot);
  };
  auto channelPart = [&](const RECT& part, int code) {
    if (p.custom) p.NotifyItem(part, code, ItemState(pressed == code, false, inactive));
    else p.Channel(part, pressed == code);
  };
  if (2 * arrow >= width) {
    // Too short for two arrows: each takes half, an odd pixel is channel.
    const int half = width / 2;
    arrowPart(RECT{flat.left, flat.top, flat.left + half, flat.bottom}, kHtLineUp, firstState);
    if (width % 2) channelPart(RECT{flat.left + half, flat.top, flat.left + half + 1, flat.bottom}, kHtPageUp);
    arrowPart(RECT{flat.left + width - half, flat.top, flat.right, flat.bottom}, kHtLineDown, secondState);
    return;
  }
  arrowPart(RECT{flat.left, flat.top, flat.left + arrow, flat.bottom}, kHtLineUp, firstState);
  const RECT channel{flat.left + arrow, flat.top, flat.right - arrow, flat.bottom};
  const int channelLength = channel.right - channel.left;
  const CoolThumb thumb = CoolThumbGeometry(flat.left, width, arrow, bar->info, bar->minThumb);
  if (thumb.length > 0 && thumb.length < channelLength && scrollable && !bothDisabled) {
    channelPart(RECT{channel.left, flat.top, thumb.start, flat.bottom}, kHtPageUp);
    channelPart(RECT{thumb.start + thumb.length, flat.top, channel.right, flat.bottom}, kHtPageDown);
    const RECT thumbRect{thumb.start, flat.top, thumb.start + thumb.length, flat.bottom};
    const bool thumbPressed = pressed == kHtThumb, thumbHot = hot == kHtThumb;
    if (p.custom) p.NotifyItem(thumbRect, kHtThumb, ItemState(thumbPressed, thumbHot, false));
    else p.Thumb(thumbRect, thumbPressed || thumbHot);
  } else if (!scrollable && (bar->flags & kCsbThumbAlways) && bar->minThumb < channelLength) {
    const RECT thumbRect{channel.left, flat.top, channel.right - 1, flat.bottom};
    if (p.custom) p.NotifyItem(thumbRect, kHtThumb, ItemState(false, false, false));
    else p.Thumb(thumbRect, false);
    p.Fill(RECT{channel.right - 1, flat.top, channel.right, flat.bottom}, GetSysColor(COLOR_SCROLLBAR));
  } else {
    channelPart(channel, kHtPageUp);
  }
  arrowPart(RECT{flat.right - arrow, flat.top, flat.right, flat.bottom}, kHtLineDown, secondState);
}

void DrawBarsInto(HWND hwnd, CoolScrollWindowState* state, HDC dc, int pressedBar, int pressedPart,
                  bool* custom, HRGN excludeFrom) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  for (int which : {SB_HORZ, SB_VERT}) {
    CoolScrollBarState* bar = CoolBarOf(state, which);
    if (!bar->displayed) continue;
    RECT screen = CoolBarRect(hwnd, *state, which);
    if (excludeFrom) {
      fw::ScopedRegion barRegion(CreateRectRgnIndirect(&screen));
      CombineRgn(excludeFrom, excludeFrom, barRegion.Get(), RGN_DIFF);
    }
    OffsetRect(&screen, -window.left, -window.top);
    const RECT flat = which == SB_HORZ ? screen : CoolTranspose(screen);
    CoolRecomputeGroups(bar, flat.right - flat.left);
    CoolDrawButtons(hwnd, dc, bar, screen, which == pressedBar ? CoolTrack().pressedButton : -1);
    const bool drewCustom = CoolDrawBar(hwnd, dc, bar, screen, which == pressedBar ? pressedPart : kHtNone);
    if (custom) *custom = *custom || drewCustom;
  }
}

// The square between the bars: the parent's, a size grip where the window's
// corner meets its parent's, else plain face.
void DrawCorner(HWND hwnd, CoolScrollWindowState* state, HDC dc, bool custom) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  const RECT horz = CoolBarRect(hwnd, *state, SB_HORZ);
  const RECT vert = CoolBarRect(hwnd, *state, SB_VERT);
  RECT corner{vert.left, horz.top, vert.right, horz.bottom};
  OffsetRect(&corner, -window.left, -window.top);
  BarPainter painter{hwnd, dc, &state->horz};
  if (custom) {
    painter.Notify(kCoolItemPrePaint, corner, kCsbCorner, CDIS_DEFAULT, kCoolBarCorner,
                   static_cast<WPARAM>(GetWindowLongPtrW(hwnd, GWLP_ID)));
    return;
  }
  HWND parent = GetParent(hwnd);
  RECT parentClient{};
  if (parent) {
    GetClientRect(parent, &parentClient);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&parentClient), 2);
  }
  const bool onParentCorner = parent && window.bottom == parentClient.bottom &&
                              (state->leftScrollBar ? window.left == parentClient.left : window.right == parentClient.right);
  if (onParentCorner) {
    DrawFrameControl(dc, &corner, DFC_SCROLL, state->leftScrollBar ? DFCS_SCROLLSIZEGRIPRIGHT : DFCS_SCROLLSIZEGRIP);
  } else {
    fw::ScopedBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &corner, face.Get());
  }
}
}  // namespace

bool CoolDrawBar(HWND hwnd, HDC dc, CoolScrollBarState* bar, const RECT& rect, int pressedPart) {
  BarPainter painter{hwnd, dc, bar};
  const bool active = CoolTrack().lastWindow == hwnd;
  const int pressed = active ? pressedPart : kHtNone;
  const int hot = active && IsHotBar(hwnd, *bar) ? CoolTrack().hotPart : kHtNone;
  RECT flat = bar->barType == SB_HORZ ? rect : CoolTranspose(rect);
  painter.custom = painter.Notify(CDDS_PREPAINT, flat, 0, 0, bar->barType, 0) == CDRF_SKIPDEFAULT;
  DrawParts(painter, CoolPartsRect(*bar, flat), pressed, hot);
  painter.Notify(CDDS_POSTPAINT, flat, 0, 0, bar->barType, 0);
  return painter.custom;
}

void CoolDrawButtons(HWND hwnd, HDC dc, CoolScrollBarState* bar, const RECT& rect, int pressedButton) {
  BarPainter painter{hwnd, dc, bar};
  const RECT flat = bar->barType == SB_HORZ ? rect : CoolTranspose(rect);
  int before = flat.left;
  int after = flat.right - bar->afterSize;
  for (UINT i = 0; i < bar->buttonCount; ++i) {
    const CoolScrollButton& button = bar->buttons[i];
    const bool isBefore = button.placement == kSbbpBefore;
    if (isBefore ? !bar->beforeShown : !bar->afterShown) continue;
    int& cursor = isBefore ? before : after;
    const int size = CoolButtonSize(*bar, button);
    DrawOneButton(painter, button, RECT{cursor, flat.top, cursor + size, flat.bottom},
                  static_cast<int>(i) == pressedButton);
    cursor += size;
  }
}

void CoolDrawThumbDrag(HWND hwnd, HDC dc, CoolScrollBarState* bar, const RECT& rect, int thumbStart) {
  BarPainter painter{hwnd, dc, bar};
  const RECT flat = CoolPartsRect(*bar, bar->barType == SB_HORZ ? rect : CoolTranspose(rect));
  const int arrow = CoolArrowLength(*bar);
  const int length = CoolTrack().thumbLength;
  painter.custom = painter.Notify(CDDS_PREPAINT, flat, 0, 0, bar->barType, 0) == CDRF_SKIPDEFAULT;
  const RECT before{flat.left + arrow, flat.top, thumbStart, flat.bottom};
  const RECT after{thumbStart + length, flat.top, flat.right - arrow, flat.bottom};
  const RECT thumb{thumbStart, flat.top, thumbStart + length, flat.bottom};
  if (painter.custom) {
    painter.NotifyItem(before, kHtPageUp, CDIS_DEFAULT);
    painter.NotifyItem(after, kHtPageDown, CDIS_DEFAULT);
    painter.NotifyItem(thumb, kHtThumb, CDIS_SELECTED);
  } else {
    painter.Channel(before, false);
    painter.Channel(after, false);
    if (bar->style != kCsbStandard) {
      painter.Fill(thumb, bar->colours[kClrThumbDragged]);
    } else {
      RECT out = painter.Out(thumb);
      DrawEdge(dc, &out, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST);
      fw::ScopedBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
      FillRect(dc, &out, face.Get());
    }
  }
  painter.Notify(CDDS_POSTPAINT, flat, 0, 0, bar->barType, 0);
}

void CoolRedrawBar(HWND hwnd, int which, int pressedPart) {
  CoolScrollWindowState* state = CoolScrollGetState(hwnd);
  CoolScrollBarState* bar = CoolBarOf(state, which);
  if (!bar || !bar->displayed) return;
  RECT window{};
  GetWindowRect(hwnd, &window);
  RECT rect = CoolBarRect(hwnd, *state, which);
  OffsetRect(&rect, -window.left, -window.top);
  WholeWindowDC dc(hwnd);
  CoolDrawBar(hwnd, dc.Get(), bar, rect, pressedPart);
}

LRESULT CoolOnNcPaint(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  // Our own copy: the bars are cut out of it before the window draws its frame.
  fw::ScopedRegion region(CreateRectRgnIndirect(&window));
  if (wParam != 1) CombineRgn(region.Get(), reinterpret_cast<HRGN>(wParam), nullptr, RGN_COPY);
  bool custom = false;
  {
    WholeWindowDC dc(hwnd);
    const CoolTracking& track = CoolTrack();
    const int pressedBar = track.lastWindow == hwnd ? track.bar : -1;
    DrawBarsInto(hwnd, state, dc.Get(), pressedBar, track.currentPart, &custom, region.Get());
  }
  const LRESULT result = CallWindowProcW(state->previousProc, hwnd, WM_NCPAINT,
                                         reinterpret_cast<WPARAM>(region.Get()), lParam);
  if (state->horz.displayed && state->vert.displayed) {
    WholeWindowDC dc(hwnd);
    DrawCorner(hwnd, state, dc.Get(), custom);
  }
  return result;
}

LRESULT CoolOnPrint(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcW(state->previousProc, hwnd, WM_PRINT, wParam, lParam);
  bool custom = false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  DrawBarsInto(hwnd, state, dc, -1, kHtNone, &custom, nullptr);
  if (state->horz.displayed && state->vert.displayed) DrawCorner(hwnd, state, dc, custom);
  return result;
}

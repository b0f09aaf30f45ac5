#include "CoolScrollBar.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "CommHelper.h"
#include "CoolScrollGeometry.h"
#include "CoolScrollInternal.h"
#include "SkinEngine.h"

namespace {
const wchar_t kStateProperty[] = L"CoolSBSubclassPtr";
const UINT kFullInfoMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// Runs `action` for bar 0, 1, or both with SB_BOTH; FALSE for other values.
template <typename Action>
BOOL ForEachBar(CoolScrollWindowState* state, int bar, Action action) {
  if (!state) return FALSE;
  if (bar == SB_BOTH) {
    action(&state->horz);
    action(&state->vert);
    return TRUE;
  }
  CoolScrollBarState* one = CoolBarOf(state, bar);
  if (!one) return FALSE;
  action(one);
  return TRUE;
}

COLORREF Complement(COLORREF colour) {
  return RGB(255 - GetRValue(colour), 255 - GetGValue(colour), 255 - GetBValue(colour));
}

COLORREF Darken(COLORREF colour, int by) {
  auto channel = [by](int value) { return std::max(value - by, 0); };
  return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

COLORREF Contrast(COLORREF colour) {
  const int mean = (GetRValue(colour) + GetGValue(colour) + GetBValue(colour)) / 3;
  return mean > 128 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

void SetDefaultColours(CoolScrollBarState* bar) {
  COLORREF* c = bar->colours;
  c[kClrThumb] = GetSysColor(COLOR_BTNFACE);
  c[kClrThumbDragged] = GetSysColor(COLOR_BTNSHADOW);
  c[kClrThumbHot] = GetSysColor(COLOR_BTNSHADOW);
  c[kClrArrowGlyph] = GetSysColor(COLOR_BTNTEXT);
  c[kClrArrowGlyphPressed] = Complement(GetSysColor(COLOR_BTNTEXT));
  c[kClrArrowGlyphHot] = Complement(GetSysColor(COLOR_BTNTEXT));
  c[kClrArrowFace] = GetSysColor(COLOR_BTNFACE);
  c[kClrArrowFacePressed] = GetSysColor(COLOR_3DDKSHADOW);
  c[kClrArrowFaceHot] = GetSysColor(COLOR_BTNSHADOW);
  c[kClrChannelFore] = GetSysColor(COLOR_BTNHIGHLIGHT);
  c[kClrChannelBack] = GetSysColor(COLOR_SCROLLBAR);
}

void RepaintIfAttached(HWND hwnd) { CoolScrollRedrawFrame(hwnd, FALSE); }

CoolScrollButton DefaultButton() {
  CoolScrollButton button{};
  button.placement = kSbbpBefore;
  button.kindStyle = kSbbPush;
  button.size = -1;
  button.maxSize = -1;
  return button;
}

void CopyMaskedFields(const CoolScrollButton& from, CoolScrollButton* to) {
  const UINT mask = from.mask;
  if (mask & kSbbmKind) to->kindStyle = from.kindStyle;
  if (mask & kSbbmId) to->commandId = from.commandId;
  if (mask & kSbbmPlacement) to->placement = from.placement;
  if (mask & kSbbmSize) to->size = from.size;
  if (mask & kSbbmBitmap) to->bitmap = from.bitmap;
  if (mask & kSbbmMetafile) to->metafile = from.metafile;
  if (mask & kSbbmCursor) to->cursor = from.cursor;
  if (mask & kSbbmMinMax) {
    to->minSize = from.minSize;
    to->maxSize = from.maxSize;
  }
  if (mask & kSbbmState) to->state = from.state;
  // Only a button before the arrows can be resized.
  if (to->placement != kSbbpBefore) to->kindStyle &= ~kSbbsResizable;
}

int FindButton(const CoolScrollBarState& bar, int indexOrId, int by) {
  if (by == 0) return indexOrId >= 0 && static_cast<UINT>(indexOrId) < bar.buttonCount ? indexOrId : -1;
  if (by != 1) return -1;
  for (UINT i = 0; i < bar.buttonCount; ++i) {
    if (bar.buttons[i].commandId == indexOrId) return static_cast<int>(i);
  }
  return -1;
}

// The system takes the full record and the older one without nTrackPos, and
// no mask bits it does not know; anything else it refuses untouched.
bool IsValidRecord(const SCROLLINFO* info) {
  const UINT olderSize = offsetof(SCROLLINFO, nTrackPos);
  return info && (info->cbSize == sizeof(SCROLLINFO) || info->cbSize == olderSize) &&
         !(info->fMask & ~static_cast<UINT>(SIF_ALL | SIF_DISABLENOSCROLL));
}

// Outside a thumb drag the system reports the position as the track
// position too.
void FollowPosition(const CoolScrollWindowState& state, SCROLLINFO& info) {
  if (!state.thumbTracking) info.nTrackPos = info.nPos;
}

bool InfoWantsBar(const CoolScrollBarState& bar, UINT mask) {
  return (mask & SIF_DISABLENOSCROLL) || (bar.flags & kCsbThumbAlways) || CoolIsScrollable(bar.info);
}
}  // namespace

CoolScrollBarState* CoolBarOf(CoolScrollWindowState* state, int bar) {
  if (!state) return nullptr;
  if (bar == SB_HORZ) return &state->horz;
  if (bar == SB_VERT) return &state->vert;
  return nullptr;
}

BOOL CoolScrollIsEnabled(HWND hwnd) { return hwnd && GetPropW(hwnd, kStateProperty) != nullptr; }

CoolScrollWindowState* CoolScrollGetState(HWND hwnd) {
  return hwnd ? static_cast<CoolScrollWindowState*>(GetPropW(hwnd, kStateProperty)) : nullptr;
}

CoolScrollBarState* CoolScrollGetBar(HWND hwnd, int bar) { return CoolBarOf(CoolScrollGetState(hwnd), bar); }

BOOL CoolScrollIsThumbTracking(HWND hwnd) {
  CoolScrollWindowState* state = CoolScrollGetState(hwnd);
  return state ? state->thumbTracking : FALSE;
}

BOOL CoolScrollInit(HWND hwnd) {
  if (!IsWindow(hwnd) || CoolScrollIsEnabled(hwnd)) return FALSE;
  auto* state = static_cast<CoolScrollWindowState*>(
      HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CoolScrollWindowState)));
  if (!state) return FALSE;
  for (CoolScrollBarState* bar : {&state->horz, &state->vert}) {
    bar->info.cbSize = sizeof(SCROLLINFO);
    bar->info.fMask = kFullInfoMask;
  }
  // Read before the property is set: these calls must reach the system.
  GetScrollInfo(hwnd, SB_HORZ, &state->horz.info);
  GetScrollInfo(hwnd, SB_VERT, &state->vert.info);
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  state->leftScrollBar = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  if (!SetPropW(hwnd, kStateProperty, state)) {
    HeapFree(GetProcessHeap(), 0, state);
    return FALSE;
  }
  if (style & WS_HSCROLL) state->horz.flags |= kCsbVisible;
  if (style & WS_VSCROLL) state->vert.flags |= kCsbVisible;
  state->horz.barType = SB_HORZ;
  state->vert.barType = SB_VERT;
  for (CoolScrollBarState* bar : {&state->horz, &state->vert}) {
    bar->style = kCsbStandard;
    bar->arrowLength = -1;
    bar->thickness = -1;
    bar->minThumb = CoolScrollDefaultMinThumb();
    CoolScrollLoadSkinColors(bar);
  }
  state->previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CoolScrollWndProc)));
  CoolScrollRedrawFrame(hwnd, TRUE);
  return TRUE;
}

BOOL CoolScrollUninit(HWND hwnd) {
  if (!CoolDetach(hwnd)) return FALSE;
  CoolScrollRedrawFrame(hwnd, TRUE);
  return TRUE;
}

bool CoolDetach(HWND hwnd) {
  CoolScrollWindowState* state = CoolScrollGetState(hwnd);
  if (!state) return false;
  CoolTracking& track = CoolTrack();
  if (track.lastWindow == hwnd) {
    CoolEndTracking(hwnd, state, GetCapture() == hwnd);
    if (track.hotTimer) KillTimer(hwnd, kCoolHotTimer);
    track = CoolTracking();
  }
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state->previousProc));
  RemovePropW(hwnd, kStateProperty);
  HeapFree(GetProcessHeap(), 0, state);
  return true;
}

BOOL CoolScrollEnableBar(HWND hwnd, int bar, UINT arrows) {
  bool allChanged = true;
  const BOOL addressed = ForEachBar(CoolScrollGetState(hwnd), bar, [&](CoolScrollBarState* one) {
    const UINT flags = (one->flags & ~ESB_DISABLE_BOTH) | (arrows & ESB_DISABLE_BOTH);
    if (flags == one->flags) allChanged = false;
    one->flags = flags;
  });
  return addressed && allChanged;
}

BOOL CoolScrollGetInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  CoolScrollBarState* one = CoolScrollGetBar(hwnd, bar);
  if (!one || !IsValidRecord(info)) return FALSE;
  if (info->fMask & SIF_PAGE) info->nPage = one->info.nPage;
  if (info->fMask & SIF_POS) info->nPos = one->info.nPos;
  // The older record ends before nTrackPos.
  if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO)) info->nTrackPos = one->info.nTrackPos;
  if (info->fMask & SIF_RANGE) {
    info->nMin = one->info.nMin;
    info->nMax = one->info.nMax;
  }
  return (info->fMask & SIF_ALL) != 0;
}

int CoolScrollGetPos(HWND hwnd, int bar) {
  CoolScrollBarState* one = CoolScrollGetBar(hwnd, bar);
  return one ? one->info.nPos : 0;
}

BOOL CoolScrollGetRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  CoolScrollBarState* one = CoolScrollGetBar(hwnd, bar);
  if (!one || !minPos || !maxPos) return FALSE;
  *minPos = one->info.nMin;
  *maxPos = one->info.nMax;
  return TRUE;
}

int CoolScrollSetInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  CoolScrollWindowState* state = CoolScrollGetState(hwnd);
  CoolScrollBarState* one = CoolBarOf(state, bar);
  if (!one || !IsValidRecord(info)) return 0;
  SCROLLINFO& mine = one->info;
  if (info->fMask & SIF_RANGE) {
    // As the system does, a minimum above the maximum leaves no range at all.
    const bool valid = info->nMin <= info->nMax;
    mine.nMin = valid ? info->nMin : 0;
    mine.nMax = valid ? info->nMax : 0;
  }
  if (info->fMask & SIF_PAGE) mine.nPage = info->nPage;
  if (info->fMask & SIF_POS) mine.nPos = info->nPos;
  // Whatever changed, page and position stay inside the range: a list that
  // lost rows while scrolled down relies on it to come back into view.
  mine.nPage = CoolClampPage(mine.nPage, mine.nMin, mine.nMax);
  mine.nPos = CoolClampPos(mine.nPos, mine);
  FollowPosition(*state, mine);
  const bool wanted = InfoWantsBar(*one, info->fMask);
  const bool shown = (one->flags & kCsbVisible) != 0;
  if (wanted != shown) CoolScrollShowBar(hwnd, bar, wanted);
  if (redraw && !state->thumbTracking) CoolScrollRedrawFrame(hwnd, wanted != shown);
  return mine.nPos;
}

int CoolScrollSetPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  CoolScrollWindowState* state = CoolScrollGetState(hwnd);
  CoolScrollBarState* one = CoolBarOf(state, bar);
  if (!one) return 0;
  const int previous = one->info.nPos;
  one->info.nPos = CoolClampPos(pos, one->info);
  FollowPosition(*state, one->info);
  if (redraw && !state->thumbTracking) RepaintIfAttached(hwnd);
  return previous;
}

BOOL CoolScrollSetRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  CoolScrollWindowState* state = CoolScrollGetState(hwnd);
  CoolScrollBarState* one = CoolBarOf(state, bar);
  if (!one) return FALSE;
  if (state->thumbTracking) return one->info.nPos;
  one->info.nMin = minPos;
  one->info.nMax = maxPos;
  const SCROLLINFO own = one->info;
  CoolScrollSetInfo(hwnd, bar, &own, FALSE);
  if (redraw) RepaintIfAttached(hwnd);
  return TRUE;
}

BOOL CoolScrollShowBar(HWND hwnd, int bar, BOOL show) {
  CoolScrollWindowState* state = CoolScrollGetState(hwnd);
  if (!state) return FALSE;
  const LONG_PTR before = GetWindowLongPtrW(hwnd, GWL_STYLE);
  LONG_PTR style = before;
  const BOOL addressed = ForEachBar(state, bar, [&](CoolScrollBarState* one) {
    const LONG_PTR bit = one->barType == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
    if (show) {
      one->flags |= kCsbVisible;
      style |= bit;
    } else {
      one->flags &= ~kCsbVisible;
      style &= ~bit;
    }
  });
  if (!addressed) return FALSE;
  if (style != before) {
    SetWindowLongPtrW(hwnd, GWL_STYLE, style);
    CoolScrollRedrawFrame(hwnd, TRUE);
  }
  return TRUE;
}

BOOL CoolScrollSetStyle(HWND hwnd, int bar, int style) {
  if (style < kCsbStandard || style > kCsbHotTracked) return FALSE;
  if (!ForEachBar(CoolScrollGetState(hwnd), bar, [&](CoolScrollBarState* one) { one->style = style; }))
    return FALSE;
  RepaintIfAttached(hwnd);
  return TRUE;
}

BOOL CoolScrollSetSize(HWND hwnd, int bar, int arrowLength, int thickness) {
  auto valid = [](int v) { return v != 0 && v >= -8 && v <= 256; };
  if (!valid(arrowLength) || !valid(thickness)) return FALSE;
  if (!ForEachBar(CoolScrollGetState(hwnd), bar, [&](CoolScrollBarState* one) {
        one->arrowLength = arrowLength;
        one->thickness = thickness;
      }))
    return FALSE;
  CoolScrollRedrawFrame(hwnd, TRUE);
  return TRUE;
}

BOOL CoolScrollSetThumbAlways(HWND hwnd, int bar, BOOL always) {
  if (!ForEachBar(CoolScrollGetState(hwnd), bar, [&](CoolScrollBarState* one) {
        one->flags = always ? (one->flags | kCsbThumbAlways) : (one->flags & ~kCsbThumbAlways);
      }))
    return FALSE;
  RepaintIfAttached(hwnd);
  return TRUE;
}

BOOL CoolScrollSetMinThumbSize(HWND hwnd, int bar, int length) {
  const int size = length == -1 ? CoolScrollDefaultMinThumb() : length;
  return ForEachBar(CoolScrollGetState(hwnd), bar, [&](CoolScrollBarState* one) { one->minThumb = size; });
}

int CoolScrollDefaultMinThumb() {
  const DWORD version = GetVersion();
  const bool windows9x = (version & 0x80000000) != 0;
  return windows9x || LOBYTE(LOWORD(version)) < 5 ? 8 : 6;
}

BOOL CoolScrollLoadSkinColors(CoolScrollBarState* bar) {
  if (!bar) return FALSE;
  SetDefaultColours(bar);
  CSkinEngine skin;
  skin.LoadSkin(GetModuleDir(nullptr) + L"\\theme\\default\\content_skin.xml", L"scrollbar", nullptr);
  struct Source { const wchar_t* id; int first; bool hasHot; };
  const Source sources[] = {{L"thumb", kClrThumb, true}, {L"arrow", kClrArrowGlyph, true},
                            {L"btn", kClrArrowFace, true}, {L"slot", kClrChannelFore, false}};
  for (const Source& source : sources) {
    const tagSkinItem* item = skin.FindItem(source.id);
    if (!item) continue;
    bar->colours[source.first] = item->normalclr;
    bar->colours[source.first + 1] = item->colorbg;
    if (source.hasHot) bar->colours[source.first + 2] = item->onclr;
  }
  return TRUE;
}

BOOL CoolScrollReloadSkinColors(HWND hwnd, int bar) {
  CoolScrollBarState* one = CoolScrollGetBar(hwnd, bar);
  if (!one) return FALSE;
  CoolScrollLoadSkinColors(one);
  RepaintIfAttached(hwnd);
  return TRUE;
}

BOOL CoolScrollSetColor(HWND hwnd, int bar, int index, COLORREF colour) {
  CoolScrollBarState* one = CoolScrollGetBar(hwnd, bar);
  if (!one || index < 0 || index >= kCoolColourCount) return FALSE;
  one->colours[index] = colour;
  RepaintIfAttached(hwnd);
  return TRUE;
}

BOOL CoolScrollSetBaseColor(HWND hwnd, int bar, COLORREF base) {
  CoolScrollBarState* one = CoolScrollGetBar(hwnd, bar);
  if (!one) return FALSE;
  COLORREF* c = one->colours;
  c[kClrThumb] = c[kClrArrowFace] = base;
  c[kClrThumbDragged] = c[kClrThumbHot] = c[kClrArrowFacePressed] = Darken(base, 30);
  c[kClrArrowFaceHot] = Darken(base, 15);
  c[kClrArrowGlyph] = Contrast(base);
  c[kClrArrowGlyphPressed] = Contrast(c[kClrArrowFacePressed]);
  c[kClrArrowGlyphHot] = Contrast(c[kClrArrowFaceHot]);
  c[kClrChannelFore] = RGB(255, 255, 255);
  RepaintIfAttached(hwnd);
  return TRUE;
}

BOOL CoolScrollInsertButton(HWND hwnd, int bar, int position, const CoolScrollButton* button) {
  CoolScrollBarState* one = CoolScrollGetBar(hwnd, bar);
  if (!one || !button || one->buttonCount >= kCoolMaxButtons) return FALSE;
  const int count = static_cast<int>(one->buttonCount);
  if (position == -1) position = count;
  if (position < 0 || position > count) return FALSE;
  CoolScrollButton inserted = DefaultButton();
  CopyMaskedFields(*button, &inserted);
  inserted.mask = button->mask;
  inserted.savedSize = inserted.size;
  std::memmove(&one->buttons[position + 1], &one->buttons[position],
               sizeof(CoolScrollButton) * static_cast<size_t>(count - position));
  one->buttons[position] = inserted;
  ++one->buttonCount;
  return TRUE;
}

BOOL CoolScrollModifyButton(HWND hwnd, int bar, int indexOrId, int by, const CoolScrollButton* button) {
  CoolScrollBarState* one = CoolScrollGetBar(hwnd, bar);
  if (!one || !button) return FALSE;
  const int index = FindButton(*one, indexOrId, by);
  if (index < 0) return FALSE;
  CopyMaskedFields(*button, &one->buttons[index]);
  if (button->mask & kSbbmSize) one->buttons[index].savedSize = one->buttons[index].size;
  return TRUE;
}

BOOL CoolScrollRemoveButton(HWND hwnd, int bar, int indexOrId, int by) {
  CoolScrollBarState* one = CoolScrollGetBar(hwnd, bar);
  if (!one) return FALSE;
  const int index = FindButton(*one, indexOrId, by);
  if (index < 0) return FALSE;
  std::memmove(&one->buttons[index], &one->buttons[index + 1],
               sizeof(CoolScrollButton) * (one->buttonCount - static_cast<UINT>(index) - 1));
  --one->buttonCount;
  CoolScrollRedrawFrame(hwnd, TRUE);
  return TRUE;
}

BOOL CoolScrollGetButton(HWND hwnd, int bar, int indexOrId, int by, CoolScrollButton* button) {
  CoolScrollBarState* one = CoolScrollGetBar(hwnd, bar);
  if (!one || !button) return FALSE;
  const int index = FindButton(*one, indexOrId, by);
  if (index < 0) return FALSE;
  *button = one->buttons[index];
  return TRUE;
}

void CoolScrollRedrawFrame(HWND hwnd, BOOL frameChanged) {
  if (frameChanged) {
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else {
    SendMessageW(hwnd, WM_NCPAINT, 1, 0);
  }
}

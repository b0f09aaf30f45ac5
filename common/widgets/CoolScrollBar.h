#pragma once
// Skinned scroll bars drawn in a window's non-client area. The engine is a set
// of plain functions: its state lives in one record per attached window (a
// window property) and one tracking record for the whole process.
#include <windows.h>
#include <commctrl.h>

const int kCoolMaxButtons = 16;

// Scroll-bar flag bits (the two low bits are the ESB_ arrow values).
const UINT kCsbThumbAlways = 0x4;
const UINT kCsbVisible = 0x8;

// Bar styles.
enum CoolScrollStyle { kCsbStandard = 0, kCsbFlat = 1, kCsbHotTracked = 2 };

// Hit-test parts; 0 to 3 and 5 are also the SB_ request codes.
const int kHtNone = -1;
const int kHtLineUp = 0, kHtLineDown = 1, kHtPageUp = 2, kHtPageDown = 3, kHtThumb = 5;
const int kHtButton = 128;
const int kCsbCorner = 32;  // custom-draw item of the square between the bars

// Colour indices.
enum CoolScrollColour {
  kClrThumb, kClrThumbDragged, kClrThumbHot,
  kClrArrowGlyph, kClrArrowGlyphPressed, kClrArrowGlyphHot,
  kClrArrowFace, kClrArrowFacePressed, kClrArrowFaceHot,
  kClrChannelFore, kClrChannelBack,
  kCoolColourCount
};

// Inserted buttons: mask bits, placements, kinds and style bits.
const UINT kSbbmKind = 0x01, kSbbmId = 0x02, kSbbmPlacement = 0x04, kSbbmSize = 0x08, kSbbmBitmap = 0x10,
           kSbbmMetafile = 0x20, kSbbmCursor = 0x80, kSbbmMinMax = 0x100, kSbbmState = 0x200;
const int kSbbpBefore = 1, kSbbpAfter = 2;
enum CoolButtonKind { kSbbPush = 1, kSbbToggle = 2, kSbbFixed = 3, kSbbBlank = 4, kSbbBlankFlat = 5,
                      kSbbBlankDark = 6, kSbbOwnerDraw = 7 };
const UINT kSbbsKindMask = 0x1F, kSbbsPressedFrame = 0x20, kSbbsArrowLeft = 0x40, kSbbsArrowRight = 0x80,
           kSbbsArrowUp = 0x100, kSbbsArrowDown = 0x200, kSbbsResizable = 0x400, kSbbsPushInset2 = 0x800,
           kSbbsPushInset1 = 0x1000;

struct CoolScrollButton {
  UINT mask;
  int placement;
  int commandId;
  UINT kindStyle;
  UINT state;
  int size;  // along the bar; negative n means n arrow lengths
  HBITMAP bitmap;
  HENHMETAFILE metafile;
  HCURSOR cursor;
  int savedSize;
  int minSize;
  int maxSize;  // compared unsigned: -1 means no maximum
};

struct CoolScrollBarState {
  UINT flags;
  BOOL displayed;
  SCROLLINFO info;
  int arrowLength;  // negative n means n times the system metric
  int thickness;
  CoolScrollButton buttons[kCoolMaxButtons];
  UINT buttonCount;
  int beforeSize, afterSize;
  BOOL beforeShown, afterShown;
  int barType;  // SB_HORZ or SB_VERT
  int style;
  int minThumb;
  COLORREF colours[kCoolColourCount];
};

struct CoolScrollWindowState {
  WNDPROC previousProc;
  CoolScrollBarState horz, vert;
  BOOL thumbTracking;
  BOOL leftScrollBar;
  int borderLeft, borderRight, borderTop, borderBottom;
  BOOL styleChangeGuard;
};

// WM_NOTIFY record of the custom-draw notification.
const UINT kNmCoolSbCustomDraw = 0xFFFFF001;
const DWORD kCoolItemPrePaint = 0x10001;
const int kCoolBarCorner = 3, kCoolBarButton = -2;
struct CoolScrollCustomDraw {
  NMHDR hdr;
  DWORD drawStage;
  HDC dc;
  RECT rect;  // window coordinates
  UINT_PTR item;
  UINT itemState;
  int bar;
};

// WM_NOTIFY record of NM_CLICK on an inserted button (screen coordinates).
struct CoolScrollButtonClick {
  NMHDR hdr;
  RECT rect;
  POINT point;
  UINT_PTR commandId;
  WORD zero;
  int barType;
};

// Attaching and querying.
BOOL CoolScrollInit(HWND hwnd);
BOOL CoolScrollUninit(HWND hwnd);
BOOL CoolScrollIsEnabled(HWND hwnd);
CoolScrollWindowState* CoolScrollGetState(HWND hwnd);
CoolScrollBarState* CoolScrollGetBar(HWND hwnd, int bar);
BOOL CoolScrollIsThumbTracking(HWND hwnd);

// The eight scroll-bar functions of the system, for attached windows. They
// take, refuse and answer records as the system's own do: the older 24-byte
// SCROLLINFO too, and page and position kept inside the range by any change.
BOOL CoolScrollEnableBar(HWND hwnd, int bar, UINT arrows);
BOOL CoolScrollGetInfo(HWND hwnd, int bar, LPSCROLLINFO info);
int CoolScrollGetPos(HWND hwnd, int bar);
BOOL CoolScrollGetRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos);
int CoolScrollSetInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
int CoolScrollSetPos(HWND hwnd, int bar, int pos, BOOL redraw);
BOOL CoolScrollSetRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL CoolScrollShowBar(HWND hwnd, int bar, BOOL show);

// Look.
BOOL CoolScrollSetStyle(HWND hwnd, int bar, int style);
BOOL CoolScrollSetSize(HWND hwnd, int bar, int arrowLength, int thickness);
BOOL CoolScrollSetThumbAlways(HWND hwnd, int bar, BOOL always);
BOOL CoolScrollSetMinThumbSize(HWND hwnd, int bar, int length);
int CoolScrollDefaultMinThumb();
BOOL CoolScrollLoadSkinColors(CoolScrollBarState* bar);
BOOL CoolScrollReloadSkinColors(HWND hwnd, int bar);
BOOL CoolScrollSetColor(HWND hwnd, int bar, int index, COLORREF colour);
BOOL CoolScrollSetBaseColor(HWND hwnd, int bar, COLORREF base);

// Inserted buttons; `by` is 0 for an index, 1 for a command id.
BOOL CoolScrollInsertButton(HWND hwnd, int bar, int position, const CoolScrollButton* button);
BOOL CoolScrollModifyButton(HWND hwnd, int bar, int indexOrId, int by, const CoolScrollButton* button);
BOOL CoolScrollRemoveButton(HWND hwnd, int bar, int indexOrId, int by);
// TRUE with a copy of the button when it exists.
BOOL CoolScrollGetButton(HWND hwnd, int bar, int indexOrId, int by, CoolScrollButton* button);

// A frame change (SetWindowPos) when `frameChanged`, else a non-client repaint.
void CoolScrollRedrawFrame(HWND hwnd, BOOL frameChanged);
LRESULT CALLBACK CoolScrollWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

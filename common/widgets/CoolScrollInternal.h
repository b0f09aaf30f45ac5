#pragma once
// What the engine's drawing, input and operations share; not for callers.
#include <windows.h>

#include "CoolScrollBar.h"

// Repeat timers of a pressed arrow or channel, and the hot-tracking timer.
const UINT_PTR kCoolRepeatFirstTimer = 0xFFFD;
const UINT_PTR kCoolRepeatTimer = 0xFFFE;
const UINT_PTR kCoolHotTimer = static_cast<UINT_PTR>(-14);
const UINT kCoolRepeatDelay = 300, kCoolRepeatInterval = 55, kCoolHotInterval = 20;
// A thumb dragged further than this from its bar snaps back.
const int kCoolThumbSnapDistance = 60;
// Room every bar keeps for its own parts beside its button groups.
const int kCoolMinBarRoom = 50;

// The one press, drag or hot bar of the process.
struct CoolTracking {
  int bar = -1;
  int pressedPart = kHtNone;
  int lastTrackPos = -1;
  int hotBar = -1;
  int hotPart = kHtNone;
  int previousHotPart = kHtNone;
  int currentPart = kHtNone;
  UINT scrollMessage = 0;
  UINT_PTR repeatTimer = 0;
  UINT_PTR hotTimer = 0;
  HWND lastWindow = nullptr;
  RECT hotRect{};
  int pressedButton = -1;
  int lastPart = kHtNone;
  int lastButton = -1;
  // Thumb drag.
  RECT dragRect{};  // horizontal orientation, screen coordinates
  int thumbLength = 0;
  int thumbStart = 0;
  int grabOffset = 0;
  int thumbStartAtPress = 0;
};

CoolTracking& CoolTrack();
// Detaching without the frame redraw, for a window being destroyed.
bool CoolDetach(HWND hwnd);
CoolScrollBarState* CoolBarOf(CoolScrollWindowState* state, int bar);
// Screen rectangle of a bar in its own orientation; empty when not displayed.
RECT CoolBarRect(HWND hwnd, const CoolScrollWindowState& state, int bar);
// The same in the horizontal orientation every computation uses.
RECT CoolBarRectFlat(HWND hwnd, const CoolScrollWindowState& state, int bar);
void CoolRecomputeGroups(CoolScrollBarState* bar, int length);
void CoolFitResizableButtons(CoolScrollBarState* bar, int length);

// Drawing. `rect` in the device context's coordinates, own orientation.
bool CoolDrawBar(HWND hwnd, HDC dc, CoolScrollBarState* bar, const RECT& rect, int pressedPart);
void CoolDrawButtons(HWND hwnd, HDC dc, CoolScrollBarState* bar, const RECT& rect, int pressedButton);
void CoolDrawThumbDrag(HWND hwnd, HDC dc, CoolScrollBarState* bar, const RECT& rect, int thumbStart);
// Draws one bar in the window's DC with the given pressed part.
void CoolRedrawBar(HWND hwnd, int bar, int pressedPart);
LRESULT CoolOnNcPaint(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam);
LRESULT CoolOnPrint(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam);

// Input.
LRESULT CoolOnNcLButtonDown(HWND hwnd, CoolScrollWindowState* state, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CoolOnMouseMove(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam);
LRESULT CoolOnLButtonUp(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam);
LRESULT CoolOnTimer(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam);
LRESULT CoolOnNcMouseMove(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam);
LRESULT CoolOnSetCursor(HWND hwnd, CoolScrollWindowState* state, WPARAM wParam, LPARAM lParam);
// Ends a press or drag as a release does, without a release message.
void CoolEndTracking(HWND hwnd, CoolScrollWindowState* state, bool releaseCapture);

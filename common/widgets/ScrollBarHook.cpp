#include "ScrollBarHook.h"

#include "CodePatch.h"
#include "CoolScrollBar.h"

namespace {
CCodePatch g_patches[CScrollBarHook::kFunctionCount];

bool IsWindows9x() { return (GetVersion() & 0x80000000) != 0; }

int StyleForMode(int mode) {
  if (mode == 0) return kCsbFlat;
  if (mode == 1) return kCsbHotTracked;
  return kCsbStandard;
}

// The system function itself, for a window the engine is not attached to:
// its bytes go back for the call and the jump is written again after it.
template <typename Signature, typename... Args>
auto CallSystem(CScrollBarHook::Function which, Args... args) {
  return g_patches[which].CallOriginal<Signature>(args...);
}

BOOL WINAPI HookedEnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  if (CoolScrollIsEnabled(hwnd)) return CoolScrollEnableBar(hwnd, static_cast<int>(bar), arrows);
  return CallSystem<decltype(EnableScrollBar)>(CScrollBarHook::kEnableScrollBar, hwnd, bar, arrows);
}

BOOL WINAPI HookedGetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  if (CoolScrollIsEnabled(hwnd)) return CoolScrollGetInfo(hwnd, bar, info);
  return CallSystem<decltype(GetScrollInfo)>(CScrollBarHook::kGetScrollInfo, hwnd, bar, info);
}

int WINAPI HookedGetScrollPos(HWND hwnd, int bar) {
  if (CoolScrollIsEnabled(hwnd)) return CoolScrollGetPos(hwnd, bar);
  return CallSystem<decltype(GetScrollPos)>(CScrollBarHook::kGetScrollPos, hwnd, bar);
}

BOOL WINAPI HookedGetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  if (CoolScrollIsEnabled(hwnd)) return CoolScrollGetRange(hwnd, bar, minPos, maxPos);
  return CallSystem<decltype(GetScrollRange)>(CScrollBarHook::kGetScrollRange, hwnd, bar, minPos, maxPos);
}

int WINAPI HookedSetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (CoolScrollIsEnabled(hwnd)) return CoolScrollSetInfo(hwnd, bar, info, redraw);
  return CallSystem<decltype(SetScrollInfo)>(CScrollBarHook::kSetScrollInfo, hwnd, bar, info, redraw);
}

int WINAPI HookedSetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  if (CoolScrollIsEnabled(hwnd)) return CoolScrollSetPos(hwnd, bar, pos, redraw);
  return CallSystem<decltype(SetScrollPos)>(CScrollBarHook::kSetScrollPos, hwnd, bar, pos, redraw);
}

BOOL WINAPI HookedSetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  if (CoolScrollIsEnabled(hwnd)) return CoolScrollSetRange(hwnd, bar, minPos, maxPos, redraw);
  return CallSystem<decltype(SetScrollRange)>(CScrollBarHook::kSetScrollRange, hwnd, bar, minPos, maxPos, redraw);
}

BOOL WINAPI HookedShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (CoolScrollIsEnabled(hwnd)) return CoolScrollShowBar(hwnd, bar, show);
  return CallSystem<decltype(ShowScrollBar)>(CScrollBarHook::kShowScrollBar, hwnd, bar, show);
}

struct Entry {
  const char* name;
  const void* replacement;
};
const Entry kEntries[CScrollBarHook::kFunctionCount] = {
    {"EnableScrollBar", reinterpret_cast<const void*>(HookedEnableScrollBar)},
    {"GetScrollInfo", reinterpret_cast<const void*>(HookedGetScrollInfo)},
    {"GetScrollPos", reinterpret_cast<const void*>(HookedGetScrollPos)},
    {"GetScrollRange", reinterpret_cast<const void*>(HookedGetScrollRange)},
    {"SetScrollInfo", reinterpret_cast<const void*>(HookedSetScrollInfo)},
    {"SetScrollPos", reinterpret_cast<const void*>(HookedSetScrollPos)},
    {"SetScrollRange", reinterpret_cast<const void*>(HookedSetScrollRange)},
    {"ShowScrollBar", reinterpret_cast<const void*>(HookedShowScrollBar)},
};

// BOOL-valued engine operations for bar 0, 1 or both (vertical first).
template <typename Operation>
BOOL ForBars(int bar, Operation operation) {
  if (bar != SB_BOTH) return operation(bar);
  const BOOL vertical = operation(SB_VERT);
  const BOOL horizontal = operation(SB_HORZ);
  return vertical && horizontal;
}
}  // namespace

bool HookScrollBarApis() {
  if (IsWindows9x()) return false;
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return false;
  for (int i = 0; i < CScrollBarHook::kFunctionCount; ++i) {
    void* function = reinterpret_cast<void*>(GetProcAddress(user32, kEntries[i].name));
    if (!g_patches[i].Install(function, kEntries[i].replacement)) {
      // All or nothing: a half-routed set would split a window's scroll data.
      UnhookScrollBarApis();
      return false;
    }
  }
  return true;
}

bool UnhookScrollBarApis() {
  if (IsWindows9x()) return false;
  bool restored = true;
  for (CCodePatch& patch : g_patches) restored = patch.Remove() && restored;
  return restored;
}

CScrollBarHook& CScrollBarHook::GetInstance() {
  static CScrollBarHook instance;
  return instance;
}

CScrollBarHook::CScrollBarHook() { Install(); }
CScrollBarHook::~CScrollBarHook() { Uninstall(); }

bool CScrollBarHook::Install() {
  if (!installed_) installed_ = HookScrollBarApis();
  return installed_;
}

void CScrollBarHook::Uninstall() {
  if (!installed_) return;
  UnhookScrollBarApis();
  installed_ = false;
}

bool CScrollBarHook::IsAttached(HWND hwnd) const { return hwnd && installed_ && CoolScrollIsEnabled(hwnd); }

BOOL CScrollBarHook::Attach(HWND hwnd) {
  if (IsAttached(hwnd)) return FALSE;
  return CoolScrollInit(hwnd);
}

BOOL CScrollBarHook::AttachWithStyle(HWND hwnd, int bar, int mode) {
  if (!Attach(hwnd)) return FALSE;
  CoolScrollSetStyle(hwnd, bar, StyleForMode(mode));
  return TRUE;
}

BOOL CScrollBarHook::Detach(HWND hwnd) { return IsAttached(hwnd) ? CoolScrollUninit(hwnd) : FALSE; }

BOOL CScrollBarHook::SetStyle(HWND hwnd, int bar, int mode) {
  return IsAttached(hwnd) ? CoolScrollSetStyle(hwnd, bar, StyleForMode(mode)) : FALSE;
}

BOOL CScrollBarHook::ReloadSkinColors(HWND hwnd, int bar) {
  if (!IsAttached(hwnd)) return FALSE;
  return ForBars(bar, [hwnd](int one) { return CoolScrollReloadSkinColors(hwnd, one); });
}

BOOL CScrollBarHook::SetBaseColor(HWND hwnd, int bar, COLORREF colour) {
  if (!IsAttached(hwnd)) return FALSE;
  return ForBars(bar, [hwnd, colour](int one) { return CoolScrollSetBaseColor(hwnd, one, colour); });
}

BOOL CScrollBarHook::SetColor(HWND hwnd, int index, int bar, COLORREF colour) {
  if (!IsAttached(hwnd)) return FALSE;
  return ForBars(bar, [hwnd, index, colour](int one) { return CoolScrollSetColor(hwnd, one, index, colour); });
}

const CCodePatch& CScrollBarHook::Patch(Function function) { return g_patches[function]; }

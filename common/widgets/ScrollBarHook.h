#pragma once
// Routes the process's calls of the eight scroll-bar functions of user32 to
// the skinned scroll-bar engine for the windows it is attached to, and is the
// one object through which widgets attach the engine. One per process; the
// patch is unsynchronised, so all calls of those functions must come from the
// user-interface thread while it is installed.
#include <windows.h>

class CCodePatch;

class CScrollBarHook {
 public:
  // The eight functions, in patching order.
  enum Function { kEnableScrollBar, kGetScrollInfo, kGetScrollPos, kGetScrollRange, kSetScrollInfo,
                  kSetScrollPos, kSetScrollRange, kShowScrollBar, kFunctionCount };

  // Built, and the patch installed, at the first call; restored at exit.
  static CScrollBarHook& GetInstance();

  // True when the patch is in place afterwards.
  bool Install();
  void Uninstall();
  bool IsInstalled() const { return installed_; }

  bool IsAttached(HWND hwnd) const;
  BOOL Attach(HWND hwnd);
  // Mode 0 flat, 1 hot-tracked, any other standard; bar 0, 1 or SB_BOTH.
  BOOL AttachWithStyle(HWND hwnd, int bar, int mode);
  BOOL Detach(HWND hwnd);
  BOOL SetStyle(HWND hwnd, int bar, int mode);
  // Bar SB_BOTH runs for the vertical bar, then the horizontal one; the result
  // is the engine's (both must succeed).
  BOOL ReloadSkinColors(HWND hwnd, int bar);
  BOOL SetBaseColor(HWND hwnd, int bar, COLORREF colour);
  BOOL SetColor(HWND hwnd, int index, int bar, COLORREF colour);

  // The patch of one function, for checking its bytes.
  static const CCodePatch& Patch(Function function);

 private:
  CScrollBarHook();
  ~CScrollBarHook();
  CScrollBarHook(const CScrollBarHook&) = delete;
  CScrollBarHook& operator=(const CScrollBarHook&) = delete;

  bool installed_ = false;
};

// Patches the eight functions; on Windows 9x, or when any of them cannot be
// patched, nothing stays patched and the result is false.
bool HookScrollBarApis();
// Puts every patched function's bytes back; false on Windows 9x.
bool UnhookScrollBarApis();

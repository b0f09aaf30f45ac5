#pragma once
#include <windows.h>

#include "Handles.h"

// A drawing surface for one window's paint: drawing goes to an off-screen
// bitmap of the client's size and is copied to the target in one go at the
// end, so the strip never flickers. Without a buffer it draws straight on.
class VirtualWindow {
 public:
  VirtualWindow(HDC target, HWND window);
  ~VirtualWindow();
  VirtualWindow(const VirtualWindow&) = delete;
  VirtualWindow& operator=(const VirtualWindow&) = delete;

  HDC Dc() const { return buffering_ ? memory_.Get() : target_; }
  operator HDC() const { return Dc(); }
  bool IsBuffering() const { return buffering_; }

  // The process-wide switch; on from the start.
  static bool enabled;

 private:
  HDC target_;
  RECT client_{};
  fw::ScopedCreatedDC memory_;
  fw::ScopedBitmap bitmap_;
  HGDIOBJ replaced_ = nullptr;
  bool buffering_ = false;
};

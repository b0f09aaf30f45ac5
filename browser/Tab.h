#pragma once
#include <windows.h>

#include <string>

#include "_HTAB.h"

// One tab of the strip: its window, caption, image and the rectangle of the
// last layout. The page type overrides PageWindow to hand its own window to
// the strip when the tab is inserted.
class Tab : public _HTAB {
 public:
  Tab() = default;
  Tab(const Tab&) = delete;
  Tab& operator=(const Tab&) = delete;

  // The window the strip shows in the page area while this tab is current;
  // a plain tab offers the window it was given.
  virtual HWND PageWindow() const { return window; }

  HWND window = nullptr;
  int image = -1;
  std::wstring text;
  std::wstring tooltip;
  bool disabled = false;
  ULONGLONG data = 0;
  RECT rect{};
  int width = 0;
};

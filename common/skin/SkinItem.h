#pragma once
#include <windows.h>

#include <string>

#include "Handles.h"

// One child node of a skin element: where it sits (anchors and offsets), how
// it is painted, and what it hands to the control bound to it. The four state
// bitmaps belong to the item; controls that take them make copies.
struct tagSkinItem {
  enum SkinType { kPainted = 0, kButton = 1, kBitmap = 5, kIcon = 6 };
  static const int kUnset = -1;

  std::wstring id;
  int skintype = kPainted;
  int drawtype = 0;
  int width = 0;
  int height = 0;
  int linewidth = 1;
  std::wstring leftid, topid, rightid, bottomid;
  int left = kUnset, top = kUnset, right = kUnset, bottom = kUnset;
  RECT rect{kUnset, kUnset, kUnset, kUnset};
  fw::ScopedBitmap normal, down, hover, disable;
  COLORREF colorbg = 0;
  HWND window = nullptr;
  bool visible = true;
  // Start, middle and end slices of a background button, per state.
  std::wstring normalbkgleft, normalbkgmid, normalbkgright;
  std::wstring onbkgleft, onbkgmid, onbkgright;
  std::wstring downbkgleft, downbkgmid, downbkgright;
  std::wstring disablebkgleft, disablebkgmid, disablebkgright;
  int fontsize = 0;
  UINT drawformat = 0;
  COLORREF normalclr = 0;
  COLORREF onclr = 0;
  std::wstring fonttype;
  std::wstring caption;
  std::wstring normalicon, onicon;
  std::wstring sound_hover, sound_down;  // full paths
};

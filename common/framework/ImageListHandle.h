#pragma once
#include <windows.h>
#include <commctrl.h>

#include "Handles.h"

namespace fw {

struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::ImageList_Destroy(h); }
};
// An image list made with ImageList_Create (or a copy of one).
using ScopedImageList = UniqueHandle<ImageListTraits>;

}  // namespace fw

#pragma once
#include <windows.h>
#include <commctrl.h>

namespace fw {

// The record of one tool of a tooltip control, for every message that carries
// one. Its size is that of comctl32 5, which every program without a
// manifest gets and which refuses the larger record of these headers.
TOOLINFOW ToolInfo(HWND owner, UINT_PTR id);

}  // namespace fw

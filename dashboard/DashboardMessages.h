#pragma once
#include <windows.h>

// A settings page tells the panel that the parent changed something.
const UINT WM_PAGE_MODIFIED = 2024;
// A settings page asks the panel before it starts another program; it starts
// it only on a non-zero reply.
const UINT WM_PAGE_MAY_START = 2026;

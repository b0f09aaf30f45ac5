#pragma once
#include <windows.h>

// A settings page tells the panel that the parent changed something.
const UINT WM_PAGE_MODIFIED = 2024;

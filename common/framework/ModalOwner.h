#pragma once
#include <windows.h>

#include <string>

namespace fw {

// The owner of a modal dialog or message box opened without one: the
// thread's active window, else the program's main window. Unowned, it could
// open behind a topmost window that waits for it.
HWND DefaultModalOwner();

// MessageBoxW with that owner when `owner` is null.
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

}  // namespace fw

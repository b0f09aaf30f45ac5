#pragma once
#include <windows.h>

namespace fw {

// Win32 dialog templates carry no list items, so a module gives them in a
// resource of type "COMBOITEMS" numbered like the template: records of a
// 16-bit control id and a zero-terminated UTF-16 text, ended by a 0 id.
// Adds each text to its combo box, in resource order; returns how many were
// added. A dialog without such a resource gets nothing.
int AddTemplateComboItems(HWND dialog, HINSTANCE module, UINT templateId);

}  // namespace fw

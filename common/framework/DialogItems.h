#pragma once
#include <windows.h>

namespace fw {

// Win32 dialog templates carry no list items, so a module gives them in a
// resource of type "COMBOITEMS" numbered like the template: pairs of 16-bit
// numbers, a control id and the id of a string of the module's string table,
// ended by a 0 control id. Adds each string to its combo box, in resource
// order; returns how many were added. A dialog without such a resource gets
// nothing.
int AddTemplateComboItems(HWND dialog, HINSTANCE module, UINT templateId);

}  // namespace fw

#pragma once
#include <windows.h>

#include <string>

#include "Wnd.h"

// Runs the skinned message dialog modally. The results are the modal end
// codes: IDOK, or IDCANCEL for Cancel, Esc and closing.
class CMsgBox {
 public:
  // `module` holds the dialog template (SkinDialogs.rc), the strings and the
  // program icon; the default is the module of the calling code.
  explicit CMsgBox(HINSTANCE module = fw::ThisModule()) : module_(module) {}

  INT_PTR Show(const std::wstring& text, HWND parent, int type);
  INT_PTR ShowResource(UINT stringId, HWND parent, int type);

 private:
  HINSTANCE module_;
};

INT_PTR MsgBox(const std::wstring& text, HWND parent, int type, HINSTANCE module = fw::ThisModule());
INT_PTR MsgBoxResource(UINT stringId, HWND parent, int type, HINSTANCE module = fw::ThisModule());

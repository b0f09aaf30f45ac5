#include "MsgBox.h"

#include "MsgDialog.h"

INT_PTR CMsgBox::Show(const std::wstring& text, HWND parent, int type) {
  // A stale handle would make the dialog fail to open at all.
  if (parent && !::IsWindow(parent)) parent = nullptr;
  CMsgDialog dialog(text, parent, type, module_);
  return dialog.DoModal(parent);
}

INT_PTR CMsgBox::ShowResource(UINT stringId, HWND parent, int type) {
  const wchar_t* text = nullptr;
  // Length 0 asks for a read-only pointer into the resource itself.
  int length = ::LoadStringW(module_, stringId, reinterpret_cast<wchar_t*>(&text), 0);
  return Show(std::wstring(text ? text : L"", length > 0 ? static_cast<size_t>(length) : 0), parent, type);
}

INT_PTR MsgBox(const std::wstring& text, HWND parent, int type, HINSTANCE module) {
  return CMsgBox(module).Show(text, parent, type);
}

INT_PTR MsgBoxResource(UINT stringId, HWND parent, int type, HINSTANCE module) {
  return CMsgBox(module).ShowResource(stringId, parent, type);
}

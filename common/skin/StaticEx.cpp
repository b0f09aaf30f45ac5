#include "StaticEx.h"

bool CStaticEx::OnReflect(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_CTLCOLORSTATIC) return false;
  ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
  return true;
}

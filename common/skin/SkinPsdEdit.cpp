#include "SkinPsdEdit.h"

bool CSkinPsdEdit::PreTranslateMessage(MSG& message) {
  switch (message.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
      return true;
    default:
      break;
  }
  constexpr WPARAM kKeyV = 0x56;
  if (message.wParam == kKeyV && (::GetKeyState(VK_CONTROL) & 0x8000)) return true;
  return CEditEx::PreTranslateMessage(message);
}

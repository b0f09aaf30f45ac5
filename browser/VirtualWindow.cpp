#include "VirtualWindow.h"

bool VirtualWindow::enabled = true;

VirtualWindow::VirtualWindow(HDC target, HWND window) : target_(target) {
  ::GetClientRect(window, &client_);
  if (enabled) {
    memory_.Reset(::CreateCompatibleDC(target));
    if (memory_) bitmap_.Reset(::CreateCompatibleBitmap(target, client_.right, client_.bottom));
    if (memory_ && bitmap_) {
      replaced_ = ::SelectObject(memory_.Get(), bitmap_.Get());
      buffering_ = true;
    } else {
      bitmap_.Reset();
      memory_.Reset();
    }
  }
  ::SetBkMode(Dc(), TRANSPARENT);
}

VirtualWindow::~VirtualWindow() {
  if (!buffering_) return;
  ::BitBlt(target_, client_.left, client_.top, client_.right - client_.left, client_.bottom - client_.top,
           memory_.Get(), client_.left, client_.top, SRCCOPY);
  ::SelectObject(memory_.Get(), replaced_);
}

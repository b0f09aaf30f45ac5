#pragma once
// Pixels a window prints and real mouse drags for the skinned dialog tests.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "SkinTestSupport.h"

// The client area as the window paints it for printing.
inline COLORREF PrintedPixel(HWND window, int x, int y) {
  RECT client{};
  GetClientRect(window, &client);
  DibCanvas canvas(client.right, client.bottom);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
  return canvas.Pixel(x, y);
}

inline void MouseInput(DWORD flags, POINT at = POINT{}) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  if (flags & MOUSEEVENTF_MOVE) {
    flags |= MOUSEEVENTF_ABSOLUTE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

// Presses the left button at `from`, drags in steps to `to` and releases,
// from another thread while this one keeps pumping (the system's move and
// size loops run inside this thread's message dispatch). A second release
// afterwards ends any loop that started late, so a fault shows as a failed
// check instead of a hang.
inline void DragWithMouse(POINT from, POINT to, int steps = 8) {
  std::atomic<bool> done{false};
  std::thread input([&] {
    MouseInput(MOUSEEVENTF_MOVE, from);
    Sleep(80);
    MouseInput(MOUSEEVENTF_LEFTDOWN);
    Sleep(150);
    for (int i = 1; i <= steps; ++i) {
      POINT at{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
      MouseInput(MOUSEEVENTF_MOVE, at);
      Sleep(40);
    }
    Sleep(80);
    MouseInput(MOUSEEVENTF_LEFTUP);
    Sleep(400);
    MouseInput(MOUSEEVENTF_LEFTUP);
    Sleep(100);
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 10000);
  input.join();
  PumpFor(100);
}

#pragma once
// A borderless top-level window with the skinned engine attached, recording
// the scroll requests it receives.
#include <windows.h>

#include <utility>
#include <vector>

#include "CoolScrollBar.h"

class ScrollTestWindow {
 public:
  using Request = std::pair<UINT, int>;  // message, request code

  explicit ScrollTestWindow(DWORD style = WS_VSCROLL, int width = 200, int height = 200) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ScrollTestWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE | style, 100, 100, width, height,
                            nullptr, nullptr, wc.hInstance, nullptr);
    Requests().clear();
    Commands().clear();
  }
  ~ScrollTestWindow() { DestroyWindow(hwnd_); }
  ScrollTestWindow(const ScrollTestWindow&) = delete;
  ScrollTestWindow& operator=(const ScrollTestWindow&) = delete;

  HWND Hwnd() const { return hwnd_; }
  void SetRange(int bar, int minPos, int maxPos, UINT page, int pos) {
    SCROLLINFO info{sizeof(info), SIF_ALL, minPos, maxPos, page, pos, 0};
    CoolScrollSetInfo(hwnd_, bar, &info, TRUE);
  }
  RECT WindowRect() const {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    return rect;
  }
  // Non-client press and client-side moves and release, as the system sends them.
  void Press(POINT screen, WPARAM hit = HTVSCROLL) {
    SendMessageW(hwnd_, WM_NCLBUTTONDOWN, hit, MAKELPARAM(screen.x, screen.y));
  }
  void Move(POINT screen) { SendMessageW(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, ClientParam(screen)); }
  void Release(POINT screen) { SendMessageW(hwnd_, WM_LBUTTONUP, 0, ClientParam(screen)); }

  static std::vector<Request>& Requests() {
    static std::vector<Request> requests;
    return requests;
  }
  static std::vector<int> Positions() { return PositionLog(); }
  // The command ids of the WM_COMMAND messages the window received.
  static std::vector<int>& Commands() {
    static std::vector<int> commands;
    return commands;
  }

 private:
  LPARAM ClientParam(POINT screen) const {
    ScreenToClient(hwnd_, &screen);
    return MAKELPARAM(static_cast<short>(screen.x), static_cast<short>(screen.y));
  }
  static std::vector<int>& PositionLog() {
    static std::vector<int> positions;
    return positions;
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL || message == WM_HSCROLL) {
      Requests().emplace_back(message, LOWORD(wParam));
      PositionLog().push_back(static_cast<short>(HIWORD(wParam)));
      return 0;
    }
    if (message == WM_COMMAND) {
      Commands().push_back(LOWORD(wParam));
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  HWND hwnd_ = nullptr;
};

inline void PumpMessagesFor(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
}

#pragma once
// Skin files on disk, pixels read back from a 32-bit DIB and real mouse
// drags for the skinned dialog tests.
#include <windows.h>

#include <cstdio>
#include <string>
#include <atomic>
#include <thread>
#include <vector>

#include "SkinTestSupport.h"
#include "StringConv.h"

// A folder of its own under %TEMP%, removed with every file in it.
class TempSkinFolder {
 public:
  TempSkinFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"hollin-skin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount64());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempSkinFolder() {
    for (const auto& file : files_) DeleteFileW(file.c_str());
    RemoveDirectoryW(path_.c_str());
  }
  TempSkinFolder(const TempSkinFolder&) = delete;
  TempSkinFolder& operator=(const TempSkinFolder&) = delete;

  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

  // UTF-8 text, as the skin files are written.
  std::wstring WriteText(const std::wstring& name, const std::wstring& text) {
    std::string bytes = fw::ToAnsi(text, CP_UTF8);
    return WriteBytes(name, bytes.data(), bytes.size());
  }

  // A 24-bit bottom-up BMP of `colour`, with `inner` (when not empty) in
  // `innerColour`.
  std::wstring WriteBmp(const std::wstring& name, int width, int height, COLORREF colour, RECT inner = RECT{},
                        COLORREF innerColour = 0) {
    int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> file(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + stride * height);
    auto* header = reinterpret_cast<BITMAPFILEHEADER*>(file.data());
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(file.data() + sizeof(BITMAPFILEHEADER));
    header->bfType = 0x4D42;
    header->bfSize = static_cast<DWORD>(file.size());
    header->bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    info->biSize = sizeof(BITMAPINFOHEADER);
    info->biWidth = width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = 24;
    BYTE* pixels = file.data() + header->bfOffBits;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        POINT at{x, y};
        COLORREF c = PtInRect(&inner, at) ? innerColour : colour;
        BYTE* p = pixels + (height - 1 - y) * stride + x * 3;
        p[0] = GetBValue(c);
        p[1] = GetGValue(c);
        p[2] = GetRValue(c);
      }
    }
    return WriteBytes(name, file.data(), file.size());
  }

  // A 16 x 16 icon of one colour, 32 bits with an all-opaque mask.
  std::wstring WriteIcon(const std::wstring& name, COLORREF colour) {
    const int size = 16;
    std::vector<BYTE> file(6 + 16 + sizeof(BITMAPINFOHEADER) + size * size * 4 + size * 4);
    WORD* directory = reinterpret_cast<WORD*>(file.data());
    directory[1] = 1;  // icon
    directory[2] = 1;  // one image
    BYTE* entry = file.data() + 6;
    entry[0] = entry[1] = size;
    reinterpret_cast<WORD*>(entry)[2] = 1;    // planes
    reinterpret_cast<WORD*>(entry)[3] = 32;   // bits
    reinterpret_cast<DWORD*>(entry + 8)[0] = static_cast<DWORD>(file.size() - 22);
    reinterpret_cast<DWORD*>(entry + 8)[1] = 22;
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(file.data() + 22);
    info->biSize = sizeof(BITMAPINFOHEADER);
    info->biWidth = size;
    info->biHeight = size * 2;  // colour and mask
    info->biPlanes = 1;
    info->biBitCount = 32;
    auto* pixels = reinterpret_cast<DWORD*>(info + 1);
    DWORD argb = 0xFF000000 | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < size * size; ++i) pixels[i] = argb;
    return WriteBytes(name, file.data(), file.size());
  }

 private:
  std::wstring WriteBytes(const std::wstring& name, const void* data, size_t size) {
    std::wstring path = File(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
    files_.push_back(path);
    return path;
  }

  std::wstring path_;
  std::vector<std::wstring> files_;
};

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

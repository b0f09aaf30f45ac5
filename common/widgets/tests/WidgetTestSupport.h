#pragma once
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "CommHelper.h"
#include "Handles.h"
#include "Wnd.h"

// A top-level window that records the messages in [first, last] it receives.
class MessageRecorder : public fw::Wnd {
 public:
  MessageRecorder(UINT first, UINT last) : first_(first), last_(last) {}
  std::vector<std::pair<UINT, LPARAM>> received;
  WPARAM lastWParam = 0;
  // The answer to every recorded message.
  LRESULT answer = 0;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message < first_ || message > last_) return false;
    received.emplace_back(message, lParam);
    lastWParam = wParam;
    result = answer;
    return true;
  }

 private:
  UINT first_, last_;
};

// A 32-bit top-down DIB section with a DC, read pixel by pixel.
class PixelCanvas {
 public:
  PixelCanvas(int width, int height, COLORREF fill) : width_(width), dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
    old_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    fw::ScopedBrush brush(::CreateSolidBrush(fill));
    RECT all{0, 0, width, height};
    ::FillRect(dc_.Get(), &all, brush.Get());
  }
  ~PixelCanvas() { ::SelectObject(dc_.Get(), old_); }
  HDC Dc() const { return dc_.Get(); }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  COLORREF At(int x, int y) const {
    ::GdiFlush();
    DWORD pixel = bits_[y * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }

 private:
  int width_;
  fw::ScopedCreatedDC dc_;
  fw::ScopedBitmap bitmap_;
  DWORD* bits_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// Writes a 24-bit BMP of `size` x `size` filled with `border`, with the
// square [inset, size - inset) in `centre`; next to the test program.
inline std::wstring WriteTestBitmap(const std::wstring& name, int size, int inset, COLORREF border, COLORREF centre) {
  int stride = (size * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(stride * size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      bool inside = x >= inset && x < size - inset && y >= inset && y < size - inset;
      COLORREF colour = inside ? centre : border;
      unsigned char* p = &pixels[y * stride + x * 3];
      p[0] = GetBValue(colour), p[1] = GetGValue(colour), p[2] = GetRValue(colour);
    }
  }
  BITMAPINFOHEADER info{sizeof(info), size, size, 1, 24, BI_RGB};
  BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(info)};
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::wstring path = GetModuleDir(nullptr) + L"\\" + name;
  FILE* out = _wfopen(path.c_str(), L"wb");
  fwrite(&file, sizeof(file), 1, out);
  fwrite(&info, sizeof(info), 1, out);
  fwrite(pixels.data(), 1, pixels.size(), out);
  fclose(out);
  return path;
}

inline void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

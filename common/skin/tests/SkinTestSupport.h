#pragma once
// Bitmaps, a pixel canvas, files in a folder of their own and message pumping
// shared by the toolkit's window tests and its gallery programs.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DrawHelpers.h"
#include "Handles.h"
#include "StringConv.h"
#include "Wnd.h"

// A screen-compatible bitmap filled with `outer`, with `inner` (when not
// empty) filled with `innerColour`.
inline HBITMAP TwoToneBitmap(int width, int height, COLORREF outer, RECT inner = RECT{},
                             COLORREF innerColour = CLR_INVALID) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(outer);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  if (innerColour != CLR_INVALID && !IsRectEmpty(&inner)) {
    brush = CreateSolidBrush(innerColour);
    FillRect(dc, &inner, brush);
    DeleteObject(brush);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// A bitmap with a border of `border` pixels around a differently coloured centre.
inline HBITMAP FramedBitmap(int width, int height, COLORREF frame, COLORREF centre, int border) {
  return TwoToneBitmap(width, height, frame, RECT{border, border, width - border, height - border}, centre);
}

// A top-down 32-bit DIB section selected into its own DC. Pixels are read
// straight from its bits, so what is checked is what GDI wrote, without the
// screen's colour depth in between.
class DibCanvas {
 public:
  DibCanvas(int width, int height)
      : width_(std::max(width, 0)),
        height_(std::max(height, 0)),
        dc_(CreateCompatibleDC(nullptr)),
        bitmap_(CreateSection(width_, height_, &bits_)) {
    select_.emplace(dc_.Get(), bitmap_.Get());
  }
  DibCanvas(int width, int height, COLORREF fill) : DibCanvas(width, height) { Fill(fill); }
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  HDC Dc() const { return dc_.Get(); }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  // 0x00RRGGBB, row after row.
  DWORD* Bits() { return bits_; }
  // The bitmap selected out of the canvas's DC, for code that selects it into
  // a DC of its own (a bitmap is in one DC at a time). Drawing through Dc()
  // no longer reaches it; Pixel() still reads it.
  HBITMAP Deselect() {
    select_.reset();
    return bitmap_.Get();
  }

  // CLR_INVALID outside the canvas.
  COLORREF Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    GdiFlush();  // GDI may still be batching drawing into the bits
    DWORD p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  void Fill(COLORREF colour) { Fill(RECT{0, 0, width_, height_}, colour); }
  void Fill(const RECT& rect, COLORREF colour) {
    fw::ScopedBrush brush(CreateSolidBrush(colour));
    FillRect(Dc(), &rect, brush.Get());
  }
  // The pixels of `colour` inside `area`.
  int Count(COLORREF colour, const RECT& area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) count += Pixel(x, y) == colour;
    return count;
  }
  // The smallest rectangle holding every pixel of `colour`; empty without any.
  RECT Bounds(COLORREF colour) const {
    RECT bounds{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        if (Pixel(x, y) != colour) continue;
        bounds = RECT{std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                      std::max<LONG>(bounds.right, x + 1), std::max<LONG>(bounds.bottom, y + 1)};
      }
    return bounds;
  }

 private:
  static HBITMAP CreateSection(int width, int height, DWORD** bits) {
    if (width == 0 || height == 0) return nullptr;
    BITMAPINFO info = TopDownBitmapInfo(width, height, 32);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), nullptr, 0);
  }

  int width_;
  int height_;
  DWORD* bits_ = nullptr;
  fw::ScopedCreatedDC dc_;
  fw::ScopedBitmap bitmap_;
  std::optional<fw::ScopedSelectObject> select_;  // last: the bitmap is selected out before it goes
};

// A folder of its own under %TEMP%, removed with every file in it.
class TempSkinFolder {
 public:
  TempSkinFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"hollin-skin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount()) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempSkinFolder() {
    for (const auto& file : files_) DeleteFileW(file.c_str());
    RemoveDirectoryW(path_.c_str());
  }
  TempSkinFolder(const TempSkinFolder&) = delete;
  TempSkinFolder& operator=(const TempSkinFolder&) = delete;

  // With a trailing backslash.
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + name; }

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

// A visible borderless top-level window at a fixed place: the parent a case
// puts its controls in.
inline fw::CreateArgs PopupArgs(int x, int y, int width, int height) {
  fw::CreateArgs args;
  args.style = WS_POPUP | WS_VISIBLE;
  args.x = x;
  args.y = y;
  args.width = width;
  args.height = height;
  return args;
}

// Dispatches messages until `done` holds or the time is up; whether it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  // Galleries built for XP share this file, so no GetTickCount64; the
  // difference of two ticks is right across the 49-day wrap.
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return done();
}

inline void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

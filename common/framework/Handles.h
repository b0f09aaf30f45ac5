#pragma once
#include <windows.h>

#include <utility>

// Move-only owners for Win32 handles. The owner's type says who deletes what:
// a function that keeps a handle takes an owner, one that only uses it takes
// the raw handle.
namespace fw {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return Traits::IsValid(handle_); }
  Handle Release() {
    Handle handle = handle_;
    handle_ = Traits::Invalid();
    return handle;
  }
  void Reset(Handle handle = Traits::Invalid()) {
    if (Traits::IsValid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
using ScopedHandle = UniqueHandle<KernelHandleTraits>;

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::DeleteObject(h); }
};
template <typename T>
using GdiObject = UniqueHandle<GdiObjectTraits<T>>;
using ScopedBitmap = GdiObject<HBITMAP>;
using ScopedBrush = GdiObject<HBRUSH>;
using ScopedPen = GdiObject<HPEN>;
using ScopedFont = GdiObject<HFONT>;
using ScopedRegion = GdiObject<HRGN>;

struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::DestroyIcon(h); }
};
using ScopedIcon = UniqueHandle<IconTraits>;

struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::DestroyMenu(h); }
};
using ScopedMenu = UniqueHandle<MenuTraits>;

struct CreatedDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::DeleteDC(h); }
};
// A DC made with CreateCompatibleDC or CreateDC.
using ScopedCreatedDC = UniqueHandle<CreatedDcTraits>;

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::FreeLibrary(h); }
};
using ScopedModule = UniqueHandle<ModuleTraits>;

struct SidTraits {
  using Handle = PSID;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::FreeSid(h); }
};
// A SID made with AllocateAndInitializeSid.
using ScopedSid = UniqueHandle<SidTraits>;

// Selects an object into a DC and puts the previous one back at scope end, so
// nothing is ever deleted while still selected.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
  ~ScopedSelectObject() {
    if (previous_) ::SelectObject(dc_, previous_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The DC of a window (GetDC / ReleaseDC).
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint / EndPaint for WM_PAINT.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
  ~PaintDC() { ::EndPaint(window_, &paint_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }
  const RECT& PaintRect() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// An off-screen DC compatible with `reference`, holding its own bitmap of the
// given size; the bitmap is selected out before both are deleted.
class MemoryDC {
 public:
  MemoryDC(HDC reference, int width, int height);
  ~MemoryDC();
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;

  HDC Get() const { return dc_.Get(); }
  operator HDC() const { return dc_.Get(); }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  explicit operator bool() const { return static_cast<bool>(dc_) && static_cast<bool>(bitmap_); }

 private:
  ScopedCreatedDC dc_;
  ScopedBitmap bitmap_;
  HGDIOBJ previous_ = nullptr;
  int width_;
  int height_;
};

}  // namespace fw

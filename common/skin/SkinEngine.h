#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Handles.h"
#include "SkinItem.h"

class CButtonST;
class CBkgBtn;
class CXmlDom;

// The window an engine draws: the engine moves its bound controls, cuts its
// region, fades it, and calls it back after every layout.
class ISkinHost {
 public:
  virtual HWND SkinHwnd() const = 0;
  // After each layout, before bound windows are moved; may still change
  // item rectangles.
  virtual void OnSkinLayout() = 0;

 protected:
  ~ISkinHost() = default;
};

// Turns one element of a skin file into the look of one window: reads the
// window attributes and one item per child node, lays the items out by
// anchors whenever the client size changes, paints them, cuts the window's
// region by a colour key and hands images, colours, fonts and sounds to
// controls.
class CSkinEngine {
 public:
  CSkinEngine() = default;
  ~CSkinEngine() {
    Clear();
    ReleaseCanvas();
  }
  CSkinEngine(const CSkinEngine&) = delete;
  CSkinEngine& operator=(const CSkinEngine&) = delete;

  // Always 1 and loaded. A file that is missing or damaged, or that has no
  // child of its root named `element`, loads with no items and the window
  // attributes at their defaults. A number that does not parse reads as
  // absent, a negative size as 0. A null host keeps the previous binding.
  int LoadSkin(const std::wstring& path, const std::wstring& element, ISkinHost* host);
  // Frees the items and their bitmaps; the colour key, background colour,
  // binding and folder stay.
  void Clear();

  tagSkinItem* FindItem(const std::wstring& id) const;
  const RECT* GetItemRect(const std::wstring& id) const;
  std::wstring GetItemCaption(const std::wstring& id) const;
  // The normal bitmap of a skintype-5 item; the engine keeps it.
  HBITMAP GetItemBitmap(const std::wstring& id) const;
  HWND SetItemWnd(const std::wstring& id, HWND window);
  tagSkinItem* ShowItem(const std::wstring& id, bool visible);
  void SetItemText(const std::wstring& id, const std::wstring& text, UINT format, bool repaint);
  void SetBkColor(COLORREF colour) { background_ = colour; }

  void CalcLayout();
  // Layout, region and moving bound windows; only when loaded and bound.
  void Resize(int clientWidth, int clientHeight);
  // Background and items in one copy of the client size; nothing for an
  // empty client area.
  void Draw(HDC dc);
  // The same straight into a DC that is off-screen already (a paint's
  // memory DC), without a second bitmap and copy; false when nothing was
  // painted (an empty client area).
  bool DrawOffScreen(HDC dc);
  // The off-screen picture of the client area that paints go through and
  // the shape is cut from: a memory DC with a 32-bit picture of `width` x
  // `height`, kept for the next call of the same size; null for an empty
  // area or when it cannot be made.
  HDC Canvas(int width, int height);
  void DrawItem(HDC dc, const tagSkinItem& item);
  // Cuts the pixels of the colour key, as the paint shows them (background
  // included), from the window's shape.
  void ApplyRegion(HWND window);
  // Takes the sizing frame off a window whose shape this skin cuts, as the
  // cut does, before the shape itself is cut.
  void DropSizingFrame(HWND window) const;
  // Alpha steps on a layered bound window; nothing for any other window.
  void FadeIn();
  void FadeOut();

  // Both act only on a skintype-1 item and a button; the button gets copies
  // of the item's images, magenta-keyed.
  void SetButtonSkin(const std::wstring& id, CButtonST* button, bool captionAsTooltip);
  void SetBkgButtonSkin(const std::wstring& id, CBkgBtn* button);
  int CreateItemFont(const tagSkinItem* item, fw::ScopedFont* font) const;
  int CreateItemFontById(const std::wstring& id, fw::ScopedFont* font) const;

  // The region that 24-bit pixel rows (rounded up to 4 pixels) give.
  static HRGN CreateRegionFromColor(const std::vector<BYTE>& bits, int roundedWidth, int height, COLORREF key);

  bool IsLoaded() const { return loaded_; }
  int FixSize() const { return fixsize_; }
  int SetRgn() const { return setrgn_; }
  COLORREF TransparentColor() const { return clrtrans_; }
  COLORREF BkColor() const { return background_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int MinWidth() const { return minWidth_; }
  int MinHeight() const { return minHeight_; }
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  const std::vector<std::unique_ptr<tagSkinItem>>& Items() const { return items_; }
  ISkinHost* Host() const { return host_; }
  const std::wstring& Folder() const { return folder_; }

  // Pause between fade steps; tests shorten it.
  void SetFadeStepMilliseconds(DWORD milliseconds) { fadeStep_ = milliseconds; }

 private:
  void ReadFile(const std::wstring& path, const std::wstring& element, ISkinHost* host);
  void ReadWindowAttributes(CXmlDom& dom, ISkinHost* host);
  void ReadItems(CXmlDom& dom);
  const RECT* AnchorRect(const std::wstring& id) const;
  void MoveBoundWindows();
  void PaintItems(HDC dc);
  HRGN BuildRegion(HWND window);
  // Pixel rows `stride` bytes apart, blue, green and red first in each pixel.
  static HRGN RegionFromPixels(const BYTE* bits, size_t stride, int pixelBytes, int width, int height, COLORREF key);
  void ReleaseCanvas();
  void Fade(const BYTE* steps, size_t count, BYTE last);
  const tagSkinItem* ButtonItem(const std::wstring& id, const CButtonST* button) const;
  static void SetStateBitmaps(const tagSkinItem& item, CButtonST* button, bool withDisabled);

  bool loaded_ = false;
  int fixsize_ = 1;
  int setrgn_ = 0;
  bool regionApplied_ = false;
  // The client size the applied region was cut for; a relayout at that size
  // with nothing shown, hidden or retitled since keeps it.
  SIZE regionSize_{-1, -1};
  COLORREF clrtrans_ = RGB(255, 255, 255);
  int clientWidth_ = 0, clientHeight_ = 0;
  int minWidth_ = 0, minHeight_ = 0;
  int width_ = 0, height_ = 0;
  std::vector<std::unique_ptr<tagSkinItem>> items_;
  std::map<std::wstring, tagSkinItem*> byId_;
  ISkinHost* host_ = nullptr;
  COLORREF background_ = RGB(240, 240, 240);
  std::wstring folder_;  // with its trailing backslash
  DWORD fadeStep_ = 41;
  fw::ScopedCreatedDC canvasDC_;
  fw::ScopedBitmap canvas_;
  HGDIOBJ canvasReplaced_ = nullptr;
  const BYTE* canvasPixels_ = nullptr;
  SIZE canvasSize_{0, 0};
};

#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Handles.h"
#include "Wnd.h"

// Messages to the parent: wParam 0, lParam the 0-based item index.
constexpr UINT WM_SKINTAB_SELECTED = WM_USER + 180;
constexpr UINT WM_SKINTAB_DESELECTED = WM_USER + 181;
constexpr UINT WM_SKINTAB_RCLICK = WM_USER + 182;
constexpr UINT WM_SKINTAB_DBLCLK = WM_USER + 183;

// A row of picture tabs on a static control: each item has its own
// rectangle, normal/hover/selected bitmaps keyed by magenta, a 24x24 icon and
// a text. The owner sets the count first, then each item.
class CSkinTab : public fw::Wnd {
 public:
  CSkinTab();
  ~CSkinTab() override;

  // Drops every item; a selection or hover beyond the new count is cleared.
  void SetItemCount(int count);
  int GetItemCount() const { return static_cast<int>(items_.size()); }
  void SetItemRect(int index, int left, int top, int right, int bottom);
  // Files named relative to the folder of the module holding this code.
  void SetItemBitmaps(int index, const wchar_t* normal, const wchar_t* hover, const wchar_t* selected);
  void SetItemBitmapIds(int index, UINT normalId, UINT hoverId, UINT selectedId);
  void SetItemIcon(int index, const wchar_t* iconFile);
  void SetItemText(int index, const wchar_t* text, UINT drawTextFlags);
  // `number` is 1-based.
  void SelectItem(int number);
  void ClearHover();
  int GetSelected() const { return selected_; }
  int GetHover() const { return hover_; }
  void SetBackgroundKept(bool kept) { backgroundKept_ = kept; }

 protected:
  void PreSubclassWindow() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  struct Item {
    RECT rect{};
    fw::ScopedBitmap normal;
    fw::ScopedBitmap hover;
    fw::ScopedBitmap selected;
    fw::ScopedIcon icon;
    std::wstring text;
  };

  bool IsValid(int index) const { return index >= 0 && index < GetItemCount(); }
  int HitTest(POINT point) const;
  void Paint(HDC target);
  void DrawItem(HDC dc, const Item& item, HBITMAP bitmap) const;
  void TakeBackground(HDC source);
  void ChangeSelection(int index);
  void OnMouseMove(POINT point);
  void Notify(UINT message, int index) const;

  std::vector<Item> items_;
  int selected_ = -1;
  int hover_ = -1;
  TRACKMOUSEEVENT tracking_{};
  bool backgroundKept_ = false;
  fw::ScopedCreatedDC background_;
  fw::ScopedBitmap backgroundBitmap_;
  HGDIOBJ backgroundOldBitmap_ = nullptr;
  UINT textFormat_ = 0;
  int lastReported_ = -1;
};

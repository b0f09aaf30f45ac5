#include "SkinTab.h"

#include <windowsx.h>

#include "CommHelper.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kIconSize = 24;
// Keep destination where the mask is set (magenta), copy the source elsewhere.
constexpr DWORD kKeepDestination = 0x00AA0029;

HBITMAP LoadBitmapFile(const wchar_t* name) {
  if (!name || !*name) return nullptr;
  std::wstring path = GetModuleDir(CCommHelper::GetThisModuleHandle()) + L"\\" + name;
  return static_cast<HBITMAP>(::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

HBITMAP LoadBitmapResource(UINT id) {
  return static_cast<HBITMAP>(::LoadImageW(fw::ThisModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  ::GetObjectW(bitmap, sizeof(info), &info);
  return {info.bmWidth, info.bmHeight};
}

// The AND/OR way for systems without MaskBlt: the mask (magenta white) keeps
// the target, then the picture with its magenta turned black is OR-ed in.
void DrawMaskedByAndOr(HDC target, const RECT& rect, HDC field, HDC mask) {
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  ::BitBlt(target, rect.left, rect.top, width, height, mask, 0, 0, SRCAND);
  ::SetBkColor(field, RGB(0, 0, 0));
  ::SetTextColor(field, RGB(255, 255, 255));
  ::BitBlt(field, 0, 0, width, height, mask, 0, 0, 0x00220326);  // field AND NOT mask
  ::BitBlt(target, rect.left, rect.top, width, height, field, 0, 0, SRCPAINT);
}

void DrawKeyed(HDC target, const RECT& rect, HBITMAP bitmap) {
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (!bitmap || width <= 0 || height <= 0) return;
  fw::ScopedCreatedDC field(::CreateCompatibleDC(target));
  fw::ScopedBitmap fieldBitmap(::CreateCompatibleBitmap(target, width, height));
  fw::ScopedSelectObject fieldSelection(field.Get(), fieldBitmap.Get());
  fw::ScopedBrush magenta(::CreateSolidBrush(kMagenta));
  RECT whole{0, 0, width, height};
  ::FillRect(field.Get(), &whole, magenta.Get());
  {
    fw::ScopedCreatedDC source(::CreateCompatibleDC(target));
    fw::ScopedSelectObject sourceSelection(source.Get(), bitmap);
    SIZE size = BitmapSize(bitmap);
    ::BitBlt(field.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
  }
  fw::ScopedCreatedDC mask(::CreateCompatibleDC(target));
  fw::ScopedBitmap maskBitmap(::CreateBitmap(width, height, 1, 1, nullptr));
  fw::ScopedSelectObject maskSelection(mask.Get(), maskBitmap.Get());
  ::SetBkColor(field.Get(), kMagenta);
  ::BitBlt(mask.Get(), 0, 0, width, height, field.Get(), 0, 0, SRCCOPY);
  if (!::MaskBlt(target, rect.left, rect.top, width, height, field.Get(), 0, 0, maskBitmap.Get(), 0, 0,
                 MAKEROP4(kKeepDestination, SRCCOPY))) {
    DrawMaskedByAndOr(target, rect, field.Get(), mask.Get());
  }
}

void DrawItemText(HDC dc, const RECT& rect, const std::wstring& text, UINT format) {
  if (text.empty()) return;
  fw::ScopedFont font(::CreateFontW(20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 32, L"微软雅黑"));
  fw::ScopedSelectObject selection(dc, font.Get());
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  RECT box = rect;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_VCENTER);
  ::SetBkMode(dc, oldMode);
}

}  // namespace

CSkinTab::CSkinTab() {
  tracking_.cbSize = sizeof(tracking_);
  tracking_.dwFlags = TME_LEAVE;
}

CSkinTab::~CSkinTab() {
  if (background_ && backgroundOldBitmap_) ::SelectObject(background_.Get(), backgroundOldBitmap_);
}

void CSkinTab::SetItemCount(int count) {
  items_.clear();
  items_.resize(count > 0 ? count : 0);
  if (selected_ >= GetItemCount()) selected_ = -1;
  if (hover_ >= GetItemCount()) hover_ = -1;
  if (lastReported_ >= GetItemCount()) lastReported_ = -1;
}

void CSkinTab::SetItemRect(int index, int left, int top, int right, int bottom) {
  if (IsValid(index)) items_[index].rect = {left, top, right, bottom};
}

void CSkinTab::SetItemBitmaps(int index, const wchar_t* normal, const wchar_t* hover, const wchar_t* selected) {
  if (!IsValid(index)) return;
  Item& item = items_[index];
  item.normal.Reset(LoadBitmapFile(normal));
  item.hover.Reset(LoadBitmapFile(hover));
  item.selected.Reset(LoadBitmapFile(selected));
}

void CSkinTab::SetItemBitmapIds(int index, UINT normalId, UINT hoverId, UINT selectedId) {
  if (!IsValid(index)) return;
  Item& item = items_[index];
  item.normal.Reset(LoadBitmapResource(normalId));
  item.hover.Reset(LoadBitmapResource(hoverId));
  item.selected.Reset(LoadBitmapResource(selectedId));
}

void CSkinTab::SetItemIcon(int index, const wchar_t* iconFile) {
  if (!IsValid(index) || !iconFile) return;
  items_[index].icon.Reset(static_cast<HICON>(
      ::LoadImageW(fw::ThisModule(), iconFile, IMAGE_ICON, kIconSize, kIconSize, LR_LOADFROMFILE)));
}

void CSkinTab::SetItemText(int index, const wchar_t* text, UINT drawTextFlags) {
  if (!IsValid(index)) return;
  items_[index].text = text ? text : L"";
  textFormat_ = drawTextFlags | DT_SINGLELINE | DT_VCENTER;
}

void CSkinTab::SelectItem(int number) {
  if (!IsValid(number - 1)) return;
  ChangeSelection(number - 1);
}

void CSkinTab::ClearHover() {
  hover_ = -1;
  if (Hwnd()) Invalidate(true);
}

void CSkinTab::PreSubclassWindow() {
  LONG_PTR style = ::GetWindowLongPtrW(Hwnd(), GWL_STYLE);
  ::SetWindowLongPtrW(Hwnd(), GWL_STYLE, style | SS_NOTIFY);
}

int CSkinTab::HitTest(POINT point) const {
  for (int i = 0; i < GetItemCount(); ++i) {
    if (::PtInRect(&items_[i].rect, point)) return i;
  }
  return -1;
}

void CSkinTab::Notify(UINT message, int index) const {
  ::SendMessageW(::GetParent(Hwnd()), message, 0, index);
}

// Tells the parent the old item went before the new one is selected; a miss
// leaves the selection as it is.
void CSkinTab::ChangeSelection(int index) {
  if (lastReported_ >= 0) Notify(WM_SKINTAB_DESELECTED, lastReported_);
  if (index < 0) return;
  selected_ = index;
  if (Hwnd()) Invalidate(true);
  Notify(WM_SKINTAB_SELECTED, index);
  lastReported_ = index;
}

void CSkinTab::OnMouseMove(POINT point) {
  int index = HitTest(point);
  if (index >= 0 && index != hover_) {
    hover_ = index;
    Invalidate(true);
  }
  tracking_.hwndTrack = Hwnd();
  ::TrackMouseEvent(&tracking_);
}

void CSkinTab::TakeBackground(HDC source) {
  RECT client = ClientRect();
  int width = client.right, height = client.bottom;
  if (background_ && backgroundOldBitmap_) ::SelectObject(background_.Get(), backgroundOldBitmap_);
  background_.Reset(::CreateCompatibleDC(source));
  backgroundBitmap_.Reset(::CreateCompatibleBitmap(source, width, height));
  backgroundOldBitmap_ = ::SelectObject(background_.Get(), backgroundBitmap_.Get());
  ::BitBlt(background_.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
}

void CSkinTab::DrawItem(HDC dc, const Item& item, HBITMAP bitmap) const {
  DrawKeyed(dc, item.rect, bitmap);
  if (item.icon) {
    int width = item.rect.right - item.rect.left;
    ::DrawIconEx(dc, item.rect.left + (width - 23) / 2, item.rect.top + 2, item.icon.Get(), kIconSize, kIconSize, 0,
                 nullptr, DI_NORMAL);
  }
  DrawItemText(dc, item.rect, item.text, textFormat_);
}

void CSkinTab::Paint(HDC target) {
  RECT client = ClientRect();
  fw::ScopedCreatedDC memory(::CreateCompatibleDC(target));
  fw::ScopedBitmap bitmap(::CreateCompatibleBitmap(target, client.right, client.bottom));
  fw::ScopedSelectObject selection(memory.Get(), bitmap.Get());
  if (background_) ::BitBlt(memory.Get(), 0, 0, client.right, client.bottom, background_.Get(), 0, 0, SRCCOPY);
  for (int i = GetItemCount() - 1; i >= 0; --i) {
    const Item& item = items_[i];
    DrawItem(memory.Get(), item, i == hover_ && item.hover ? item.hover.Get() : item.normal.Get());
  }
  if (IsValid(selected_)) DrawItem(memory.Get(), items_[selected_], items_[selected_].selected.Get());
  ::BitBlt(target, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

bool CSkinTab::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(Hwnd(), &paint);
      Paint(dc);
      ::EndPaint(Hwnd(), &paint);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    case WM_ERASEBKGND:
      if (!backgroundKept_) TakeBackground(reinterpret_cast<HDC>(wParam));
      result = 1;
      return true;
    case WM_MOUSEMOVE:
      OnMouseMove(point);
      break;
    case WM_MOUSELEAVE:
      ClearHover();
      break;
    case WM_LBUTTONDOWN:
      ChangeSelection(HitTest(point));
      break;
    case WM_RBUTTONDOWN:
      if (HitTest(point) >= 0) Notify(WM_SKINTAB_RCLICK, HitTest(point));
      break;
    case WM_LBUTTONDBLCLK:
      if (HitTest(point) >= 0) Notify(WM_SKINTAB_DBLCLK, HitTest(point));
      break;
    default:
      break;
  }
  return false;
}

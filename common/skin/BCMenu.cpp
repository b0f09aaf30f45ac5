#include "BCMenu.h"

#include <algorithm>

#include "BCMenuDrawing.h"
#include "BCMenuState.h"
#include "StringConv.h"

namespace {

BCMenuState& State() { return BCMenuState::Get(); }

// A command of 0 (outside popups) makes a separator; everything is owner-drawn.
UINT OwnerDrawFlags(UINT flags, UINT_PTR command) {
  flags &= ~(MF_BYPOSITION | MF_BITMAP | MF_STRING);
  if (!(flags & MF_POPUP) && command == 0) return MF_SEPARATOR | MF_OWNERDRAW;
  return (flags & ~MF_SEPARATOR) | MF_OWNERDRAW;
}

std::wstring TrimRight(std::wstring text) {
  while (!text.empty() && text.back() == L' ') text.pop_back();
  return text;
}

}  // namespace

BCMenu::BCMenu() : codePage_(::GetACP()) { State().liveMenus.push_back(this); }

BCMenu::~BCMenu() {
  DestroyMenu();
  auto& live = State().liveMenus;
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

std::wstring BCMenu::Widen(const char* text) const { return text ? fw::ToWide(text, codePage_) : std::wstring(); }

BOOL BCMenu::CreateMenu() {
  if (menu_) return FALSE;
  menu_ = ::CreateMenu();
  return menu_ != nullptr;
}

BOOL BCMenu::CreatePopupMenu() {
  if (menu_) return FALSE;
  menu_ = ::CreatePopupMenu();
  return menu_ != nullptr;
}

BOOL BCMenu::DestroyMenu() {
  BCMenuState& state = State();
  state.RemoveKnownMenu(menu_);
  for (HMENU sub : subMenus_) state.RemoveKnownMenu(sub);
  // Popups that have an object of their own are taken out first, so each
  // handle is destroyed once: by its object, not again through this menu.
  for (int position = GetMenuItemCount() - 1; position >= 0; --position) {
    HMENU sub = ::GetSubMenu(menu_, position);
    if (sub && FromHandle(sub)) ::RemoveMenu(menu_, position, MF_BYPOSITION);
  }
  ownedPopups_.clear();
  subMenus_.clear();
  items_.clear();
  if (!sharesCheckMarks_) checkMarks_.Reset();
  loadedFromResource_ = FALSE;
  if (!menu_) return FALSE;
  BOOL destroyed = ::DestroyMenu(menu_);
  menu_ = nullptr;
  return destroyed;
}

BCMenuData* BCMenu::RecordAt(int position) const {
  if (position < 0 || position >= RecordCount()) return nullptr;
  return items_[position].get();
}

// ---- Appending and inserting ----

BCMenu* BCMenu::Locate(UINT item, UINT flags, int* position) {
  if (!(flags & MF_BYPOSITION)) return FindItemOwner(item, position);
  *position = static_cast<int>(item);
  return this;
}

void BCMenu::JoinPopup(HMENU popup) {
  State().AddKnownMenu(popup);
  if (std::find(subMenus_.begin(), subMenus_.end(), popup) == subMenus_.end()) subMenus_.push_back(popup);
}

BOOL BCMenu::Insert(int position, UINT flags, UINT_PTR command, const std::wstring& text, const Image& image) {
  if (!menu_ && !CreatePopupMenu()) return FALSE;
  flags = OwnerDrawFlags(flags, command);
  auto record = std::make_unique<BCMenuData>();
  record->SetText(text);
  record->SetFlags(flags);
  record->SetCommandOrMenu(command);
  if (!record->IsSeparator() && !record->IsPopup()) ApplyImage(record.get(), image);

  int count = GetMenuItemCount();
  if (position < 0 || position > count) position = count;
  if (!::InsertMenuW(menu_, position, MF_BYPOSITION | flags, command, reinterpret_cast<LPCWSTR>(record.get())))
    return FALSE;
  if (flags & MF_POPUP) JoinPopup(reinterpret_cast<HMENU>(command));
  int at = std::min(position, RecordCount());
  items_.insert(items_.begin() + at, std::move(record));
  if (loadedFromResource_) RestorePlainTopLevel();
  return TRUE;
}

BOOL BCMenu::AppendItem(const wchar_t* text, UINT flags, UINT_PTR command, int imageId) {
  return Insert(-1, flags, command, text ? text : L"", Image::Resource(imageId));
}
BOOL BCMenu::AppendItem(const char* text, UINT flags, UINT_PTR command, int imageId) {
  return Insert(-1, flags, command, Widen(text), Image::Resource(imageId));
}
BOOL BCMenu::AppendItem(const wchar_t* text, UINT flags, UINT_PTR command, HIMAGELIST list, int index) {
  return Insert(-1, flags, command, text ? text : L"", Image::FromList(list, index));
}
BOOL BCMenu::AppendItem(const char* text, UINT flags, UINT_PTR command, HIMAGELIST list, int index) {
  return Insert(-1, flags, command, Widen(text), Image::FromList(list, index));
}
BOOL BCMenu::AppendItem(const wchar_t* text, UINT flags, UINT_PTR command, HBITMAP bitmap) {
  return Insert(-1, flags, command, text ? text : L"", Image::FromBitmap(bitmap));
}
BOOL BCMenu::AppendItem(const char* text, UINT flags, UINT_PTR command, HBITMAP bitmap) {
  return Insert(-1, flags, command, Widen(text), Image::FromBitmap(bitmap));
}

namespace {

// Where an insertion lands: this menu at a position, or the menu holding the
// command it goes before.
template <typename Insert>
BOOL InsertAt(BCMenu* menu, UINT position, UINT flags, Insert insert) {
  if (flags & MF_BYPOSITION) return insert(menu, static_cast<int>(position));
  int at = -1;
  BCMenu* owner = menu->FindItemOwner(position, &at);
  return owner ? insert(owner, at) : FALSE;
}

}  // namespace

BOOL BCMenu::InsertItem(UINT position, const wchar_t* text, UINT flags, UINT_PTR command, int imageId) {
  std::wstring wide = text ? text : L"";
  return InsertAt(this, position, flags, [&](BCMenu* menu, int at) {
    return menu->Insert(at, flags, command, wide, Image::Resource(imageId));
  });
}
BOOL BCMenu::InsertItem(UINT position, const char* text, UINT flags, UINT_PTR command, int imageId) {
  return InsertItem(position, Widen(text).c_str(), flags, command, imageId);
}
BOOL BCMenu::InsertItem(UINT position, const wchar_t* text, UINT flags, UINT_PTR command, HIMAGELIST list,
                        int index) {
  std::wstring wide = text ? text : L"";
  return InsertAt(this, position, flags, [&](BCMenu* menu, int at) {
    return menu->Insert(at, flags, command, wide, Image::FromList(list, index));
  });
}
BOOL BCMenu::InsertItem(UINT position, const char* text, UINT flags, UINT_PTR command, HIMAGELIST list,
                        int index) {
  return InsertItem(position, Widen(text).c_str(), flags, command, list, index);
}
BOOL BCMenu::InsertItem(UINT position, const wchar_t* text, UINT flags, UINT_PTR command, HBITMAP bitmap) {
  std::wstring wide = text ? text : L"";
  return InsertAt(this, position, flags, [&](BCMenu* menu, int at) {
    return menu->Insert(at, flags, command, wide, Image::FromBitmap(bitmap));
  });
}
BOOL BCMenu::InsertItem(UINT position, const char* text, UINT flags, UINT_PTR command, HBITMAP bitmap) {
  return InsertItem(position, Widen(text).c_str(), flags, command, bitmap);
}

BOOL BCMenu::AppendMenu(UINT flags, UINT_PTR command, const wchar_t* text) {
  return Insert(-1, flags, command, text ? text : L"", Image::Resource(-1));
}
BOOL BCMenu::AppendMenu(UINT flags, UINT_PTR command, const char* text) {
  return Insert(-1, flags, command, Widen(text), Image::Resource(-1));
}
BOOL BCMenu::InsertMenu(UINT position, UINT flags, UINT_PTR command, const wchar_t* text) {
  return InsertItem(position, text, flags, command, -1);
}
BOOL BCMenu::InsertMenu(UINT position, UINT flags, UINT_PTR command, const char* text) {
  return InsertItem(position, text, flags, command, -1);
}

BOOL BCMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR command, const wchar_t* text) {
  int at = -1;
  BCMenu* owner = Locate(position, flags, &at);
  BCMenuData* record = owner ? owner->RecordAt(at) : nullptr;
  if (!record) return FALSE;
  UINT kept = OwnerDrawFlags(flags, command);
  if (text) record->SetText(text);
  record->SetFlags(kept);
  record->SetCommandOrMenu(command);
  if (!(kept & (MF_POPUP | MF_SEPARATOR)))
    record->sharedImageIndex = State().SharedIndexOf(static_cast<int>(command));
  if (kept & MF_POPUP) owner->JoinPopup(reinterpret_cast<HMENU>(command));
  BOOL modified = ::ModifyMenuW(owner->menu_, at, MF_BYPOSITION | kept, command, reinterpret_cast<LPCWSTR>(record));
  if (owner->loadedFromResource_) owner->RestorePlainTopLevel();
  return modified;
}
BOOL BCMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR command, const char* text) {
  std::wstring wide = Widen(text);
  return ModifyMenu(position, flags, command, text ? wide.c_str() : nullptr);
}

// ---- Changing items ----

BOOL BCMenu::Change(UINT command, const std::wstring* text, const Image& image) {
  BCMenuData* record = FindItemRecord(command);
  if (!record) return FALSE;
  if (text) record->SetText(*text);
  return ApplyImage(record, image) || image.kind == Image::kNone;
}

BOOL BCMenu::ChangeItem(UINT command, const wchar_t* text, int imageId) {
  std::wstring wide = text ? text : L"";
  return Change(command, text ? &wide : nullptr, Image::Resource(imageId));
}
BOOL BCMenu::ChangeItem(UINT command, const char* text, int imageId) {
  std::wstring wide = Widen(text);
  return Change(command, text ? &wide : nullptr, Image::Resource(imageId));
}
BOOL BCMenu::ChangeItem(UINT command, const wchar_t* text, HIMAGELIST list, int index) {
  std::wstring wide = text ? text : L"";
  return Change(command, text ? &wide : nullptr, Image::FromList(list, index));
}
BOOL BCMenu::ChangeItem(UINT command, const char* text, HIMAGELIST list, int index) {
  std::wstring wide = Widen(text);
  return Change(command, text ? &wide : nullptr, Image::FromList(list, index));
}
BOOL BCMenu::ChangeItem(UINT command, const wchar_t* text, HBITMAP bitmap) {
  std::wstring wide = text ? text : L"";
  return Change(command, text ? &wide : nullptr, Image::FromBitmap(bitmap));
}
BOOL BCMenu::ChangeItem(UINT command, const char* text, HBITMAP bitmap) {
  std::wstring wide = Widen(text);
  return Change(command, text ? &wide : nullptr, Image::FromBitmap(bitmap));
}
BOOL BCMenu::ChangeItem(UINT command, const wchar_t* text, COLORREF fill, COLORREF border, int hatch, int size) {
  Image square;
  square.kind = Image::kSquare;
  square.fill = fill;
  square.border = border;
  square.hatch = hatch;
  square.size = size;
  std::wstring wide = text ? text : L"";
  return Change(command, text ? &wide : nullptr, square);
}
BOOL BCMenu::ChangeItem(UINT command, const char* text, COLORREF fill, COLORREF border, int hatch, int size) {
  std::wstring wide = Widen(text);
  return ChangeItem(command, text ? wide.c_str() : nullptr, fill, border, hatch, size);
}

BOOL BCMenu::ChangeItemByLabel(const wchar_t* label, const wchar_t* text, int imageId) {
  int position = FindItemPosition(label);
  BCMenuData* record = RecordAt(position);
  if (!record || record->IsPopup() || record->IsSeparator()) return FALSE;
  if (text) record->SetText(text);
  return ApplyImage(record, Image::Resource(imageId)) || imageId == -1;
}
BOOL BCMenu::ChangeItemByLabel(const char* label, const char* text, int imageId) {
  std::wstring wideText = Widen(text);
  return ChangeItemByLabel(Widen(label).c_str(), text ? wideText.c_str() : nullptr, imageId);
}

BOOL BCMenu::SetItemLabel(UINT item, const wchar_t* text, UINT flags) {
  int at = -1;
  BCMenu* owner = Locate(item, flags, &at);
  BCMenuData* record = owner ? owner->RecordAt(at) : nullptr;
  if (!record) return FALSE;
  record->SetText(text ? text : L"");
  // Plain text items (the top level of a loaded menu) show the label themselves.
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  if (::GetMenuItemInfoW(owner->menu_, at, TRUE, &info) && !(info.fType & MFT_OWNERDRAW)) {
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(record->GetText().c_str());
    ::SetMenuItemInfoW(owner->menu_, at, TRUE, &info);
  }
  return TRUE;
}
BOOL BCMenu::SetItemLabel(UINT item, const char* text, UINT flags) {
  return SetItemLabel(item, Widen(text).c_str(), flags);
}

std::wstring BCMenu::GetItemLabel(UINT item, UINT flags) const {
  int at = -1;
  const BCMenu* owner = const_cast<BCMenu*>(this)->Locate(item, flags, &at);
  BCMenuData* record = owner ? owner->RecordAt(at) : nullptr;
  return record ? record->GetText() : std::wstring();
}

// ---- Removing ----

BOOL BCMenu::RemoveItem(UINT item, UINT flags, bool destroyPopup) {
  if (!(flags & MF_BYPOSITION)) {
    int at = -1;
    BCMenu* owner = FindItemOwner(item, &at);
    return owner ? owner->RemoveItem(at, MF_BYPOSITION, destroyPopup) : FALSE;
  }
  int position = static_cast<int>(item);
  if (!menu_ || position < 0 || position >= GetMenuItemCount()) return FALSE;
  HMENU sub = ::GetSubMenu(menu_, position);
  if (sub) {
    State().RemoveKnownMenu(sub);
    subMenus_.erase(std::remove(subMenus_.begin(), subMenus_.end(), sub), subMenus_.end());
  }
  auto owned = std::find_if(ownedPopups_.begin(), ownedPopups_.end(),
                            [sub](const std::unique_ptr<BCMenu>& popup) { return sub && popup->menu_ == sub; });
  // A popup with an object destroys its own handle; a bare one goes with
  // DeleteMenu as in the base operation.
  bool bare = sub && !FromHandle(sub);
  BOOL removed = (destroyPopup && bare) ? ::DeleteMenu(menu_, position, MF_BYPOSITION)
                                        : ::RemoveMenu(menu_, position, MF_BYPOSITION);
  if (!removed) return FALSE;
  if (owned != ownedPopups_.end()) ownedPopups_.erase(owned);
  if (position < RecordCount()) items_.erase(items_.begin() + position);
  return TRUE;
}

BOOL BCMenu::RemoveMenu(UINT item, UINT flags) { return RemoveItem(item, flags, false); }
BOOL BCMenu::DeleteMenu(UINT item, UINT flags) { return RemoveItem(item, flags, true); }

BOOL BCMenu::RemoveByLabel(const std::wstring& label, int mode, bool destroyPopup) {
  int position = FindItemPosition(label.c_str());
  if (position < 0 || !RemoveItem(position, MF_BYPOSITION, destroyPopup)) return FALSE;
  int before = (mode == 1 || mode == 2) ? 1 : mode == 3 ? 2 : 0;
  for (int i = 1; i <= before && position - i >= 0; ++i) RemoveItem(position - i, MF_BYPOSITION, destroyPopup);
  return TRUE;
}

BOOL BCMenu::RemoveMenu(const wchar_t* label, int mode) { return RemoveByLabel(label ? label : L"", mode, false); }
BOOL BCMenu::RemoveMenu(const char* label, int mode) { return RemoveByLabel(Widen(label), mode, false); }
BOOL BCMenu::DeleteMenu(const wchar_t* label, int mode) { return RemoveByLabel(label ? label : L"", mode, true); }
BOOL BCMenu::DeleteMenu(const char* label, int mode) { return RemoveByLabel(Widen(label), mode, true); }

// ---- Finding ----

BCMenu* BCMenu::GetSubMenu(int position) {
  if (!menu_ || position < 0) return nullptr;
  return FromHandle(::GetSubMenu(menu_, position));
}

BCMenu* BCMenu::GetSubMenu(const wchar_t* label) {
  int position = FindItemPosition(label);
  return position >= 0 ? GetSubMenu(position) : nullptr;
}
BCMenu* BCMenu::GetSubMenu(const char* label) { return GetSubMenu(Widen(label).c_str()); }

int BCMenu::FindItemPosition(const wchar_t* label) const {
  if (!label) return -1;
  // Aligned labels carry padding spaces before the tab.
  std::wstring wanted = TrimRight(label);
  for (int i = 0; i < RecordCount(); ++i) {
    if (TrimRight(items_[i]->Label()) == wanted || items_[i]->GetText() == label) return i;
  }
  return -1;
}
int BCMenu::FindItemPosition(const char* label) const { return FindItemPosition(Widen(label).c_str()); }

BCMenu* BCMenu::FindItemOwner(UINT command, int* position) {
  int count = GetMenuItemCount();
  for (int i = 0; i < count; ++i) {
    HMENU sub = ::GetSubMenu(menu_, i);
    if (!sub && ::GetMenuItemID(menu_, i) == command) {
      if (position) *position = i;
      return this;
    }
    BCMenu* popup = sub ? FromHandle(sub) : nullptr;
    BCMenu* owner = popup ? popup->FindItemOwner(command, position) : nullptr;
    if (owner) return owner;
  }
  return nullptr;
}

BCMenuData* BCMenu::FindItemRecord(UINT command) {
  int position = -1;
  BCMenu* owner = FindItemOwner(command, &position);
  return owner ? owner->RecordAt(position) : nullptr;
}

BCMenu* BCMenu::AdoptPopup(std::unique_ptr<BCMenu> popup) {
  popup->checkMarkOwner_ = checkMarkOwner_ ? checkMarkOwner_ : this;
  popup->sharesCheckMarks_ = TRUE;
  ownedPopups_.push_back(std::move(popup));
  return ownedPopups_.back().get();
}

BCMenu* BCMenu::AppendPopup(const wchar_t* label) {
  auto popup = std::make_unique<BCMenu>();
  if (!popup->CreatePopupMenu()) return nullptr;
  HMENU handle = popup->menu_;
  BCMenu* adopted = AdoptPopup(std::move(popup));
  if (!Insert(-1, MF_POPUP, reinterpret_cast<UINT_PTR>(handle), label ? label : L"", Image())) {
    ownedPopups_.pop_back();
    return nullptr;
  }
  return adopted;
}
BCMenu* BCMenu::AppendPopup(const char* label) { return AppendPopup(Widen(label).c_str()); }

// ---- Process-wide settings ----

void BCMenu::SetDrawStyle(int style) {
  State().drawStyleClassic = style;
  State().drawStyleXP = style;
}
int BCMenu::GetDrawStyle() { return State().DrawStyleInForce(); }
void BCMenu::SetSelectDisabled(BOOL select) {
  State().selectDisabledClassic = select;
  State().selectDisabledXP = select;
}
BOOL BCMenu::GetSelectDisabled() { return State().SelectDisabled(State().XPLookInForce()); }
void BCMenu::SetWideImageColumn(BOOL wide) { State().wideImageColumn = wide; }
BOOL BCMenu::GetWideImageColumn() { return State().wideImageColumn; }

BOOL BCMenu::SetImageSize(int width, int height) {
  BCMenuState& state = State();
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == state.imageWidth && height == state.imageHeight) return TRUE;
  // Images of the old size cannot live in a list of another size, and menus
  // built earlier show theirs from it: once it holds any, the size stays.
  if (state.SharedImages() && ImageList_GetImageCount(state.SharedImages()) > 0) return FALSE;
  state.imageWidth = width;
  state.imageHeight = height;
  state.ResetSharedImages();
  return TRUE;
}
SIZE BCMenu::GetImageSize() { return SIZE{State().imageWidth, State().imageHeight}; }

void BCMenu::SetTransparentColour(COLORREF colour, BOOL use) {
  bitmapBackground_ = colour;
  useBitmapBackground_ = use;
}

COLORREF BCMenu::TransparentColour() const {
  return useBitmapBackground_ ? bitmapBackground_ : ::GetSysColor(COLOR_BTNFACE);
}

BOOL BCMenu::IsKnownMenu(HMENU menu) { return State().IsKnownMenu(menu); }
BOOL BCMenu::IsKnownMenu(const BCMenu* menu) { return menu && State().IsKnownMenu(menu->menu_); }

BCMenu* BCMenu::FromHandle(HMENU menu) {
  if (!menu) return nullptr;
  for (BCMenu* live : State().liveMenus) {
    if (live->menu_ == menu) return live;
  }
  return nullptr;
}

BOOL BCMenu::IsClassicTheme() { return State().IsClassicTheme(); }
BOOL BCMenu::IsXPStyleActive() { return State().IsXPStyleActive(); }
int BCMenu::GetWindowsFamily() { return State().family; }
void BCMenu::SetResourceModule(HINSTANCE module) { State().resourceModule = module; }

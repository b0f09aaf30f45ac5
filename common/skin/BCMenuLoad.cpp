// Building a menu from a menu resource, and keeping records and menu in step.
#include <algorithm>

#include "BCMenu.h"
#include "BCMenuDrawing.h"
#include "BCMenuState.h"

// Reads a normal menu template (not the extended form) item by item.
class MenuTemplateReader {
 public:
  MenuTemplateReader(const BYTE* data, DWORD size) : at_(data), end_(data + size) {}
  bool Header() {
    WORD version = 0, offset = 0;
    if (!Word(&version) || !Word(&offset) || version != 0) return false;
    at_ += offset;
    return at_ <= end_;
  }
  bool AtEnd() const { return at_ >= end_; }
  bool Word(WORD* value) {
    if (end_ - at_ < 2) return false;
    *value = static_cast<WORD>(at_[0] | (at_[1] << 8));
    at_ += 2;
    return true;
  }
  // A zero-terminated wide string, never read past the resource.
  bool Text(std::wstring* text) {
    text->clear();
    WORD ch = 0;
    while (Word(&ch)) {
      if (ch == 0) return true;
      text->push_back(static_cast<wchar_t>(ch));
    }
    return false;
  }

 private:
  const BYTE* at_;
  const BYTE* end_;
};

namespace {

const UINT kKeptTemplateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK | MF_HELP;

int TextWidth(HDC dc, const std::wstring& text) {
  RECT rect{0, 0, 0, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_CALCRECT);
  return rect.right - rect.left;
}

}  // namespace

BOOL BCMenu::LoadMenu(UINT resourceId) { return LoadMenu(MAKEINTRESOURCEW(resourceId)); }

BOOL BCMenu::LoadMenu(const char* name) {
  if (IS_INTRESOURCE(name)) return LoadMenu(reinterpret_cast<const wchar_t*>(name));
  return LoadMenu(Widen(name).c_str());
}

BOOL BCMenu::LoadMenu(const wchar_t* name) {
  HMODULE module = BCMenuState::Get().FindResourceModule(name, reinterpret_cast<const wchar_t*>(RT_MENU));
  HRSRC found = module ? ::FindResourceW(module, name, reinterpret_cast<const wchar_t*>(RT_MENU)) : nullptr;
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
  if (!data) return FALSE;
  MenuTemplateReader reader(data, ::SizeofResource(module, found));
  if (!reader.Header()) return FALSE;

  DestroyMenu();
  if (!CreateMenu()) return FALSE;
  if (!LoadLevel(&reader)) return FALSE;
  RestorePlainTopLevel();
  loadedFromResource_ = TRUE;
  return TRUE;
}

bool BCMenu::LoadLevel(MenuTemplateReader* reader) {
  while (!reader->AtEnd()) {
    WORD flags = 0, id = 0;
    std::wstring text;
    if (!reader->Word(&flags)) return false;
    bool popup = (flags & MF_POPUP) != 0;
    if (!popup && !reader->Word(&id)) return false;
    if (!reader->Text(&text)) return false;
    UINT kept = flags & kKeptTemplateFlags;
    if (popup) {
      auto child = std::make_unique<BCMenu>();
      if (!child->CreatePopupMenu()) return false;
      HMENU handle = child->menu_;
      BCMenu* adopted = AdoptPopup(std::move(child));
      if (!Insert(-1, MF_POPUP | kept, reinterpret_cast<UINT_PTR>(handle), text, Image())) return false;
      if (!adopted->LoadLevel(reader)) return false;
      adopted->AlignAccelerators();
    } else {
      if (!Insert(-1, kept, id, text, Image::Resource(-1))) return false;
    }
    if (flags & MF_END) return true;
  }
  return true;
}

void BCMenu::RestorePlainTopLevel() {
  int count = std::min(GetMenuItemCount(), RecordCount());
  for (int i = 0; i < count; ++i) {
    BCMenuData* record = items_[i].get();
    UINT state = ::GetMenuState(menu_, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    UINT flags = MF_BYPOSITION | state;
    UINT_PTR command = record->CommandOrMenu();
    if (record->IsSeparator()) {
      flags |= MF_SEPARATOR;
    } else if (record->IsPopup()) {
      flags |= MF_POPUP | MF_STRING;
    } else {
      flags |= MF_STRING;
    }
    if (!::ModifyMenuW(menu_, i, flags, command, record->GetText().c_str())) continue;
    record->SetFlags((record->Flags() & ~MF_OWNERDRAW));
  }
}

void BCMenu::AlignAccelerators() {
  fw::WindowDC dc(::GetDesktopWindow());
  fw::ScopedFont font = menu_drawing::CreateMenuFont();
  fw::ScopedSelectObject select(dc, font.Get());
  int widest = 0;
  for (const auto& record : items_) widest = std::max(widest, TextWidth(dc, record->Label() + L" "));
  for (const auto& record : items_) {
    if (!record->HasTab()) continue;
    std::wstring label = record->Label();
    // A space of no width (a broken font) must not pad forever.
    for (int width = TextWidth(dc, label); width < widest;) {
      label.push_back(L' ');
      int grown = TextWidth(dc, label);
      if (grown <= width) break;
      width = grown;
    }
    record->SetText(label + L"\t" + record->Accelerator());
  }
}

void BCMenu::Synchronize() {
  int count = GetMenuItemCount();
  std::vector<std::unique_ptr<BCMenuData>> synced;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    if (!::GetMenuItemInfoW(menu_, i, TRUE, &info)) continue;
    auto mine = std::find_if(items_.begin(), items_.end(), [&](const std::unique_ptr<BCMenuData>& record) {
      return record && reinterpret_cast<ULONG_PTR>(record.get()) == info.dwItemData;
    });
    if (mine != items_.end()) {
      synced.push_back(std::move(*mine));
      continue;
    }
    // An item put in through the plain API: give it a record of its text.
    auto record = std::make_unique<BCMenuData>();
    int length = ::GetMenuStringW(menu_, i, nullptr, 0, MF_BYPOSITION);
    std::wstring text(std::max(length, 0) + 1, L'\0');
    ::GetMenuStringW(menu_, i, &text[0], static_cast<int>(text.size()), MF_BYPOSITION);
    text.resize(std::max(length, 0));
    record->SetText(text);
    UINT_PTR command = info.hSubMenu ? reinterpret_cast<UINT_PTR>(info.hSubMenu) : info.wID;
    UINT flags = (info.fType & MFT_SEPARATOR) ? MF_SEPARATOR : 0;
    if (info.hSubMenu) {
      flags |= MF_POPUP;
      JoinPopup(info.hSubMenu);
    }
    record->SetCommandOrMenu(command);
    record->SetFlags(flags | MF_OWNERDRAW);
    if (!(flags & (MF_POPUP | MF_SEPARATOR))) record->sharedImageIndex = BCMenuState::Get().SharedIndexOf(info.wID);
    MENUITEMINFOW change{};
    change.cbSize = sizeof(change);
    change.fMask = MIIM_FTYPE | MIIM_DATA;
    change.fType = (info.fType & ~(MFT_STRING | MFT_BITMAP)) | MFT_OWNERDRAW;
    change.dwItemData = reinterpret_cast<ULONG_PTR>(record.get());
    ::SetMenuItemInfoW(menu_, i, TRUE, &change);
    synced.push_back(std::move(record));
  }
  items_ = std::move(synced);
}

LRESULT BCMenu::FindMnemonicItem(UINT character, UINT flags, HMENU menu) {
  BCMenu* found = FromHandle(menu);
  if (!found || !(flags & MF_POPUP)) return 0;
  std::wstring key = L"&";
  key.push_back(static_cast<wchar_t>(::towlower(static_cast<wint_t>(character))));
  if (found->RecordCount() != found->GetMenuItemCount()) found->Synchronize();
  for (int i = 0; i < found->RecordCount(); ++i) {
    std::wstring label = found->items_[i]->Label();
    std::transform(label.begin(), label.end(), label.begin(), [](wchar_t c) { return ::towlower(c); });
    if (label.find(key) != std::wstring::npos) return MAKELRESULT(i, MNC_EXECUTE);
  }
  return 0;
}

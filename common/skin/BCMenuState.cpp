#include "BCMenuState.h"

#include <algorithm>

#include "StringConv.h"
#include "Wnd.h"

namespace {

// Built during static initialisation, so every program has it before main.
[[maybe_unused]] BCMenuState& g_state = BCMenuState::Get();

bool ReplaceImage(HIMAGELIST target, int at, HIMAGELIST source, int index) {
  fw::ScopedIcon icon(::ImageList_GetIcon(source, index, ILD_NORMAL));
  return icon && ::ImageList_ReplaceIcon(target, at, icon.Get()) >= 0;
}

int AppendImage(HIMAGELIST target, HIMAGELIST source, int index) {
  fw::ScopedIcon icon(::ImageList_GetIcon(source, index, ILD_NORMAL));
  return icon ? ::ImageList_ReplaceIcon(target, -1, icon.Get()) : -1;
}

}  // namespace

BCMenuState& BCMenuState::Get() {
  static BCMenuState state;
  return state;
}

BCMenuState::BCMenuState() : family(QueryWindowsFamily()), resourceModule(fw::ThisModule()) {}

int BCMenuState::ClassifyWindows(DWORD version, const OSVERSIONINFOW* info) {
  bool nineX = (version & 0x80000000u) != 0;
  if (nineX) {
    if (LOBYTE(LOWORD(version)) < 4) return 0;
    if (!info) return 2;
    if (info->dwMajorVersion == 4 && info->dwMinorVersion == 10) return 3;
    if (info->dwMajorVersion == 4 && info->dwMinorVersion == 90) return 4;
    return 2;
  }
  if (!info) return 1;
  if (info->dwMajorVersion == 4) return 5;
  if (info->dwMajorVersion == 5 && info->dwMinorVersion == 0) return 6;
  if (info->dwMajorVersion == 5 && info->dwMinorVersion == 1) return 7;
  return 1;
}

int BCMenuState::QueryWindowsFamily() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  DWORD version = ::GetVersion();
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  bool known = ::GetVersionExW(&info) != 0;
#pragma GCC diagnostic pop
  return ClassifyWindows(version, known ? &info : nullptr);
}

bool BCMenuState::IsClassicThemeName(const std::wstring& value) {
  static const std::wstring kClassic = L"Windows Classic.theme";
  if (value.size() < kClassic.size()) return false;
  return fw::EqualsNoCase(value.substr(value.size() - kClassic.size()), kClassic);
}

bool BCMenuState::IsClassicTheme() {
  if (themeComputed_) return classicTheme_;
  // A failure counts as computed: the registry is not asked again.
  themeComputed_ = true;
  classicTheme_ = false;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return false;
  wchar_t value[131] = {};  // 260 bytes and a terminator
  DWORD bytes = 260;
  DWORD type = 0;
  LONG read = ::RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
  ::RegCloseKey(key);
  if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  value[std::min<DWORD>(bytes / sizeof(wchar_t), 130)] = L'\0';
  classicTheme_ = IsClassicThemeName(value);
  return classicTheme_;
}

int BCMenuState::SharedIndexOf(int command) const {
  auto found = std::find(sharedCommands_.begin(), sharedCommands_.end(), command);
  return found == sharedCommands_.end() ? -1 : static_cast<int>(found - sharedCommands_.begin());
}

bool BCMenuState::EnsureSharedImages() {
  if (!sharedImages_) {
    sharedImages_.Reset(::ImageList_Create(imageWidth, imageHeight, ILC_COLORDDB | ILC_MASK, 1, 1));
    sharedCommands_.clear();
  }
  return static_cast<bool>(sharedImages_);
}

int BCMenuState::StoreSharedImage(int command, HIMAGELIST source, int index, bool derived) {
  if (!source || index < 0 || index >= ::ImageList_GetImageCount(source) || !EnsureSharedImages()) return -1;
  int extra = derived && index + 3 < ::ImageList_GetImageCount(source) ? 3 : 0;
  int at = SharedIndexOf(command);
  if (at >= 0) {
    if (!ReplaceImage(sharedImages_.Get(), at, source, index)) return -1;
    bool hasDerived = at + 2 < static_cast<int>(sharedCommands_.size()) && sharedCommands_[at + 1] == command &&
                      sharedCommands_[at + 2] == command;
    for (int i = 1; hasDerived && i <= extra && at + i < static_cast<int>(sharedCommands_.size()); ++i) {
      if (sharedCommands_[at + i] == command) ReplaceImage(sharedImages_.Get(), at + i, source, index + i);
    }
    return at;
  }
  at = AppendImage(sharedImages_.Get(), source, index);
  if (at < 0) return -1;
  sharedCommands_.push_back(command);
  for (int i = 1; i <= extra; ++i) {
    if (AppendImage(sharedImages_.Get(), source, index + i) < 0) break;
    sharedCommands_.push_back(command);
  }
  return at;
}

void BCMenuState::ResetSharedImages() {
  sharedImages_.Reset();
  sharedCommands_.clear();
}

void BCMenuState::AddKnownMenu(HMENU menu) {
  if (menu && !IsKnownMenu(menu)) knownMenus.push_back(menu);
}

void BCMenuState::RemoveKnownMenu(HMENU menu) {
  knownMenus.erase(std::remove(knownMenus.begin(), knownMenus.end(), menu), knownMenus.end());
}

bool BCMenuState::IsKnownMenu(HMENU menu) const {
  return menu && std::find(knownMenus.begin(), knownMenus.end(), menu) != knownMenus.end();
}

HMODULE BCMenuState::FindResourceModule(const wchar_t* name, const wchar_t* type) const {
  if (resourceModule && ::FindResourceW(resourceModule, name, type)) return resourceModule;
  HMODULE program = ::GetModuleHandleW(nullptr);
  if (program && ::FindResourceW(program, name, type)) return program;
  return nullptr;
}

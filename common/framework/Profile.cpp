#include "Profile.h"

#include <windows.h>

namespace fw {
namespace {

std::wstring& KeyPath() {
  static std::wstring path;
  return path;
}

class SectionKey {
 public:
  SectionKey(const std::wstring& section, bool create) {
    if (KeyPath().empty()) return;
    std::wstring path = KeyPath() + L"\\" + section;
    LONG status = create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                             KEY_READ | KEY_WRITE, nullptr, &key_, nullptr)
                         : ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
  }
  ~SectionKey() {
    if (key_) ::RegCloseKey(key_);
  }
  SectionKey(const SectionKey&) = delete;
  SectionKey& operator=(const SectionKey&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

void SetRegistryKey(const std::wstring& key, const std::wstring& profileName) {
  KeyPath() = key.empty() ? std::wstring() : L"Software\\" + key + L"\\" + profileName;
}

std::wstring ProfileKeyPath() { return KeyPath(); }

int GetProfileInt(const std::wstring& section, const std::wstring& entry, int defaultValue) {
  SectionKey key(section, false);
  if (!key.Get()) return defaultValue;
  DWORD type = 0, value = 0, size = sizeof(value);
  if (::RegQueryValueExW(key.Get(), entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value)) {
    return defaultValue;
  }
  return static_cast<int>(value);
}

bool WriteProfileInt(const std::wstring& section, const std::wstring& entry, int value) {
  SectionKey key(section, true);
  DWORD data = static_cast<DWORD>(value);
  return key.Get() && ::RegSetValueExW(key.Get(), entry.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                       sizeof(data)) == ERROR_SUCCESS;
}

}  // namespace fw

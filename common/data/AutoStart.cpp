#include "AutoStart.h"

#include <string>

#include "CommHelper.h"
#include "StringConv.h"

const wchar_t kAutoStartValueName[] = L"Tindra儿童浏览器";
const wchar_t kAutoStartKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kAutoStartArgument[] = L"-startup";

namespace {

// The module's own text of `id` when its string table has one, else the
// built-in text: each program may name its value itself.
std::wstring ModuleText(UINT id, const wchar_t* builtIn) {
  const wchar_t* text = nullptr;
  // A length of 0 asks for a pointer into the resource itself, no copy.
  int length = ::LoadStringW(CCommHelper::GetThisModuleHandle(), id, reinterpret_cast<wchar_t*>(&text), 0);
  if (length <= 0 || !text) return builtIn;
  return std::wstring(text, static_cast<size_t>(length));
}

class RunKey {
 public:
  RunKey() { opened_ = OpenAutoStartKey(&key_) != 0; }
  ~RunKey() {
    if (opened_) ::RegCloseKey(key_);
  }
  RunKey(const RunKey&) = delete;
  RunKey& operator=(const RunKey&) = delete;
  bool Opened() const { return opened_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  bool opened_ = false;
};

}  // namespace

std::wstring AutoStartValueName() { return ModuleText(kAutoStartValueNameId, kAutoStartValueName); }
std::wstring AutoStartKey() { return ModuleText(kAutoStartKeyId, kAutoStartKey); }
std::wstring AutoStartArgument() { return ModuleText(kAutoStartArgumentId, kAutoStartArgument); }

int OpenAutoStartKey(HKEY* key) {
  return ::RegOpenKeyExW(HKEY_CURRENT_USER, AutoStartKey().c_str(), 0, 0x2001F, key) == ERROR_SUCCESS ? 1 : 0;
}

int IsAutoStartEnabled() {
  RunKey key;
  if (!key.Opened()) return 0;
  wchar_t text[260];
  DWORD size = sizeof(text);
  DWORD type = REG_NONE;
  if (::RegQueryValueExW(key.Get(), AutoStartValueName().c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text),
                         &size) != ERROR_SUCCESS)
    return 0;
  return type == REG_SZ || type == REG_EXPAND_SZ ? 1 : 0;
}

int EnableAutoStart() {
  RunKey key;
  if (!key.Opened()) return 0;
  std::wstring browser = CCommHelper::GetExeDir() + L"\\Brivan.exe";
  std::wstring command = fw::Format(L"\"%s\" %s", browser.c_str(), AutoStartArgument().c_str());
  return ::RegSetValueExW(key.Get(), AutoStartValueName().c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(command.c_str()),
                          static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS
             ? 1
             : 0;
}

int DisableAutoStart() {
  RunKey key;
  if (key.Opened()) ::RegDeleteValueW(key.Get(), AutoStartValueName().c_str());
  return 1;
}

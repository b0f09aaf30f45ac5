#pragma once
// A copy of the program folder in a folder whose name holds a blank (the
// control panel DLL and the utility DLL it imports, its theme and address book, recorder programs standing
// in for the browser and the wizard) with a decoy at the unquoted prefix;
// the real registry values the panel writes, put back afterwards.
#include <windows.h>

#include <optional>
#include <string>

#include "CommHelper.h"
#include "DataFolderTest.h"

namespace paneltest {

inline void RemoveTree(const std::wstring& folder) { RemoveFileTree(folder); }

inline bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ProgramCopy {
 public:
  // `extraPrograms`: further programs to copy (the launcher); `bin`: the
  // folder they, the DLLs, the theme and the address book come from.
  explicit ProgramCopy(std::initializer_list<const wchar_t*> extraPrograms = {},
                       const std::wstring& bin = CCommHelper::GetExeDir(true)) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(temp) + L"hollin";
    folder_ = base + L" panel " + std::to_wstring(::GetCurrentProcessId());
    decoy_ = base + L".exe";
    RemoveTree(folder_);
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    ok_ = CopyTree(bin + L"theme", folder_ + L"\\theme") && CopyTree(bin + L"conf", folder_ + L"\\conf") &&
          ::CopyFileW((bin + L"Dashboard.dll").c_str(), Path(L"Dashboard.dll").c_str(), FALSE) &&
          ::CopyFileW((bin + L"Cobbel.dll").c_str(), Path(L"Cobbel.dll").c_str(), FALSE);
    std::wstring recorder = CCommHelper::GetExeDir(true) + L"args_recorder.exe";
    for (const wchar_t* name : {L"Brivan.exe", L"Wizard.exe"})
      ok_ = ::CopyFileW(recorder.c_str(), Path(name).c_str(), FALSE) && ok_;
    ok_ = ::CopyFileW(recorder.c_str(), decoy_.c_str(), FALSE) && ok_;
    for (const wchar_t* name : extraPrograms) ok_ = ::CopyFileW((bin + name).c_str(), Path(name).c_str(), FALSE) && ok_;
  }
  ~ProgramCopy() {
    RemoveTree(folder_);
    ::DeleteFileW(decoy_.c_str());
    ::DeleteFileW((decoy_ + L".args").c_str());
  }
  ProgramCopy(const ProgramCopy&) = delete;
  ProgramCopy& operator=(const ProgramCopy&) = delete;

  bool Ok() const { return ok_; }
  const std::wstring& Folder() const { return folder_; }
  std::wstring Path(const wchar_t* name) const { return folder_ + L"\\" + name; }
  const std::wstring& Decoy() const { return decoy_; }
  // The command line a recorder copy was started with, "" when it never ran.
  static std::string RecordedArgs(const std::wstring& program, DWORD waitMilliseconds) {
    std::wstring args = program + L".args";
    DWORD start = ::GetTickCount();
    do {
      HANDLE file = ::CreateFileW(args.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        char text[2048] = {};
        DWORD read = 0;
        ::ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
        ::CloseHandle(file);
        if (read > 0) return std::string(text, read);
      }
      ::Sleep(50);
    } while (::GetTickCount() - start < waitMilliseconds);
    return std::string();
  }
  void ForgetRecords() const {
    for (const wchar_t* name : {L"Brivan.exe", L"Wizard.exe"}) ::DeleteFileW((Path(name) + L".args").c_str());
    ::DeleteFileW((decoy_ + L".args").c_str());
  }

 private:
  std::wstring folder_;
  std::wstring decoy_;
  bool ok_ = false;
};

// A registry key's text value as it stood, put back at the end; a key the
// test made is removed with everything below it.
class RestoredRegistryValue {
 public:
  RestoredRegistryValue(HKEY root, std::wstring path, std::wstring name, std::wstring removeWhenNew = L"")
      : root_(root), path_(std::move(path)), name_(std::move(name)), removeWhenNew_(std::move(removeWhenNew)) {
    HKEY key = nullptr;
    existed_ = ::RegOpenKeyExW(root_, path_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!existed_) return;
    wchar_t buffer[2048] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key, name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) ==
        ERROR_SUCCESS)
      value_ = std::wstring(buffer);
    ::RegCloseKey(key);
  }
  ~RestoredRegistryValue() {
    if (!existed_) {
      if (removeWhenNew_.empty()) return;
      ::RegDeleteTreeW(root_, removeWhenNew_.c_str());
      ::RegDeleteKeyW(root_, removeWhenNew_.c_str());
      return;
    }
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
      return;
    if (value_)
      ::RegSetValueExW(key, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value_->c_str()),
                       static_cast<DWORD>((value_->size() + 1) * sizeof(wchar_t)));
    else
      ::RegDeleteValueW(key, name_.c_str());
    ::RegCloseKey(key);
  }
  RestoredRegistryValue(const RestoredRegistryValue&) = delete;
  RestoredRegistryValue& operator=(const RestoredRegistryValue&) = delete;

 private:
  HKEY root_;
  std::wstring path_;
  std::wstring name_;
  std::wstring removeWhenNew_;
  bool existed_ = false;
  std::optional<std::wstring> value_;
};

inline std::optional<std::wstring> RegistryText(HKEY root, const std::wstring& path, const wchar_t* name) {
  wchar_t buffer[2048] = {};
  DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
  if (::RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(buffer);
}

}  // namespace paneltest

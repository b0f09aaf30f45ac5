#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "CommHelper.h"

// Copies a folder with everything in it; true when every file was copied.
inline bool CopyTree(const std::wstring& from, const std::wstring& to) {
  ::CreateDirectoryW(to.c_str(), nullptr);
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((from + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool copied = true;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      copied = CopyTree(from + L"\\" + name, to + L"\\" + name) && copied;
    else
      copied = ::CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE) && copied;
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return copied;
}

// Removes a folder with everything in it, read-only files too.
inline void RemoveFileTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFileTree(path);
      } else {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
      }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(folder.c_str());
}

// A handle another program keeps on a file without read sharing (`sharing`
// 0, or FILE_SHARE_DELETE alone), as a program of the child's may hold it.
class HeldFile {
 public:
  HeldFile(const std::wstring& path, DWORD sharing)
      : handle_(::CreateFileW(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr)) {}
  ~HeldFile() { Release(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

// Each case starts with an empty data folder of the test prefix.
class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveTree(CCommHelper::GetDataDir());
    folder_ = CCommHelper::GetDataDir(true);
  }

  static void RemoveTree(const std::wstring& folder) { RemoveFileTree(folder); }

  std::string ReadFile(const std::wstring& name) const {
    std::ifstream file((folder_ + name).c_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  }
  void WriteFile(const std::wstring& name, const std::string& bytes) const {
    CCommHelper::MakeDirTree((folder_ + name).substr(0, (folder_ + name).rfind(L'\\')));
    std::ofstream file((folder_ + name).c_str(), std::ios::binary | std::ios::trunc);
    file << bytes;
  }
  bool Has(const std::wstring& name) const {
    return ::GetFileAttributesW((folder_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  static std::string Inverted(std::string bytes) {
    for (size_t i = 0; i < bytes.size() && i < 128; ++i) bytes[i] = static_cast<char>(~bytes[i]);
    return bytes;
  }

  std::wstring folder_;
};

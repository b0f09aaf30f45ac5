#include "HeldFolder.h"

#include "DataFile.h"

namespace {

bool IsPlainName(const std::wstring& name) {
  return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/:") == std::wstring::npos;
}

}  // namespace

CHeldFolder::CHeldFolder(std::wstring path) : path_(std::move(path)) {
  while (path_.size() > 3 && path_.back() == L'\\') path_.pop_back();
  // Listing is reading: the handle then takes part in sharing checks, which a
  // handle that only reads attributes does not. Windows 2000 has every flag.
  fw::ScopedHandle opened(::CreateFileW(path_.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!opened || !::GetFileInformationByHandle(opened.Get(), &info)) return;
  // What the handle shows, not what a listing showed before it was opened.
  if (datafile::IsLinkedFolder(path_, info.dwFileAttributes)) {
    link_ = true;
    return;
  }
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) handle_ = std::move(opened);
}

CHeldFolder CHeldFolder::Child(const std::wstring& name) const {
  if (!IsHeld() || !IsPlainName(name)) return {};
  return CHeldFolder(PathOf(name));
}

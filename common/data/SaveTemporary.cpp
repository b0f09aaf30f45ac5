#include "SaveTemporary.h"

#include <objbase.h>

#include "AccountAccess.h"
#include "StringConv.h"

namespace {

// A further name is the process id in ten digits followed by eight random
// ones, so its owner reads back as surely as from the plain id.
constexpr size_t kIdDigits = 10;
constexpr size_t kRandomDigits = 8;

std::wstring FileNameOf(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The process id of a temporary "<file>.tmp<digits>" of `fileName`; 0 for
// any other name.
DWORD TemporaryOwner(const std::wstring& name, const std::wstring& fileName) {
  const std::wstring prefix = fileName + L".tmp";
  if (name.size() <= prefix.size() || !fw::EqualsNoCase(name.substr(0, prefix.size()), prefix)) return 0;
  const size_t digits = name.size() - prefix.size();
  if (digits > kIdDigits && digits != kIdDigits + kRandomDigits) return 0;
  unsigned long long id = 0;
  for (size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < L'0' || name[i] > L'9') return 0;
    if (i < prefix.size() + kIdDigits) id = id * 10 + (name[i] - L'0');
  }
  return id <= 0xFFFFFFFFull ? static_cast<DWORD>(id) : 0;
}

bool IsProcessRunning(DWORD id) {
  fw::ScopedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, id));
  // A process we may not open still runs.
  if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;
  return ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

void RemoveStaleTemporaries(const std::wstring& target) {
  const std::wstring fileName = FileNameOf(target);
  const std::wstring folder = target.substr(0, target.size() - fileName.size());
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((target + L".tmp*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    DWORD owner = TemporaryOwner(found.cFileName, fileName);
    if (owner == 0 || owner == ::GetCurrentProcessId() || IsProcessRunning(owner)) continue;
    ::DeleteFileW((folder + found.cFileName).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

unsigned long RandomNumber() {
  GUID guid{};
  if (SUCCEEDED(::CoCreateGuid(&guid))) return guid.Data1 ^ (static_cast<unsigned long>(guid.Data2) << 16);
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return ::GetTickCount() ^ counter.LowPart;
}

std::wstring TemporaryName(const std::wstring& target, int attempt) {
  const DWORD id = ::GetCurrentProcessId();
  if (attempt == 0) return target + L".tmp" + std::to_wstring(id);
  return target + L".tmp" + fw::Format(L"%010lu%08lu", static_cast<unsigned long>(id), RandomNumber() % 100000000ul);
}

}  // namespace

CSaveTemporary::CSaveTemporary(std::wstring target, AccountSharing sharing, DWORD access)
    : target_(std::move(target)) {
  RemoveStaleTemporaries(target_);
  for (int attempt = 0; attempt < kNames; ++attempt) {
    const std::wstring path = TemporaryName(target_, attempt);
    if (Create(path, sharing, access)) return;
    // What stands there is no file of this save: unless it can be removed,
    // the next name is tried.
    if (::GetLastError() == ERROR_FILE_EXISTS && ::DeleteFileW(path.c_str()) && Create(path, sharing, access)) return;
  }
}

CSaveTemporary::~CSaveTemporary() {
  if (path_.empty()) return;
  file_.Reset();
  ::DeleteFileW(path_.c_str());
}

// The error of a failed creation is left for the caller to read.
bool CSaveTemporary::Create(const std::wstring& path, AccountSharing sharing, DWORD access) {
  HANDLE created = INVALID_HANDLE_VALUE;
  DWORD error = ERROR_SUCCESS;
  {
    CAccountAccess creation(sharing, CAccountAccess::Target::kFile);
    created = creation.CreateNewFile(path, access);
    error = ::GetLastError();
  }
  file_.Reset(created);
  if (!file_) {
    ::SetLastError(error);
    return false;
  }
  path_ = path;
  return true;
}

bool CSaveTemporary::ReplaceTarget() {
  if (!file_) return false;
  file_.Reset();
  if (!::MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return false;
  path_.clear();
  return true;
}

bool CSaveTemporary::IsTemporaryOf(const std::wstring& name, const std::wstring& target) {
  return TemporaryOwner(name, FileNameOf(target)) != 0;
}

#pragma once
#include <windows.h>
#include <sddl.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "AccountAccess.h"

// What creation attributes grant, one "allow <SID> <rights> inherit <flags>"
// per entry of the DACL; "default" for default security. A DACL that takes
// nothing from its folder is marked "protected".
inline std::wstring DescribeGrant(const SECURITY_ATTRIBUTES* attributes) {
  if (!attributes || !attributes->lpSecurityDescriptor) return L"default";
  PSECURITY_DESCRIPTOR descriptor = attributes->lpSecurityDescriptor;
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  if (!::GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted) || !present) return L"no dacl";
  if (!acl) return L"null dacl (everyone may do anything)";
  std::wstring text;
  for (DWORD i = 0; i < acl->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    if (!::GetAce(acl, i, reinterpret_cast<void**>(&header))) return L"unreadable ace";
    if (!text.empty()) text += L"; ";
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
      text += L"ace of type " + std::to_wstring(header->AceType);
      continue;
    }
    auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
    wchar_t* sid = nullptr;
    ::ConvertSidToStringSidW(&ace->SidStart, &sid);
    wchar_t numbers[48] = {};
    std::swprintf(numbers, 48, L" 0x%08lx inherit 0x%02x", static_cast<unsigned long>(ace->Mask),
                  static_cast<unsigned>(header->AceFlags));
    text += std::wstring(L"allow ") + (sid ? sid : L"?") + numbers;
    ::LocalFree(sid);
  }
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (::GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED))
    text += L" protected";
  return text;
}

// The local Users group (S-1-5-32-545). 0x001200af lists, traverses and reads
// a folder and adds files and folders to it; 0x001301bf is Windows' "Modify"
// (read, write, execute, delete, but not the permissions or the owner).
// Inheritance 0x03 passes an entry on to files and folders inside; 0x0b does
// so without the entry applying to the folder itself.
const wchar_t kAddOnlyGrant[] = L"allow S-1-5-32-545 0x001200af inherit 0x00";
const wchar_t kModifyFileGrant[] = L"allow S-1-5-32-545 0x001301bf inherit 0x00";
const wchar_t kModifyFolderGrant[] = L"allow S-1-5-32-545 0x001301bf inherit 0x03";
const wchar_t kModifyInsideGrant[] =
    L"allow S-1-5-32-545 0x001200af inherit 0x00; allow S-1-5-32-545 0x001301bf inherit 0x0b";
const wchar_t kDefaultGrant[] = L"default";

// Records, while it lives, every folder and file the data layer creates with
// what it was granted (from any thread: downloads store on a worker).
class CreationLog {
 public:
  CreationLog() {
    current = this;
    CAccountAccess::SetCreationRecorder(&Record);
  }
  ~CreationLog() {
    CAccountAccess::SetCreationRecorder(nullptr);
    current = nullptr;
  }
  CreationLog(const CreationLog&) = delete;
  CreationLog& operator=(const CreationLog&) = delete;

  // The grant of the last creation of `path` (case ignored); empty when it was
  // not created.
  std::wstring GrantOf(const std::wstring& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry)
      if (::lstrcmpiW(entry->first.c_str(), path.c_str()) == 0) return entry->second;
    return {};
  }
  // The grant of the temporary file a save of `path` writes and moves there.
  std::wstring GrantOfSave(const std::wstring& path) const {
    return GrantOf(path + L".tmp" + std::to_wstring(::GetCurrentProcessId()));
  }
  std::vector<std::wstring> Paths() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::wstring> paths;
    for (const auto& entry : entries_) paths.push_back(entry.first);
    return paths;
  }

 private:
  static void Record(const std::wstring& path, const SECURITY_ATTRIBUTES* attributes) {
    if (!current) return;
    std::lock_guard<std::mutex> lock(current->mutex_);
    current->entries_.emplace_back(path, DescribeGrant(attributes));
  }

  static inline CreationLog* current = nullptr;
  mutable std::mutex mutex_;
  std::vector<std::pair<std::wstring, std::wstring>> entries_;
};

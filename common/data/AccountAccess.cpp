#include "AccountAccess.h"

#include <atomic>

namespace {

// Windows' "Modify": read, write, execute and delete, but neither the
// permissions nor the owner.
constexpr DWORD kModifyRights = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;
// List, traverse and read the folder, and add files and folders to it. On a
// folder FILE_ADD_FILE and FILE_ADD_SUBDIRECTORY are the write and append
// bits; nothing lets one account change or delete another's.
constexpr DWORD kAddOnlyRights = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE | FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY;
constexpr DWORD kToFilesAndFolders = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

std::atomic<CAccountAccess::CreationRecorder> recorder{nullptr};

}  // namespace

CAccountAccess::CAccountAccess(AccountSharing sharing, Target target) { built_ = Build(sharing, target); }

bool CAccountAccess::Build(AccountSharing sharing, Target target) {
  if (sharing == AccountSharing::kCreatorOnly) return false;
  const bool folder = target == Target::kFolder;
  // The data folder's own entry reaches none of what it holds: each file
  // there says for itself who may change it.
  struct Entry {
    DWORD rights;
    DWORD inheritance;
  } entries[2] = {};
  DWORD count = 1;
  if (sharing == AccountSharing::kAddOnly) {
    entries[0] = {kAddOnlyRights, 0};
  } else if (sharing == AccountSharing::kModify || !folder) {
    entries[0] = {kModifyRights, folder ? kToFilesAndFolders : 0u};
  } else {
    // The folder itself only takes additions; what it holds inherits Modify.
    entries[0] = {kAddOnlyRights, 0};
    entries[1] = {kModifyRights, kToFilesAndFolders | INHERIT_ONLY_ACE};
    count = 2;
  }

  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID users = nullptr;
  if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 0, 0, 0, 0, 0, 0,
                                  &users))
    return false;
  users_.Reset(users);
  const DWORD aclBytes = sizeof(ACL) + count * (sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + ::GetLengthSid(users));
  auto* acl = reinterpret_cast<PACL>(acl_);
  if (aclBytes > sizeof(acl_) || !::InitializeAcl(acl, aclBytes, ACL_REVISION)) return false;
  for (DWORD i = 0; i < count; ++i)
    if (!::AddAccessAllowedAceEx(acl, ACL_REVISION, entries[i].inheritance, entries[i].rights, users)) return false;
  if (!::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
      !::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE))
    return false;
  attributes_.nLength = sizeof(attributes_);
  attributes_.lpSecurityDescriptor = &descriptor_;
  attributes_.bInheritHandle = FALSE;
  return true;
}

void CAccountAccess::Record(const std::wstring& path) {
  if (CreationRecorder record = recorder.load()) record(path, Attributes());
}

BOOL CAccountAccess::CreateFolder(const std::wstring& path) {
  Record(path);
  return ::CreateDirectoryW(path.c_str(), Attributes());
}

HANDLE CAccountAccess::CreateNewFile(const std::wstring& path, DWORD access) {
  Record(path);
  return ::CreateFileW(path.c_str(), access, 0, Attributes(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void CAccountAccess::SetCreationRecorder(CreationRecorder replacement) { recorder.store(replacement); }

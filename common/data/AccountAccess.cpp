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

std::atomic<CAccountAccess::CreationRecorder> recorder{nullptr};

}  // namespace

CAccountAccess::CAccountAccess(AccountSharing sharing, Target target) { built_ = Build(sharing, target); }

bool CAccountAccess::Build(AccountSharing sharing, Target target) {
  if (sharing == AccountSharing::kCreatorOnly) return false;
  // The data folder's own entry reaches none of what it holds: each file
  // there says for itself who may change it.
  const bool modify = sharing == AccountSharing::kModify;
  const DWORD rights = modify ? kModifyRights : kAddOnlyRights;
  const DWORD inheritance =
      modify && target == Target::kFolder ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0;

  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID users = nullptr;
  if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 0, 0, 0, 0, 0, 0,
                                  &users))
    return false;
  users_.Reset(users);
  const DWORD aclBytes = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + ::GetLengthSid(users);
  auto* acl = reinterpret_cast<PACL>(acl_);
  if (aclBytes > sizeof(acl_) || !::InitializeAcl(acl, aclBytes, ACL_REVISION) ||
      !::AddAccessAllowedAceEx(acl, ACL_REVISION, inheritance, rights, users) ||
      !::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
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

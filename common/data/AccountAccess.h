#pragma once
#include <windows.h>

#include <string>

#include "AccountSharing.h"
#include "Handles.h"

// Owns a security descriptor whose DACL grants a sharing to the local Users
// group (by its well-known SID: account names differ by language) and creates
// folders and files with it. The DACL is not protected, so Windows merges the
// parent's inheritable entries (system, administrators, creator owner) in.
// When the descriptor cannot be built, or for kCreatorOnly, creation uses
// default security; file systems without permissions ignore the descriptor.
class CAccountAccess {
 public:
  enum class Target { kFile, kFolder };

  CAccountAccess(AccountSharing sharing, Target target);
  CAccountAccess(const CAccountAccess&) = delete;
  CAccountAccess& operator=(const CAccountAccess&) = delete;

  // nullptr for default security.
  SECURITY_ATTRIBUTES* Attributes() { return built_ ? &attributes_ : nullptr; }

  BOOL CreateFolder(const std::wstring& path);
  // CREATE_NEW, no sharing: fails on any file or hard link already there,
  // which would keep its owner and permissions and take the bytes written.
  HANDLE CreateNewFile(const std::wstring& path, DWORD access);

  // Seam for tests: sees each folder and file created here with the
  // attributes passed to Windows for it (nullptr: default security).
  using CreationRecorder = void (*)(const std::wstring& path, const SECURITY_ATTRIBUTES* attributes);
  static void SetCreationRecorder(CreationRecorder recorder);

 private:
  bool Build(AccountSharing sharing, Target target);
  void Record(const std::wstring& path);

  fw::ScopedSid users_;
  // Up to two entries for Users; a DWORD array keeps the ACL aligned as
  // Windows wants.
  DWORD acl_[16] = {};
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool built_ = false;
};

#pragma once
#include <windows.h>

#include <string>

#include "AccountSharing.h"
#include "Handles.h"

// The new file a save writes before it replaces its target, beside the
// target as "<file>.tmp<digits>". Any account may add files to the data
// folder, so the name may be taken by a file or hard link another account
// planted: such a file is never opened, and another name is taken when it
// cannot be removed. The digits start with the writer's process id, so that
// the temporaries of writers that died can be told from those of live ones.
class CSaveTemporary {
 public:
  // The names tried before the save gives up: the process id alone, then the
  // id with a random number nobody can plant in advance.
  static constexpr int kNames = 8;

  // Creates the file with `sharing` (removing the temporaries that dead
  // writers left for the same target first); see IsOpen.
  CSaveTemporary(std::wstring target, AccountSharing sharing, DWORD access = GENERIC_WRITE);
  // Deletes the file unless it replaced the target.
  ~CSaveTemporary();
  CSaveTemporary(const CSaveTemporary&) = delete;
  CSaveTemporary& operator=(const CSaveTemporary&) = delete;

  bool IsOpen() const { return static_cast<bool>(file_); }
  HANDLE File() const { return file_.Get(); }
  // Closes the file and moves it over the target; false, with the target as
  // it was, when it cannot.
  bool ReplaceTarget();

  // Whether `name` (a bare file name) is a temporary of a save of `target`,
  // whatever process it belongs to.
  static bool IsTemporaryOf(const std::wstring& name, const std::wstring& target);

 private:
  bool Create(const std::wstring& path, AccountSharing sharing, DWORD access);

  std::wstring target_;
  std::wstring path_;
  fw::ScopedHandle file_;
};

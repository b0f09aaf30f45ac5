#include "ServicePaths.h"

#include <windows.h>

#include "CommHelper.h"

// The services name their folders through the shared folder helpers, so every
// part of a program agrees on them.
namespace services {

std::wstring ProgramFolder() { return CCommHelper::GetThisModuleDir(); }

std::wstring ExecutableFolder() { return CCommHelper::GetExeDir(); }

bool MakeFolderTree(const std::wstring& folder) {
  CCommHelper::MakeDirTree(folder);
  return ::GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring DataFolder() { return CCommHelper::GetDataDir(); }

}  // namespace services

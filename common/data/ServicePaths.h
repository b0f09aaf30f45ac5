#pragma once
#include <string>

// Folders the system services read and write, without trailing backslash.
namespace services {

// Folder of the module holding this code (the program folder).
std::wstring ProgramFolder();
// Folder of the process's executable.
std::wstring ExecutableFolder();
// The shared data folder, created with its parents when missing.
std::wstring DataFolder();
// Creates the folder and every missing parent; true when it exists afterwards.
bool MakeFolderTree(const std::wstring& folder);

}  // namespace services

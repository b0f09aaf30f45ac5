#pragma once
#include <string>

namespace fw {

// `base` followed by this module's load address. Every program and DLL links
// its own copy of the framework; a DLL's windows in a program's process must
// not be taken for the program's (window properties and class names are
// shared by the whole process), so each copy names them after its module.
const std::wstring& ModuleScopedName(const wchar_t* base, std::wstring* cache);

}  // namespace fw

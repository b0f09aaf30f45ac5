#include "ServicePaths.h"

#include <windows.h>
#include <shlobj.h>

namespace services {
namespace {

std::wstring FolderOfModule(HMODULE module)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring name(path, length < MAX_PATH ? length : 0);
    const size_t slash = name.find_last_of(L'\\');
    return slash == std::wstring::npos ? name : name.substr(0, slash);
}

}  // namespace

std::wstring ProgramFolder()
{
    // The module containing this function, not the executable: the control
    // panel DLL answers with its own folder.
    MEMORY_BASIC_INFORMATION info{};
    if (!::VirtualQuery(reinterpret_cast<const void*>(&ProgramFolder), &info, sizeof(info)))
        return std::wstring();
    return FolderOfModule(static_cast<HMODULE>(info.AllocationBase));
}

std::wstring ExecutableFolder()
{
    return FolderOfModule(nullptr);
}

bool MakeFolderTree(const std::wstring& folder)
{
    std::wstring path = folder;
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    if (path.empty())
        return false;
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const size_t slash = path.find_last_of(L'\\');
    // A bare drive or name without parent ends the recursion.
    if (slash != std::wstring::npos && slash > 0 && path[slash - 1] != L':')
        MakeFolderTree(path.substr(0, slash));
    ::CreateDirectoryW(path.c_str(), nullptr);
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring DataFolder()
{
    wchar_t common[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common)))
        return std::wstring();
    std::wstring folder = common;
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    folder += L"Hollin\\Orlat";
    MakeFolderTree(folder);
    return folder;
}

}  // namespace services

#include "BroswerRegister.h"

#include "RegKey.h"
#include "ServicePaths.h"
#include "StringConv.h"
#include "WindowsVersion.h"

#include <windows.h>

namespace {

const wchar_t kProgId[] = L"OrlatURL";
const wchar_t kFriendlyName[] = L"Orlat URL";
const wchar_t kExeName[] = L"Brivan.exe";
const wchar_t* const kSchemes[] = {L"ftp", L"http", L"https"};

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey()
    {
        if (key_)
            ::RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool Open(HKEY parent, const std::wstring& path, REGSAM access)
    {
        return ::RegOpenKeyExW(parent, path.c_str(), 0, access, &key_) == ERROR_SUCCESS;
    }
    bool Create(HKEY parent, const std::wstring& path)
    {
        return ::RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) ==
               ERROR_SUCCESS;
    }
    // Text values carry their own length and terminator.
    bool SetText(const wchar_t* name, const std::wstring& value)
    {
        return ::RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    bool GetText(const wchar_t* name, std::wstring& value, DWORD maxBytes)
    {
        DWORD type = 0;
        DWORD bytes = 0;
        if (::RegQueryValueExW(key_, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return false;
        if (bytes > maxBytes)
            bytes = maxBytes;
        std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        if (::RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
            ERROR_SUCCESS)
            return false;
        buffer.resize(wcsnlen(buffer.c_str(), bytes / sizeof(wchar_t)));
        value = buffer;
        return true;
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::wstring UserChoicePath(const wchar_t* scheme)
{
    return std::wstring(L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\") + scheme +
           L"\\UserChoice";
}

}  // namespace

std::wstring GetBroswerExePath()
{
    return services::ProgramFolder() + L"\\" + kExeName;
}

std::wstring GetBroswerOpenCommand()
{
    return L"\"" + GetBroswerExePath() + L"\" \"%1\"";
}

int CWin7BroswerRegisterImpl::Register()
{
    // Windows always has the user's classes key; a fresh profile may not yet.
    RegistryKey classes;
    if (!classes.Create(HKEY_CURRENT_USER, L"Software\\Classes"))
        return 0;
    RegistryKey progId;
    if (!progId.Create(classes.get(), kProgId) || !progId.SetText(nullptr, kFriendlyName) ||
        !progId.SetText(L"FriendlyTypeName", kFriendlyName))
        return 0;
    RegistryKey icon;
    if (!icon.Create(progId.get(), L"DefaultIcon") || !icon.SetText(nullptr, GetBroswerExePath() + L",0"))
        return 0;
    RegistryKey shell;
    if (!shell.Create(progId.get(), L"Shell") || !shell.SetText(nullptr, L"open"))
        return 0;
    RegistryKey open;
    RegistryKey command;
    if (!open.Create(shell.get(), L"open") || !command.Create(open.get(), L"command") ||
        !command.SetText(nullptr, GetBroswerOpenCommand()))
        return 0;
    for (const wchar_t* scheme : kSchemes) {
        RegistryKey choice;
        if (!choice.Open(HKEY_CURRENT_USER, UserChoicePath(scheme), KEY_ALL_ACCESS) ||
            !choice.SetText(L"Progid", kProgId))
            return 0;
    }
    return 1;
}

int CWin7BroswerRegisterImpl::IsDefault()
{
    RegistryKey choice;
    std::wstring progId;
    if (!choice.Open(HKEY_CURRENT_USER, UserChoicePath(L"http"), KEY_READ) ||
        !choice.GetText(L"Progid", progId, 1024))
        return 0;
    return fw::EqualsNoCase(progId, kProgId) ? 1 : 0;
}

int CXPBroswerRegisterImpl::Register()
{
    const std::wstring command = GetBroswerOpenCommand();
    for (const wchar_t* scheme : kSchemes) {
        RegistryKey key;
        if (!key.Open(HKEY_CLASSES_ROOT, std::wstring(scheme) + L"\\shell\\open\\command", KEY_ALL_ACCESS) ||
            !key.SetText(nullptr, command))
            return 0;
    }
    return 1;
}

int CXPBroswerRegisterImpl::IsDefault()
{
    // Read as the browser and the control panel read it, through the utility
    // library's key wrapper: REG_EXPAND_SZ expanded, at most 1023 characters.
    // A missing key or value, or one too long, leaves the command empty.
    RegKey key(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", KEY_READ);
    std::wstring command;
    key.ReadValue(nullptr, &command);
    key.Close();
    return command.find(L"Brivan") != std::wstring::npos ? 1 : 0;
}

IBroswerRegister* NewBroswerRegisterImpl(int versionClass)
{
    switch (versionClass) {
    case 4:
    case 5: return new CWin7BroswerRegisterImpl();
    case 2:
    case 3: return new CXPBroswerRegisterImpl();
    default: return nullptr;
    }
}

IBroswerRegister* NewBroswerRegisterImpl()
{
    return NewBroswerRegisterImpl(GetWindowsVersionClass());
}

CBroswerRegister* NewBroswerRegister(IBroswerRegister* impl)
{
    return new CBroswerRegister(impl);
}

void DestroyBroswerRegister(CBroswerRegister* wrapper)
{
    delete wrapper;
}

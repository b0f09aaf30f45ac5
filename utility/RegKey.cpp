#include "RegKey.h"

#include <shlwapi.h>

#include <cwchar>

namespace {

// Asking for any of these rights means the caller wants to write, so the key
// is created when missing.
const REGSAM kWriteAccess = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK;

// Names, attributes, last-write times and security of the whole subtree.
const DWORD kWatchFilter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_ATTRIBUTES |
                           REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_SECURITY;

bool Succeeded(LONG result)
{
    return result == ERROR_SUCCESS;
}

} // namespace

RegKey::RegKey() : key_(nullptr), watch_event_(nullptr), access_(0) {}

RegKey::RegKey(HKEY root, const wchar_t* subkey, REGSAM access) : RegKey()
{
    if (!root)
        return;
    if (access & kWriteAccess)
        Create(root, subkey, access);
    else
        Open(root, subkey, access);
}

RegKey::~RegKey()
{
    Close();
}

RegKey::RegKey(const RegKey& other) : RegKey()
{
    CopyFrom(other);
}

RegKey& RegKey::operator=(const RegKey& other)
{
    if (this != &other) {
        Close();
        CopyFrom(other);
    }
    return *this;
}

// Opens a second handle to the same key rather than sharing the first, which
// both objects would otherwise close. A watching copy arms its own event, so
// one object taking a change never hides it from the other.
void RegKey::CopyFrom(const RegKey& other)
{
    if (!other.key_)
        return;
    HKEY copy = nullptr;
    if (!Succeeded(RegOpenKeyExW(other.key_, nullptr, 0, other.access_, &copy)))
        return;
    key_ = copy;
    access_ = other.access_;
    if (other.watch_event_)
        StartWatching();
}

void RegKey::Close()
{
    StopWatching();
    if (key_) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
    access_ = 0;
}

bool RegKey::Create(HKEY root, const wchar_t* subkey, REGSAM access)
{
    DWORD disposition = 0;
    return CreateWithDisposition(root, subkey, &disposition, access);
}

bool RegKey::CreateWithDisposition(HKEY root, const wchar_t* subkey, DWORD* disposition,
                                   REGSAM access)
{
    Close();
    HKEY key = nullptr;
    if (!Succeeded(RegCreateKeyExW(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                   nullptr, &key, disposition)))
        return false;
    key_ = key;
    access_ = access;
    return true;
}

bool RegKey::Open(HKEY root, const wchar_t* subkey, REGSAM access)
{
    Close();
    HKEY key = nullptr;
    if (!Succeeded(RegOpenKeyExW(root, subkey, 0, access, &key)))
        return false;
    key_ = key;
    access_ = access;
    return true;
}

bool RegKey::CreateKey(const wchar_t* subkey, REGSAM access)
{
    HKEY child = nullptr;
    const bool created = key_ && Succeeded(RegCreateKeyExW(key_, subkey, 0, nullptr,
                                                           REG_OPTION_NON_VOLATILE, access,
                                                           nullptr, &child, nullptr));
    // Ends empty on failure, never on the old key the caller moved away from.
    Close();
    if (!created)
        return false;
    key_ = child;
    access_ = access;
    return true;
}

bool RegKey::OpenKey(const wchar_t* subkey, REGSAM access)
{
    HKEY child = nullptr;
    const bool opened = key_ && Succeeded(RegOpenKeyExW(key_, subkey, 0, access, &child));
    Close();
    if (!opened)
        return false;
    key_ = child;
    access_ = access;
    return true;
}

DWORD RegKey::ValueCount()
{
    if (!key_)
        return 0;
    DWORD count = 0;
    if (!Succeeded(RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    &count, nullptr, nullptr, nullptr, nullptr)))
        return 0;
    return count;
}

bool RegKey::ReadName(int index, wchar_t* name, DWORD nameChars)
{
    if (!key_ || index < 0)
        return false;
    wchar_t buffer[kNameChars];
    DWORD length = kNameChars;
    if (!Succeeded(RegEnumValueW(key_, static_cast<DWORD>(index), buffer, &length, nullptr,
                                 nullptr, nullptr, nullptr)))
        return false;
    if (!name)
        return true;
    if (length >= nameChars)
        return false;
    wmemcpy(name, buffer, length);
    name[length] = L'\0';
    return true;
}

bool RegKey::ValueExists(const wchar_t* name)
{
    return key_ && Succeeded(RegQueryValueExW(key_, name, nullptr, nullptr, nullptr, nullptr));
}

bool RegKey::ReadValue(const wchar_t* name, void* data, DWORD* size, DWORD* type)
{
    if (!key_)
        return false;
    return Succeeded(RegQueryValueExW(key_, name, nullptr, type, static_cast<BYTE*>(data), size));
}

bool RegKey::ReadText(const wchar_t* name, wchar_t* text, DWORD textChars)
{
    if (!key_ || !text || textChars == 0)
        return false;
    // One spare character beyond what the query may fill keeps a terminator
    // behind text that was stored without its own.
    wchar_t raw[kValueChars + 1] = {};
    DWORD size = kValueChars * sizeof(wchar_t);
    DWORD type = REG_NONE;
    if (!ReadValue(name, raw, &size, &type))
        return false;
    const size_t length = wcsnlen(raw, size / sizeof(wchar_t));
    raw[length] = L'\0';

    if (type == REG_SZ) {
        if (length >= textChars)
            return false;
        wmemcpy(text, raw, length + 1);
        return true;
    }
    if (type == REG_EXPAND_SZ) {
        wchar_t expanded[kValueChars];
        const DWORD needed = ExpandEnvironmentStringsW(raw, expanded, kValueChars);
        if (needed == 0 || needed > kValueChars || needed > textChars)
            return false;
        wmemcpy(text, expanded, needed);
        return true;
    }
    return false;
}

bool RegKey::ReadValueDW(const wchar_t* name, DWORD* value)
{
    DWORD data = 0;
    DWORD size = sizeof(data);
    DWORD type = REG_NONE;
    if (!ReadValue(name, &data, &size, &type))
        return false;
    if ((type != REG_DWORD && type != REG_BINARY) || size != sizeof(data))
        return false;
    if (value)
        *value = data;
    return true;
}

bool RegKey::WriteValue(const wchar_t* name, const void* data, DWORD size, DWORD type)
{
    if (!key_)
        return false;
    return Succeeded(
        RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size));
}

bool RegKey::WriteValue(const wchar_t* name, const wchar_t* text)
{
    if (!text)
        return false;
    const DWORD size = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
    return WriteValue(name, text, size, REG_SZ);
}

bool RegKey::WriteValue(const wchar_t* name, DWORD value)
{
    return WriteValue(name, &value, sizeof(value), REG_DWORD);
}

bool RegKey::DeleteKey(const wchar_t* subkey)
{
    if (!key_)
        return false;
    return Succeeded(static_cast<LONG>(SHDeleteKeyW(key_, subkey)));
}

bool RegKey::DeleteValue(const wchar_t* name)
{
    if (!key_)
        return false;
    return Succeeded(RegDeleteValueW(key_, name));
}

bool RegKey::StartWatching()
{
    if (!key_)
        return false;
    if (!watch_event_)
        watch_event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!watch_event_)
        return false;
    if (Succeeded(RegNotifyChangeKeyValue(key_, TRUE, kWatchFilter, watch_event_, TRUE)))
        return true;
    StopWatching();
    return false;
}

bool RegKey::StopWatching()
{
    if (!watch_event_)
        return false;
    CloseHandle(watch_event_);
    watch_event_ = nullptr;
    return true;
}

bool RegKey::HasChanged()
{
    if (!watch_event_ || WaitForSingleObject(watch_event_, 0) != WAIT_OBJECT_0)
        return false;
    // The event is manual-reset: cleared before re-arming, otherwise every
    // later call would report this one change again.
    ResetEvent(watch_event_);
    StartWatching();
    return true;
}

bool RegKey::Valid() const
{
    return key_ != nullptr;
}

bool RegKey::IsWatching() const
{
    return watch_event_ != nullptr;
}

HANDLE RegKey::watch_event() const
{
    return watch_event_;
}

HKEY RegKey::Handle() const
{
    return key_;
}

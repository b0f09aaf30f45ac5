#pragma once

#include "CobbelApi.h"

#include <windows.h>

#include <string>

// One open registry key and, while watching, the event its changes signal.
// Each module links its own C++ runtime, so the exported members trade only
// plain buffers; the std::wstring readers are inline and run in the caller.
class RegKey {
public:
    // Size, in characters, of the buffers the text readers use.
    static const DWORD kNameChars = 256;
    static const DWORD kValueChars = 1024;

    COBBEL_API RegKey();
    // Creates the key when the access asks to write to it, else opens it.
    COBBEL_API RegKey(HKEY root, const wchar_t* subkey, REGSAM access);
    COBBEL_API ~RegKey();

    // A copy owns handles of its own to the same key and watch event, so
    // each object closes only what it holds.
    COBBEL_API RegKey(const RegKey& other);
    COBBEL_API RegKey& operator=(const RegKey& other);

    COBBEL_API void Close();

    COBBEL_API bool Create(HKEY root, const wchar_t* subkey, REGSAM access);
    COBBEL_API bool CreateWithDisposition(HKEY root, const wchar_t* subkey, DWORD* disposition,
                                          REGSAM access);
    COBBEL_API bool Open(HKEY root, const wchar_t* subkey, REGSAM access);
    COBBEL_API bool CreateKey(const wchar_t* subkey, REGSAM access);
    COBBEL_API bool OpenKey(const wchar_t* subkey, REGSAM access);

    COBBEL_API DWORD ValueCount();
    // The name of the value at index into a buffer of kNameChars characters;
    // name may be null to ask only whether there is one.
    COBBEL_API bool ReadName(int index, wchar_t* name, DWORD nameChars);
    bool ReadName(int index, std::wstring* name)
    {
        wchar_t buffer[kNameChars];
        if (!ReadName(index, name ? buffer : nullptr, kNameChars))
            return false;
        if (name)
            name->assign(buffer);
        return true;
    }

    COBBEL_API bool ValueExists(const wchar_t* name);
    COBBEL_API bool ReadValue(const wchar_t* name, void* data, DWORD* size, DWORD* type);
    // A REG_SZ or REG_EXPAND_SZ value (expanded) as text of at most
    // kValueChars - 1 characters, zero-terminated in text.
    COBBEL_API bool ReadText(const wchar_t* name, wchar_t* text, DWORD textChars);
    bool ReadValue(const wchar_t* name, std::wstring* value)
    {
        wchar_t buffer[kValueChars];
        if (!ReadText(name, buffer, kValueChars))
            return false;
        if (value)
            value->assign(buffer);
        return true;
    }
    COBBEL_API bool ReadValueDW(const wchar_t* name, DWORD* value);

    COBBEL_API bool WriteValue(const wchar_t* name, const void* data, DWORD size, DWORD type);
    COBBEL_API bool WriteValue(const wchar_t* name, const wchar_t* text);
    COBBEL_API bool WriteValue(const wchar_t* name, DWORD value);

    COBBEL_API bool DeleteKey(const wchar_t* subkey);
    COBBEL_API bool DeleteValue(const wchar_t* name);

    COBBEL_API bool StartWatching();
    COBBEL_API bool StopWatching();
    // True once after each change below the key; watching goes on.
    COBBEL_API bool HasChanged();

    COBBEL_API bool Valid() const;
    COBBEL_API bool IsWatching() const;
    COBBEL_API HANDLE watch_event() const;
    COBBEL_API HKEY Handle() const;

private:
    void CopyFrom(const RegKey& other);

    HKEY key_;
    HANDLE watch_event_;
    // Kept so a copy can open its own handle with the same rights.
    REGSAM access_;
};

#pragma once

#include <windows.h>

#include <string>

// Copies of a test program named <program>_<wine version>.exe run with Wine
// reporting that Windows version (set per file name in the test prefix). The
// table says what each version is, as the system tells Windows versions
// apart, so a case can hold the code's choices against it.
enum class WindowsFamily { None, Windows2000XP, VistaAndLater };

struct WindowsAsNamed {
    const wchar_t* wineName;
    DWORD platform;
    DWORD major;
    DWORD minor;
    int versionClass;
    WindowsFamily family;
};

// The version this copy runs as, or null for the program under its own name.
inline const WindowsAsNamed* WindowsOfThisCopy()
{
    static const WindowsAsNamed versions[] = {
        {L"win98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0, WindowsFamily::None},
        {L"winme", VER_PLATFORM_WIN32_WINDOWS, 4, 90, 1, WindowsFamily::None},
        {L"win2k", VER_PLATFORM_WIN32_NT, 5, 0, 2, WindowsFamily::Windows2000XP},
        {L"winxp", VER_PLATFORM_WIN32_NT, 5, 1, 3, WindowsFamily::Windows2000XP},
        {L"vista", VER_PLATFORM_WIN32_NT, 6, 0, 4, WindowsFamily::VistaAndLater},
        {L"win7", VER_PLATFORM_WIN32_NT, 6, 1, 5, WindowsFamily::VistaAndLater},
    };
    wchar_t path[MAX_PATH] = {};
    const std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    for (const WindowsAsNamed& version : versions) {
        const std::wstring suffix = std::wstring(L"_") + version.wineName + L".exe";
        if (program.size() > suffix.size() &&
            _wcsicmp(program.c_str() + program.size() - suffix.size(), suffix.c_str()) == 0)
            return &version;
    }
    return nullptr;
}

#include "WindowsVersion.h"

namespace {

// The version a ScopedWindowsVersion stands in for; valid while active.
bool g_overrideActive = false;
OSVERSIONINFOW g_override = {};

OSVERSIONINFOW MakeVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion)
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwPlatformId = platformId;
    info.dwMajorVersion = majorVersion;
    info.dwMinorVersion = minorVersion;
    return info;
}

int ClassifyNt(DWORD majorVersion, DWORD minorVersion)
{
    if (majorVersion < 5)
        return 3;
    if (majorVersion == 5)
        return minorVersion == 0 ? 2 : 3;
    if (majorVersion == 6)
        return minorVersion == 0 ? 4 : 5;
    return 5;
}

int ClassifyWin9x(DWORD majorVersion, DWORD minorVersion)
{
    if (majorVersion != 4)
        return 3;
    return minorVersion >= 90 ? 1 : 0;
}

} // namespace

int ClassifyWindowsVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion)
{
    switch (platformId) {
    case VER_PLATFORM_WIN32_NT: return ClassifyNt(majorVersion, minorVersion);
    case VER_PLATFORM_WIN32_WINDOWS: return ClassifyWin9x(majorVersion, minorVersion);
    default: return 3;
    }
}

int GetWindowsVersionClass()
{
    if (g_overrideActive)
        return ClassifyWindowsVersion(g_override.dwPlatformId, g_override.dwMajorVersion,
                                      g_override.dwMinorVersion);
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info))
        return 3; // the same answer as for a platform we cannot tell
    return ClassifyWindowsVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

ScopedWindowsVersion::ScopedWindowsVersion(DWORD platformId, DWORD majorVersion,
                                           DWORD minorVersion)
    : hadPrevious_(g_overrideActive), previous_(g_override)
{
    g_override = MakeVersion(platformId, majorVersion, minorVersion);
    g_overrideActive = true;
}

ScopedWindowsVersion::~ScopedWindowsVersion()
{
    g_override = previous_;
    g_overrideActive = hadPrevious_;
}

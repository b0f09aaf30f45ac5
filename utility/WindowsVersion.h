#pragma once

#include <windows.h>

// Windows version classes, the one classification every module picks its
// platform-specific implementation by:
//   0  9x platform 4.x below 4.90 (Windows 95, 98)
//   1  9x platform 4.90 and later (Me)
//   2  NT 5.0 (Windows 2000)
//   3  NT 5.1/5.2 (XP, Server 2003); also NT 4, other 9x versions and any
//      other platform
//   4  NT 6.0 (Vista)
//   5  NT 6.1 and later, any major version above 6
int ClassifyWindowsVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion);

// The class of the running Windows (or of the version a ScopedWindowsVersion
// of this module stands in for).
int GetWindowsVersionClass();

// Makes GetWindowsVersionClass answer for another version while it lives, so
// the choice of an implementation can be checked for every Windows. The stand-in
// is per module (each links its own copy of this library) and not thread-safe.
class ScopedWindowsVersion {
public:
    ScopedWindowsVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion);
    ~ScopedWindowsVersion();

    ScopedWindowsVersion(const ScopedWindowsVersion&) = delete;
    ScopedWindowsVersion& operator=(const ScopedWindowsVersion&) = delete;

private:
    bool hadPrevious_;
    OSVERSIONINFOW previous_;
};

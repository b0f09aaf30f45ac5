#include "WindowsVersion.h"

#include <gtest/gtest.h>

namespace {

const DWORD kNt = VER_PLATFORM_WIN32_NT;
const DWORD k9x = VER_PLATFORM_WIN32_WINDOWS;

TEST(WindowsVersionTest, NtVersionsGiveTheirClasses)
{
    EXPECT_EQ(3, ClassifyWindowsVersion(kNt, 4, 0));
    EXPECT_EQ(2, ClassifyWindowsVersion(kNt, 5, 0));
    EXPECT_EQ(3, ClassifyWindowsVersion(kNt, 5, 1));
    EXPECT_EQ(3, ClassifyWindowsVersion(kNt, 5, 2));
    EXPECT_EQ(4, ClassifyWindowsVersion(kNt, 6, 0));
    EXPECT_EQ(5, ClassifyWindowsVersion(kNt, 6, 1));
    EXPECT_EQ(5, ClassifyWindowsVersion(kNt, 6, 3));
    EXPECT_EQ(5, ClassifyWindowsVersion(kNt, 10, 0));
}

TEST(WindowsVersionTest, Win9xSplitsAtMinorNinety)
{
    EXPECT_EQ(0, ClassifyWindowsVersion(k9x, 4, 0));
    EXPECT_EQ(0, ClassifyWindowsVersion(k9x, 4, 10));
    EXPECT_EQ(0, ClassifyWindowsVersion(k9x, 4, 89));
    EXPECT_EQ(1, ClassifyWindowsVersion(k9x, 4, 90));
    EXPECT_EQ(3, ClassifyWindowsVersion(k9x, 5, 0));
}

TEST(WindowsVersionTest, UnknownPlatformIsClassThree)
{
    EXPECT_EQ(3, ClassifyWindowsVersion(VER_PLATFORM_WIN32s, 3, 10));
    EXPECT_EQ(3, ClassifyWindowsVersion(7, 6, 1));
}

TEST(WindowsVersionTest, RunningSystemIsClassifiedFromItsReportedVersion)
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExW(&info));
    EXPECT_EQ(ClassifyWindowsVersion(info.dwPlatformId, info.dwMajorVersion,
                                     info.dwMinorVersion),
              GetWindowsVersionClass());
}

TEST(WindowsVersionTest, StandInVersionsNestAndRestore)
{
    const int system = GetWindowsVersionClass();
    {
        ScopedWindowsVersion xp(kNt, 5, 1);
        EXPECT_EQ(3, GetWindowsVersionClass());
        {
            ScopedWindowsVersion me(k9x, 4, 90);
            EXPECT_EQ(1, GetWindowsVersionClass());
        }
        EXPECT_EQ(3, GetWindowsVersionClass());
    }
    EXPECT_EQ(system, GetWindowsVersionClass());
}

} // namespace

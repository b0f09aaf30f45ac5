#include <windows.h>

#include <gtest/gtest.h>

#include "ThisWindows.h"
#include "VistaVolumeCtrl.h"
#include "VolumeCtrl.h"
#include "VolumeFactory.h"
#include "WindowsVersion.h"
#include "XPVolumeCtrl.h"

namespace {

TEST(ThisWindows, IsReportedAndClassifiedAsItsName)
{
    const WindowsAsNamed* expected = WindowsOfThisCopy();
    ASSERT_NE(nullptr, expected) << "runs only as a copy named after a Windows version";
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExW(&info));
    EXPECT_EQ(expected->platform, info.dwPlatformId);
    EXPECT_EQ(expected->major, info.dwMajorVersion);
    EXPECT_EQ(expected->minor, info.dwMinorVersion);
    EXPECT_EQ(expected->versionClass, GetWindowsVersionClass());
}

TEST(ThisWindows, VolumeFactoryMakesTheControlOfThisFamily)
{
    const WindowsAsNamed* windows = WindowsOfThisCopy();
    ASSERT_NE(nullptr, windows) << "runs only as a copy named after a Windows version";
    IVolumeCtrl* made = CVolumeFactory::GetVolumeCtrl();
    switch (windows->family) {
    case WindowsFamily::None:
        EXPECT_EQ(nullptr, made) << "no volume control before Windows 2000";
        break;
    case WindowsFamily::Windows2000XP:
        EXPECT_NE(nullptr, dynamic_cast<CXPVolumeCtrl*>(made)) << "the mixer on Windows 2000 and XP";
        break;
    case WindowsFamily::VistaAndLater:
        EXPECT_NE(nullptr, dynamic_cast<CVistaVolumeCtrl*>(made)) << "Core Audio from Vista on";
        break;
    }
    CVolumeCtrl::DestoryInstance(made);
}

}  // namespace

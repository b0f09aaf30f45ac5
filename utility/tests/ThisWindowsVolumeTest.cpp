#include <windows.h>

#include <gtest/gtest.h>

#include "ThisWindows.h"
#include "VistaVolumeCtrl.h"
#include "VolumeCtrl.h"
#include "VolumeFactory.h"
#include "WindowsVersion.h"
#include "XPVolumeCtrl.h"

namespace {

const WindowsAsNamed& ThisWindows()
{
    const WindowsAsNamed* windows = WindowsOfThisCopy();
    if (!windows) {
        ADD_FAILURE() << "runs only as a copy named after a Windows version";
        static const WindowsAsNamed none = {L"", 0, 0, 0, -1, WindowsFamily::None};
        return none;
    }
    return *windows;
}

TEST(ThisWindows, IsReportedAndClassifiedAsItsName)
{
    const WindowsAsNamed& expected = ThisWindows();
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExW(&info));
    EXPECT_EQ(expected.platform, info.dwPlatformId);
    EXPECT_EQ(expected.major, info.dwMajorVersion);
    EXPECT_EQ(expected.minor, info.dwMinorVersion);
    EXPECT_EQ(expected.versionClass, GetWindowsVersionClass());
}

TEST(ThisWindows, VolumeFactoryMakesTheControlOfThisFamily)
{
    const WindowsAsNamed& windows = ThisWindows();
    IVolumeCtrl* made = CVolumeFactory::GetVolumeCtrl();
    switch (windows.family) {
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
    if (!made)
        return;
    // The browser's use: the proxy owns the control and frees it.
    IVolumeCtrl* proxy = CVolumeCtrl::GetInstance(made);
    ASSERT_NE(nullptr, proxy);
    EXPECT_EQ(1, proxy->Init());
    EXPECT_EQ(100, proxy->GetMax());
    EXPECT_EQ(0, proxy->GetMin());
    const int volume = proxy->GetVol();
    EXPECT_GE(volume, 0);
    EXPECT_LE(volume, 100);
    EXPECT_EQ(1, proxy->UnInit());
    CVolumeCtrl::DestoryInstance(proxy);
}

}  // namespace

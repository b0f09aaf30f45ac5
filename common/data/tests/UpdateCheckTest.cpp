#include "TestHttpServer.h"

#include "CreationLog.h"
#include "ServiceTestSupport.h"
#include "UpdateCheck.h"

#include <gtest/gtest.h>

using servicetest::FileExists;
using servicetest::HttpRoute;
using servicetest::ReadBytes;
using servicetest::ScratchFolder;
using servicetest::TestHttpServer;
using servicetest::WriteBytes;

namespace {

const UINT kUpdateMessage = 2730;

std::string Ini(const std::string& version, const std::string& url = "http://example.invalid/new")
{
    std::string text = "[UPDATE]\r\n";
    if (!version.empty())
        text += (version == "<empty>" ? std::string("Version=") : "Version=" + version) + "\r\n";
    text += "UpdateUrl=" + url + "\r\n";
    return text;
}

class UpdateCheckTest : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    void Clean()
    {
        ::DeleteFileW(GetUpdateIniPath().c_str());
        ::DeleteFileW(GetUpdateTempPath().c_str());
    }

    // Runs the real download into the data folder; the worker's wParam.
    WPARAM Download(const std::wstring& url)
    {
        HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        WPARAM result = 99;
        if (StartUpdateDownload(url, window, kUpdateMessage)) {
            MSG msg{};
            const ULONGLONG end = ::GetTickCount64() + 20000;
            while (::GetTickCount64() < end) {
                if (::PeekMessageW(&msg, window, kUpdateMessage, kUpdateMessage, PM_REMOVE)) {
                    result = msg.wParam;
                    break;
                }
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            }
        }
        ::DestroyWindow(window);
        return result;
    }

    // Downloads an INI with the given text and installs it.
    void Fetch(const std::string& text)
    {
        server_.Route("/update.ini", HttpRoute{200, {}, text, true, 0});
        ASSERT_EQ(0u, Download(server_.Url("/update.ini")));
        ASSERT_TRUE(InstallDownloadedUpdateIni());
    }

    int Compare(const std::string& downloaded, const std::string& shipped)
    {
        Fetch(downloaded);
        // A new name each time: Wine's profile cache may serve a file rewritten
        // within the same timestamp tick from its stale copy.
        const std::wstring shippedPath = scratch_.File(L"shipped" + std::to_wstring(++comparisons_) + L".ini");
        WriteBytes(shippedPath, shipped);
        return IsNewVersionAvailable(GetUpdateIniPath(), shippedPath);
    }

    TestHttpServer server_;
    ScratchFolder scratch_;
    int comparisons_ = 0;
};

TEST_F(UpdateCheckTest, DownloadedFileIsInstalledFromTheTemporaryName)
{
    EXPECT_EQ(L"\\Hollin\\Orlat\\update.ini", GetUpdateIniPath().substr(GetUpdateIniPath().size() - 24));
    CreationLog log;
    Fetch(Ini("2.0", "http://127.0.0.1/page"));
    // The browser of any account replaces what another's check left.
    EXPECT_EQ(kModifyFileGrant, log.GrantOfSave(GetUpdateTempPath()));
    EXPECT_EQ(kModifyFileGrant, log.GrantOfSave(GetUpdateIniPath()));
    EXPECT_FALSE(FileExists(GetUpdateTempPath()));
    EXPECT_EQ(Ini("2.0", "http://127.0.0.1/page"), ReadBytes(GetUpdateIniPath()));
    EXPECT_EQ(L"http://127.0.0.1/page", GetUpdatePageUrl());
}

// Any account may add files to the data folder: hard links planted under the
// download's names would hand the body to the files they reach.
TEST_F(UpdateCheckTest, FilesPlantedUnderTheDownloadsNamesNeverTakeTheBody)
{
    const std::wstring temporary = GetUpdateTempPath() + L".tmp" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring reached = scratch_.File(L"reached.dat"), replaced = scratch_.File(L"replaced.dat");
    WriteBytes(reached, "the parent's own file");
    WriteBytes(replaced, "another file of the parent");
    ASSERT_TRUE(::CreateHardLinkW(temporary.c_str(), reached.c_str(), nullptr));
    ASSERT_TRUE(::CreateHardLinkW(GetUpdateTempPath().c_str(), replaced.c_str(), nullptr));
    Fetch(Ini("2.0"));
    EXPECT_EQ("the parent's own file", ReadBytes(reached));
    EXPECT_EQ("another file of the parent", ReadBytes(replaced));

    // Planted again where it cannot be removed: held open without leave to
    // delete it.
    ASSERT_TRUE(::CreateHardLinkW(temporary.c_str(), reached.c_str(), nullptr));
    HANDLE held = ::CreateFileW(reached.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Fetch(Ini("3.0"));
    ::CloseHandle(held);
    ::DeleteFileW(temporary.c_str());
    EXPECT_EQ("the parent's own file", ReadBytes(reached));
    EXPECT_EQ(Ini("3.0"), ReadBytes(GetUpdateIniPath()));
}

TEST_F(UpdateCheckTest, OnlyANewerDownloadedVersionIsAnUpdate)
{
    EXPECT_EQ(0, Compare(Ini("1.0.2"), Ini("1.0.2")));
    EXPECT_EQ(1, Compare(Ini("1.0.3"), Ini("1.0.2")));
    EXPECT_EQ(0, Compare(Ini("1.0.2"), Ini("1.0.3"))) << "an older server file is no update";
    EXPECT_EQ(1, Compare(Ini("1.0.10"), Ini("1.0.9"))) << "parts compare as numbers";
    EXPECT_EQ(0, Compare(Ini("1.0.9"), Ini("1.0.10")));
    EXPECT_EQ(0, Compare(Ini("1.0"), Ini("1.0.0")));
    EXPECT_EQ(1, Compare(Ini("2"), Ini("1.9.9")));
    EXPECT_EQ(0, Compare(Ini("A1"), Ini("a1")));
    EXPECT_EQ(1, Compare(Ini("1.0.2"), "[UPDATE]\r\n")) << "a shipped file without version is older";
}

TEST_F(UpdateCheckTest, MissingVersionOrPageIsNeverAnUpdate)
{
    EXPECT_EQ(0, Compare(Ini(""), Ini("1.0.2")));
    EXPECT_EQ(0, Compare(Ini("<empty>"), Ini("1.0.2")));
    EXPECT_EQ(0, Compare("<html>502 Bad Gateway</html>", Ini("1.0.2")));
    EXPECT_EQ(0, Compare(Ini("9.9", ""), Ini("1.0.2")));
}

TEST_F(UpdateCheckTest, ComparesWithTheShippedFile)
{
    const std::wstring shipped = GetShippedUpdateIniPath();
    ASSERT_TRUE(FileExists(shipped));
    const std::wstring version = ReadUpdateValue(shipped, L"Version");
    ASSERT_FALSE(version.empty());
    Fetch(Ini(std::string(version.begin(), version.end())));
    EXPECT_EQ(0, IsNewVersionAvailable());
    Fetch(Ini(std::string(version.begin(), version.end()) + ".1"));
    EXPECT_EQ(1, IsNewVersionAvailable());
}

TEST_F(UpdateCheckTest, FailedDownloadLeavesNoFileAndOldIniStays)
{
    WriteBytes(GetUpdateIniPath(), Ini("1.0"));
    // Connections dropped before the announced length, within the first
    // block read and after several.
    HttpRoute dropped{200, {}, Ini("2.0"), true, 0};
    dropped.announcedLength = dropped.body.size() + 1;
    server_.Route("/dropped.ini", dropped);
    HttpRoute droppedLater{200, {}, Ini("3.0") + std::string(150000, ';'), true, 0};
    droppedLater.announcedLength = 300000;
    server_.Route("/later.ini", droppedLater);

    EXPECT_EQ(1u, Download(L""));
    EXPECT_EQ(1u, Download(L"ftp://127.0.0.1/update.ini"));
    EXPECT_EQ(1u, Download(server_.Url("/absent.ini")));
    EXPECT_EQ(1u, Download(server_.Url("/dropped.ini")));
    EXPECT_EQ(1u, Download(server_.Url("/later.ini")));
    WIN32_FIND_DATAW found{};
    HANDLE left = ::FindFirstFileW((GetUpdateTempPath() + L"*").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, left) << "left behind: " << found.cFileName;
    if (left != INVALID_HANDLE_VALUE)
        ::FindClose(left);

    EXPECT_FALSE(InstallDownloadedUpdateIni());
    EXPECT_EQ(Ini("1.0"), ReadBytes(GetUpdateIniPath()));
}

}  // namespace

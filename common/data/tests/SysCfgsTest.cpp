#include "SysCfgs.h"

#include "ServiceTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using servicetest::ReadBytes;
using servicetest::ScratchFolder;
using servicetest::WriteBytes;

namespace {

const wchar_t kChildVariable[] = L"HOLLIN_SYSCFGS_CHILD";
const wchar_t kReadyEvent[] = L"HollinSysCfgsTestReady";

HANDLE OpenReadyEvent()
{
    return ::CreateEventW(nullptr, TRUE, FALSE, kReadyEvent);
}

// A second process of this test program plays the other side: it runs one
// action named in the environment before the tests start, and exits with its
// result as the exit code.
int RunChildAction(const std::wstring& action)
{
    CSysCfgs cfgs;
    if (action.rfind(L"write:", 0) == 0) {
        SysCfgsRecord record{};
        cfgs.GetAll(&record);
        record.showTresselProgram = 77;
        wcscpy_s(record.downloadPath, L"C:\\from-child");
        cfgs.SetAll(&record);
        return cfgs.SetExitWhenClosing(_wtoi(action.c_str() + 6)) ? 0 : 2;
    }
    if (action == L"read") {
        int value = -1;
        return cfgs.GetExitWhenClosing(&value) ? value : -1;
    }
    HANDLE ready = OpenReadyEvent();
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"SysCfgsMutxName");
    ::WaitForSingleObject(mutex, INFINITE);
    if (action == L"hold") {
        // Owning the mutex, the same thread may still enter the operations.
        cfgs.SetExitWhenClosing(1);
        ::SetEvent(ready);
        ::Sleep(800);
        cfgs.SetExitWhenClosing(2);
        ::ReleaseMutex(mutex);
        return 0;
    }
    if (action == L"die") {
        ::SetEvent(ready);
        ::ExitProcess(3);  // dies holding the mutex
    }
    return 100;
}

const int g_childRun = [] {
    wchar_t action[64] = {};
    if (::GetEnvironmentVariableW(kChildVariable, action, 64) == 0)
        return 0;
    ::ExitProcess(static_cast<UINT>(RunChildAction(action)));
}();

class ChildProcess {
public:
    explicit ChildProcess(const std::wstring& action)
    {
        wchar_t exe[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
        ::SetEnvironmentVariableW(kChildVariable, action.c_str());
        std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_list_tests";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        started_ = ::CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                    &info_) != FALSE;
        ::SetEnvironmentVariableW(kChildVariable, nullptr);
    }
    ~ChildProcess()
    {
        if (started_) {
            if (::WaitForSingleObject(info_.hProcess, 10000) == WAIT_TIMEOUT)
                ::TerminateProcess(info_.hProcess, 99);
            ::CloseHandle(info_.hThread);
            ::CloseHandle(info_.hProcess);
        }
    }
    bool started() const { return started_; }
    // Exit code, or -1000 when it did not end in time.
    int Wait(DWORD ms = 10000)
    {
        if (!started_ || ::WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0)
            return -1000;
        DWORD code = 0;
        ::GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<int>(code);
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

class SysCfgsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, g_childRun);
        ASSERT_TRUE(com_.Initialized());
        CSysCfgs cleaner;
        cleaner.Reset();
    }
    void TearDown() override
    {
        CSysCfgs cleaner;
        cleaner.Reset();
        // The user folders the cases made beside the program (empty ones only).
        wchar_t exe[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring folder(exe);
        folder.erase(folder.find_last_of(L'\\'));
        for (const wchar_t* user : {L"\\User\\7", L"\\User\\All Users"})
            ::RemoveDirectoryW((folder + user).c_str());
    }

    fw::ComThreadScope com_;
    ScratchFolder scratch_;
};

TEST_F(SysCfgsTest, SecondProcessSeesWritesBothWays)
{
    CSysCfgs cfgs;
    ASSERT_EQ(1, cfgs.SetExitWhenClosing(41));
    ChildProcess reader(L"read");
    ASSERT_TRUE(reader.started());
    EXPECT_EQ(41, reader.Wait());

    ChildProcess writer(L"write:9");
    ASSERT_EQ(0, writer.Wait());
    SysCfgsRecord record{};
    ASSERT_EQ(1, cfgs.GetAll(&record));
    EXPECT_EQ(9, record.exitWhenClosing);
    EXPECT_EQ(77, record.showTresselProgram);
    EXPECT_STREQ(L"C:\\from-child", record.downloadPath);
}

TEST_F(SysCfgsTest, OperationsWaitForTheMutexHolder)
{
    HANDLE ready = OpenReadyEvent();
    ::ResetEvent(ready);
    ChildProcess holder(L"hold");
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(ready, 10000));
    CSysCfgs cfgs;
    int value = 0;
    // The holder writes 1, sleeps, then writes 2 just before it releases; a
    // read that did not wait sees 1. (No elapsed-time check: on a busy
    // machine this thread may wake only after the holder is done.)
    ASSERT_EQ(1, cfgs.GetExitWhenClosing(&value));
    EXPECT_EQ(2, value) << "read only after the holder released";
    EXPECT_EQ(0, holder.Wait());
    ::CloseHandle(ready);
}

TEST_F(SysCfgsTest, AbandonedMutexIsTakenOverAndReleased)
{
    HANDLE ready = OpenReadyEvent();
    ::ResetEvent(ready);
    ChildProcess dying(L"die");
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(ready, 10000));
    EXPECT_EQ(3, dying.Wait());

    CSysCfgs cfgs;
    EXPECT_EQ(1, cfgs.SetExitWhenClosing(5));
    // Released again: another process gets in at once.
    ChildProcess reader(L"read");
    EXPECT_EQ(5, reader.Wait(5000));
    ::CloseHandle(ready);
}

TEST_F(SysCfgsTest, SaveAndLoadRoundTripTheElement)
{
    const std::wstring path = scratch_.File(L"syscfgs.xml");
    {
        CSysCfgs cfgs;
        ASSERT_EQ(1, cfgs.Load(path.c_str()));  // missing file: a new document with defaults
        SysCfgsRecord record{};
        ASSERT_EQ(1, cfgs.GetAll(&record));
        EXPECT_EQ(1, record.showNetMessage);
        EXPECT_EQ(1, record.showNewCommend);
        EXPECT_NE(nullptr, wcsstr(record.downloadPath, L"\\User"));
        record.exitWhenClosing = 1;
        record.autoRunWhenSysStartup = 1;
        record.showNetMessage = 0;
        record.showTresselProgram = 1;
        record.showNewCommend = 0;
        wcscpy_s(record.downloadPath, L"D:\\下载");
        record.block[10] = 0xAB;
        ASSERT_EQ(1, cfgs.SetAll(&record));
        ASSERT_EQ(1, cfgs.Save());
        ASSERT_EQ(1, cfgs.Save()) << "saving twice keeps one element";
    }
    const std::string saved = ReadBytes(path);
    EXPECT_EQ(saved.find("<SysCfgs"), saved.rfind("<SysCfgs")) << saved;
    EXPECT_NE(std::string::npos, saved.find("ExitWhenClosing=\"1\"")) << saved;

    CSysCfgs cleaner;
    SysCfgsRecord zero{};
    zero.block[10] = 0xAB;
    wcscpy_s(zero.downloadPath, L"x");
    ASSERT_EQ(1, cleaner.SetAll(&zero));

    CSysCfgs cfgs;
    ASSERT_EQ(1, cfgs.Load(path.c_str()));
    SysCfgsRecord loaded{};
    ASSERT_EQ(1, cfgs.GetAll(&loaded));
    EXPECT_EQ(1, loaded.exitWhenClosing);
    EXPECT_EQ(1, loaded.autoRunWhenSysStartup);
    EXPECT_EQ(0, loaded.showNetMessage);
    EXPECT_EQ(1, loaded.showTresselProgram);
    EXPECT_EQ(0, loaded.showNewCommend);
    EXPECT_STREQ(L"D:\\下载", loaded.downloadPath);
    EXPECT_EQ(0xAB, loaded.block[10]) << "the block survives a reload";
}

TEST_F(SysCfgsTest, ReadStopsAtMissingAttributeAndOverlongPathIsCut)
{
    const std::wstring path = scratch_.File(L"partial.xml");
    const std::string longPath(1500, 'p');
    WriteBytes(path, "<root><SysCfgs ExitWhenClosing=\"3\" AutoRunWhenSysStartup=\"\" DwnldSavePath=\"" + longPath +
                         "\" ShowNetMessage=\"4\"/></root>");
    CSysCfgs cfgs;
    ASSERT_EQ(1, cfgs.Load(path.c_str()));
    SysCfgsRecord record{};
    ASSERT_EQ(1, cfgs.GetAll(&record));
    EXPECT_EQ(3, record.exitWhenClosing);
    EXPECT_EQ(0, record.autoRunWhenSysStartup) << "empty reads as 0";
    EXPECT_EQ(4, record.showNetMessage);
    EXPECT_EQ(0, record.showTresselProgram) << "the read stopped at the missing attribute";
    EXPECT_EQ(kSysCfgsPathChars - 1, wcsnlen(record.downloadPath, kSysCfgsPathChars));
    EXPECT_EQ(L'\0', record.downloadPath[kSysCfgsPathChars - 1]);
    EXPECT_EQ(0, cfgs.Load(L""));

    // The field holds 1,023 characters and its terminator: an exact fit is
    // kept whole, one more is cut.
    for (const size_t size : {kSysCfgsPathChars - 1, kSysCfgsPathChars}) {
        WriteBytes(path, "<root><SysCfgs ExitWhenClosing=\"1\" AutoRunWhenSysStartup=\"1\" DwnldSavePath=\"" +
                             std::string(size, 'q') + "\"/></root>");
        CSysCfgs fitting;
        ASSERT_EQ(1, fitting.Load(path.c_str()));
        ASSERT_EQ(1, fitting.GetAll(&record));
        EXPECT_EQ(std::wstring(kSysCfgsPathChars - 1, L'q'), std::wstring(record.downloadPath)) << size;
    }
}

TEST_F(SysCfgsTest, SavesIntoAFileWhoseRootIsTheElement)
{
    const std::wstring path = scratch_.File(L"rooted.xml");
    WriteBytes(path, "<SysCfgs ExitWhenClosing=\"1\" AutoRunWhenSysStartup=\"0\" DwnldSavePath=\"C:\\d\" "
                     "ShowNetMessage=\"1\" ShowTresselProgram=\"0\" ShowNewCommend=\"1\"/>");
    {
        CSysCfgs cfgs;
        ASSERT_EQ(1, cfgs.Load(path.c_str()));
        ASSERT_EQ(1, cfgs.SetExitWhenClosing(5));
        EXPECT_EQ(1, cfgs.Save()) << "the root cannot be replaced, so it is written in place";
    }
    CSysCfgs reloaded;
    ASSERT_EQ(1, reloaded.Load(path.c_str()));
    int exitWhenClosing = 0;
    ASSERT_EQ(1, reloaded.GetExitWhenClosing(&exitWhenClosing));
    EXPECT_EQ(5, exitWhenClosing);
}

TEST_F(SysCfgsTest, UnterminatedPathIsRebuiltAndNullPointersAreRefused)
{
    CSysCfgs cfgs;
    SysCfgsRecord record{};
    for (wchar_t& c : record.downloadPath)
        c = L'z';
    ASSERT_EQ(1, cfgs.SetAll(&record));
    SysCfgsRecord stored{};
    ASSERT_EQ(1, cfgs.GetAll(&stored));
    const std::wstring folder(stored.downloadPath);
    EXPECT_LT(folder.size(), kSysCfgsPathChars);
    EXPECT_EQ(L"\\User", folder.substr(folder.size() - 5));

    EXPECT_EQ(0, cfgs.GetAll(nullptr));
    EXPECT_EQ(0, cfgs.GetBlock(nullptr));
    EXPECT_EQ(0, cfgs.GetExitWhenClosing(nullptr));
    EXPECT_EQ(1, cfgs.SetAll(nullptr));
    ASSERT_EQ(1, cfgs.GetAll(&stored));
    EXPECT_EQ(L'\0', stored.downloadPath[0]);
}

TEST_F(SysCfgsTest, BlockCarriesUserNumberForTheUserFolder)
{
    CSysCfgs cfgs;
    uint8_t block[kSysCfgsBlockSize] = {};
    const int32_t allUsers = -1;
    std::memcpy(block + (kSysCfgsUserNumberOffset - 2068), &allUsers, 4);
    ASSERT_EQ(1, cfgs.SetBlock(block));
    SysCfgsRecord record{};
    ASSERT_EQ(1, cfgs.GetAll(&record));
    EXPECT_NE(nullptr, wcsstr(record.downloadPath, L"\\User\\All Users"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(record.downloadPath));

    ASSERT_EQ(1, cfgs.SetUserValue(0x1234));
    uint8_t read[kSysCfgsBlockSize] = {};
    ASSERT_EQ(1, cfgs.GetBlock(read));
    int32_t userValue = 0;
    std::memcpy(&userValue, read + (kSysCfgsUserValueOffset - 2068), 4);
    EXPECT_EQ(0x1234, userValue);

    const int32_t seven = 7;
    std::memcpy(block + (kSysCfgsUserNumberOffset - 2068), &seven, 4);
    ASSERT_EQ(1, cfgs.SetBlock(block));
    wchar_t buffer[MAX_PATH] = {};
    size_t length = MAX_PATH;
    EXPECT_EQ(0, GetUserDirSafe(buffer, &length));
    EXPECT_EQ(wcslen(buffer), length);
    EXPECT_EQ(std::wstring(L"\\User\\7"), std::wstring(buffer).substr(length - 7));

    // Too small a buffer is refused, never overrun, and still answers 0.
    wchar_t tiny[4] = {L'#', L'#', L'#', L'#'};
    size_t tinyLength = 4;
    EXPECT_EQ(0, GetUserDirSafe(tiny, &tinyLength));
    EXPECT_EQ(4u, tinyLength);

    ASSERT_EQ(1, cfgs.SetBlock(nullptr));
    ASSERT_EQ(1, cfgs.GetBlock(read));
    EXPECT_EQ(0, read[kSysCfgsUserValueOffset - 2068]);
}

}  // namespace

#include "BroswerRegister.h"

#include "ServicePaths.h"
#include "ThisWindows.h"
#include "WindowsVersion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

const wchar_t kUserChoiceRoot[] = L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\";

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

std::optional<std::wstring> ReadText(HKEY root, const std::wstring& path, const wchar_t* name)
{
    wchar_t buffer[2048] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    if (::RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

void WriteText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value,
               DWORD type = REG_SZ)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

// Remembers a key's value and puts it back (or removes the key the test made).
class RestoredValue {
public:
    RestoredValue(HKEY root, std::wstring path, const wchar_t* name, std::wstring removeOnRestore)
        : root_(root), path_(std::move(path)), name_(name ? name : L""), removeRoot_(std::move(removeOnRestore))
    {
        existed_ = KeyExists(root_, path_);
        value_ = ReadText(root_, path_, name ? name : nullptr);
    }
    ~RestoredValue()
    {
        if (!existed_) {
            ::RegDeleteTreeW(root_, removeRoot_.c_str());
            ::RegDeleteKeyW(root_, removeRoot_.c_str());
            return;
        }
        const wchar_t* name = name_.empty() ? nullptr : name_.c_str();
        if (value_) {
            WriteText(root_, path_, name, *value_);
        } else {
            HKEY key = nullptr;
            if (::RegOpenKeyExW(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                ::RegDeleteValueW(key, name);
                ::RegCloseKey(key);
            }
        }
    }

private:
    HKEY root_;
    std::wstring path_;
    std::wstring name_;
    std::wstring removeRoot_;
    bool existed_ = false;
    std::optional<std::wstring> value_;
};

TEST(BroswerRegisterFactory, VersionClassPicksTheImplementation)
{
    for (int versionClass : {0, 1, 6, -1})
        EXPECT_EQ(nullptr, std::unique_ptr<IBroswerRegister>(NewBroswerRegisterImpl(versionClass)).get());
    for (int versionClass : {2, 3}) {
        std::unique_ptr<IBroswerRegister> impl(NewBroswerRegisterImpl(versionClass));
        EXPECT_NE(nullptr, dynamic_cast<CXPBroswerRegisterImpl*>(impl.get()));
    }
    for (int versionClass : {4, 5}) {
        std::unique_ptr<IBroswerRegister> impl(NewBroswerRegisterImpl(versionClass));
        EXPECT_NE(nullptr, dynamic_cast<CWin7BroswerRegisterImpl*>(impl.get()));
    }
    CBroswerRegister* empty = NewBroswerRegister(nullptr);
    EXPECT_EQ(0, empty->IsDefault());
    EXPECT_EQ(0, empty->Register());
    DestroyBroswerRegister(empty);
    DestroyBroswerRegister(nullptr);
    EXPECT_EQ(L"\"" + services::ProgramFolder() + L"\\Brivan.exe\" \"%1\"", GetBroswerOpenCommand());
}

TEST(BroswerRegisterFactory, RunningWindowsPicksTheImplementation)
{
    struct Case {
        DWORD platform, major, minor;
        bool vista, xp;
    };
    const Case cases[] = {{VER_PLATFORM_WIN32_NT, 6, 0, true, false},   {VER_PLATFORM_WIN32_NT, 6, 1, true, false},
                          {VER_PLATFORM_WIN32_NT, 10, 0, true, false},  {VER_PLATFORM_WIN32_NT, 5, 0, false, true},
                          {VER_PLATFORM_WIN32_NT, 5, 1, false, true},   {VER_PLATFORM_WIN32_NT, 5, 2, false, true},
                          {VER_PLATFORM_WIN32_WINDOWS, 4, 90, false, false}};
    for (const Case& c : cases) {
        ScopedWindowsVersion version(c.platform, c.major, c.minor);
        std::unique_ptr<IBroswerRegister> impl(NewBroswerRegisterImpl());
        EXPECT_EQ(c.vista, dynamic_cast<CWin7BroswerRegisterImpl*>(impl.get()) != nullptr) << c.major << "." << c.minor;
        EXPECT_EQ(c.xp, dynamic_cast<CXPBroswerRegisterImpl*>(impl.get()) != nullptr) << c.major << "." << c.minor;
    }
}

std::wstring Choice(const wchar_t* scheme)
{
    return kUserChoiceRoot + std::wstring(scheme) + L"\\UserChoice";
}

std::wstring Command(const wchar_t* scheme)
{
    return std::wstring(scheme) + L"\\shell\\open\\command";
}

const wchar_t kOtherCommand[] = L"\"C:\\other\\browser.exe\" \"%1\"";

// Keeps the keys of either family as they were before the case.
class RegistryKeysTest : public ::testing::Test {
protected:
    // The user's choices name another browser; the prog id is put back after.
    void KeepUserChoices()
    {
        classesExisted_ = KeyExists(HKEY_CURRENT_USER, L"Software\\Classes");
        for (const wchar_t* scheme : {L"ftp", L"http", L"https"})
            saved_.push_back(std::make_unique<RestoredValue>(HKEY_CURRENT_USER, Choice(scheme), L"Progid",
                                                             kUserChoiceRoot + std::wstring(scheme)));
        saved_.push_back(std::make_unique<RestoredValue>(HKEY_CURRENT_USER, L"Software\\Classes\\OrlatURL", nullptr,
                                                         L"Software\\Classes\\OrlatURL"));
        for (const wchar_t* scheme : {L"ftp", L"http", L"https"})
            WriteText(HKEY_CURRENT_USER, Choice(scheme), L"Progid", L"SomeOtherBrowser");
    }
    // Every scheme has an open command; missing ones name another browser.
    void KeepOpenCommands()
    {
        for (const wchar_t* scheme : {L"ftp", L"http", L"https"}) {
            const bool existed = KeyExists(HKEY_CLASSES_ROOT, Command(scheme));
            saved_.push_back(std::make_unique<RestoredValue>(HKEY_CLASSES_ROOT, Command(scheme), nullptr,
                                                             existed ? Command(scheme) : std::wstring(scheme)));
            if (!existed)
                WriteText(HKEY_CLASSES_ROOT, Command(scheme), nullptr, kOtherCommand);
        }
    }
    void TearDown() override
    {
        // Restored in reverse order of saving.
        while (!saved_.empty())
            saved_.pop_back();
        if (!classesExisted_)
            ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Classes");
    }

    bool classesExisted_ = true;
    std::vector<std::unique_ptr<RestoredValue>> saved_;
};

class Win7RegisterTest : public RegistryKeysTest {
protected:
    void SetUp() override { KeepUserChoices(); }
};

TEST_F(Win7RegisterTest, RegisterWritesProgIdAndUserChoices)
{
    CBroswerRegister* wrapper = NewBroswerRegister(NewBroswerRegisterImpl(5));
    EXPECT_EQ(0, wrapper->IsDefault());
    ASSERT_EQ(1, wrapper->Register());
    EXPECT_NE(0, wrapper->IsDefault());
    DestroyBroswerRegister(wrapper);

    const std::wstring progId = L"Software\\Classes\\OrlatURL";
    EXPECT_EQ(L"Orlat URL", ReadText(HKEY_CURRENT_USER, progId, nullptr).value_or(L"?"));
    EXPECT_EQ(L"Orlat URL", ReadText(HKEY_CURRENT_USER, progId, L"FriendlyTypeName").value_or(L"?"));
    EXPECT_EQ(GetBroswerExePath() + L",0", ReadText(HKEY_CURRENT_USER, progId + L"\\DefaultIcon", nullptr).value_or(L"?"));
    EXPECT_EQ(L"open", ReadText(HKEY_CURRENT_USER, progId + L"\\Shell", nullptr).value_or(L"?"));
    EXPECT_EQ(GetBroswerOpenCommand(),
              ReadText(HKEY_CURRENT_USER, progId + L"\\Shell\\open\\command", nullptr).value_or(L"?"));
    for (const wchar_t* scheme : {L"ftp", L"http", L"https"})
        EXPECT_EQ(L"OrlatURL", ReadText(HKEY_CURRENT_USER, Choice(scheme), L"Progid").value_or(L"?")) << scheme;
}

TEST_F(Win7RegisterTest, DefaultIgnoresCaseAndMissingChoiceFailsRegistration)
{
    CWin7BroswerRegisterImpl impl;
    WriteText(HKEY_CURRENT_USER, Choice(L"http"), L"Progid", L"orlaturl");
    EXPECT_NE(0, impl.IsDefault());
    WriteText(HKEY_CURRENT_USER, Choice(L"http"), L"Progid", L"OrlatURL2");
    EXPECT_EQ(0, impl.IsDefault());

    ::RegDeleteTreeW(HKEY_CURRENT_USER, Choice(L"https").c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, Choice(L"https").c_str());
    EXPECT_EQ(0, impl.Register());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\OrlatURL")) << "written before the failure";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Choice(L"https"))) << "the missing choice is not created";

    ::RegDeleteTreeW(HKEY_CURRENT_USER, Choice(L"http").c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, Choice(L"http").c_str());
    EXPECT_EQ(0, impl.IsDefault());
}

class XPRegisterTest : public RegistryKeysTest {
protected:
    void SetUp() override { KeepOpenCommands(); }
};

TEST_F(XPRegisterTest, RegisterSetsEveryOpenCommand)
{
    CBroswerRegister* wrapper = NewBroswerRegister(NewBroswerRegisterImpl(3));
    WriteText(HKEY_CLASSES_ROOT, Command(L"http"), nullptr, kOtherCommand);
    EXPECT_EQ(0, wrapper->IsDefault());
    ASSERT_EQ(1, wrapper->Register());
    EXPECT_NE(0, wrapper->IsDefault());
    for (const wchar_t* scheme : {L"ftp", L"http", L"https"})
        EXPECT_EQ(GetBroswerOpenCommand(), ReadText(HKEY_CLASSES_ROOT, Command(scheme), nullptr).value_or(L"?"));
    DestroyBroswerRegister(wrapper);
}

TEST_F(XPRegisterTest, MissingFtpCommandStopsBeforeHttp)
{
    const std::wstring other = kOtherCommand;
    WriteText(HKEY_CLASSES_ROOT, Command(L"http"), nullptr, other);
    WriteText(HKEY_CLASSES_ROOT, Command(L"https"), nullptr, other);
    const std::optional<std::wstring> ftp = ReadText(HKEY_CLASSES_ROOT, Command(L"ftp"), nullptr);
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteTreeW(HKEY_CLASSES_ROOT, Command(L"ftp").c_str()));
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, Command(L"ftp").c_str());

    CXPBroswerRegisterImpl impl;
    EXPECT_EQ(0, impl.Register());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Command(L"ftp"))) << "keys are opened, never created";
    EXPECT_EQ(other, ReadText(HKEY_CLASSES_ROOT, Command(L"http"), nullptr).value_or(L"?"));
    EXPECT_EQ(other, ReadText(HKEY_CLASSES_ROOT, Command(L"https"), nullptr).value_or(L"?"));
    WriteText(HKEY_CLASSES_ROOT, Command(L"ftp"), nullptr, ftp.value_or(other));

    // A command naming the browser counts, wherever it sits.
    WriteText(HKEY_CLASSES_ROOT, Command(L"http"), nullptr, L"\"D:\\Kids\\Brivan.exe\" \"%1\"");
    EXPECT_NE(0, impl.IsDefault());
    WriteText(HKEY_CLASSES_ROOT, Command(L"http"), nullptr, L"\"D:\\Kids\\brivan.exe\" \"%1\"");
    EXPECT_EQ(0, impl.IsDefault()) << "the name is compared with its case";
}

TEST_F(XPRegisterTest, DefaultCommandIsReadExpandedAndWithinTheKeyWrapperLimit)
{
    CXPBroswerRegisterImpl impl;
    ASSERT_TRUE(::SetEnvironmentVariableW(L"HOLLIN_KIDS_BROWSER", L"D:\\Kids\\Brivan.exe"));
    WriteText(HKEY_CLASSES_ROOT, Command(L"http"), nullptr, L"\"%HOLLIN_KIDS_BROWSER%\" \"%1\"", REG_EXPAND_SZ);
    EXPECT_NE(0, impl.IsDefault()) << "the browser is named only once the command is expanded";
    ::SetEnvironmentVariableW(L"HOLLIN_KIDS_BROWSER", nullptr);

    // The key wrapper reads at most 1023 characters: a longer command is not read.
    const std::wstring folder = L"D:\\" + std::wstring(1100, L'k') + L"\\";
    WriteText(HKEY_CLASSES_ROOT, Command(L"http"), nullptr, L"\"" + folder + L"Brivan.exe\" \"%1\"");
    EXPECT_EQ(0, impl.IsDefault());
    const std::wstring tail = L"\\Brivan.exe\" \"%1\"";
    const std::wstring fits = L"\"" + std::wstring(1023 - 1 - tail.size(), L'k') + tail;
    WriteText(HKEY_CLASSES_ROOT, Command(L"http"), nullptr, fits);
    EXPECT_NE(0, impl.IsDefault());
}

// Runs in the copies of this program named after a Windows version: the
// implementation made for the running Windows registers and answers in the
// keys of its own family and leaves the other family's alone.
class ThisWindowsRegister : public RegistryKeysTest {
protected:
    void SetUp() override
    {
        KeepUserChoices();
        KeepOpenCommands();
        for (const wchar_t* scheme : {L"ftp", L"http", L"https"})
            WriteText(HKEY_CLASSES_ROOT, Command(scheme), nullptr, kOtherCommand);
    }
};

TEST_F(ThisWindowsRegister, RegistersAndAnswersInTheKeysOfItsFamily)
{
    const WindowsAsNamed* windows = WindowsOfThisCopy();
    ASSERT_NE(nullptr, windows) << "runs only as a copy named after a Windows version";
    EXPECT_EQ(windows->versionClass, GetWindowsVersionClass());

    CBroswerRegister* wrapper = NewBroswerRegister(NewBroswerRegisterImpl());
    EXPECT_EQ(0, wrapper->IsDefault());
    const bool registers = windows->family != WindowsFamily::None;
    EXPECT_EQ(registers ? 1 : 0, wrapper->Register());
    EXPECT_EQ(registers, wrapper->IsDefault() != 0);

    const bool xp = windows->family == WindowsFamily::Windows2000XP;
    const bool vista = windows->family == WindowsFamily::VistaAndLater;
    for (const wchar_t* scheme : {L"ftp", L"http", L"https"}) {
        EXPECT_EQ(xp ? GetBroswerOpenCommand() : std::wstring(kOtherCommand),
                  ReadText(HKEY_CLASSES_ROOT, Command(scheme), nullptr).value_or(L"?"))
            << scheme;
        EXPECT_EQ(vista ? L"OrlatURL" : L"SomeOtherBrowser",
                  ReadText(HKEY_CURRENT_USER, Choice(scheme), L"Progid").value_or(L"?"))
            << scheme;
    }

    // Each family answers from its own keys only.
    if (xp)
        WriteText(HKEY_CLASSES_ROOT, Command(L"http"), nullptr, kOtherCommand);
    if (vista)
        WriteText(HKEY_CURRENT_USER, Choice(L"http"), L"Progid", L"SomeOtherBrowser");
    EXPECT_EQ(0, wrapper->IsDefault());
    DestroyBroswerRegister(wrapper);
}

}  // namespace

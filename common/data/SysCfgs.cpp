#include "SysCfgs.h"

#include "ServicePaths.h"

#include <cstring>

namespace {

// The shared section: 8 KB reserved, the record at its start. Every process
// of the same program file maps the same bytes.
union SharedMeArea {
    SysCfgsRecord record;
    uint8_t reserved[8192];
};
static_assert(sizeof(SharedMeArea) == 8192, "the shared section reserves 8 KB");

__attribute__((section("SharedMe"), shared)) SharedMeArea g_sharedMe = {};

SysCfgsRecord& Shared()
{
    return g_sharedMe.record;
}

// Holds the named mutex for one operation. A mutex left by a process that
// died holding it is taken over: the record may be half written, but waiting
// forever or skipping the release would be worse.
class SysCfgsLock {
public:
    SysCfgsLock() : mutex_(::CreateMutexW(nullptr, FALSE, L"SysCfgsMutxName"))
    {
        if (!mutex_)
            return;
        const DWORD waited = ::WaitForSingleObject(mutex_, INFINITE);
        owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~SysCfgsLock()
    {
        if (owned_)
            ::ReleaseMutex(mutex_);
        if (mutex_)
            ::CloseHandle(mutex_);
    }
    SysCfgsLock(const SysCfgsLock&) = delete;
    SysCfgsLock& operator=(const SysCfgsLock&) = delete;

    bool owned() const { return owned_; }

private:
    HANDLE mutex_;
    bool owned_ = false;
};

int32_t ReadBlockInt(const SysCfgsRecord& record, size_t recordOffset)
{
    int32_t value = 0;
    std::memcpy(&value, record.block + (recordOffset - offsetof(SysCfgsRecord, block)), sizeof(value));
    return value;
}

void WriteBlockInt(SysCfgsRecord& record, size_t recordOffset, int32_t value)
{
    std::memcpy(record.block + (recordOffset - offsetof(SysCfgsRecord, block)), &value, sizeof(value));
}

// Copies text into a fixed field: cut to the field, always terminated.
void CopyBounded(wchar_t* field, size_t fieldChars, const std::wstring& text)
{
    const size_t copied = text.size() < fieldChars ? text.size() : fieldChars - 1;
    text.copy(field, copied);
    field[copied] = L'\0';
}

bool IsTerminatedText(const wchar_t* field, size_t fieldChars)
{
    for (size_t i = 0; i < fieldChars; ++i)
        if (field[i] == L'\0')
            return i > 0;
    return false;
}

int BuildDefaultPath(SysCfgsRecord& record)
{
    size_t length = kSysCfgsPathChars;
    wchar_t path[kSysCfgsPathChars] = {};
    if (FAILED(CSysCfgs::BuildUserFolder(ReadBlockInt(record, kSysCfgsUserNumberOffset), path, &length)))
        return 0;
    std::memcpy(record.downloadPath, path, sizeof(path));
    return 1;
}

const wchar_t* const kIntAttributes[] = {L"ExitWhenClosing", L"AutoRunWhenSysStartup", L"ShowNetMessage",
                                         L"ShowTresselProgram", L"ShowNewCommend"};

}  // namespace

HRESULT CSysCfgs::BuildUserFolder(int userNumber, wchar_t* buffer, size_t* length)
{
    if (!buffer || !length || *length == 0)
        return E_INVALIDARG;
    std::wstring folder = services::ExecutableFolder() + L"\\User";
    if (!services::MakeFolderTree(folder))
        return E_FAIL;
    if (userNumber != 0) {
        folder += L'\\';
        folder += userNumber == -1 ? std::wstring(L"All Users") : std::to_wstring(userNumber);
        if (!services::MakeFolderTree(folder))
            return E_FAIL;
    }
    // A cut folder name would name another folder: refuse instead.
    if (folder.size() >= *length)
        return E_FAIL;
    folder.copy(buffer, folder.size());
    buffer[folder.size()] = L'\0';
    *length = folder.size();
    return S_OK;
}

void CSysCfgs::ReadElement(SysCfgsRecord& record)
{
    int32_t* const ints[] = {&record.exitWhenClosing, &record.autoRunWhenSysStartup, &record.showNetMessage,
                             &record.showTresselProgram, &record.showNewCommend};
    // The file's order: two flags, the folder, then the other three.
    for (int i = 0; i < 2; ++i) {
        int value = 0;
        if (!GetAttribInt(kIntAttributes[i], value))
            return;
        *ints[i] = value;
    }
    std::wstring path;
    if (!GetAttribString(L"DwnldSavePath", path))
        return;
    CopyBounded(record.downloadPath, kSysCfgsPathChars, path);
    for (int i = 2; i < 5; ++i) {
        int value = 0;
        if (!GetAttribInt(kIntAttributes[i], value))
            return;
        *ints[i] = value;
    }
}

int CSysCfgs::Load(const wchar_t* path)
{
    if (!path || !*path)
        return 0;
    SysCfgsLock lock;
    if (!lock.owned())
        return 0;
    if (!Open(path, false, nullptr))
        return 0;
    SysCfgsRecord record{};
    MoveToRoot();
    if (SelectElement(L"SysCfgs")) {
        try {
            ReadElement(record);
        } catch (const _com_error&) {
            // A value that is no number ends the read like a missing one.
        }
        // The block is no part of the file and survives every reload.
        std::memcpy(record.block, Shared().block, kSysCfgsBlockSize);
    } else {
        // Nothing stored yet: start from the defaults, not from zeroes.
        Defaults(&record);
    }
    Shared() = record;
    return 1;
}

int CSysCfgs::Save()
{
    if (!IsOpen())
        return 0;
    SysCfgsLock lock;
    if (!lock.owned())
        return 0;
    const SysCfgsRecord record = Shared();
    MoveToRoot();
    std::wstring rootName;
    GetNodeName(rootName);
    // A file whose root is the element itself is written in place: the root
    // cannot be removed and replaced.
    if (rootName != L"SysCfgs") {
        if (SelectElement(L"SysCfgs") && !RemoveCurrent())
            return 0;
        MoveToRoot();
        if (!AddChild(L"SysCfgs", L"", false))
            return 0;
    }
    const int32_t ints[] = {record.exitWhenClosing, record.autoRunWhenSysStartup, record.showNetMessage,
                            record.showTresselProgram, record.showNewCommend};
    for (int i = 0; i < 5; ++i)
        SetAttribInt(kIntAttributes[i], ints[i]);
    std::wstring path(record.downloadPath, kSysCfgsPathChars);
    path.resize(wcsnlen(record.downloadPath, kSysCfgsPathChars));
    SetAttribString(L"DwnldSavePath", path.c_str());
    return CXmlDom::Save();
}

int CSysCfgs::Reset()
{
    SysCfgsLock lock;
    Shared() = SysCfgsRecord{};
    Close();
    return 1;
}

int CSysCfgs::GetExitWhenClosing(int* value)
{
    if (!value)
        return 0;
    SysCfgsLock lock;
    if (!lock.owned())
        return 0;
    *value = Shared().exitWhenClosing;
    return 1;
}

int CSysCfgs::SetExitWhenClosing(int value)
{
    SysCfgsLock lock;
    if (!lock.owned())
        return 0;
    Shared().exitWhenClosing = value;
    return 1;
}

int CSysCfgs::GetBlock(uint8_t* block)
{
    if (!block)
        return 0;
    SysCfgsLock lock;
    if (!lock.owned())
        return 0;
    std::memcpy(block, Shared().block, kSysCfgsBlockSize);
    return 1;
}

int CSysCfgs::SetBlock(const uint8_t* block)
{
    SysCfgsLock lock;
    if (!lock.owned())
        return 0;
    if (!block) {
        std::memset(Shared().block, 0, kSysCfgsBlockSize);
        return 1;
    }
    std::memcpy(Shared().block, block, kSysCfgsBlockSize);
    return BuildDefaultPath(Shared());
}

int CSysCfgs::GetAll(SysCfgsRecord* record)
{
    if (!record)
        return 0;
    SysCfgsLock lock;
    if (!lock.owned())
        return 0;
    *record = Shared();
    return 1;
}

int CSysCfgs::SetAll(const SysCfgsRecord* record)
{
    SysCfgsLock lock;
    if (!lock.owned())
        return 0;
    if (!record) {
        Shared() = SysCfgsRecord{};
        return 1;
    }
    SysCfgsRecord copy = *record;
    if (!IsTerminatedText(copy.downloadPath, kSysCfgsPathChars)) {
        // Never keep an unterminated folder: build the default, or clear it.
        if (!BuildDefaultPath(copy)) {
            copy.downloadPath[0] = L'\0';
            Shared() = copy;
            return 0;
        }
    }
    Shared() = copy;
    return 1;
}

int CSysCfgs::SetUserValue(int value)
{
    SysCfgsLock lock;
    if (!lock.owned())
        return 0;
    WriteBlockInt(Shared(), kSysCfgsUserValueOffset, value);
    return 1;
}

int CSysCfgs::Defaults(SysCfgsRecord* record)
{
    if (!record)
        return 0;
    SysCfgsRecord defaults{};
    defaults.showNetMessage = 1;
    defaults.showNewCommend = 1;
    {
        SysCfgsLock lock;
        std::memcpy(defaults.block, Shared().block, kSysCfgsBlockSize);
    }
    const int built = BuildDefaultPath(defaults);
    *record = defaults;
    return built;
}

int GetUserDirSafe(wchar_t* buffer, size_t* length)
{
    int userNumber = 0;
    {
        SysCfgsLock lock;
        userNumber = ReadBlockInt(Shared(), kSysCfgsUserNumberOffset);
    }
    CSysCfgs::BuildUserFolder(userNumber, buffer, length);
    return 0;
}

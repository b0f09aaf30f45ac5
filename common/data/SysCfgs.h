#pragma once
#include "XmlDom.h"

#include <cstddef>
#include <cstdint>

// The program-wide options every process of one program file shares: the
// record lies at the start of the shared data section "SharedMe".
struct SysCfgsRecord {
    int32_t exitWhenClosing;
    int32_t autoRunWhenSysStartup;
    int32_t showNetMessage;
    int32_t showTresselProgram;
    int32_t showNewCommend;
    wchar_t downloadPath[1024];  // zero-terminated
    uint8_t block[2720];         // opaque, not stored in XML
};

inline constexpr size_t kSysCfgsBlockSize = sizeof(SysCfgsRecord::block);
inline constexpr size_t kSysCfgsPathChars = sizeof(SysCfgsRecord::downloadPath) / sizeof(wchar_t);
// Record offsets inside the opaque block.
inline constexpr size_t kSysCfgsUserNumberOffset = 4120;  // 0 none, -1 all users
inline constexpr size_t kSysCfgsUserValueOffset = 4124;

static_assert(sizeof(wchar_t) == 2, "the record stores UTF-16 text");
static_assert(sizeof(SysCfgsRecord) == 4788, "the shared record layout is fixed");
static_assert(offsetof(SysCfgsRecord, downloadPath) == 20 && offsetof(SysCfgsRecord, block) == 2068,
              "field offsets of the shared record are fixed");

// Loads the record from and saves it to the element "SysCfgs" of an XML file.
// Every access to the shared record holds the named mutex "SysCfgsMutxName".
class CSysCfgs : public CXmlDom {
public:
    int Load(const wchar_t* path);
    int Save();
    int Reset();
    int GetExitWhenClosing(int* value);
    int SetExitWhenClosing(int value);
    int GetBlock(uint8_t* block);
    int SetBlock(const uint8_t* block);
    int GetAll(SysCfgsRecord* record);
    int SetAll(const SysCfgsRecord* record);
    int SetUserValue(int value);
    // Defaults of every field, the shared block kept, the default download
    // folder built; 1 when that folder could be made.
    int Defaults(SysCfgsRecord* record);

    // The user folder for the given user number: the executable's folder +
    // "User" (+ "\<n>" or "\All Users"), created on disk. S_OK, or E_FAIL when
    // a folder cannot be made or the text does not fit `length` characters;
    // `length` becomes the characters written.
    static HRESULT BuildUserFolder(int userNumber, wchar_t* buffer, size_t* length);

private:
    void ReadElement(SysCfgsRecord& record);
};

// Builds the user folder of the shared record into the caller's buffer;
// returns 0 whatever the build reports.
int GetUserDirSafe(wchar_t* buffer, size_t* length);

#pragma once
// The number of GDI objects this process holds, for tests that check that
// drawing leaks none. Windows counts them (GetGuiResources); Wine 8 answers 0
// there, but keeps the process's GDI handle table where the process
// environment block's GdiSharedHandleTable points, so there the entries in
// use are counted. A table that is not where or what it should be fails the
// asking test instead of reading as "no objects".
#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

class GdiObjectCount {
 public:
  static DWORD Now() {
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted) return counted;
    Table table = FindTable();
    if (!table.entries) return 0;
    DWORD used = 0;
    for (size_t i = 0; i < table.count; ++i) used += Owned(table.entries[i], table.owner);
    return used;
  }

 private:
  // The process environment block as far as the table's pointer, laid out by
  // the compiler for the build's pointer size.
  struct PebPrefix {
    BYTE flags[4];
    void* mutant;
    void* imageBase;
    void* loader;
    void* parameters;
    void* subsystemData;
    void* processHeap;
    void* fastPebLock;
    void* atlThunkList;
    void* imageOptionsKey;
    ULONG crossProcessFlags;
    void* kernelCallbackTable;
    ULONG systemReserved;
    ULONG atlThunkList32;
    void* apiSetMap;
    ULONG tlsExpansionCounter;
    void* tlsBitmap;
    ULONG tlsBitmapBits[2];
    void* readOnlySharedMemoryBase;
    void* sharedData;
    void* readOnlyStaticServerData;
    void* ansiCodePageData;
    void* oemCodePageData;
    void* unicodeCaseTableData;
    ULONG numberOfProcessors;
    ULONG ntGlobalFlag;
    LARGE_INTEGER criticalSectionTimeout;
    SIZE_T heapSegmentReserve;
    SIZE_T heapSegmentCommit;
    SIZE_T heapDeCommitTotalFreeThreshold;
    SIZE_T heapDeCommitFreeBlockThreshold;
    ULONG numberOfHeaps;
    ULONG maximumNumberOfHeaps;
    void* processHeaps;
    void* gdiSharedHandleTable;
  };
  static_assert(offsetof(PebPrefix, gdiSharedHandleTable) == (sizeof(void*) == 8 ? 0xF8 : 0x94),
                "the block's documented layout");

  // One entry of Wine's table: fixed-width fields, the same for 32- and
  // 64-bit processes. A handle's low word is its entry's index, its high word
  // the entry's `unique`.
  struct Entry {
    uint64_t object;  // 0 in a free entry
    uint32_t owner;   // what this process's entries carry (Wine leaves 0)
    uint16_t unique;  // 0x80 set: a stock object
    uint8_t type;     // 0 in a free entry
    uint8_t flags;
    uint64_t user;
  };
  static_assert(sizeof(Entry) == 24, "Wine's table entry");
  static const size_t kMostEntries = 0x10000;  // the index is a handle's low word

  struct Table {
    const Entry* entries = nullptr;
    size_t count = 0;
    uint32_t owner = 0;
  };

  static bool Owned(const Entry& entry, uint32_t owner) {
    return entry.type != 0 && (entry.unique & 0x80) == 0 && entry.owner == owner;
  }

  static const PebPrefix* Peb() {
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) < 0)
      return nullptr;
    return reinterpret_cast<const PebPrefix*>(basic.PebBaseAddress);
  }

  // A 32-bit process in a 64-bit system (Wine's 64-bit prefixes too) finds
  // the pointer in its 64-bit blocks: the thread block's WowTebOffset leads
  // to the 64-bit thread block, whose block pointer sits at 0x60, and the
  // table's pointer at 0xF8 there. Both lie below 4 GB.
  static const void* TableOfWow64Process() {
#ifdef _WIN64
    return nullptr;
#else
    const auto* teb = reinterpret_cast<const BYTE*>(NtCurrentTeb());
    const LONG offset = *reinterpret_cast<const LONG*>(teb + 0xFDC);
    if (!offset) return nullptr;
    const uint64_t peb64 = *reinterpret_cast<const uint64_t*>(teb + offset + 0x60);
    if (!peb64 || peb64 >> 32) return nullptr;
    const uint64_t table = *reinterpret_cast<const uint64_t*>(static_cast<uintptr_t>(peb64) + 0xF8);
    return table >> 32 ? nullptr : reinterpret_cast<const void*>(static_cast<uintptr_t>(table));
#endif
  }

  // The table, checked against a brush made for the purpose: its entry is in
  // use and counted while the brush lives, under the handle's high word, and
  // free once it is deleted. That entry also says what "ours" is in the owner.
  static Table FindTable() {
    const PebPrefix* peb = Peb();
    Table table;
    table.entries = peb ? static_cast<const Entry*>(peb->gdiSharedHandleTable) : nullptr;
    if (!table.entries) table.entries = static_cast<const Entry*>(TableOfWow64Process());
    MEMORY_BASIC_INFORMATION region{};
    if (!table.entries || !::VirtualQuery(table.entries, &region, sizeof(region)) || region.State != MEM_COMMIT) {
      ADD_FAILURE() << "GetGuiResources counts no GDI objects and the GDI handle table is not mapped";
      return {};
    }
    const size_t readable = static_cast<size_t>(static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize -
                                                reinterpret_cast<const BYTE*>(table.entries));
    table.count = std::min(readable / sizeof(Entry), kMostEntries);

    HBRUSH probe = ::CreateSolidBrush(RGB(1, 2, 3));
    const auto handle = reinterpret_cast<UINT_PTR>(probe);
    const size_t index = LOWORD(handle);
    const bool inUse = probe && index < table.count && table.entries[index].type != 0 &&
                       table.entries[index].unique == HIWORD(handle);
    if (inUse) table.owner = table.entries[index].owner;
    const bool counted = inUse && Owned(table.entries[index], table.owner);
    ::DeleteObject(probe);
    if (!counted || table.entries[index].type != 0) {
      ADD_FAILURE() << "GetGuiResources counts no GDI objects and the GDI handle table is not laid out as Wine's";
      return {};
    }
    return table;
  }
};

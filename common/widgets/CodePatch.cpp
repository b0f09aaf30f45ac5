#include "CodePatch.h"

#include <cstdint>
#include <cstring>

namespace {
const BYTE kRelativeJump = 0xE9;

#ifdef _WIN64
const uintptr_t kAllocationStep = 0x10000;
const uintptr_t kReach = 0x7FF00000;  // under 2 GB, leaving room for the jump itself
const size_t kRelaySize = 14;          // jmp [rip+0]; dq target

// A page of free address space within a 32-bit displacement of `nearby`.
void* AllocateNear(const void* nearby) {
  const uintptr_t origin = reinterpret_cast<uintptr_t>(nearby) & ~(kAllocationStep - 1);
  for (uintptr_t delta = kAllocationStep; delta < kReach; delta += kAllocationStep) {
    const bool belowFits = delta <= origin;
    const bool aboveFits = origin + delta > origin;
    for (int side = 0; side < 2; ++side) {
      if (side == 0 ? !belowFits : !aboveFits) continue;
      const uintptr_t candidate = side == 0 ? origin - delta : origin + delta;
      void* page = VirtualAlloc(reinterpret_cast<void*>(candidate), kRelaySize, MEM_RESERVE | MEM_COMMIT,
                                PAGE_EXECUTE_READWRITE);
      if (page) return page;
    }
  }
  return nullptr;
}

void* BuildRelay(const void* nearby, const void* replacement) {
  BYTE* relay = static_cast<BYTE*>(AllocateNear(nearby));
  if (!relay) return nullptr;
  const BYTE absoluteJump[6] = {0xFF, 0x25, 0, 0, 0, 0};
  std::memcpy(relay, absoluteJump, sizeof(absoluteJump));
  const uint64_t target = reinterpret_cast<uint64_t>(replacement);
  std::memcpy(relay + sizeof(absoluteJump), &target, sizeof(target));
  DWORD previous = 0;
  VirtualProtect(relay, kRelaySize, PAGE_EXECUTE_READ, &previous);
  FlushInstructionCache(GetCurrentProcess(), relay, kRelaySize);
  return relay;
}
#endif
}  // namespace

CCodePatch::~CCodePatch() { Remove(); }

bool CCodePatch::Install(void* function, const void* replacement) {
  if (installed_ || !function || !replacement) return false;
  SIZE_T read = 0;
  BYTE original[kJumpSize] = {};
  if (!ReadProcessMemory(GetCurrentProcess(), function, original, kJumpSize, &read) || read != kJumpSize) return false;
  function_ = function;
  std::memcpy(original_, original, kJumpSize);
  if (!PrepareJump(replacement) || !WriteEntry(jump_)) {
    FreeRelay();
    function_ = nullptr;
    return false;
  }
  installed_ = true;
  return true;
}

bool CCodePatch::PrepareJump(const void* replacement) {
  const void* destination = replacement;
#ifdef _WIN64
  relay_ = BuildRelay(function_, replacement);
  if (!relay_) return false;
  destination = relay_;
#endif
  // Unsigned, so that i686 wraps as its processor does and nothing overflows.
  const uintptr_t distance = reinterpret_cast<uintptr_t>(destination) -
                             (reinterpret_cast<uintptr_t>(function_) + kJumpSize);
  const int32_t rel32 = static_cast<int32_t>(distance);
  // On i686 every distance is in reach; on x86_64 it must be a 32-bit one.
  if (static_cast<intptr_t>(rel32) != static_cast<intptr_t>(distance)) return false;
  jump_[0] = kRelativeJump;
  std::memcpy(jump_ + 1, &rel32, sizeof(rel32));
  return true;
}

bool CCodePatch::WriteEntry(const BYTE* bytes) {
  SIZE_T written = 0;
  const bool ok = WriteProcessMemory(GetCurrentProcess(), function_, bytes, kJumpSize, &written) &&
                  written == kJumpSize;
  FlushInstructionCache(GetCurrentProcess(), function_, kJumpSize);
  return ok;
}

bool CCodePatch::Remove() {
  if (!installed_) return true;
  if (!WriteEntry(original_)) return false;
  installed_ = false;
  FreeRelay();
  return true;
}

bool CCodePatch::Suspend() { return installed_ && WriteEntry(original_); }
bool CCodePatch::Resume() { return installed_ && WriteEntry(jump_); }

void CCodePatch::FreeRelay() {
  if (relay_) VirtualFree(relay_, 0, MEM_RELEASE);
  relay_ = nullptr;
}

#include "AllocationLimit.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<DWORD> g_thread{0};
std::atomic<size_t> g_count{0};
std::atomic<size_t> g_failAt{0};  // 0: none

void* Allocate(std::size_t size) {
  if (g_thread.load() == ::GetCurrentThreadId()) {
    size_t n = ++g_count;
    if (n == g_failAt.load()) throw std::bad_alloc();
  }
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}

}  // namespace

namespace testalloc {

AllocationLimit::AllocationLimit() {
  g_count = 0;
  g_failAt = 0;
  g_thread = ::GetCurrentThreadId();
}

AllocationLimit::~AllocationLimit() {
  g_thread = 0;
  g_failAt = 0;
}

void AllocationLimit::FailAt(size_t n) {
  g_count = 0;
  g_failAt = n;
}

size_t AllocationLimit::Count() const { return g_count; }

}  // namespace testalloc

// The program's own operator new: the static C++ runtime, TinyXML and the
// data library linked into this program all allocate through it.
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

#pragma once
// Makes one allocation of this program's operator new on the calling thread
// throw std::bad_alloc, as it does when the process runs out of memory,
// without needing the memory. The allocations after it succeed, as they do
// once the failed operation has released what it held.
#include <cstddef>
#include <vector>

namespace testalloc {

class AllocationLimit {
 public:
  // Only counts until FailAt.
  AllocationLimit();
  ~AllocationLimit();
  AllocationLimit(const AllocationLimit&) = delete;
  AllocationLimit& operator=(const AllocationLimit&) = delete;

  // The `n`-th allocation counted from now (1 = the next) fails; 0: none
  // does. Counting starts anew.
  void FailAt(size_t n);
  // Allocations made (or refused) since arming or the last FailAt.
  size_t Count() const;
};

// Where to fail a run of `total` allocations: the first, the last and about
// `between` evenly in between.
inline std::vector<size_t> FailurePoints(size_t total, size_t between) {
  std::vector<size_t> points{1};
  size_t step = total / (between + 1) ? total / (between + 1) : 1;
  for (size_t n = 1 + step; n < total; n += step) points.push_back(n);
  if (total > 1) points.push_back(total);
  return points;
}

}  // namespace testalloc

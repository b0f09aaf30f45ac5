#pragma once

// The handle type of a tab: what the strip's operations take and return. It
// carries no data; the strip deletes a tab through this virtual destructor.
class _HTAB {
 public:
  virtual ~_HTAB() = default;
};

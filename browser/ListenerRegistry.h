#pragma once
#include <windows.h>

#include <map>
#include <new>
#include <utility>
#include <vector>

#include "CriticalSection.h"

// The listeners of a process-wide hook, each with the value it registered
// with, behind a critical section. A listener may add or remove listeners
// (itself included) while it is told: the walk goes over a copy and skips
// whoever left, or registered again with another value, meanwhile.
template <typename Listener, typename Value = bool>
class ListenerRegistry {
 public:
  ListenerRegistry() = default;
  ListenerRegistry(const ListenerRegistry&) = delete;
  ListenerRegistry& operator=(const ListenerRegistry&) = delete;

  // False when memory runs out; the listeners stay as they were.
  bool Add(Listener* listener, const Value& value = Value()) {
    fw::CriticalSectionLock lock(lock_);
    try {
      listeners_[listener] = value;
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  void Remove(Listener* listener) {
    fw::CriticalSectionLock lock(lock_);
    listeners_.erase(listener);
  }

  bool Contains(Listener* listener) {
    fw::CriticalSectionLock lock(lock_);
    return listeners_.count(listener) != 0;
  }

  // Calls tell(listener, value) for each listener, in the order of their
  // addresses; nobody is told when memory runs out for the copy.
  template <typename Tell>
  void TellEach(Tell tell) {
    fw::CriticalSectionLock lock(lock_);
    std::vector<std::pair<Listener*, Value>> snapshot;
    try {
      snapshot.assign(listeners_.begin(), listeners_.end());
    } catch (const std::bad_alloc&) {
      return;
    }
    for (const auto& [listener, value] : snapshot) {
      auto still = listeners_.find(listener);
      if (still == listeners_.end() || !(still->second == value)) continue;
      tell(listener, value);
    }
  }

 private:
  fw::CriticalSection lock_;
  std::map<Listener*, Value> listeners_;
};

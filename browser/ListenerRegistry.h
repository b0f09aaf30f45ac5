#pragma once
#include <windows.h>

#include <map>
#include <new>
#include <utility>
#include <vector>

// The listeners of a process-wide hook, each with the value it registered
// with, behind a critical section. A listener may add or remove listeners
// (itself included) while it is told: the walk goes over a copy and skips
// whoever left, or registered again with another value, meanwhile.
template <typename Listener, typename Value = bool>
class ListenerRegistry {
 public:
  ListenerRegistry() { ::InitializeCriticalSection(&lock_); }
  ~ListenerRegistry() { ::DeleteCriticalSection(&lock_); }
  ListenerRegistry(const ListenerRegistry&) = delete;
  ListenerRegistry& operator=(const ListenerRegistry&) = delete;

  // False when memory runs out; the listeners stay as they were.
  bool Add(Listener* listener, const Value& value = Value()) {
    Lock lock(lock_);
    try {
      listeners_[listener] = value;
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  void Remove(Listener* listener) {
    Lock lock(lock_);
    listeners_.erase(listener);
  }

  bool Contains(Listener* listener) {
    Lock lock(lock_);
    return listeners_.count(listener) != 0;
  }

  // Calls tell(listener, value) for each listener, in the order of their
  // addresses; nobody is told when memory runs out for the copy.
  template <typename Tell>
  void TellEach(Tell tell) {
    Lock lock(lock_);
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
  class Lock {
   public:
    explicit Lock(CRITICAL_SECTION& section) : section_(section) { ::EnterCriticalSection(&section_); }
    ~Lock() { ::LeaveCriticalSection(&section_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    CRITICAL_SECTION& section_;
  };

  CRITICAL_SECTION lock_;
  std::map<Listener*, Value> listeners_;
};

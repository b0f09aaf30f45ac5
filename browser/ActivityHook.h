#pragma once
#include <windows.h>

#include "ListenerRegistry.h"

// Tells windows that asked when the focus enters or leaves them or any of
// their descendants. One per process: a WH_CALLWNDPROC hook on the thread
// that first uses it, removed at program exit.
class ActivityHook {
 public:
  class INotify {
   public:
    virtual ~INotify() = default;
    // `window` is the window that got (active) or lost the focus.
    virtual void OnActivityChanged(bool active, HWND window) = 0;
  };

  static ActivityHook& Instance();

  // False when memory runs out; the listeners stay as they were.
  bool Add(INotify* listener, HWND window);
  void Remove(INotify* listener);
  bool IsRegistered(INotify* listener);

 private:
  ActivityHook();
  ~ActivityHook();
  ActivityHook(const ActivityHook&) = delete;
  ActivityHook& operator=(const ActivityHook&) = delete;

  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  void Dispatch(const CWPSTRUCT& call);

  HHOOK hook_ = nullptr;
  ListenerRegistry<INotify, HWND> listeners_;
};

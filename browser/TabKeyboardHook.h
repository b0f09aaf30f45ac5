#pragma once
#include <windows.h>

#include "ListenerRegistry.h"

// Tells its listeners of every key going down on the user-interface thread.
// One per process: a WH_KEYBOARD hook on the thread that first uses it,
// removed at program exit. (The desktop-wide hook of the lock mode is
// CKeyboardHook; this one only sees the program's own keys.)
class KeyboardHook {
 public:
  class Notify {
   public:
    virtual ~Notify() = default;
    virtual void OnKeyDown(UINT virtualKey, LPARAM keyData) = 0;
  };

  static KeyboardHook& Instance();

  // False when memory runs out; the listeners stay as they were.
  bool Add(Notify* listener);
  void Remove(Notify* listener);
  bool IsRegistered(Notify* listener);

 private:
  KeyboardHook();
  ~KeyboardHook();
  KeyboardHook(const KeyboardHook&) = delete;
  KeyboardHook& operator=(const KeyboardHook&) = delete;

  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  void Dispatch(UINT virtualKey, LPARAM keyData);

  HHOOK hook_ = nullptr;
  ListenerRegistry<Notify> listeners_;
};

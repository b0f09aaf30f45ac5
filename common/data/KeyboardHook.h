#pragma once
#include <windows.h>

#include <vector>

#include "CriticalSection.h"
#include "Handles.h"

// Watches every key event of the desktop through a low-level keyboard hook
// and lets its owner swallow chosen combinations of one, two or three keys.
// The hook lives on a thread of its own that does nothing but its message
// loop: a hook on a busy thread is passed by after the system's time-out,
// and from Windows 7 on removed for good. The decision is therefore asked on
// that thread.
class CKeyboardHook {
public:
    CKeyboardHook();
    // A derived class whose decision reads its own members uninstalls in its
    // own destructor, before they go.
    virtual ~CKeyboardHook();
    CKeyboardHook(const CKeyboardHook&) = delete;
    CKeyboardHook& operator=(const CKeyboardHook&) = delete;

    // Starts the hook's thread and returns once the hook is in place or the
    // system refused it; 1 either way.
    int Install(HINSTANCE module);
    // Removes the hook and waits for its thread to end.
    int Uninstall();
    // Keys without a place carry -1. Any thread may add.
    int AddKeyCombination(int key1, int key2, int key3);

    bool IsInstalled() const { return hook_ != nullptr; }

    // The decision for a matched combination: non-zero lets the event pass.
    // Runs on the hook's thread, while the desktop's keyboard waits: it must
    // answer quickly and never send to a window.
    virtual int OnKeyCombination(int code, WPARAM message, const KBDLLHOOKSTRUCT* event);

    // The matching rule, asked by the hook procedure: 1 passes the event.
    int CheckKey(int code, WPARAM message, const KBDLLHOOKSTRUCT* event);

    // The object the hook procedure consults (the last one constructed and
    // not yet destroyed).
    static CKeyboardHook* HookInstance();

protected:
    // Whether the key is held; the hook asks GetAsyncKeyState.
    virtual bool IsKeyDown(int virtualKey) const;

private:
    struct Combination {
        int first;
        int second;
        int third;
    };
    // What the hook's thread needs to start, and the hook it reports.
    struct Start {
        HINSTANCE module;
        HANDLE ready;
        HHOOK hook;
    };
    static unsigned __stdcall RunHook(void* start);
    static LRESULT CALLBACK HookProc(int code, WPARAM message, LPARAM event);
    bool AnyMatches(int key);
    bool Matches(const Combination& combination, int key) const;

    HHOOK hook_ = nullptr;
    fw::ScopedHandle thread_;
    unsigned threadId_ = 0;
    // Added to on the owner's thread, read on the hook's.
    fw::CriticalSection lock_;
    std::vector<Combination> combinations_;
};

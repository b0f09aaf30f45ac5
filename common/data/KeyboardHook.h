#pragma once
#include <windows.h>

#include <vector>

// Watches every key event of the desktop through a low-level keyboard hook
// and lets its owner swallow chosen combinations of one, two or three keys.
// The hook runs on the installing thread, through its message loop.
class CKeyboardHook {
public:
    CKeyboardHook();
    virtual ~CKeyboardHook();
    CKeyboardHook(const CKeyboardHook&) = delete;
    CKeyboardHook& operator=(const CKeyboardHook&) = delete;

    // Installs the hook; 1 whether or not the system gave a handle.
    int Install(HINSTANCE module);
    int Uninstall();
    // Keys without a place carry -1.
    int AddKeyCombination(int key1, int key2, int key3);

    bool IsInstalled() const { return hook_ != nullptr; }

    // The decision for a matched combination: non-zero lets the event pass.
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

    static LRESULT CALLBACK HookProc(int code, WPARAM message, LPARAM event);
    bool Matches(const Combination& combination, int key) const;

    HHOOK hook_ = nullptr;
    std::vector<Combination> combinations_;
};

#include "KeyboardHook.h"

#include <process.h>

#include <atomic>

namespace {

std::atomic<CKeyboardHook*> g_hookInstance{nullptr};

}  // namespace

CKeyboardHook::CKeyboardHook()
{
    g_hookInstance.store(this);
}

CKeyboardHook::~CKeyboardHook()
{
    Uninstall();
    // A key event after destruction must never reach this object.
    CKeyboardHook* self = this;
    g_hookInstance.compare_exchange_strong(self, nullptr);
}

CKeyboardHook* CKeyboardHook::HookInstance()
{
    return g_hookInstance.load();
}

int CKeyboardHook::Install(HINSTANCE module)
{
    if (thread_)
        return 1;  // one hook per object: a second would see every key twice
    fw::ScopedHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ready)
        return 1;
    Start start{module, ready.Get(), nullptr};
    // Started through the C runtime, which the thread uses.
    thread_.Reset(reinterpret_cast<HANDLE>(
        ::_beginthreadex(nullptr, 0, &CKeyboardHook::RunHook, &start, 0, &threadId_)));
    if (!thread_)
        return 1;
    // No key may slip past between the start and the hook.
    const HANDLE waits[] = {ready.Get(), thread_.Get()};
    ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    hook_ = start.hook;
    if (!hook_) {
        ::WaitForSingleObject(thread_.Get(), INFINITE);
        thread_.Reset();
    }
    return 1;
}

int CKeyboardHook::Uninstall()
{
    if (!thread_)
        return 1;
    ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    ::WaitForSingleObject(thread_.Get(), INFINITE);
    DWORD removed = 0;
    ::GetExitCodeThread(thread_.Get(), &removed);
    thread_.Reset();
    hook_ = nullptr;
    return removed ? 1 : 0;
}

unsigned __stdcall CKeyboardHook::RunHook(void* started)
{
    Start& start = *static_cast<Start*>(started);
    // The queue exists before the owner can post the end to it.
    MSG message;
    ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    const HHOOK hook = ::SetWindowsHookExW(WH_KEYBOARD_LL, &CKeyboardHook::HookProc, start.module, 0);
    start.hook = hook;
    // `start` lives on the owner's stack only until this is set.
    ::SetEvent(start.ready);
    if (!hook)
        return 1;
    // The system calls the hook from inside GetMessage.
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    }
    return ::UnhookWindowsHookEx(hook) ? 1 : 0;
}

int CKeyboardHook::AddKeyCombination(int key1, int key2, int key3)
{
    fw::CriticalSectionLock lock(lock_);
    combinations_.push_back({key1, key2, key3});
    return 1;
}

int CKeyboardHook::OnKeyCombination(int, WPARAM, const KBDLLHOOKSTRUCT*)
{
    return 1;
}

bool CKeyboardHook::IsKeyDown(int virtualKey) const
{
    return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

bool CKeyboardHook::Matches(const Combination& c, int key) const
{
    const int none = -1;
    if (c.first == none)
        return false;
    if (c.second == none)
        return c.third == none && key == c.first;
    if (c.third == none)
        return (key == c.first && IsKeyDown(c.second)) || (key == c.second && IsKeyDown(c.first));
    return (key == c.first && IsKeyDown(c.second) && IsKeyDown(c.third)) ||
           (key == c.second && IsKeyDown(c.first) && IsKeyDown(c.third)) ||
           (key == c.third && IsKeyDown(c.first) && IsKeyDown(c.second));
}

bool CKeyboardHook::AnyMatches(int key)
{
    fw::CriticalSectionLock lock(lock_);
    for (const Combination& combination : combinations_) {
        if (Matches(combination, key))
            return true;
    }
    return false;
}

int CKeyboardHook::CheckKey(int code, WPARAM message, const KBDLLHOOKSTRUCT* event)
{
    if (code < 0 || !event)
        return 1;
    if (!AnyMatches(static_cast<int>(event->vkCode)))
        return 1;
    // Asked outside the lock: adding a combination never waits on a decision.
    CKeyboardHook* instance = HookInstance();
    return instance ? instance->OnKeyCombination(code, message, event) : 1;
}

LRESULT CALLBACK CKeyboardHook::HookProc(int code, WPARAM message, LPARAM event)
{
    CKeyboardHook* instance = HookInstance();
    const auto* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
    if (instance && !instance->CheckKey(code, message, record))
        return 1;  // swallowed
    return ::CallNextHookEx(nullptr, code, message, event);
}

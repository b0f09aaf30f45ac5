#include "KeyboardHook.h"

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
    if (hook_)
        return 1;  // one hook per object: a second would see every key twice
    hook_ = ::SetWindowsHookExW(WH_KEYBOARD_LL, &CKeyboardHook::HookProc, module, 0);
    return 1;
}

int CKeyboardHook::Uninstall()
{
    if (!hook_)
        return 1;
    const BOOL removed = ::UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    return removed ? 1 : 0;
}

int CKeyboardHook::AddKeyCombination(int key1, int key2, int key3)
{
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

int CKeyboardHook::CheckKey(int code, WPARAM message, const KBDLLHOOKSTRUCT* event)
{
    if (code < 0 || !event)
        return 1;
    const int key = static_cast<int>(event->vkCode);
    for (const Combination& combination : combinations_) {
        if (Matches(combination, key)) {
            CKeyboardHook* instance = HookInstance();
            return instance ? instance->OnKeyCombination(code, message, event) : 1;
        }
    }
    return 1;
}

LRESULT CALLBACK CKeyboardHook::HookProc(int code, WPARAM message, LPARAM event)
{
    CKeyboardHook* instance = HookInstance();
    const auto* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
    if (instance && !instance->CheckKey(code, message, record))
        return 1;  // swallowed
    return ::CallNextHookEx(nullptr, code, message, event);
}

#include "KeyboardHook.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

namespace {

// A hook whose held keys and decisions the test sets; every question it is
// asked is recorded.
class ScriptedHook : public CKeyboardHook {
public:
    int OnKeyCombination(int, WPARAM message, const KBDLLHOOKSTRUCT* event) override
    {
        asked.push_back({static_cast<int>(event->vkCode), message});
        return passKeys.count(static_cast<int>(event->vkCode)) ? 1 : 0;
    }

    std::set<int> held;
    std::set<int> passKeys;
    std::vector<std::pair<int, WPARAM>> asked;

protected:
    bool IsKeyDown(int key) const override
    {
        if (useRealKeys)
            return CKeyboardHook::IsKeyDown(key);
        return held.count(key) != 0;
    }

public:
    bool useRealKeys = false;
};

int Check(ScriptedHook& hook, int key, WPARAM message = WM_KEYDOWN, int code = HC_ACTION)
{
    KBDLLHOOKSTRUCT event{};
    event.vkCode = static_cast<DWORD>(key);
    return hook.CheckKey(code, message, &event);
}

TEST(KeyboardHookRules, SingleKeyIsDecidedOnDownAndUp)
{
    ScriptedHook hook;
    hook.AddKeyCombination(91, -1, -1);
    EXPECT_EQ(0, Check(hook, 91, WM_KEYDOWN));
    EXPECT_EQ(0, Check(hook, 91, WM_KEYUP));
    EXPECT_EQ(1, Check(hook, 92, WM_KEYDOWN));
    ASSERT_EQ(2u, hook.asked.size());
    EXPECT_EQ(static_cast<WPARAM>(WM_KEYUP), hook.asked[1].second);
    EXPECT_EQ(1, Check(hook, 91, WM_KEYDOWN, -1)) << "negative codes always pass";
}

TEST(KeyboardHookRules, TwoAndThreeKeyCombinationsMatchFromEitherKey)
{
    ScriptedHook hook;
    hook.AddKeyCombination(18, 9, -1);
    hook.AddKeyCombination(17, 16, 27);
    EXPECT_EQ(1, Check(hook, 9)) << "Tab alone";
    hook.held = {18};
    EXPECT_EQ(0, Check(hook, 9));
    hook.held = {9};
    EXPECT_EQ(0, Check(hook, 18));
    hook.held = {17, 16};
    EXPECT_EQ(0, Check(hook, 27));
    hook.held = {17, 27};
    EXPECT_EQ(0, Check(hook, 16));
    hook.held = {17};
    EXPECT_EQ(1, Check(hook, 27)) << "one of two partners is not enough";
}

TEST(KeyboardHookRules, MalformedCombinationsNeverMatchAndFirstMatchDecides)
{
    ScriptedHook hook;
    EXPECT_EQ(1, Check(hook, 65)) << "no combination: everything passes";
    hook.AddKeyCombination(-1, 65, -1);
    hook.AddKeyCombination(66, -1, 67);
    hook.held = {65, 66, 67};
    EXPECT_EQ(1, Check(hook, 65));
    EXPECT_EQ(1, Check(hook, 66));
    EXPECT_TRUE(hook.asked.empty());

    hook.AddKeyCombination(70, -1, -1);
    hook.AddKeyCombination(70, -1, -1);
    EXPECT_EQ(0, Check(hook, 70));
    EXPECT_EQ(1u, hook.asked.size()) << "only the first match is asked";
}

TEST(KeyboardHookRules, InstancePointerFollowsConstructionAndIsClearedOnDestruction)
{
    auto first = std::make_unique<ScriptedHook>();
    EXPECT_EQ(first.get(), CKeyboardHook::HookInstance());
    {
        ScriptedHook second;
        EXPECT_EQ(&second, CKeyboardHook::HookInstance());
        second.AddKeyCombination(65, -1, -1);
        // The first object's rules defer to the instance for the decision.
        first->AddKeyCombination(65, -1, -1);
        EXPECT_EQ(0, Check(*first, 65));
        EXPECT_EQ(1u, second.asked.size());
        EXPECT_TRUE(first->asked.empty());
    }
    EXPECT_EQ(nullptr, CKeyboardHook::HookInstance());
    EXPECT_EQ(1, Check(*first, 65)) << "no instance left: the event passes";
    first.reset();
    EXPECT_EQ(nullptr, CKeyboardHook::HookInstance());
}

// A focused window records the keys that reach it while another thread
// types through SendInput.
class TypingTarget {
public:
    TypingTarget()
    {
        WNDCLASSW type{};
        type.lpszClassName = L"HollinKeyTarget";
        type.lpfnWndProc = &TypingTarget::Proc;
        type.hInstance = ::GetModuleHandleW(nullptr);
        ::RegisterClassW(&type);
        window_ = ::CreateWindowExW(0, type.lpszClassName, L"keys", WS_POPUP | WS_VISIBLE, 10, 10, 120, 60, nullptr,
                                    nullptr, type.hInstance, nullptr);
        ::SetForegroundWindow(window_);
        ::SetFocus(window_);
        Pump(300);
        keys().clear();
    }
    ~TypingTarget() { ::DestroyWindow(window_); }

    bool focused() const { return ::GetFocus() == window_; }

    // Types on a second thread, pumping this one so the hook can run.
    void Type(const std::vector<std::pair<WORD, bool>>& strokes)
    {
        // Another program's window may have taken the focus since; take it back.
        ::SetForegroundWindow(window_);
        ::SetFocus(window_);
        Pump(50);
        std::atomic<bool> done{false};
        std::thread typist([strokes, &done] {
            for (const auto& [key, up] : strokes) {
                INPUT input{};
                input.type = INPUT_KEYBOARD;
                input.ki.wVk = key;
                input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
                ::SendInput(1, &input, sizeof(input));
                ::Sleep(30);
            }
            done = true;
        });
        while (!done)
            Pump(10);
        typist.join();
        // Let late keys arrive: wait until none came for 300 ms (2 s at most).
        const ULONGLONG deadline = ::GetTickCount64() + 2000;
        size_t seen = keys().size();
        do {
            Pump(300);
            if (keys().size() == seen)
                break;
            seen = keys().size();
        } while (::GetTickCount64() < deadline);
    }

    static std::vector<std::pair<WPARAM, bool>>& keys()
    {
        static std::vector<std::pair<WPARAM, bool>> received;
        return received;
    }

private:
    static void Pump(DWORD ms)
    {
        const ULONGLONG end = ::GetTickCount64() + ms;
        do {
            MSG msg{};
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        } while (::GetTickCount64() < end);
    }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_KEYDOWN || message == WM_KEYUP)
            keys().push_back({wParam, message == WM_KEYUP});
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HWND window_;
};

using Stroke = std::pair<WORD, bool>;
using Seen = std::pair<WPARAM, bool>;

TEST(KeyboardHookInput, SwallowedCombinationsNeverArrive)
{
    TypingTarget target;
    if (!target.focused())
        GTEST_SKIP() << "Wine gave the test window no keyboard focus on this display";
    ScriptedHook hook;
    hook.useRealKeys = true;
    hook.AddKeyCombination('B', -1, -1);        // swallowed
    hook.AddKeyCombination('C', -1, -1);        // matched, but the owner lets it pass
    hook.AddKeyCombination('E', 'F', -1);       // F is swallowed while E is held
    hook.passKeys = {'C'};
    ASSERT_EQ(1, hook.Install(::GetModuleHandleW(nullptr)));
    ASSERT_TRUE(hook.IsInstalled());

    target.Type({{'A', false}, {'A', true}, {'B', false}, {'B', true}, {'C', false}, {'C', true},
                 {'E', false}, {'F', false}, {'F', true}, {'E', true}, {'F', false}, {'F', true}});
    const std::vector<Seen> expected = {{'A', false}, {'A', true}, {'C', false}, {'C', true}, {'E', false},
                                        {'E', true},  {'F', false}, {'F', true}};
    EXPECT_EQ(expected, TypingTarget::keys());
    EXPECT_EQ(1, hook.Uninstall());
    EXPECT_FALSE(hook.IsInstalled());

    TypingTarget::keys().clear();
    target.Type({{'B', false}, {'B', true}});
    const std::vector<Seen> afterRemoval = {{'B', false}, {'B', true}};
    EXPECT_EQ(afterRemoval, TypingTarget::keys()) << "the removed hook swallows nothing";
}

TEST(KeyboardHookInput, DestroyedHookReleasesTheKeyboard)
{
    TypingTarget target;
    if (!target.focused())
        GTEST_SKIP() << "Wine gave the test window no keyboard focus on this display";
    {
        ScriptedHook hook;
        hook.AddKeyCombination('G', -1, -1);
        hook.Install(::GetModuleHandleW(nullptr));
        target.Type({{'G', false}, {'G', true}});
        EXPECT_TRUE(TypingTarget::keys().empty());
    }
    TypingTarget::keys().clear();
    target.Type({{'G', false}, {'G', true}});
    const std::vector<Seen> expected = {{'G', false}, {'G', true}};
    EXPECT_EQ(expected, TypingTarget::keys());
}

}  // namespace

#include "SharedState.h"

namespace {

// One data section of the program file, marked shared: every process of
// this program sees the same eight bytes, zero at the first load.
volatile LONG orltWords[2] __attribute__((section("orlt"), shared)) = {0, 0};

// Set on the main window at registration: a live window without it is not
// a browser's main window.
const wchar_t kMainWindowMark[] = L"Brivan.RegisteredMainWindow";

}  // namespace

CSharedState::CSharedState() : words_(orltWords) {}

LONG CSharedState::ToWord(HWND window) {
  return static_cast<LONG>(reinterpret_cast<LONG_PTR>(window));
}

HWND CSharedState::FromWord(LONG word) {
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(word));  // sign extension
}

void CSharedState::Mark(HWND window) { ::SetPropW(window, kMainWindowMark, reinterpret_cast<HANDLE>(1)); }

bool CSharedState::IsLiveMainWindow(HWND window) {
  return window && ::IsWindow(window) && ::GetPropW(window, kMainWindowMark) != nullptr;
}

void CSharedState::SetMainWindowIfEmpty(HWND window) {
  if (!window || !::IsWindow(window)) return;
  Mark(window);
  const LONG own = ToWord(window);
  for (;;) {
    LONG current = words_[0];
    if (current == own) return;
    if (current != 0 && IsLiveMainWindow(FromWord(current))) return;
    if (::InterlockedCompareExchange(&words_[0], own, current) == current) return;
  }
}

void CSharedState::ClearMainWindowIfOwn(HWND window) {
  if (!window) return;
  ::InterlockedCompareExchange(&words_[0], 0, ToWord(window));
  ::RemovePropW(window, kMainWindowMark);
}

void CSharedState::GiveUpMainWindow(HWND window) {
  if (!window || !::IsWindow(window)) return;
  Mark(window);
  ::InterlockedCompareExchange(&words_[0], 0, ToWord(window));
}

HWND CSharedState::GetMainWindow() const { return FromWord(words_[0]); }

int CSharedState::IsTimeUp() const { return words_[1]; }

void CSharedState::SetTimeUp(int value) { ::InterlockedExchange(&words_[1], value); }

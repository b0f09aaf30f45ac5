#pragma once
#include <windows.h>

#include <string>

// dwData of the WM_COPYDATA that hands a URL to the running browser.
const ULONG_PTR COPYDATA_OPEN_URL = 10056;

// Longest wait for the running browser's answer: a hung one counts as a
// refusal, and this start goes on as a browser of its own.
const UINT kHandOverTimeoutMs = 10000;

// Offers `url` to the browser whose main window is `window`. 0 when it took
// the URL (it is brought to the front and this process is to end), 1 to go
// on starting.
int HandOverToRunningInstance(std::wstring url, HWND window, UINT timeoutMs = kHandOverTimeoutMs);

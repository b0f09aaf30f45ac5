#pragma once
#include <windows.h>

// The value that starts the browser when the current user logs on.
int IsAutoStartEnabled();
// Writes "\"<exe folder>\Brivan.exe\" -startup"; 0 when the key does not open
// or the write fails.
int EnableAutoStart();
// Deletes the value; always 1.
int DisableAutoStart();
// Opens the Run key (never creates it) with read and write access.
int OpenAutoStartKey(HKEY* key);

extern const wchar_t kAutoStartValueName[];
extern const wchar_t kAutoStartKey[];
extern const wchar_t kAutoStartArgument[];

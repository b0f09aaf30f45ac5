#pragma once
#include <windows.h>

#include <string>

// The value that starts the browser when the current user logs on.
int IsAutoStartEnabled();
// Writes "\"<exe folder>\Brivan.exe\" -startup"; 0 when the key does not open
// or the write fails.
int EnableAutoStart();
// Deletes the value; always 1.
int DisableAutoStart();
// Opens the Run key (never creates it) with read and write access.
int OpenAutoStartKey(HKEY* key);

// String table ids of the value name, the key and the argument in the module
// that runs this code (AutoStartStrings.rc holds the shipped texts).
constexpr UINT kAutoStartValueNameId = 102;
constexpr UINT kAutoStartKeyId = 103;
constexpr UINT kAutoStartArgumentId = 104;

// The texts in use: the module's string table, else the built-in texts below.
std::wstring AutoStartValueName();
std::wstring AutoStartKey();
std::wstring AutoStartArgument();

extern const wchar_t kAutoStartValueName[];
extern const wchar_t kAutoStartKey[];
extern const wchar_t kAutoStartArgument[];

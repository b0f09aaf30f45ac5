#pragma once
#include <windows.h>

#include <string>

// The update check: the INI named by the address book's "update" entry is
// downloaded into the data folder and its "Version" compared with the one
// shipped in the program's conf folder.

std::wstring GetUpdateIniPath();
std::wstring GetUpdateTempPath();
std::wstring GetShippedUpdateIniPath();

// Downloads GetUpdateInfoUrl() to the temporary file; the window gets the
// message with wParam 0 (downloaded) or 1 (failed).
int StartUpdateCheck(HWND window, UINT message);
int StartUpdateDownload(const std::wstring& url, HWND window, UINT message);

// Puts the temporary file's bytes in place of update.ini and deletes it; the
// old update.ini stays on failure.
BOOL InstallDownloadedUpdateIni();
// 1 when the downloaded version is newer than the shipped one: dotted parts
// compared in turn, numerically where both are digits, else as text ignoring
// case. An older server file never offers a step back. A missing or empty
// downloaded version or "UpdateUrl" is never an update.
int IsNewVersionAvailable();
int IsNewVersionAvailable(const std::wstring& downloadedIni, const std::wstring& shippedIni);
std::wstring GetUpdatePageUrl();
std::wstring ReadUpdateValue(const std::wstring& iniPath, const wchar_t* key);
// Below 0, 0 or above 0 as `version` is older than, equal to or newer than `other`.
int CompareVersions(const std::wstring& version, const std::wstring& other);

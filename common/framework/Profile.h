#pragma once
#include <string>

// The program's profile: values under HKCU\Software\<key>\<profile>\<section>
// of the current user. Until SetRegistryKey names the key, reads give the
// default and writes fail.
namespace fw {

void SetRegistryKey(const std::wstring& key, const std::wstring& profileName);
// The registry path below HKEY_CURRENT_USER, or empty when no key is set.
std::wstring ProfileKeyPath();

int GetProfileInt(const std::wstring& section, const std::wstring& entry, int defaultValue);
bool WriteProfileInt(const std::wstring& section, const std::wstring& entry, int value);

}  // namespace fw

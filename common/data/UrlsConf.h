#pragma once
#include <string>

// The read-only address book conf\urls.conf in the program folder: elements
// anywhere below the root "Confs" with an "id" (key) and a "value" (address).

std::wstring GetUrlsConfPath();

// Opens conf\<file> in the program folder; 1 with the value of the element
// whose key attribute equals `key`, 0 when any step fails.
int ReadUrlsConfValue(std::wstring& value, const wchar_t* key, const wchar_t* file = L"urls.conf",
                      const wchar_t* valueAttribute = L"value", const wchar_t* keyAttribute = L"id",
                      const wchar_t* rootName = L"Confs");
int ReadUrlsConfInt(int& value, const wchar_t* key, const wchar_t* file = L"urls.conf",
                    const wchar_t* valueAttribute = L"value", const wchar_t* keyAttribute = L"id",
                    const wchar_t* rootName = L"Confs");
int WriteUrlsConfValue(const wchar_t* value, const wchar_t* key, const wchar_t* file = L"urls.conf",
                       const wchar_t* valueAttribute = L"value", const wchar_t* keyAttribute = L"id",
                       const wchar_t* rootName = L"Confs");
// Writes into a skin file of the default theme beside the executable.
int WriteThemeValue(const wchar_t* value, const wchar_t* key, const wchar_t* file, const wchar_t* valueAttribute,
                    const wchar_t* keyAttribute, const wchar_t* innerElement, const wchar_t* outerElement);

// Empty when the address book has no such entry.
std::wstring GetNavHomeUrl();
std::wstring GetNavHomeTitle();
std::wstring GetHomePageUrl();
std::wstring GetHelpUrl();
std::wstring GetUpdateInfoUrl();

std::wstring GetHourBoxXml();
std::wstring AddXmlDeclaration(const std::wstring& body, const wchar_t* version, const wchar_t* encoding);

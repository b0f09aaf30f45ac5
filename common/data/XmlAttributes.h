#pragma once
#include <string>

class TiXmlElement;

// Attribute access for the data files: text crosses in the thread's ANSI
// code page, flags are "true"/"false" read without regard to case.
namespace xmlattr {

bool Has(const TiXmlElement& element, const char* name);
// The attribute's text, or `missing` when absent. Whole unless a caller asks
// for a cut: list entries must save back as they were read, and addresses
// that differ only far in must stay apart.
std::wstring Text(const TiXmlElement& element, const char* name, const std::wstring& missing = L"",
                  size_t maxChars = std::wstring::npos);
bool Flag(const TiXmlElement& element, const char* name, bool missing);
// Decimal integer; `fallback` when absent, not a number or below `low`; a
// number above `high` reads as `high`.
long long Number(const TiXmlElement& element, const char* name, long long fallback, long long low, long long high);

void SetText(TiXmlElement* element, const char* name, const std::wstring& text);
void SetFlag(TiXmlElement* element, const char* name, bool on);
void SetNumber(TiXmlElement* element, const char* name, long long value);

}  // namespace xmlattr

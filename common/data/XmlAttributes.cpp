#include "XmlAttributes.h"

#include <windows.h>

#include <tinyxml.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "StringConv.h"

namespace xmlattr {

bool Has(const TiXmlElement& element, const char* name) { return element.Attribute(name) != nullptr; }

namespace {

// Addresses, paths and times are plain ASCII, which every ANSI code page
// holds as is: widened directly, they load a long history much faster.
std::wstring Widen(const char* value) {
  const char* end = value + std::strlen(value);
  if (std::all_of(value, end, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return std::wstring(value, end);
  // One conversion into room for the worst case (a character per byte)
  // instead of measuring first.
  const int bytes = static_cast<int>(end - value);
  std::wstring wide(static_cast<size_t>(bytes), L'\0');
  int length = ::MultiByteToWideChar(CP_THREAD_ACP, 0, value, bytes, &wide[0], bytes);
  wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return wide;
}

}  // namespace

std::wstring Text(const TiXmlElement& element, const char* name, const std::wstring& missing, size_t maxChars) {
  const char* value = element.Attribute(name);
  if (!value) return missing;
  std::wstring text = Widen(value);
  if (text.size() > maxChars) text.resize(maxChars);
  return text;
}

bool Flag(const TiXmlElement& element, const char* name, bool missing) {
  const char* value = element.Attribute(name);
  if (!value) return missing;
  return fw::EqualsNoCase(fw::ToWide(value), L"true");
}

long long Number(const TiXmlElement& element, const char* name, long long fallback, long long low, long long high) {
  const char* value = element.Attribute(name);
  if (!value) return fallback;
  errno = 0;
  char* end = nullptr;
  long long number = std::strtoll(value, &end, 10);
  if (end == value || number < low) return fallback;
  // A limit set beyond its range means the most there is, never nothing.
  if (number > high || (errno == ERANGE && number > 0)) return high;
  return number;
}

void SetText(TiXmlElement* element, const char* name, const std::wstring& text) {
  element->SetAttribute(name, fw::ToAnsi(text).c_str());
}

void SetFlag(TiXmlElement* element, const char* name, bool on) { element->SetAttribute(name, on ? "true" : "false"); }

void SetNumber(TiXmlElement* element, const char* name, long long value) {
  element->SetAttribute(name, std::to_string(value).c_str());
}

}  // namespace xmlattr

#include "WebUrl.h"

#include <algorithm>
#include <cwctype>

#include "Url.h"

bool IsWebUrl(const std::wstring& url) {
  auto parsed = fw::Url::Parse(url);
  if (!parsed) return false;
  switch (parsed->service()) {
    case fw::Url::Service::Ftp:
    case fw::Url::Service::Http:
    case fw::Url::Service::Https:
      return true;
    default:
      return false;
  }
}

std::wstring QuotedHttpArgument(const std::wstring& url) {
  const bool plain = std::none_of(url.begin(), url.end(), [](wchar_t c) {
    return c == L'"' || c <= L' ' || c == 0x7F || std::iswspace(c);
  });
  if (!plain) return std::wstring();
  auto parsed = fw::Url::Parse(url);
  if (!parsed) return std::wstring();
  const auto service = parsed->service();
  if (service != fw::Url::Service::Http && service != fw::Url::Service::Https) return std::wstring();
  return L"\"" + url + L"\"";
}

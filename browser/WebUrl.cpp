#include "WebUrl.h"

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

#include "Url.h"

namespace fw {
namespace {

Url::Service ServiceOf(INTERNET_SCHEME scheme)
{
    switch (scheme) {
    case INTERNET_SCHEME_HTTP: return Url::Service::Http;
    case INTERNET_SCHEME_HTTPS: return Url::Service::Https;
    case INTERNET_SCHEME_FTP: return Url::Service::Ftp;
    case INTERNET_SCHEME_FILE: return Url::Service::File;
    case INTERNET_SCHEME_UNKNOWN:
    case INTERNET_SCHEME_PARTIAL:
    case INTERNET_SCHEME_DEFAULT: return Url::Service::Unknown;
    default: return Url::Service::Other;
    }
}

std::wstring Part(const wchar_t* text, DWORD length)
{
    return text && length ? std::wstring(text, length) : std::wstring();
}

}  // namespace

std::optional<Url> Url::Parse(std::wstring_view text)
{
    // Leading and trailing blanks are not part of an address.
    while (!text.empty() && iswspace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && iswspace(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;

    const std::wstring copy(text);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    // Non-zero lengths with null pointers ask WinINet to point into our copy.
    parts.dwSchemeLength = 1;
    parts.dwHostNameLength = 1;
    parts.dwUserNameLength = 1;
    parts.dwPasswordLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!::InternetCrackUrlW(copy.c_str(), static_cast<DWORD>(copy.size()), 0, &parts))
        return std::nullopt;

    Url url;
    url.service_ = ServiceOf(parts.nScheme);
    url.scheme_ = Part(parts.lpszScheme, parts.dwSchemeLength);
    url.server_ = Part(parts.lpszHostName, parts.dwHostNameLength);
    url.user_ = Part(parts.lpszUserName, parts.dwUserNameLength);
    url.password_ = Part(parts.lpszPassword, parts.dwPasswordLength);
    url.object_ = Part(parts.lpszUrlPath, parts.dwUrlPathLength) + Part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (url.object_.empty())
        url.object_ = L"/";
    url.port_ = parts.nPort;
    if (url.service_ == Service::Unknown || url.scheme_.empty())
        return std::nullopt;
    if ((url.service_ == Service::Http || url.service_ == Service::Https || url.service_ == Service::Ftp) &&
        url.server_.empty())
        return std::nullopt;
    return url;
}

}  // namespace fw

#pragma once
#include <windows.h>
#include <wininet.h>

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// An address split by WinINet's own parser (InternetCrackUrlW), so that what
// we connect to is exactly what WinINet would.
class Url {
public:
    enum class Service { Unknown, Http, Https, Ftp, File, Other };

    // Nothing for text WinINet does not accept as an absolute address.
    static std::optional<Url> Parse(std::wstring_view text);

    Service service() const { return service_; }
    const std::wstring& scheme() const { return scheme_; }
    const std::wstring& server() const { return server_; }
    // Path and query, "/" when the address names none.
    const std::wstring& object() const { return object_; }
    INTERNET_PORT port() const { return port_; }
    const std::wstring& user() const { return user_; }
    const std::wstring& password() const { return password_; }

private:
    Service service_ = Service::Unknown;
    std::wstring scheme_;
    std::wstring server_;
    std::wstring object_;
    INTERNET_PORT port_ = 0;
    std::wstring user_;
    std::wstring password_;
};

}  // namespace fw

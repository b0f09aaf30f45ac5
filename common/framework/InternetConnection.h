#pragma once
#include "InternetHandle.h"

#include <memory>
#include <string>

namespace fw {

class InternetRequest;

// An HTTP connection of a session to one server and port.
class InternetConnection {
public:
    InternetConnection(InternetHandle handle, std::wstring server, INTERNET_PORT port, DWORD_PTR context);
    virtual ~InternetConnection();

    // Fails with InternetException. Null accept types send none; an empty
    // version lets WinINet choose.
    std::unique_ptr<InternetRequest> OpenRequest(const std::wstring& verb, const std::wstring& object,
                                                 const wchar_t* referrer = nullptr, DWORD_PTR context = 1,
                                                 const wchar_t** acceptTypes = nullptr,
                                                 const wchar_t* version = nullptr, DWORD flags = 0);

    HINTERNET handle() const { return handle_.get(); }
    const std::wstring& server() const { return server_; }
    INTERNET_PORT port() const { return port_; }
    void Close() { handle_.Close(); }

private:
    InternetHandle handle_;
    std::wstring server_;
    INTERNET_PORT port_;
    DWORD_PTR context_;
};

}  // namespace fw

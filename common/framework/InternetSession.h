#pragma once
#include "InternetHandle.h"

#include <memory>
#include <string>

namespace fw {

class InternetConnection;

// A WinINet session. Construction fails with InternetException, so an object
// that exists always holds a session.
class InternetSession {
public:
    // An empty agent stands for the program's own name.
    explicit InternetSession(const std::wstring& agent = std::wstring(), DWORD_PTR context = 1,
                             DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG, DWORD flags = 0);
    virtual ~InternetSession();

    std::unique_ptr<InternetConnection> GetHttpConnection(const std::wstring& server, INTERNET_PORT port,
                                                          const std::wstring& user = std::wstring(),
                                                          const std::wstring& password = std::wstring());
    HINTERNET handle() const { return handle_.get(); }
    DWORD_PTR context() const { return context_; }
    void Close() { handle_.Close(); }

    // The executable's file name without folder and extension.
    static std::wstring ProgramName();

private:
    InternetHandle handle_;
    DWORD_PTR context_;
};

}  // namespace fw

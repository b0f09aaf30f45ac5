#pragma once
#include "InternetHandle.h"

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// One HTTP request and its answer. Failures of sending and reading raise
// InternetException; the queries answer false instead.
class InternetRequest {
public:
    InternetRequest(InternetHandle handle, std::wstring verb, std::wstring object);
    virtual ~InternetRequest();

    // False when WinINet refuses the header lines.
    bool AddRequestHeaders(std::wstring_view headers, DWORD modifiers = HTTP_ADDREQ_FLAG_ADD);
    void SendRequest(std::wstring_view headers = {}, const void* body = nullptr, DWORD bodyBytes = 0);
    DWORD QueryStatusCode();
    bool QueryInfo(DWORD level, std::wstring& value, DWORD* index = nullptr);
    bool QueryInfoNumber(DWORD level, DWORD& value);
    // All answer headers, lines separated by CR LF.
    std::wstring RawHeaders();
    // Every value of one answer header (e.g. "Set-Cookie"), in answer order.
    std::vector<std::wstring> HeaderValues(const std::wstring& name);
    // Bytes read; 0 at the end of the answer.
    DWORD Read(void* buffer, DWORD bytes);

    HINTERNET handle() const { return handle_.get(); }
    const std::wstring& verb() const { return verb_; }
    const std::wstring& object() const { return object_; }
    void Close() { handle_.Close(); }

private:
    InternetHandle handle_;
    std::wstring verb_;
    std::wstring object_;
};

}  // namespace fw

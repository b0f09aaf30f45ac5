#include "InternetRequest.h"

#include "InternetException.h"

#include <algorithm>

namespace fw {

InternetRequest::InternetRequest(InternetHandle handle, std::wstring verb, std::wstring object)
    : handle_(std::move(handle)), verb_(std::move(verb)), object_(std::move(object))
{
}

InternetRequest::~InternetRequest() = default;

bool InternetRequest::AddRequestHeaders(std::wstring_view headers, DWORD modifiers)
{
    if (headers.empty())
        return false;
    const std::wstring text(headers);
    return ::HttpAddRequestHeadersW(handle_.get(), text.c_str(), static_cast<DWORD>(text.size()), modifiers) != FALSE;
}

void InternetRequest::SendRequest(std::wstring_view headers, const void* body, DWORD bodyBytes)
{
    const std::wstring text(headers);
    if (!::HttpSendRequestW(handle_.get(), text.empty() ? nullptr : text.c_str(), static_cast<DWORD>(text.size()),
                            const_cast<void*>(body), bodyBytes))
        InternetException::ThrowLast("HttpSendRequestW");
}

DWORD InternetRequest::QueryStatusCode()
{
    DWORD status = 0;
    if (!QueryInfoNumber(HTTP_QUERY_STATUS_CODE, status))
        InternetException::ThrowLast("HttpQueryInfoW(status)");
    return status;
}

bool InternetRequest::QueryInfo(DWORD level, std::wstring& value, DWORD* index)
{
    DWORD bytes = 0;
    const DWORD startIndex = index ? *index : 0;
    DWORD probeIndex = startIndex;
    ::HttpQueryInfoW(handle_.get(), level, nullptr, &bytes, &probeIndex);
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0)
        return false;
    std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    DWORD readIndex = startIndex;
    if (!::HttpQueryInfoW(handle_.get(), level, buffer.data(), &bytes, &readIndex))
        return false;
    buffer.resize(bytes / sizeof(wchar_t));
    value = std::move(buffer);
    if (index)
        *index = readIndex;
    return true;
}

bool InternetRequest::QueryInfoNumber(DWORD level, DWORD& value)
{
    DWORD number = 0;
    DWORD bytes = sizeof(number);
    if (!::HttpQueryInfoW(handle_.get(), level | HTTP_QUERY_FLAG_NUMBER, &number, &bytes, nullptr))
        return false;
    value = number;
    return true;
}

std::wstring InternetRequest::RawHeaders()
{
    std::wstring headers;
    QueryInfo(HTTP_QUERY_RAW_HEADERS_CRLF, headers);
    return headers;
}

std::vector<std::wstring> InternetRequest::HeaderValues(const std::wstring& name)
{
    std::vector<std::wstring> values;
    DWORD index = 0;
    // HTTP_QUERY_CUSTOM takes the header name in the buffer and advances the
    // index to the next header of that name.
    auto query = [&](std::wstring& buffer, DWORD& bytes, DWORD& next) {
        buffer = name;
        buffer.resize(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        next = index;
        return ::HttpQueryInfoW(handle_.get(), HTTP_QUERY_CUSTOM, buffer.data(), &bytes, &next) != FALSE;
    };
    while (values.size() < 256) {
        std::wstring buffer;
        DWORD bytes = static_cast<DWORD>(std::max<size_t>(name.size() + 1, 256) * sizeof(wchar_t));
        DWORD next = index;
        bool ok = query(buffer, bytes, next);
        if (!ok && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER)
            ok = query(buffer, bytes, next);
        if (!ok)
            break;
        buffer.resize(bytes / sizeof(wchar_t));
        values.push_back(std::move(buffer));
        if (next == index)
            break;
        index = next;
    }
    return values;
}

DWORD InternetRequest::Read(void* buffer, DWORD bytes)
{
    DWORD read = 0;
    if (!::InternetReadFile(handle_.get(), buffer, bytes, &read))
        InternetException::ThrowLast("InternetReadFile");
    return read;
}

}  // namespace fw

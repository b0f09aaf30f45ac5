#include "InternetConnection.h"

#include "InternetException.h"
#include "InternetRequest.h"

namespace fw {

InternetConnection::InternetConnection(InternetHandle handle, std::wstring server, INTERNET_PORT port,
                                       DWORD_PTR context)
    : handle_(std::move(handle)), server_(std::move(server)), port_(port), context_(context)
{
}

InternetConnection::~InternetConnection() = default;

std::unique_ptr<InternetRequest> InternetConnection::OpenRequest(const std::wstring& verb, const std::wstring& object,
                                                                 const wchar_t* referrer, DWORD_PTR context,
                                                                 const wchar_t** acceptTypes, const wchar_t* version,
                                                                 DWORD flags)
{
    HINTERNET request = ::HttpOpenRequestW(handle_.get(), verb.c_str(), object.c_str(), version, referrer,
                                           acceptTypes, flags, context ? context : context_);
    if (!request)
        InternetException::ThrowLast("HttpOpenRequestW");
    return std::make_unique<InternetRequest>(InternetHandle(request), verb, object);
}

}  // namespace fw

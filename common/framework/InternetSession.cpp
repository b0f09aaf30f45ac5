#include "InternetSession.h"

#include "InternetConnection.h"
#include "InternetException.h"

namespace fw {

InternetSession::InternetSession(const std::wstring& agent, DWORD_PTR context, DWORD accessType, DWORD flags)
    : context_(context)
{
    const std::wstring name = agent.empty() ? ProgramName() : agent;
    handle_ = InternetHandle(::InternetOpenW(name.c_str(), accessType, nullptr, nullptr, flags));
    if (!handle_)
        InternetException::ThrowLast("InternetOpenW");
}

InternetSession::~InternetSession() = default;

std::unique_ptr<InternetConnection> InternetSession::GetHttpConnection(const std::wstring& server, INTERNET_PORT port,
                                                                      const std::wstring& user,
                                                                      const std::wstring& password)
{
    HINTERNET connection = ::InternetConnectW(handle_.get(), server.c_str(), port,
                                              user.empty() ? nullptr : user.c_str(),
                                              password.empty() ? nullptr : password.c_str(),
                                              INTERNET_SERVICE_HTTP, 0, context_);
    if (!connection)
        InternetException::ThrowLast("InternetConnectW");
    return std::make_unique<InternetConnection>(InternetHandle(connection), server, port, context_);
}

std::wstring InternetSession::ProgramName()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length < MAX_PATH ? length : MAX_PATH - 1);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}

}  // namespace fw

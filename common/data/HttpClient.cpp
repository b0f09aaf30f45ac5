#include "HttpClient.h"

#include "ComSupport.h"
#include "InternetException.h"
#include "SaveTemporary.h"
#include "ServiceUi.h"
#include "StringConv.h"
#include "Url.h"

#include <stdexcept>
#include <vector>

namespace {

// Permanent Redirect, newer than the status names of WinINet's header.
constexpr DWORD kHttpStatusPermanentRedirect = 308;

const wchar_t* const kGetHeaders[] = {
    L"Accept: */*\r\n",
    L"User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n",
    nullptr,  // the range, filled per request
    L"Pragma: no-cache\r\n",
    L"Cache-Control: no-cache\r\n",
    L"Connection: Keep-Alive\r\n",
};

void AddGetHeaders(fw::InternetRequest& request, DWORD rangeStart)
{
    const std::wstring range = L"Range: bytes=" + std::to_wstring(rangeStart) + L"-\r\n";
    for (const wchar_t* header : kGetHeaders) {
        // A header the system refuses is not an error.
        request.AddRequestHeaders(header ? header : range.c_str(),
                                  HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
    }
}

// The text after "Location: " up to the end of that header line.
bool FindLocation(const std::wstring& headers, std::wstring& location)
{
    const std::wstring key = L"Location: ";
    size_t start = std::wstring::npos;
    for (size_t at = headers.find(key); at != std::wstring::npos; at = headers.find(key, at + 1)) {
        if (at == 0 || headers[at - 1] == L'\n') {
            start = at + key.size();
            break;
        }
    }
    if (start == std::wstring::npos)
        return false;
    const size_t end = headers.find_first_of(L"\r\n", start);
    location = headers.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    return !location.empty();
}

bool IsRedirect(DWORD status)
{
    return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT || status == HTTP_STATUS_REDIRECT_METHOD ||
           status == HTTP_STATUS_REDIRECT_KEEP_VERB || status == kHttpStatusPermanentRedirect;
}

// One GET on an open session; the caller's loop handles redirects.
HRESULT SendGet(fw::InternetSession& session, const fw::Url& url, DWORD rangeStart,
                std::unique_ptr<fw::InternetConnection>& connection, std::unique_ptr<fw::InternetRequest>& request,
                DWORD& status)
{
    connection = session.GetHttpConnection(url.server(), url.port(), url.user(), url.password());
    // Redirects are followed by our own bounded loop, not inside WinINet.
    request = connection->OpenRequest(L"GET", url.object(), nullptr, 1, nullptr, L"HTTP/1.1",
                                      INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT);
    AddGetHeaders(*request, rangeStart);
    request->SendRequest();
    status = request->QueryStatusCode();
    while (status == HTTP_STATUS_DENIED) {
        const DWORD answer = GetServiceUi().ShowInternetError(
            request->handle(), ERROR_INTERNET_INCORRECT_PASSWORD,
            FLAGS_ERROR_UI_FLAGS_GENERATE_DATA | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS);
        if (answer != ERROR_INTERNET_FORCE_RETRY)
            return E_FAIL;
        request->SendRequest();
        status = request->QueryStatusCode();
    }
    return S_OK;
}

HRESULT OpenHttpUrlUnguarded(const std::wstring& address, std::unique_ptr<fw::InternetSession>& session,
                             std::unique_ptr<fw::InternetConnection>& connection,
                             std::unique_ptr<fw::InternetRequest>& request, DWORD rangeStart, bool followRedirects)
{
    auto ownSession = std::make_unique<fw::InternetSession>();
    std::wstring current = address;
    for (int redirects = 0;; ++redirects) {
        const std::optional<fw::Url> url = fw::Url::Parse(current);
        if (!url || url->service() != fw::Url::Service::Http)
            return E_FAIL;
        std::unique_ptr<fw::InternetConnection> ownConnection;
        std::unique_ptr<fw::InternetRequest> ownRequest;
        DWORD status = 0;
        if (FAILED(SendGet(*ownSession, *url, rangeStart, ownConnection, ownRequest, status)))
            return E_FAIL;
        if (IsRedirect(status)) {
            if (!followRedirects || redirects >= kMaxHttpRedirects)
                return E_FAIL;
            if (!FindLocation(ownRequest->RawHeaders(), current))
                return E_FAIL;
            continue;  // the request and connection close here
        }
        if (status >= 400)
            return E_FAIL;
        session = std::move(ownSession);
        connection = std::move(ownConnection);
        request = std::move(ownRequest);
        return S_OK;
    }
}

// Stores the announced body in a new file made full length first, which then
// replaces the local file: a file or link planted under either name never
// takes the bytes, and a broken download leaves the local file as it was.
int StoreBody(fw::InternetRequest& request, const std::wstring& localFile, DWORD contentLength,
              AccountSharing sharing)
{
    CSaveTemporary file(localFile, sharing, GENERIC_READ | GENERIC_WRITE);
    if (!file.IsOpen())
        return 0;
    LARGE_INTEGER size{};
    size.QuadPart = contentLength;
    if (!::SetFilePointerEx(file.File(), size, nullptr, FILE_BEGIN) || !::SetEndOfFile(file.File()))
        return 0;
    LARGE_INTEGER start{};
    ::SetFilePointerEx(file.File(), start, nullptr, FILE_BEGIN);

    std::vector<char> block(65536);
    DWORD stored = 0;
    while (stored < contentLength) {
        const DWORD wanted = std::min<DWORD>(static_cast<DWORD>(block.size()), contentLength - stored);
        const DWORD read = request.Read(block.data(), wanted);
        if (read == 0)
            return 0;  // the answer ended early
        DWORD written = 0;
        if (!::WriteFile(file.File(), block.data(), read, &written, nullptr) || written != read)
            return 0;
        stored += written;
    }
    ::FlushFileBuffers(file.File());
    return file.ReplaceTarget() ? 1 : 0;
}

template <typename Thread>
int StartWorker(Thread proc, std::unique_ptr<HttpTaskInfo> record)
{
    HANDLE thread = ::CreateThread(nullptr, 0, proc, record.get(), 0, nullptr);
    if (!thread)
        return 0;
    record.release();  // the worker deletes it
    ::CloseHandle(thread);
    return 1;
}

}  // namespace

HRESULT OpenHttpUrl(const std::wstring& url, std::unique_ptr<fw::InternetSession>* session,
                    std::unique_ptr<fw::InternetConnection>* connection,
                    std::unique_ptr<fw::InternetRequest>* request, DWORD rangeStart, bool followRedirects)
{
    if (url.empty() || !session || !connection || !request)
        return E_INVALIDARG;
    try {
        return OpenHttpUrlUnguarded(url, *session, *connection, *request, rangeStart, followRedirects);
    } catch (const fw::InternetException&) {
        return E_FAIL;
    } catch (const std::invalid_argument&) {
        GetServiceUi().ShowMessage(L"CInvalidArgException * pEx");
        return E_FAIL;
    } catch (const std::exception&) {
        GetServiceUi().ShowMessage(L"CException * pEx");
        return E_FAIL;
    }
}

int DownloadFile(const std::wstring& url, const std::wstring& localFile, AccountSharing sharing)
{
    if (url.empty() || localFile.empty())
        return 0;
    std::unique_ptr<fw::InternetSession> session;
    std::unique_ptr<fw::InternetConnection> connection;
    std::unique_ptr<fw::InternetRequest> request;
    if (OpenHttpUrl(url, &session, &connection, &request, 0, true) != S_OK)
        return 0;
    try {
        DWORD contentLength = 0;
        if (!request->QueryInfoNumber(HTTP_QUERY_CONTENT_LENGTH, contentLength) || contentLength == 0)
            return 0;
        return StoreBody(*request, localFile, contentLength, sharing);
    } catch (const fw::InternetException&) {
        return 0;
    }
}

int StartDownloadThread(const HttpTaskInfo& request)
{
    auto record = std::make_unique<HttpTaskInfo>();
    record->url = request.url;
    record->localFile = request.localFile;
    record->sharing = request.sharing;
    record->window = request.window;
    record->message = request.message;
    return StartWorker(DownloadThreadProc, std::move(record));
}

DWORD WINAPI DownloadThreadProc(void* parameter)
{
    std::unique_ptr<HttpTaskInfo> record(static_cast<HttpTaskInfo*>(parameter));
    fw::ComThreadScope com;
    const int stored = DownloadFile(record->url, record->localFile, record->sharing);
    if (record->window)
        ::PostMessageW(record->window, record->message, stored ? 0 : 1, 0);
    return 0;
}

std::string EncodePostBody(const std::wstring& postData)
{
    std::string body = fw::ToAnsi(postData);
    body.resize(fw::AnsiPrefixLength(body, kMaxPostBytes));
    return body;
}

int HttpPost(std::wstring& answer, const std::wstring& address, const std::wstring& postData, std::wstring& cookies,
             int encrypted)
{
    const std::optional<fw::Url> url = fw::Url::Parse(address);
    if (!url)
        return 0;
    try {
        fw::InternetSession session;
        std::unique_ptr<fw::InternetConnection> connection =
            session.GetHttpConnection(url->server(), url->port(), url->user(), url->password());
        DWORD flags = INTERNET_FLAG_EXISTING_CONNECT;
        if (url->service() == fw::Url::Service::Https)
            flags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_SECURE |
                     INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID |
                     INTERNET_FLAG_IGNORE_CERT_CN_INVALID;
        std::unique_ptr<fw::InternetRequest> request =
            connection->OpenRequest(L"POST", url->object(), nullptr, 1, nullptr, nullptr, flags);
        const DWORD addIfNew = HTTP_ADDREQ_FLAG_ADD_IF_NEW;
        request->AddRequestHeaders(L"Content-Type: application/x-www-form-urlencoded", addIfNew);
        request->AddRequestHeaders(L"Accept: */*", addIfNew);
        request->AddRequestHeaders(
            L"User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)", addIfNew);
        if (!cookies.empty())
            request->AddRequestHeaders(cookies, addIfNew);
        if (encrypted == 1)
            request->AddRequestHeaders(L"Param: Encrypted=true;Method=1", addIfNew);

        const std::string body = EncodePostBody(postData);
        request->SendRequest({}, body.data(), static_cast<DWORD>(body.size()));
        const DWORD status = request->QueryStatusCode();
        if (status < 200 || status > 299)
            return 0;

        // Collected whole before conversion so no double-byte character is split.
        std::string received;
        char piece[2048];
        for (DWORD read = request->Read(piece, sizeof(piece)); read > 0; read = request->Read(piece, sizeof(piece)))
            received.append(piece, read);
        answer += fw::ToWide(received);
        for (const std::wstring& cookie : request->HeaderValues(L"Set-Cookie"))
            cookies += cookie + L";";
        return 1;
    } catch (const fw::InternetException&) {
        return 0;
    }
}

int StartHttpPostThread(const HttpTaskInfo& request)
{
    auto record = std::make_unique<HttpTaskInfo>();
    record->url = request.url;
    record->localFile = request.localFile;
    record->postData = request.postData;
    // The caller's cookie line goes along; otherwise it could never be sent.
    record->cookies = request.cookies;
    record->encrypted = request.encrypted;
    record->window = request.window;
    record->message = request.message;
    return StartWorker(HttpPostThreadProc, std::move(record));
}

DWORD WINAPI HttpPostThreadProc(void* parameter)
{
    std::unique_ptr<HttpTaskInfo> record(static_cast<HttpTaskInfo*>(parameter));
    fw::ComThreadScope com;
    const int posted = HttpPost(record->answer, record->url, record->postData, record->cookies, record->encrypted);
    // Sent, not posted: the window reads the answer before the record goes.
    if (record->window)
        ::SendMessageW(record->window, record->message, posted ? 0 : 1, reinterpret_cast<LPARAM>(record.get()));
    return 0;
}

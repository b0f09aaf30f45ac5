#pragma once
#include "HttpTaskInfo.h"
#include "InternetConnection.h"
#include "InternetRequest.h"
#include "InternetSession.h"

#include <memory>

// Redirects OpenHttpUrl follows before it gives up (a server redirecting to
// itself must not keep the worker forever).
inline constexpr int kMaxHttpRedirects = 10;
// The POST body is cut to this many bytes of the ANSI code page.
inline constexpr size_t kMaxPostBytes = 1023;

// Starts a worker that downloads url to the local file and posts (message,
// 0 on success / 1 on failure, 0) to the window. 0 when no thread started.
int StartDownloadThread(const HttpTaskInfo& request);
DWORD WINAPI DownloadThreadProc(void* record);
// 1 when the whole body was stored; only then is the local file replaced,
// by a file made anew with `sharing`.
int DownloadFile(const std::wstring& url, const std::wstring& localFile,
                 AccountSharing sharing = AccountSharing::kCreatorOnly);

// GET of a plain HTTP address; S_OK hands the three objects to the caller,
// E_INVALIDARG for an empty url or a missing out-parameter, E_FAIL otherwise.
HRESULT OpenHttpUrl(const std::wstring& url, std::unique_ptr<fw::InternetSession>* session,
                    std::unique_ptr<fw::InternetConnection>* connection,
                    std::unique_ptr<fw::InternetRequest>* request, DWORD rangeStart, bool followRedirects);

// Starts a worker that posts the request's data and sends (message, 0 / 1,
// record) to the window while the record with the answer still exists.
int StartHttpPostThread(const HttpTaskInfo& request);
DWORD WINAPI HttpPostThreadProc(void* record);
// 1 for a 2xx answer, whose body is appended to answer and whose cookies to
// cookies.
int HttpPost(std::wstring& answer, const std::wstring& url, const std::wstring& postData, std::wstring& cookies,
             int encrypted);

// The body as sent: ANSI code page, cut at kMaxPostBytes on a character
// boundary.
std::string EncodePostBody(const std::wstring& postData);

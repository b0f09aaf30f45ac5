#include "TestHttpServer.h"

#include "HttpClient.h"
#include "ServiceTestSupport.h"
#include "StringConv.h"

#include <gtest/gtest.h>

using servicetest::FileExists;
using servicetest::HttpRoute;
using servicetest::ReadBytes;
using servicetest::ScratchFolder;
using servicetest::TestHttpServer;

namespace {

const UINT kDoneMessage = WM_APP + 30;

class HttpClientTest : public ::testing::Test {
protected:
    HRESULT Open(const std::wstring& url, bool follow = true, DWORD range = 0)
    {
        return OpenHttpUrl(url, &session_, &connection_, &request_, range, follow);
    }
    DWORD Status() { return request_->QueryStatusCode(); }

    servicetest::RecordingUi ui_;
    TestHttpServer server_;
    ScratchFolder scratch_;
    std::unique_ptr<fw::InternetSession> session_;
    std::unique_ptr<fw::InternetConnection> connection_;
    std::unique_ptr<fw::InternetRequest> request_;
};

HttpRoute Redirect(int status, const std::string& location)
{
    HttpRoute route;
    route.status = status;
    route.headers = {"Location: " + location};
    return route;
}

TEST_F(HttpClientTest, GetSendsTheFixedHeadersAndHandsOverTheAnswer)
{
    server_.Route("/ok", HttpRoute{200, {}, "hello", true, 0});
    ASSERT_EQ(S_OK, Open(server_.Url("/ok"), true, 17));
    EXPECT_EQ(200u, Status());
    ASSERT_EQ(1u, server_.Requests().size());
    const std::string sent = server_.Requests()[0];
    EXPECT_EQ(0u, sent.find("GET /ok HTTP/1.1\r\n")) << sent;
    for (const char* header : {"Accept: */*", "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)",
                               "Range: bytes=17-", "Pragma: no-cache", "Cache-Control: no-cache"})
        EXPECT_NE(std::string::npos, sent.find(header)) << header << " missing in\n" << sent;
}

TEST_F(HttpClientTest, StatusClassesDecideSuccess)
{
    server_.Route("/partial", HttpRoute{206, {"Content-Range: bytes 0-1/2"}, "ab", true, 0});
    server_.Route("/same", HttpRoute{304, {}, "", false, 0});
    server_.Route("/boom", HttpRoute{500, {}, "error", true, 0});
    EXPECT_EQ(S_OK, Open(server_.Url("/partial")));
    EXPECT_EQ(S_OK, Open(server_.Url("/same")));
    EXPECT_EQ(E_FAIL, Open(server_.Url("/missing")));
    EXPECT_EQ(E_FAIL, Open(server_.Url("/boom")));
}

TEST_F(HttpClientTest, BadArgumentsAndOtherServicesAreRefused)
{
    EXPECT_EQ(E_INVALIDARG, Open(L""));
    EXPECT_EQ(E_INVALIDARG, OpenHttpUrl(server_.Url("/x"), nullptr, &connection_, &request_, 0, true));
    EXPECT_EQ(E_FAIL, Open(L"https://127.0.0.1:1/x"));
    EXPECT_EQ(E_FAIL, Open(L"ftp://127.0.0.1/x"));
    EXPECT_EQ(E_FAIL, Open(L"not an address"));
    EXPECT_TRUE(server_.Requests().empty());
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(HttpClientTest, RedirectChainsAreFollowedWithTheSameHeaders)
{
    server_.Route("/a", Redirect(301, server_.NarrowUrl("/b")));
    server_.Route("/b", Redirect(302, server_.NarrowUrl("/c")));
    server_.Route("/c", Redirect(303, server_.NarrowUrl("/d")));
    server_.Route("/d", Redirect(307, server_.NarrowUrl("/e")));
    server_.Route("/e", Redirect(308, server_.NarrowUrl("/final")));
    server_.Route("/final", HttpRoute{200, {}, "done", true, 0});
    ASSERT_EQ(S_OK, Open(server_.Url("/a")));
    EXPECT_EQ(200u, Status());
    const auto requests = server_.Requests();
    ASSERT_EQ(6u, requests.size());
    EXPECT_EQ(0u, requests[5].find("GET /final "));
    EXPECT_NE(std::string::npos, requests[5].find("User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)"));

    EXPECT_EQ(E_FAIL, Open(server_.Url("/a"), false)) << "without following, a redirect fails";
}

TEST_F(HttpClientTest, RedirectLoopEndsAfterTheBound)
{
    server_.Route("/loop", Redirect(302, server_.NarrowUrl("/loop")));
    server_.Route("/nowhere", HttpRoute{302, {}, "", true, 0});
    EXPECT_EQ(E_FAIL, Open(server_.Url("/loop")));
    EXPECT_EQ(static_cast<size_t>(kMaxHttpRedirects + 1), server_.CountRequests("/loop"));
    EXPECT_EQ(E_FAIL, Open(server_.Url("/nowhere"))) << "a redirect without Location fails";
}

TEST_F(HttpClientTest, PasswordDialogRetriesOrGivesUp)
{
    HttpRoute secret{200, {}, "secret body", true, 0};
    secret.requiredAuthorization = "Authorization: Basic cGFwYTptYW1h";  // papa:mama
    server_.Route("/secret", secret);
    ui_.internetErrorAnswer = ERROR_CANCELLED;
    EXPECT_EQ(E_FAIL, Open(server_.Url("/secret")));
    ASSERT_EQ(1u, ui_.internetErrors.size());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INTERNET_INCORRECT_PASSWORD), ui_.internetErrors[0]);

    // First a wrong password, then the right one: sent again each time.
    int attempts = 0;
    ui_.internetErrors.clear();
    ui_.onInternetError = [&attempts](HINTERNET request) -> DWORD {
        const wchar_t* password = ++attempts == 1 ? L"wrong" : L"mama";
        ::InternetSetOptionW(request, INTERNET_OPTION_USERNAME, const_cast<wchar_t*>(L"papa"), 4);
        ::InternetSetOptionW(request, INTERNET_OPTION_PASSWORD, const_cast<wchar_t*>(password),
                             static_cast<DWORD>(wcslen(password)));
        return ERROR_INTERNET_FORCE_RETRY;
    };
    ASSERT_EQ(S_OK, Open(server_.Url("/secret")));
    EXPECT_EQ(200u, Status());
    EXPECT_EQ(2, attempts);
    EXPECT_EQ(2u, ui_.internetErrors.size());
}

TEST_F(HttpClientTest, DownloadStoresWholeBodies)
{
    std::string large(3 * 1024 * 1024 + 123, '\0');
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 7 + i / 65536);
    server_.Route("/large", HttpRoute{200, {}, large, true, 0});
    server_.Route("/slow", HttpRoute{200, {}, "slow body", true, 1500});
    server_.Route("/moved", Redirect(302, server_.NarrowUrl("/slow")));

    const std::wstring largeFile = scratch_.File(L"large.bin");
    ASSERT_EQ(1, DownloadFile(server_.Url("/large"), largeFile));
    EXPECT_TRUE(ReadBytes(largeFile) == large);
    const std::wstring slowFile = scratch_.File(L"slow.txt");
    ASSERT_EQ(1, DownloadFile(server_.Url("/moved"), slowFile));
    EXPECT_EQ("slow body", ReadBytes(slowFile));
}

TEST_F(HttpClientTest, DownloadFailsWithoutLengthOrOnErrors)
{
    server_.Route("/nolength", HttpRoute{200, {}, "body without length", false, 0});
    server_.Route("/empty", HttpRoute{200, {}, "", true, 0});
    const std::wstring file = scratch_.File(L"out.txt");
    EXPECT_EQ(0, DownloadFile(server_.Url("/nolength"), file));
    EXPECT_EQ(0, DownloadFile(server_.Url("/empty"), file));
    EXPECT_EQ(0, DownloadFile(server_.Url("/missing"), file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(0, DownloadFile(L"", file));
    EXPECT_EQ(0, DownloadFile(server_.Url("/empty"), L""));
}

// A message-only window collects what the worker posts.
class ResultWindow {
public:
    ResultWindow() : window_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~ResultWindow() { ::DestroyWindow(window_); }
    HWND get() const { return window_; }
    // The (wParam, lParam) of the message, or -1 when none arrived in time.
    bool Wait(UINT message, WPARAM& wParam, LPARAM& lParam, DWORD ms = 20000)
    {
        const ULONGLONG end = ::GetTickCount64() + ms;
        MSG msg{};
        while (::GetTickCount64() < end) {
            if (::PeekMessageW(&msg, window_, message, message, PM_REMOVE)) {
                wParam = msg.wParam;
                lParam = msg.lParam;
                return true;
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return false;
    }

private:
    HWND window_;
};

TEST_F(HttpClientTest, DownloadThreadPostsItsOutcome)
{
    server_.Route("/file", HttpRoute{200, {}, "payload", true, 0});
    ResultWindow window;
    HttpTaskInfo task;
    task.url = server_.Url("/file");
    task.localFile = scratch_.File(L"thread.txt");
    task.window = window.get();
    task.message = kDoneMessage;
    ASSERT_EQ(1, StartDownloadThread(task));
    WPARAM wParam = 99;
    LPARAM lParam = 99;
    ASSERT_TRUE(window.Wait(kDoneMessage, wParam, lParam));
    EXPECT_EQ(0u, wParam);
    EXPECT_EQ("payload", ReadBytes(task.localFile));

    task.url = L"https://127.0.0.1/not-plain-http";
    task.localFile = scratch_.File(L"never.txt");
    ASSERT_EQ(1, StartDownloadThread(task));
    ASSERT_TRUE(window.Wait(kDoneMessage, wParam, lParam));
    EXPECT_EQ(1u, wParam);
    EXPECT_FALSE(FileExists(task.localFile));
}

TEST_F(HttpClientTest, PostSendsHeadersBodyAndCollectsAnswerAndCookies)
{
    // The answer arrives in the ANSI code page.
    server_.Route("/post", HttpRoute{200, {"Set-Cookie: a=1", "Set-Cookie: b=2"}, fw::ToAnsi(L"answer 答复"), true, 0});
    std::wstring answer = L"prefix:";
    std::wstring cookies = L"Cookie: session=5";
    ASSERT_EQ(1, HttpPost(answer, server_.Url("/post"), L"name=儿童&x=1", cookies, 1));
    EXPECT_EQ(L"prefix:answer 答复", answer);
    EXPECT_EQ(L"Cookie: session=5a=1;b=2;", cookies);
    const std::string sent = server_.Requests().at(0);
    EXPECT_EQ(0u, sent.find("POST /post "));
    for (const char* header : {"Content-Type: application/x-www-form-urlencoded", "Cookie: session=5",
                               "Param: Encrypted=true;Method=1", "Content-Length: 13"})
        EXPECT_NE(std::string::npos, sent.find(header)) << header << " missing in\n" << sent;
    EXPECT_EQ(fw::ToAnsi(L"name=儿童&x=1"), sent.substr(sent.find("\r\n\r\n") + 4));

    server_.Route("/refused", HttpRoute{403, {}, "no", true, 0});
    std::wstring untouched;
    std::wstring noCookies;
    EXPECT_EQ(0, HttpPost(untouched, server_.Url("/refused"), L"x", noCookies, 0));
    EXPECT_TRUE(untouched.empty());
    EXPECT_EQ(0, HttpPost(untouched, L"nonsense", L"x", noCookies, 0));
}

TEST_F(HttpClientTest, PostBodyIsCutOnACharacterBoundary)
{
    // 1,022 single bytes and then a double-byte character: the cut may not
    // keep only its lead byte.
    const std::wstring data = std::wstring(1022, L'a') + L"儿童";
    const std::string body = EncodePostBody(data);
    EXPECT_EQ(1022u, body.size());
    EXPECT_EQ(kMaxPostBytes, EncodePostBody(std::wstring(2000, L'b')).size());
    EXPECT_EQ(fw::ToAnsi(L"短"), EncodePostBody(L"短"));
}

struct PostOutcome {
    WPARAM result = 99;
    std::wstring answer;
};
PostOutcome g_postOutcome;

// Reads the record while the worker still holds it (the message is sent).
LRESULT CALLBACK PostResultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kDoneMessage) {
        g_postOutcome.result = wParam;
        g_postOutcome.answer = reinterpret_cast<HttpTaskInfo*>(lParam)->answer;
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(HttpClientTest, PostThreadSendsTheRecordWithTheAnswer)
{
    server_.Route("/p", HttpRoute{200, {}, "ok", true, 0});
    g_postOutcome = PostOutcome{};
    WNDCLASSW type{};
    type.lpszClassName = L"HollinPostResultWindow";
    type.lpfnWndProc = &PostResultProc;
    ::RegisterClassW(&type);
    HWND window = ::CreateWindowExW(0, type.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HttpTaskInfo task;
    task.url = server_.Url("/p");
    task.postData = L"v=1";
    task.answer = L"ignored";
    task.window = window;
    task.message = kDoneMessage;
    ASSERT_EQ(1, StartHttpPostThread(task));
    const ULONGLONG end = ::GetTickCount64() + 20000;
    MSG msg{};
    while (g_postOutcome.result == 99 && ::GetTickCount64() < end) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    ::DestroyWindow(window);
    EXPECT_EQ(0u, g_postOutcome.result);
    EXPECT_EQ(L"ok", g_postOutcome.answer) << "the copy starts with an empty answer";
}

}  // namespace

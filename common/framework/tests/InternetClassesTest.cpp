#include "InternetConnection.h"
#include "InternetException.h"
#include "InternetRequest.h"
#include "InternetSession.h"

#include <gtest/gtest.h>

namespace {

TEST(InternetClasses, SessionIsNamedAfterTheProgram)
{
    EXPECT_EQ(L"framework_tests", fw::InternetSession::ProgramName());
    fw::InternetSession session;
    EXPECT_NE(nullptr, session.handle());
    session.Close();
    EXPECT_EQ(nullptr, session.handle());
}

TEST(InternetClasses, RefusedConnectionRaisesWithTheSystemError)
{
    fw::InternetSession session;
    // Port 1 on the loopback: nothing listens there.
    auto connection = session.GetHttpConnection(L"127.0.0.1", 1);
    ASSERT_NE(nullptr, connection);
    auto request = connection->OpenRequest(L"GET", L"/", nullptr, 1, nullptr, L"HTTP/1.1",
                                           INTERNET_FLAG_NO_CACHE_WRITE);
    ASSERT_NE(nullptr, request);
    EXPECT_TRUE(request->AddRequestHeaders(L"Accept: */*\r\n", HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE));
    EXPECT_FALSE(request->AddRequestHeaders(L""));
    try {
        request->SendRequest();
        FAIL() << "a refused connection must raise";
    } catch (const fw::InternetException& error) {
        EXPECT_NE(0u, error.error());
        EXPECT_NE(nullptr, strstr(error.what(), "HttpSendRequestW"));
    }
}

TEST(InternetClasses, HandlesMoveAndCloseOnce)
{
    fw::InternetSession session;
    HINTERNET raw = ::InternetOpenW(L"x", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    ASSERT_NE(nullptr, raw);
    fw::InternetHandle first(raw);
    fw::InternetHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(raw, second.get());
    fw::InternetHandle third;
    third = std::move(second);
    EXPECT_EQ(raw, third.get());
    HINTERNET released = third.Release();
    EXPECT_FALSE(third);
    EXPECT_TRUE(::InternetCloseHandle(released));
}

}  // namespace

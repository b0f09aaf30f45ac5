#include "Url.h"

#include <gtest/gtest.h>

namespace {

TEST(Url, SplitsPlainHttpAddresses)
{
    const auto url = fw::Url::Parse(L"http://127.0.0.1:8080/a/b.ini?x=1&y=2");
    ASSERT_TRUE(url);
    EXPECT_EQ(fw::Url::Service::Http, url->service());
    EXPECT_EQ(L"127.0.0.1", url->server());
    EXPECT_EQ(8080, url->port());
    EXPECT_EQ(L"/a/b.ini?x=1&y=2", url->object());
    EXPECT_EQ(L"http", url->scheme());
}

TEST(Url, DefaultsPortsAndObject)
{
    const auto http = fw::Url::Parse(L"  http://example.org  ");
    ASSERT_TRUE(http);
    EXPECT_EQ(80, http->port());
    EXPECT_EQ(L"/", http->object());
    EXPECT_EQ(L"example.org", http->server());

    const auto https = fw::Url::Parse(L"https://example.org/secure");
    ASSERT_TRUE(https);
    EXPECT_EQ(fw::Url::Service::Https, https->service());
    EXPECT_EQ(443, https->port());

    const auto ftp = fw::Url::Parse(L"ftp://user:pw@files.example.org/pub/x.zip");
    ASSERT_TRUE(ftp);
    EXPECT_EQ(fw::Url::Service::Ftp, ftp->service());
    EXPECT_EQ(21, ftp->port());
    EXPECT_EQ(L"user", ftp->user());
    EXPECT_EQ(L"pw", ftp->password());
}

TEST(Url, RefusesWhatIsNoAbsoluteAddress)
{
    EXPECT_FALSE(fw::Url::Parse(L""));
    EXPECT_FALSE(fw::Url::Parse(L"   "));
    EXPECT_FALSE(fw::Url::Parse(L"not an address"));
    EXPECT_FALSE(fw::Url::Parse(L"/relative/path"));
    EXPECT_FALSE(fw::Url::Parse(L"http://"));
    const auto mail = fw::Url::Parse(L"mailto:someone@example.org");
    if (mail) {
        EXPECT_NE(fw::Url::Service::Http, mail->service());
    }
}

}  // namespace

#include "UrlsConf.h"

#include "ComSupport.h"
#include "ServicePaths.h"
#include "ServiceTestSupport.h"

#include <gtest/gtest.h>

using servicetest::ReadBytes;
using servicetest::WriteBytes;

namespace {

class UrlsConfTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(com_.Initialized());
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        name_ = L"test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::wstring(test.begin(), test.end()) +
                L".conf";
        path_ = services::ProgramFolder() + L"\\conf\\" + name_;
    }
    void TearDown() override { ::DeleteFileW(path_.c_str()); }

    fw::ComThreadScope com_;
    std::wstring name_;
    std::wstring path_;
};

TEST_F(UrlsConfTest, ShippedAddressBookHasEveryId)
{
    EXPECT_EQ(services::ProgramFolder() + L"\\conf\\urls.conf", GetUrlsConfPath());
    EXPECT_EQ(0u, GetNavHomeUrl().find(L"http://"));
    EXPECT_EQ(L"Tindra儿童乐园", GetNavHomeTitle());
    EXPECT_EQ(0u, GetHomePageUrl().find(L"http://"));
    EXPECT_EQ(0u, GetHelpUrl().find(L"http://"));
    EXPECT_NE(std::wstring::npos, GetUpdateInfoUrl().find(L"update.ini"));
}

TEST_F(UrlsConfTest, KeyIsFoundAtAnyDepthUnderAnyElementName)
{
    WriteBytes(path_,
               "<Confs><a><b><entry id=\"navhome\" value=\"http://deep/\" n=\"12\"/></b></a>"
               "<x id=\"flat\" value=\"42\"/></Confs>");
    std::wstring value;
    ASSERT_EQ(1, ReadUrlsConfValue(value, L"navhome", name_.c_str()));
    EXPECT_EQ(L"http://deep/", value);
    int number = 0;
    ASSERT_EQ(1, ReadUrlsConfInt(number, L"flat", name_.c_str()));
    EXPECT_EQ(42, number);
    ASSERT_EQ(1, ReadUrlsConfInt(number, L"navhome", name_.c_str(), L"n"));
    EXPECT_EQ(12, number);

    value = L"unchanged";
    EXPECT_EQ(0, ReadUrlsConfValue(value, L"nothere", name_.c_str()));
    EXPECT_EQ(0, ReadUrlsConfValue(value, L"navhome", name_.c_str(), L"value", L"id", L"Other"));
    EXPECT_EQ(0, ReadUrlsConfValue(value, L"navhome", L"no-such-file.conf"));
    EXPECT_EQ(L"unchanged", value);
}

TEST_F(UrlsConfTest, MalformedBookReadsAsMissingAndIsNotRewritten)
{
    const std::string broken = "<Confs><x id=\"navhome\" value=\"y\"></Confs>";
    WriteBytes(path_, broken);
    std::wstring value;
    EXPECT_EQ(0, ReadUrlsConfValue(value, L"navhome", name_.c_str()));
    EXPECT_EQ(0, WriteUrlsConfValue(L"z", L"navhome", name_.c_str()));
    EXPECT_EQ(broken, ReadBytes(path_));
}

TEST_F(UrlsConfTest, WriteChangesOnlyAnExistingEntry)
{
    WriteBytes(path_, "<Confs><x id=\"help\" value=\"old\"/></Confs>");
    ASSERT_EQ(1, WriteUrlsConfValue(L"http://新/", L"help", name_.c_str()));
    std::wstring value;
    ASSERT_EQ(1, ReadUrlsConfValue(value, L"help", name_.c_str()));
    EXPECT_EQ(L"http://新/", value);
    EXPECT_EQ(0, WriteUrlsConfValue(L"v", L"absent", name_.c_str()));
    EXPECT_EQ(0, ReadUrlsConfValue(value, L"absent", name_.c_str()));
}

TEST(UrlsConfText, DeclarationHelpers)
{
    EXPECT_EQ(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?><quommhour_box></quommhour_box>", GetHourBoxXml());
    EXPECT_EQ(L"<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<a/>", AddXmlDeclaration(L"<a/>", L"1.0", L"gb2312"));
}

}  // namespace

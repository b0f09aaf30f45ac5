#include "ComSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The test process runs with the ANSI code page 936.
const char kChildrenGbk[] = "\xB6\xF9\xCD\xAF";  // 儿童

TEST(ComSupport, NarrowTextConvertsThroughTheAnsiCodePage)
{
    if (::GetACP() != 936)
        GTEST_SKIP() << "needs the Chinese ANSI code page";
    _bstr_t text(kChildrenGbk);
    EXPECT_EQ(2u, text.length());
    EXPECT_STREQ(L"儿童", static_cast<const wchar_t*>(text));
    _bstr_t wide(L"儿童abc");
    EXPECT_STREQ("\xB6\xF9\xCD\xAF" "abc", static_cast<const char*>(wide));

    _variant_t variant(kChildrenGbk);
    ASSERT_EQ(VT_BSTR, variant.vt);
    EXPECT_STREQ(L"儿童", variant.bstrVal);
}

TEST(ComSupport, EmptyAndNullTextStayDistinct)
{
    _bstr_t empty("");
    EXPECT_EQ(0u, empty.length());
    EXPECT_NE(nullptr, static_cast<const wchar_t*>(empty));
    EXPECT_STREQ("", static_cast<const char*>(empty));
    EXPECT_EQ(nullptr, _com_util::ConvertStringToBSTR(nullptr));
    EXPECT_EQ(nullptr, _com_util::ConvertBSTRToString(nullptr));
    BSTR long_text = _com_util::ConvertStringToBSTR(std::string(100000, 'x').c_str());
    EXPECT_EQ(100000u, ::SysStringLen(long_text));
    ::SysFreeString(long_text);
}

TEST(ComSupport, FailuresRaiseComError)
{
    fw::ComThreadScope com;
    EXPECT_TRUE(com.Initialized());
    _variant_t letters(L"abc");
    try {
        letters.ChangeType(VT_I4);
        FAIL() << "letters are no number";
    } catch (const _com_error& error) {
        EXPECT_EQ(DISP_E_TYPEMISMATCH, error.Error());
    }
    EXPECT_THROW(fw::ThrowIfFailed(E_ACCESSDENIED), _com_error);
    EXPECT_NO_THROW(fw::ThrowIfFailed(S_FALSE));
    try {
        _com_issue_errorex(E_NOINTERFACE, nullptr, IID_IUnknown);
        FAIL();
    } catch (const _com_error& error) {
        EXPECT_EQ(E_NOINTERFACE, error.Error());
        EXPECT_EQ(nullptr, error.ErrorInfo());
    }
}

}  // namespace

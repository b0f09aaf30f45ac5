#include "XmlDom.h"

#include "DataFile.h"
#include "ServiceTestSupport.h"

#include <gtest/gtest.h>

using servicetest::FileExists;
using servicetest::ReadBytes;
using servicetest::ScratchFolder;
using servicetest::WriteBytes;

namespace {

class XmlDomTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(com_.Initialized()); }

    // Opens a file written with the given UTF-8 content.
    void OpenWith(CXmlDom& dom, const std::string& content, const wchar_t* name = L"doc.xml")
    {
        const std::wstring path = scratch_.File(name);
        WriteBytes(path, content);
        ASSERT_EQ(1, dom.Open(path.c_str(), true, nullptr));
    }

    std::wstring NameOf(CXmlDom& dom)
    {
        std::wstring name;
        dom.GetNodeName(name);
        return name;
    }

    fw::ComThreadScope com_;
    ScratchFolder scratch_;
};

const char kBook[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<Confs>\r\n"
    "\t<group name=\"g1\">\r\n"
    "\t\t<url id=\"navhome\" value=\"http://home/\"/>\r\n"
    "\t\t<link id=\"help\" value=\"http://help/\" kind=\"page\"/>\r\n"
    "\t</group>\r\n"
    "\t<group name=\"g2\">\r\n"
    "\t\t<url id=\"7\" value=\"seven\"/>\r\n"
    "\t</group>\r\n"
    "\t<num i=\"-42\" u=\"4000000000\" big=\"18446744073709551615\" part=\"123abc\" f=\"1.5\" empty=\"\" "
    "word=\"abc\" zh=\"\xE5\x84\xBF\xE7\xAB\xA5\">text 17</num>\r\n"
    "</Confs>\r\n";

TEST_F(XmlDomTest, MissingFileWithMustExistGivesZeroAndCreatesNothing)
{
    CXmlDom dom;
    const std::wstring path = scratch_.File(L"missing.xml");
    EXPECT_EQ(0, dom.Open(path.c_str(), true, L"Confs"));
    EXPECT_FALSE(dom.IsOpen());
    EXPECT_EQ(0, dom.Save());
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(0, dom.Open(L"", false, nullptr));
    EXPECT_EQ(0, dom.Open(nullptr, false, nullptr));
}

TEST_F(XmlDomTest, MissingFileStartsDocumentWithDeclarationAndNamedRoot)
{
    const std::wstring path = scratch_.File(L"new.xml");
    {
        CXmlDom dom;
        ASSERT_EQ(1, dom.Open(path.c_str(), false, L"SysRoot"));
        EXPECT_EQ(L"SysRoot", NameOf(dom));
        EXPECT_FALSE(FileExists(path));
        ASSERT_EQ(1, dom.Save());
    }
    const std::string saved = ReadBytes(path);
    EXPECT_NE(std::string::npos, saved.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << saved;
    EXPECT_NE(std::string::npos, saved.find("SysRoot")) << saved;

    CXmlDom unnamed;
    ASSERT_EQ(1, unnamed.Open(scratch_.File(L"other.xml").c_str(), false, nullptr));
    EXPECT_EQ(L"root", NameOf(unnamed));
}

TEST_F(XmlDomTest, MalformedFileFailsOnlyWhenItMustExist)
{
    const std::wstring path = scratch_.File(L"broken.xml");
    WriteBytes(path, "<Confs><url id=\"x\"></Confs");
    CXmlDom strict;
    EXPECT_EQ(0, strict.Open(path.c_str(), true, L"Confs"));
    EXPECT_FALSE(strict.IsOpen());

    CXmlDom lenient;
    ASSERT_EQ(1, lenient.Open(path.c_str(), false, L"Fresh"));
    EXPECT_EQ(L"Fresh", NameOf(lenient));
    EXPECT_EQ(0, lenient.GetChildCount());
}

// Levels of elements, each holding what a file may have between its tags
// that is no deeper level.
std::string Nested(int levels)
{
    std::string text = "<?xml version=\"1.0\"?>";
    for (int i = 0; i < levels; ++i) {
        text += "<g b = '/>' a=\"x>y\"><!-- <g><g> --><![CDATA[<g><g>]]><?pi a>b?><e/>";
        if (i + 1 < levels)
            text += "<s></s>";
    }
    for (int i = 0; i < levels; ++i)
        text += "</g>";
    return text;
}

std::string Utf16(const std::string& ascii)
{
    std::string units = "\xFF\xFE";
    for (char c : ascii) {
        units += c;
        units += '\0';
    }
    return units;
}

TEST_F(XmlDomTest, FileNestedDeeperThanAnyRealOneIsUnreadable)
{
    const std::wstring path = scratch_.File(L"nested.xml");
    for (const std::string& deep : {Nested(257), Utf16(Nested(257)), Nested(10000)}) {
        EXPECT_TRUE(datafile::FileNestsTooDeep(deep));
        WriteBytes(path, deep);
        CXmlDom strict;
        EXPECT_EQ(0, strict.Open(path.c_str(), true, nullptr));
        CXmlDom lenient;
        ASSERT_EQ(1, lenient.Open(path.c_str(), false, L"Fresh"));
        EXPECT_EQ(L"Fresh", NameOf(lenient));
    }
    for (const std::string& deepest : {Nested(256), Utf16(Nested(256))}) {
        EXPECT_FALSE(datafile::FileNestsTooDeep(deepest));
        WriteBytes(path, deepest);
        CXmlDom dom;
        EXPECT_EQ(1, dom.Open(path.c_str(), true, nullptr));
    }
}

TEST_F(XmlDomTest, SelectElementOnRootDoesNotMoveAndParentOfRootStays)
{
    CXmlDom dom;
    OpenWith(dom, kBook);
    EXPECT_EQ(1, dom.SelectElement(L"Confs"));
    EXPECT_EQ(L"Confs", NameOf(dom));
    EXPECT_EQ(1, dom.MoveToParent());
    EXPECT_EQ(L"Confs", NameOf(dom));
    EXPECT_EQ(0, dom.SelectElement(L"confs")) << "names are case-sensitive";

    ASSERT_EQ(1, dom.SelectNode(L"group/@name"));
    EXPECT_EQ(L"name", NameOf(dom));
    EXPECT_EQ(0, dom.MoveToParent()) << "an attribute has no parent node";
    EXPECT_EQ(L"name", NameOf(dom));
}

TEST_F(XmlDomTest, SelectionsStartAtTheCurrentNode)
{
    CXmlDom dom;
    OpenWith(dom, kBook);
    ASSERT_EQ(1, dom.SelectByNameAttribute(L"group", L"name", L"g2"));
    // From g2 only its own descendants are searched.
    EXPECT_EQ(0, dom.SelectByAttribute(L"id", L"navhome"));
    std::wstring name;
    dom.GetAttribString(L"name", name);
    EXPECT_EQ(L"g2", name) << "a failed selection leaves the cursor";
    ASSERT_EQ(1, dom.SelectByAttributeInt(L"id", 7));
    std::wstring value;
    EXPECT_EQ(1, dom.GetAttribString(L"value", value));
    EXPECT_EQ(L"seven", value);

    ASSERT_EQ(1, dom.MoveToRoot());
    ASSERT_EQ(1, dom.SelectByAttribute(L"id", L"help"));
    EXPECT_EQ(L"link", NameOf(dom)) << "any element name matches";
    ASSERT_EQ(1, dom.MoveToRoot());
    EXPECT_EQ(1, dom.SelectByAttributes(L"link", {{L"id", L"help"}, {L"kind", L"page"}}));
    ASSERT_EQ(1, dom.MoveToRoot());
    EXPECT_EQ(0, dom.SelectByAttributes(L"link", {{L"id", L"help"}, {L"kind", L"other"}}));
    EXPECT_EQ(0, dom.SelectByAttributes(L"link", {}));
    EXPECT_EQ(0, dom.SelectByAttribute(L"id", nullptr));
    EXPECT_EQ(0, dom.SelectNode(L"///[[bad"));
    EXPECT_EQ(L"Confs", NameOf(dom));
    EXPECT_EQ(1, dom.SelectByNameAttributeInt(L"url", L"id", 7));
}

TEST_F(XmlDomTest, NumberAccessorsConvertAndLeaveOutputOnEmptyOrMissing)
{
    CXmlDom dom;
    OpenWith(dom, kBook);
    ASSERT_EQ(1, dom.SelectNode(L"num"));

    int i = 0;
    EXPECT_EQ(1, dom.GetAttribInt(L"i", i));
    EXPECT_EQ(-42, i);
    long l = 0;
    EXPECT_EQ(1, dom.GetAttribLong(L"i", l));
    EXPECT_EQ(-42L, l);
    unsigned int u = 0;
    EXPECT_EQ(1, dom.GetAttribUInt(L"u", u));
    EXPECT_EQ(4000000000u, u);
    ULONGLONG big = 0;
    EXPECT_EQ(1, dom.GetAttribUInt64(L"big", big));
    EXPECT_EQ(18446744073709551615ULL, big);
    EXPECT_EQ(1, dom.GetAttribUInt64(L"part", big));
    EXPECT_EQ(123ULL, big);
    float f = 0;
    EXPECT_EQ(1, dom.GetAttribFloat(L"f", f));
    EXPECT_FLOAT_EQ(1.5f, f);

    int untouched = 99;
    EXPECT_EQ(1, dom.GetAttribInt(L"empty", untouched));
    EXPECT_EQ(99, untouched);
    float fUntouched = 2.5f;
    EXPECT_EQ(1, dom.GetAttribFloat(L"empty", fUntouched));
    EXPECT_FLOAT_EQ(2.5f, fUntouched);
    EXPECT_EQ(0, dom.GetAttribInt(L"nothere", untouched));
    EXPECT_EQ(99, untouched);
    ULONGLONG bigUntouched = 5;
    EXPECT_EQ(0, dom.GetAttribUInt64(L"nothere", bigUntouched));
    EXPECT_EQ(5ULL, bigUntouched);

    EXPECT_THROW(dom.GetAttribInt(L"word", i), _com_error);
}

TEST_F(XmlDomTest, TextAccessorsReadCurrentAndSelectedNodes)
{
    CXmlDom dom;
    OpenWith(dom, kBook);
    std::wstring zh;
    ASSERT_EQ(1, dom.SelectNode(L"num"));
    EXPECT_EQ(1, dom.GetAttribString(L"zh", zh));
    EXPECT_EQ(L"儿童", zh);
    std::wstring empty = L"x";
    EXPECT_EQ(1, dom.GetAttribString(L"empty", empty));
    EXPECT_EQ(L"", empty);

    wchar_t small[4] = {L'#', L'#', L'#', L'#'};
    EXPECT_EQ(1, dom.GetAttribBuffer(L"big", small, 4));
    EXPECT_STREQ(L"184", small) << "cut to the buffer and terminated";

    std::wstring text;
    EXPECT_EQ(1, dom.GetText(text));
    EXPECT_EQ(L"text 17", text);
    EXPECT_EQ(1, dom.GetFirstChildText(text));
    EXPECT_THROW(
        {
            int n = 0;
            dom.GetTextInt(n);
        },
        _com_error);

    ASSERT_EQ(1, dom.MoveToRoot());
    int count = 0;
    EXPECT_EQ(1, dom.GetChildText(L"group/url/@value", text));
    EXPECT_EQ(L"http://home/", text);
    EXPECT_EQ(3, dom.GetNodeCount(L".//url|.//link"));
    EXPECT_EQ(0, dom.GetChildTextInt(L"nothing", count));
    EXPECT_EQ(0, dom.GetNodeCount(L"nothing"));

    std::wstring xml;
    EXPECT_EQ(1, dom.GetChildXml(L"group[@name='g2']/url", xml));
    EXPECT_NE(std::wstring::npos, xml.find(L"seven"));
    EXPECT_EQ(1, dom.GetRootXml(xml));
    EXPECT_EQ(0u, xml.find(L"<Confs"));
    EXPECT_EQ(1, dom.GetDocumentXml(xml));
    EXPECT_NE(std::wstring::npos, xml.find(L"<?xml"));

    // A node without children has no first child text.
    ASSERT_EQ(1, dom.SelectByAttribute(L"id", L"navhome"));
    EXPECT_EQ(0, dom.GetFirstChildText(text));
    EXPECT_FALSE(dom.HasChildElements());
}

TEST_F(XmlDomTest, SiblingMovesWalkByNameAndKeepCursorOnFailure)
{
    CXmlDom dom;
    OpenWith(dom, "<r><a n='1'/><b/><a n='2'/><c/></r>");
    ASSERT_EQ(1, dom.MoveToFirstChild());
    EXPECT_EQ(1, dom.MoveToNextSiblingNamed(L"a"));
    std::wstring n;
    dom.GetAttribString(L"n", n);
    EXPECT_EQ(L"2", n);
    EXPECT_EQ(0, dom.MoveToNextSiblingNamed(L"b"));
    EXPECT_EQ(1, dom.MoveToPreviousSiblingNamed(L"b"));
    EXPECT_EQ(L"b", NameOf(dom));
    EXPECT_EQ(1, dom.MoveToNextSibling());
    EXPECT_EQ(1, dom.MoveToNextSibling());
    EXPECT_EQ(L"c", NameOf(dom));
    EXPECT_EQ(0, dom.MoveToNextSibling());
    EXPECT_EQ(L"c", NameOf(dom));
    EXPECT_EQ(1, dom.MoveToParent());
    EXPECT_EQ(1, dom.MoveToLastChild());
    EXPECT_EQ(L"c", NameOf(dom));
    EXPECT_EQ(1, dom.MoveToPreviousSibling());
    EXPECT_EQ(L"a", NameOf(dom));
    EXPECT_EQ(0, dom.MoveToFirstChild());
    EXPECT_EQ(L"a", NameOf(dom));
}

TEST_F(XmlDomTest, WrittenAttributesSurviveSaveAndReload)
{
    const std::wstring path = scratch_.File(L"written.xml");
    {
        CXmlDom dom;
        ASSERT_EQ(1, dom.Open(path.c_str(), false, L"Confs"));
        ASSERT_EQ(1, dom.AddChild(L"item", nullptr, false));
        EXPECT_EQ(1, dom.SetAttribInt(L"i", -7));
        EXPECT_EQ(1, dom.SetAttribUInt(L"u", 4000000001u));
        EXPECT_EQ(1, dom.SetAttribFloat(L"f", 2.25f));
        EXPECT_EQ(1, dom.SetAttribString(L"s", L"儿童 \"quoted\""));
        EXPECT_EQ(1, dom.SetAttribString(L"s2", L"first"));
        EXPECT_EQ(1, dom.SetAttribString(L"s2", L"second"));
        EXPECT_EQ(1, dom.AppendCData(L"a<b"));
        ASSERT_EQ(1, dom.Save());
    }
    CXmlDom dom;
    ASSERT_EQ(1, dom.Open(path.c_str(), true, nullptr));
    ASSERT_EQ(1, dom.SelectNode(L"item"));
    int i = 0;
    unsigned u = 0;
    float f = 0;
    std::wstring s, s2, text;
    EXPECT_EQ(1, dom.GetAttribInt(L"i", i));
    EXPECT_EQ(1, dom.GetAttribUInt(L"u", u));
    EXPECT_EQ(1, dom.GetAttribFloat(L"f", f));
    EXPECT_EQ(1, dom.GetAttribString(L"s", s));
    EXPECT_EQ(1, dom.GetAttribString(L"s2", s2));
    EXPECT_EQ(1, dom.GetText(text));
    EXPECT_EQ(-7, i);
    EXPECT_EQ(4000000001u, u);
    EXPECT_FLOAT_EQ(2.25f, f);
    EXPECT_EQ(L"儿童 \"quoted\"", s);
    EXPECT_EQ(L"second", s2);
    EXPECT_EQ(L"a<b", text);
}

TEST_F(XmlDomTest, AddChildReusesOrAppendsOnIndentedLines)
{
    CXmlDom dom;
    ASSERT_EQ(1, dom.LoadXml(L"<r/>"));
    ASSERT_EQ(1, dom.AddChild(L"a", L"1", false));
    ASSERT_EQ(1, dom.MoveToRoot());
    ASSERT_EQ(1, dom.AddChild(L"a", L"2", false));
    ASSERT_EQ(1, dom.MoveToRoot());
    std::wstring xml;
    ASSERT_EQ(1, dom.GetRootXml(xml));
    EXPECT_EQ(L"<r>\r\n\t<a>1</a>\r\n\t<a>2</a>\r\n</r>", xml);

    ASSERT_EQ(1, dom.AddChild(L"a", L"3", true));
    ASSERT_EQ(1, dom.MoveToRoot());
    EXPECT_EQ(2, dom.GetNodeCount(L"a"));
    ASSERT_EQ(1, dom.GetRootXml(xml));
    EXPECT_EQ(L"<r>\r\n\t<a>3</a>\r\n\t<a>2</a>\r\n</r>", xml);

    // One level down the indentation deepens.
    ASSERT_EQ(1, dom.SelectNode(L"a[2]"));
    ASSERT_EQ(1, dom.AddChild(L"b", nullptr, true));
    ASSERT_EQ(1, dom.MoveToParent());
    ASSERT_EQ(1, dom.GetXml(xml));
    EXPECT_EQ(L"<a>2\r\n\t\t<b/>\r\n\t</a>", xml);

    EXPECT_EQ(0, dom.AddChild(L"", L"x", false));
    EXPECT_EQ(0, dom.AddChild(nullptr, L"x", false));
}

TEST_F(XmlDomTest, RemovingTheLastChildDropsTheIndentation)
{
    CXmlDom dom;
    ASSERT_EQ(1, dom.LoadXml(L"<r/>"));
    ASSERT_EQ(1, dom.AddChild(L"a", nullptr, false));
    ASSERT_EQ(1, dom.MoveToRoot());
    ASSERT_EQ(1, dom.AddChild(L"b", nullptr, false));
    ASSERT_EQ(1, dom.MoveToRoot());
    ASSERT_EQ(1, dom.SelectNode(L"a"));
    ASSERT_EQ(1, dom.RemoveCurrent());
    ASSERT_EQ(1, dom.MoveToRoot());
    ASSERT_EQ(1, dom.SelectNode(L"b"));
    ASSERT_EQ(1, dom.RemoveCurrent());
    EXPECT_EQ(L"r", NameOf(dom));
    EXPECT_EQ(0, dom.GetChildCount());
    EXPECT_EQ(0, dom.RemoveCurrent()) << "the root stays";

    ASSERT_EQ(1, dom.AddChild(L"c", nullptr, false));
    ASSERT_EQ(1, dom.MoveToRoot());
    EXPECT_TRUE(dom.HasChildElements());
    EXPECT_EQ(1, dom.RemoveChildren());
    EXPECT_EQ(0, dom.GetChildCount());
    EXPECT_EQ(0, dom.RemoveChildren());
}

TEST_F(XmlDomTest, DeclarationIsReplacedNotDuplicated)
{
    const std::wstring path = scratch_.File(L"decl.xml");
    CXmlDom dom;
    OpenWith(dom, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><x/></r>", L"decl.xml");
    ASSERT_EQ(1, dom.SetDeclaration(L"UTF-16", L"1.0"));
    std::wstring xml;
    ASSERT_EQ(1, dom.GetDocumentXml(xml));
    EXPECT_EQ(0u, xml.find(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>")) << xml;
    EXPECT_EQ(xml.find(L"<?xml"), xml.rfind(L"<?xml")) << xml;

    CXmlDom bare;
    ASSERT_EQ(1, bare.LoadXml(L"<r/>"));
    ASSERT_EQ(1, bare.SetDeclaration(L"UTF-8", L"1.0"));
    ASSERT_EQ(1, bare.GetDocumentXml(xml));
    EXPECT_EQ(0u, xml.find(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << xml;
}

TEST_F(XmlDomTest, SavedSizeAndBufferMatchTheSavedFile)
{
    CXmlDom dom;
    OpenWith(dom, kBook);
    const ULONGLONG size = dom.GetSavedSize();
    ASSERT_GT(size, 100u);
    std::string buffer(static_cast<size_t>(size) + 10, '\0');
    ULONGLONG count = buffer.size();
    ASSERT_EQ(1, dom.SaveToBuffer(reinterpret_cast<BYTE*>(buffer.data()), &count));
    EXPECT_EQ(size, count);
    buffer.resize(static_cast<size_t>(count));

    const std::wstring copy = scratch_.File(L"copy.xml");
    ASSERT_EQ(1, dom.SaveAs(copy.c_str()));
    EXPECT_EQ(ReadBytes(copy), buffer);

    ULONGLONG few = 5;
    ASSERT_EQ(1, dom.SaveToBuffer(reinterpret_cast<BYTE*>(buffer.data()), &few));
    EXPECT_EQ(5u, few);
}

TEST_F(XmlDomTest, TextDocumentsHaveNoFileAndClosedDocumentsAnswerZero)
{
    CXmlDom dom;
    ASSERT_EQ(1, dom.LoadXml(_bstr_t(L"<a><b>5</b></a>")));
    EXPECT_TRUE(dom.FileName().empty());
    EXPECT_EQ(0, dom.Save());
    int five = 0;
    EXPECT_EQ(1, dom.GetChildTextInt(L"b", five));
    EXPECT_EQ(5, five);
    EXPECT_EQ(0, dom.LoadXml(L"<a><b></a>"));
    EXPECT_FALSE(dom.IsOpen());

    ASSERT_EQ(1, dom.LoadXml(L"<a x='1'/>"));
    dom.Close();
    std::wstring text;
    EXPECT_EQ(0, dom.GetAttribString(L"x", text));
    EXPECT_EQ(0, dom.MoveToRoot());
    EXPECT_EQ(0, dom.SetAttribInt(L"x", 1));
    EXPECT_EQ(0u, dom.GetSavedSize());
}

TEST_F(XmlDomTest, ShowAttributesListsEachElementWithAttributes)
{
    servicetest::RecordingUi ui;
    CXmlDom dom;
    ASSERT_EQ(1, dom.LoadXml(L"<r a='1' b='x'><plain><c n='3'/></plain></r>"));
    dom.ShowAttributes();
    ASSERT_EQ(2u, ui.messages.size());
    EXPECT_EQ(L"a=1    b=x    ", ui.messages[0]);
    EXPECT_EQ(L"n=3    ", ui.messages[1]);
}

}  // namespace

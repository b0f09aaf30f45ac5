#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "AllocationLimit.h"
#include "DataFolderTest.h"
#include "SiteList.h"

namespace {

TEST(SiteHostKey, TwoLabelsThreeUnderCountrySuffixesAndLiteralsWhole) {
  EXPECT_EQ(L"s.t", SiteHostKey(L"http://w.s.t/page"));
  EXPECT_EQ(L"s.t", SiteHostKey(L"http://x.w.s.t/"));
  EXPECT_EQ(L"s.t", SiteHostKey(L"https://S.T:8080/a?b"));
  EXPECT_EQ(L"sina.com.cn", SiteHostKey(L"http://news.sina.com.cn/"));
  EXPECT_EQ(L"bbc.co.uk", SiteHostKey(L"http://www.bbc.co.uk/"));
  EXPECT_EQ(L"example.cn", SiteHostKey(L"http://www.example.cn/"));
  EXPECT_EQ(L"10.0.3.4", SiteHostKey(L"http://10.0.3.4/"));
  EXPECT_EQ(L"localhost", SiteHostKey(L"http://localhost/"));
  EXPECT_EQ(L"example.com", SiteHostKey(L"http://www.example.com./")) << "an absolute host name";
  // A backslash ends the host as the engine reads it, before any "@".
  EXPECT_EQ(L"evil.com", SiteHostKey(L"http://evil.com\\@listed.example/"));
  EXPECT_EQ(L"evil.com", SiteHostKey(L"HTTPS://a.evil.com\\x@listed.example/"));
  EXPECT_EQ(L"evil.com", SiteHostKey(L"ftp://evil.com\\"));
  EXPECT_EQ(L"listed.example", SiteHostKey(L"http://listed.example/a\\b@c.example/"));
  // Bracketed IPv6 literals are their own keys, without brackets and port.
  EXPECT_EQ(L"::1", SiteHostKey(L"http://[::1]/"));
  EXPECT_EQ(L"::2", SiteHostKey(L"http://[::2]:8080/x"));
  EXPECT_EQ(L"fe80::1", SiteHostKey(L"http://user@[FE80::1]/"));
  EXPECT_EQ(L"", SiteHostKey(L"not a url"));
  EXPECT_EQ(L"", SiteHostKey(L""));
}

using SiteListTest = DataFolderTest;

TEST_F(SiteListTest, AllowedSitesMatchByHostKey) {
  CNavCtrlList list;
  EXPECT_EQ(0, list.IsHostListed(L"http://w.s.t/")) << "an empty list refuses everything";
  list.Add(L"http://s.t/", L"S");
  list.Add(L"http://www.sina.com.cn/", L"新浪");
  list.Add(L"http://10.0.3.4/", L"lan");
  EXPECT_EQ(1, list.IsHostListed(L"http://w.s.t/index.html"));
  EXPECT_EQ(1, list.IsHostListed(L"HTTP://W.S.T/"));
  EXPECT_EQ(0, list.IsHostListed(L"http://o.t/"));
  EXPECT_EQ(1, list.IsHostListed(L"http://news.sina.com.cn/"));
  EXPECT_EQ(0, list.IsHostListed(L"http://www.evil.com.cn/")) << "one .com.cn site does not open them all";
  EXPECT_EQ(1, list.IsHostListed(L"http://10.0.3.4/x"));
  EXPECT_EQ(0, list.IsHostListed(L"http://99.1.3.4/x"));
  EXPECT_EQ(0, list.IsHostListed(L"garbage"));
  EXPECT_EQ(0, list.IsHostListed(L"http://evil.com\\@s.t/")) << "the engine opens evil.com";
  list.Add(L"http://[::1]/", L"v6");
  EXPECT_EQ(1, list.IsHostListed(L"http://[::1]:81/"));
  EXPECT_EQ(0, list.IsHostListed(L"http://[::2]/"));
  list.Remove(L"http://s.t/");
  EXPECT_EQ(0, list.IsHostListed(L"http://w.s.t/")) << "the keys follow the list";
}

TEST_F(SiteListTest, ListsSaveInKeyOrderAndReload) {
  {
    CNavCtrlList list;
    list.Add(L"http://b.example/", L"乙");
    list.Add(L"http://a.example/", L"甲");
    list.Add(L"http://A.example/", L"大写");
    list.Add(L"http://a.example/", L"甲二");
    EXPECT_EQ(3u, list.Count()) << "addresses are case-sensitive keys; one per address";
    EXPECT_EQ(1, list.Contains(L"http://a.example/"));
    EXPECT_EQ(0, list.Contains(L"http://c.example/"));
    EXPECT_EQ(1, list.Remove(L"http://A.example/"));
    EXPECT_EQ(0, list.Remove(L"http://A.example/"));
    ASSERT_EQ(1, list.Save());
  }
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<navctrl>\r\n"
            "    <site url=\"http://a.example/\" title=\"\xBC\xD7\xB6\xFE\" />\r\n"
            "    <site url=\"http://b.example/\" title=\"\xD2\xD2\" />\r\n</navctrl>\r\n",
            ReadFile(L"navctrl.dat"));
  CNavCtrlList reloaded;
  std::vector<std::wstring> titles;
  reloaded.ForEach([](SiteRecord* record, void* user) { static_cast<std::vector<std::wstring>*>(user)->push_back(record->title); },
                   &titles);
  EXPECT_EQ((std::vector<std::wstring>{L"甲二", L"乙"}), titles);
  EXPECT_EQ(0, reloaded.ForEach(nullptr, nullptr));
  reloaded.RemoveAll();
  EXPECT_EQ(0u, reloaded.Count());

  // Addresses as long as a browser takes, apart only in their last character.
  const std::string longSites = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<navctrl>\r\n"
                                "    <site url=\"http://a.example/" + std::string(2070, 'x') + "1\" title=\"" +
                                std::string(3000, 't') + "\" />\r\n"
                                "    <site url=\"http://a.example/" + std::string(2070, 'x') + "2\" title=\"\" />\r\n"
                                "</navctrl>\r\n";
  WriteFile(L"navctrl.dat", longSites);
  {
    CNavCtrlList list;
    EXPECT_EQ(2u, list.Count());
    ASSERT_EQ(1, list.Save());
  }
  EXPECT_EQ(longSites, ReadFile(L"navctrl.dat"));
}

TEST_F(SiteListTest, RecommendedSitesUseTheirOwnNames) {
  WriteFile(L"pr.dat", "<?xml version=\"1.0\"?><other><site uri=\"http://k.example/\" title=\"one\"/>"
                       "<site uri=\"http://k.example/\" title=\"two\"/><site title=\"no address\"/>"
                       "<Site uri=\"http://x.example/\"/></other>");
  CRecommendList list;
  EXPECT_EQ(1u, list.Count());
  std::wstring title;
  list.ForEach([](RecommendRecord* record, void* user) { *static_cast<std::wstring*>(user) = record->title; }, &title);
  EXPECT_EQ(L"two", title) << "the later element wins";
  ASSERT_EQ(1, list.Save());
  EXPECT_NE(std::string::npos, ReadFile(L"pr.dat").find("<recs>\r\n    <site uri=\"http://k.example/\" title=\"two\" />"));
}

TEST_F(SiteListTest, DamagedFilesReadAsEmptyAndAreSetAsideBeforeSaving) {
  const wchar_t* copy[] = {L"navctrl.dat.damaged", L"navctrl.dat.damaged2", L"navctrl.dat.damaged3"};
  int n = 0;
  for (const std::string& damaged : {std::string("<navctrl><site url="), std::string(""), std::string("\xFF\xFE\x00x", 4)}) {
    WriteFile(L"navctrl.dat", damaged);
    CNavCtrlList list;
    EXPECT_EQ(0u, list.Count());
    list.Add(L"http://new.example/", L"new");
    ASSERT_EQ(1, list.Save());
    EXPECT_EQ(damaged, ReadFile(copy[n++])) << "what could not be read is kept, each in a copy of its own";
    EXPECT_EQ(1, CNavCtrlList().Contains(L"http://new.example/"));
  }
  EXPECT_EQ("<navctrl><site url=", ReadFile(copy[0])) << "an earlier copy is never replaced";
}

// Wherever a site list's load runs out of memory it reads as damaged, and is
// set aside when saved; a save that runs out keeps the file.
TEST_F(SiteListTest, RunningOutOfMemoryLoadsAsDamagedAndSavesNothing) {
  std::string file = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<navctrl>\r\n";
  for (int i = 0; i < 100; ++i)
    file += "    <site url=\"http://site" + std::to_string(100 + i) + ".example/\" title=\"site\" />\r\n";
  file += "</navctrl>\r\n";
  testalloc::AllocationLimit limit;
  auto load = [&](std::optional<CNavCtrlList>* list, size_t failAt) {
    std::wstring path = GetNavCtrlPath();
    limit.FailAt(failAt);
    list->emplace(path);
    size_t count = limit.Count();
    limit.FailAt(0);
    return count;
  };
  std::optional<CNavCtrlList> list;
  // What the list takes before it reads a file (its copy of the path).
  const size_t before = load(&list, 0);
  WriteFile(L"navctrl.dat", file);
  size_t loaded = load(&list, 0) - before;
  ASSERT_EQ(100u, list->Count());
  list->Add(L"http://new.example/", L"new");
  limit.FailAt(1);
  int saved = list->Save();
  limit.FailAt(0);
  EXPECT_EQ(0, saved);
  EXPECT_TRUE(file == ReadFile(L"navctrl.dat"));
  for (size_t point : testalloc::FailurePoints(loaded, 20)) {
    SCOPED_TRACE(point);
    WriteFile(L"navctrl.dat", file);
    load(&list, before + point);
    EXPECT_EQ(0u, list->Count());
    ASSERT_EQ(1, list->Save());
    ASSERT_TRUE(file == ReadFile(L"navctrl.dat.damaged"));
  }
}

TEST_F(SiteListTest, AFolderWhereTheFileShouldBeIsLeftAloneAndTheSaveFails) {
  ::CreateDirectoryW((folder_ + L"navctrl.dat").c_str(), nullptr);
  WriteFile(L"navctrl.dat\\kept.txt", "kept");
  CNavCtrlList list;
  list.Add(L"http://new.example/", L"new");
  EXPECT_EQ(0, list.Save());
  EXPECT_EQ("kept", ReadFile(L"navctrl.dat\\kept.txt"));
  EXPECT_FALSE(Has(L"navctrl.dat.damaged"));
}

}  // namespace

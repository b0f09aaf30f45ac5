#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "AllocationLimit.h"
#include "CommHelper.h"
#include "DataFile.h"
#include "DataFolderTest.h"
#include "ScopedImportPatch.h"
#include "SnapshotList.h"
#include "StringConv.h"

namespace {

class SnapshotListTest : public DataFolderTest {
 protected:
  std::wstring Snapshot(const std::wstring& folder, const std::wstring& name) {
    CCommHelper::MakeDirTree(folder);
    std::wstring path = folder + (folder.back() == L'\\' ? L"" : L"\\") + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    return path;
  }
  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
};

TEST_F(SnapshotListTest, RevisitKeepsOneEntryAndOnlyTheNewSnapshot) {
  std::wstring history = GetHistoryDir();
  EXPECT_EQ(folder_ + L"his", history);
  std::wstring first = Snapshot(history, L"{1}.jpg");
  std::wstring second = Snapshot(history, L"{2}.jpg");
  {
    CHistoryList list;
    EXPECT_EQ(1, list.AddVisit(L"http://a.example/", L"第一次", first));
    list.AddVisit(L"http://a.example/", L"第二次", second);
    EXPECT_EQ(1, list.Count());
    EXPECT_TRUE(Exists(first)) << "the file still names it";
    ASSERT_EQ(1, list.Save());
    EXPECT_FALSE(Exists(first));
    list.AddVisit(L"http://a.example/", L"同一张", second);
    EXPECT_TRUE(Exists(second)) << "a snapshot reused under the same name survives";
  }
  CHistoryList reloaded;
  ASSERT_EQ(1, reloaded.Count());
  HistoryRecord seen;
  reloaded.ForEach([](HistoryRecord* record, void* user) { *static_cast<HistoryRecord*>(user) = *record; }, &seen);
  EXPECT_EQ(L"同一张", seen.title);
  EXPECT_EQ(second, seen.img);
  EXPECT_EQ(19u, seen.time.size());
  EXPECT_EQ(1, reloaded.IsImageUsed(fw::ToLower(second)));

  WriteFile(L"his\\his.xml", "<his><site uri=\"http://d.example/\" title=\"old\" img=\"\" time=\"2001-01-01 00:00:00\"/>"
                              "<site uri=\"http://d.example/\" title=\"new\" img=\"\" time=\"2002-02-02 00:00:00\"/></his>");
  std::wstring before = CurrentVisitTime();
  CHistoryList merged;
  merged.ForEach([](HistoryRecord* record, void* user) { *static_cast<HistoryRecord*>(user) = *record; }, &seen);
  EXPECT_EQ(L"new", seen.title);
  EXPECT_LE(before, seen.time) << "a second entry of one address is merged as a visit now";
  EXPECT_GE(CurrentVisitTime(), seen.time);
}

TEST_F(SnapshotListTest, PurgeDeletesStrayFilesButNeverTheListItself) {
  std::wstring history = GetHistoryDir();
  std::wstring kept = Snapshot(history, L"{kept}.jpg");
  std::wstring stray = Snapshot(history, L"{stray}.jpg");
  std::wstring nested = Snapshot(history + L"\\old", L"{nested}.jpg");
  std::wstring outside = Snapshot(folder_, L"outside.txt");
  std::wstring sibling = Snapshot(folder_ + L"his2", L"{sibling}.jpg");
  // From earlier runs.
  const std::wstring setAside[] = {Snapshot(history, L"his.xml.damaged"), Snapshot(history, L"his.xml.damaged12")};
  std::wstring otherCase = Snapshot(history, L"{Kept-Case}.JPG");
  {
    CHistoryList list;
    list.AddVisit(L"http://k.example/", L"k", kept);
    list.AddVisit(L"http://m.example/", L"m", L"");
    list.AddVisit(L"http://c.example/", L"c", history + L"\\{kept-case}.jpg");
  }
  // Another program's save in progress.
  std::wstring saving = Snapshot(history, L"his.xml.tmp" + std::to_wstring(::GetCurrentProcessId() + 4));
  {
    CHistoryList list;
    list.PurgeUnusedFiles(history);
    EXPECT_TRUE(Exists(GetHistoryFilePath())) << "the list's own file is never purged";
    EXPECT_TRUE(Exists(saving)) << "a save's temporary file is left to its writer";
    list.PurgeUnusedFiles(folder_);
    list.PurgeUnusedFiles(history + L"\\..");
    EXPECT_TRUE(Exists(outside)) << "nothing outside the list's folder is purged";
    list.PurgeUnusedFiles(folder_ + L"his2");
    EXPECT_TRUE(Exists(sibling)) << "a sibling folder whose name begins with the list's is not inside it";
  }
  EXPECT_TRUE(Exists(kept));
  EXPECT_TRUE(Exists(otherCase)) << "file names are compared ignoring case";
  for (const std::wstring& copy : setAside) EXPECT_TRUE(Exists(copy)) << "a file set aside as unreadable is never purged";
  EXPECT_FALSE(Exists(stray));
  EXPECT_FALSE(Exists(nested));
  CHistoryList reloaded;
  EXPECT_EQ(3, reloaded.Count());
}

// A snapshot goes once the list is saved without its entry: a history that
// cannot be written (made read-only by the child's account) keeps them all.
TEST_F(SnapshotListTest, RemovingAnEntryDeletesItsSnapshotAndClearingEveryOne) {
  std::wstring a = Snapshot(GetHistoryDir(), L"a.jpg");
  std::wstring b = Snapshot(GetHistoryDir(), L"b.jpg");
  std::wstring c = Snapshot(GetHistoryDir(), L"c.jpg");
  {
    CHistoryList list;
    list.AddVisit(L"http://a.example/", L"a", a);
    list.AddVisit(L"http://b.example/", L"b", b);
    list.AddVisit(L"http://c.example/", L"c", c);
    EXPECT_EQ(1, list.Remove(L"http://b.example/"));
    EXPECT_EQ(0, list.Remove(L"http://b.example/"));
  }
  EXPECT_FALSE(Exists(b));
  EXPECT_TRUE(Exists(a) && Exists(c)) << "only the removed entry's snapshot goes";

  const std::wstring file = GetHistoryFilePath();
  const std::string listed = ReadFile(L"his\\his.xml");
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  {
    CHistoryList list;
    list.AddVisit(L"http://c.example/", L"c again", Snapshot(GetHistoryDir(), L"c2.jpg"));
    EXPECT_EQ(0, list.Save());
    EXPECT_EQ(1, list.Remove(L"http://a.example/"));
    list.RemoveAll();
    EXPECT_EQ(0, list.Save());
  }
  EXPECT_TRUE(Exists(a) && Exists(c)) << "the file still lists them, also the revisited one's old snapshot";
  EXPECT_EQ(listed, ReadFile(L"his\\his.xml"));

  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  {
    CHistoryList list;
    list.RemoveAll();
    list.AddVisit(L"http://again.example/", L"again", c);
    EXPECT_EQ(1, list.Save());
  }
  EXPECT_FALSE(Exists(a));
  EXPECT_TRUE(Exists(c)) << "an entry added since names it";
  { CHistoryList().RemoveAll(); }
  EXPECT_FALSE(Exists(c));
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his />\r\n", ReadFile(L"his\\his.xml"));
}

// Any account may write the lists: a snapshot path is deleted only when it
// names a file directly in the list's own folder, whatever way it is written;
// every other entry still goes, its file stays.
TEST_F(SnapshotListTest, OnlySnapshotsDirectlyInTheListsOwnFolderAreEverDeleted) {
  const std::wstring his = folder_ + L"his", favs = folder_ + L"favs";
  const std::vector<std::wstring> kept = {L"conf\\sys.conf", L"conf\\acc.conf", L"beside.jpg", L"his2\\other.jpg",
                                          L"his\\old\\nested.jpg", L"his\\seen.jpg", L"favs\\liked.jpg"};
  for (const std::wstring& name : kept) WriteFile(name, "kept");
  const std::vector<std::wstring> outside = {
      folder_ + L"conf\\sys.conf", folder_ + L"CONF\\ACC.CONF", his + L"\\..\\conf\\acc.conf",
      his + L"//..//conf/sys.conf", his + L"\\.\\..\\beside.jpg", folder_ + L"beside.jpg", folder_ + L"his2\\other.jpg",
      his + L"\\old\\nested.jpg", L"\\\\localhost\\c$" + folder_.substr(2) + L"conf\\acc.conf"};
  // The other list's folder, and names of its own files in forms no snapshot
  // path has: a stream, a device path, the long-path prefix.
  // The list's own file is no snapshot either.
  const std::vector<std::wstring> historyOnly = {favs + L"\\liked.jpg", his + L"\\seen.jpg::$DATA",
                                                 L"\\\\.\\" + his + L"\\seen.jpg", L"\\\\?\\" + his + L"\\seen.jpg",
                                                 his + L"\\his.xml"};
  const std::vector<std::wstring> favouritesOnly = {his + L"\\seen.jpg", L"\\\\?\\" + favs + L"\\liked.jpg",
                                                    favs + L"\\favs.xml"};
  // Each way is checked on its own: what one deleted is put back.
  auto expectKept = [&](const char* way, const std::wstring& listFile) {
    for (const std::wstring& name : kept) {
      EXPECT_EQ("kept", ReadFile(name)) << fw::ToAnsi(name) << " by " << way;
      WriteFile(name, "kept");
    }
    EXPECT_TRUE(Has(listFile)) << way;
  };
  // A snapshot of the list's own written otherwise still goes.
  const std::wstring own[] = {Snapshot(his, L"own1.jpg"), Snapshot(his, L"own2.jpg"), Snapshot(his, L"own3.jpg"),
                              Snapshot(his, L"own4.jpg"), Snapshot(favs, L"own5.jpg")};
  const std::wstring ownWritten[] = {folder_ + L"HIS/OWN1.JPG", his + L"\\\\own2.jpg", his + L"\\old\\..\\own3.jpg",
                                     his + L"\\.\\own4.jpg", favs + L"/own5.jpg"};

  std::vector<std::wstring> imgs = outside;
  imgs.insert(imgs.end(), historyOnly.begin(), historyOnly.end());
  std::string file = "<his>";
  auto entry = [&](const std::string& uri, const std::wstring& img) {
    file += "<site uri=\"" + uri + "\" title=\"t\" img=\"" + fw::ToAnsi(img) + "\" time=\"\"/>";
  };
  for (size_t i = 0; i < imgs.size(); ++i) {
    const std::string n = std::to_string(i);
    entry("http://merged" + n + ".test/", imgs[i]);
    entry("http://merged" + n + ".test/", L"");
    for (const char* way : {"revisited", "removed", "cleared"}) entry("http://" + std::string(way) + n + ".test/", imgs[i]);
  }
  entry("http://merged.test/", ownWritten[0]);
  entry("http://merged.test/", L"");
  entry("http://revisited.test/", ownWritten[1]);
  entry("http://removed.test/", ownWritten[2]);
  entry("http://cleared.test/", ownWritten[3]);
  WriteFile(L"his\\his.xml", file + "</his>");
  {
    CHistoryList list;
    ASSERT_EQ(static_cast<int>(4 * imgs.size() + 4), list.Count());
    expectKept("a second entry of one address", L"his\\his.xml");
    // The last of each is the own snapshot.
    auto number = [&](size_t i) { return i < imgs.size() ? std::to_wstring(i) : std::wstring(); };
    for (size_t i = 0; i <= imgs.size(); ++i)
      list.AddVisit(L"http://revisited" + number(i) + L".test/", L"t", his + L"\\new" + number(i) + L".jpg");
    for (size_t i = 0; i <= imgs.size(); ++i) EXPECT_EQ(1, list.Remove(L"http://removed" + number(i) + L".test/"));
    EXPECT_TRUE(Exists(own[0]) && Exists(own[1]) && Exists(own[2])) << "until the file no longer names them";
    ASSERT_EQ(1, list.Save());
    expectKept("a second entry, a revisit or a removal", L"his\\his.xml");
    EXPECT_FALSE(Exists(own[0]) || Exists(own[1]) || Exists(own[2]));
    list.RemoveAll();
    EXPECT_EQ(0, list.Count());
    ASSERT_EQ(1, list.Save());
    expectKept("clearing", L"his\\his.xml");
    EXPECT_FALSE(Exists(own[3]));
  }

  imgs = outside;
  imgs.insert(imgs.end(), favouritesOnly.begin(), favouritesOnly.end());
  imgs.push_back(ownWritten[4]);
  file = "<favs>";
  for (size_t i = 0; i < imgs.size(); ++i)
    file += "<fav uri=\"http://f" + std::to_string(i) + ".test/\" title=\"t\" img=\"" + fw::ToAnsi(imgs[i]) + "\"/>";
  WriteFile(L"favs\\favs.xml", file + "</favs>");
  CFavorites favourites;
  for (size_t i = 0; i < imgs.size(); ++i)
    EXPECT_EQ(0, favourites.Add(L"http://f" + std::to_wstring(i) + L".test/", L"t", favs + L"\\new.jpg"));
  ASSERT_EQ(1, favourites.Save());
  expectKept("a favourite's update", L"favs\\favs.xml");
  EXPECT_FALSE(Exists(own[4]));
}

// The folder Wine's file system answers for as a junction.
std::wstring linkedFolder;
unsigned long AttributesWithLink(const std::wstring& folder) {
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  return fw::EqualsNoCase(folder, linkedFolder) ? attributes | FILE_ATTRIBUTE_REPARSE_POINT : attributes;
}

// A junction in place of the history's folder, or of the data folder above
// it, would send what is written and deleted there anywhere.
TEST_F(SnapshotListTest, NothingIsWrittenOrDeletedInALinkedFolder) {
  const std::wstring his = GetHistoryDir();
  for (const std::wstring& linked : {his, folder_.substr(0, folder_.size() - 1)}) {
    const std::wstring snapshot = Snapshot(his, L"{seen}.jpg"), stray = Snapshot(his, L"{stray}.jpg");
    { CHistoryList().AddVisit(L"http://seen.test/", L"seen", snapshot); }
    const std::string saved = ReadFile(L"his\\his.xml");
    linkedFolder = linked;
    datafile::SetFolderAttributesQuery(&AttributesWithLink);
    {
      CHistoryList list;
      EXPECT_TRUE(list.IsFolderLinked());
      EXPECT_EQ(1, list.Remove(L"http://seen.test/"));
      list.PurgeUnusedFiles(his);
      EXPECT_EQ(0, list.Save());
    }
    datafile::SetFolderAttributesQuery(nullptr);
    EXPECT_TRUE(Exists(snapshot)) << fw::ToAnsi(linked);
    EXPECT_TRUE(Exists(stray)) << fw::ToAnsi(linked);
    EXPECT_EQ(saved, ReadFile(L"his\\his.xml")) << fw::ToAnsi(linked);
  }
  // A subfolder is looked at through its own handle, whatever the listing
  // said of it: a link there is not gone into, the rest is purged.
  linkedFolder = his + L"\\old";
  const std::wstring nested = Snapshot(linkedFolder, L"{nested}.jpg"), stray = Snapshot(his, L"{stray}.jpg");
  datafile::SetFolderAttributesQuery(&AttributesWithLink);
  CHistoryList().PurgeUnusedFiles(his);
  datafile::SetFolderAttributesQuery(nullptr);
  EXPECT_TRUE(Exists(nested));
  EXPECT_FALSE(Exists(stray));
}

// Stands in for a program of the child's that, as the purge or a save
// deletes its first file in a record folder, moves that folder away and puts
// a folder of the parent's files in its place (a junction on Windows, which
// Wine cannot make): what is then deleted by path would be the parent's.
class FolderSwapper {
 public:
  FolderSwapper() : patch_(::GetModuleHandleW(nullptr), Real(), reinterpret_cast<void*>(&Delete)) {
    EXPECT_TRUE(patch_.Patched()) << "deletions go unwatched";
  }
  ~FolderSwapper() { swaps_.clear(); }
  FolderSwapper(const FolderSwapper&) = delete;
  FolderSwapper& operator=(const FolderSwapper&) = delete;

  // At the first deletion in `folder`, `victims` is to take its place.
  void Swap(const std::wstring& folder, const std::wstring& victims) { swaps_.push_back({folder, victims}); }
  // The folders that could be moved away.
  static std::vector<std::wstring> Moved() {
    std::vector<std::wstring> moved;
    for (const Planned& swap : swaps_)
      if (swap.moved) moved.push_back(swap.folder);
    return moved;
  }
  static size_t Tried() {
    size_t tried = 0;
    for (const Planned& swap : swaps_) tried += swap.tried;
    return tried;
  }

 private:
  struct Planned {
    std::wstring folder, victims;
    bool tried = false, moved = false;
  };
  using DeleteFunction = BOOL(WINAPI*)(LPCWSTR);
  static void* Real() {
    void* found = ScopedImportPatch::Function(L"kernel32.dll", "DeleteFileW");
    real_ = reinterpret_cast<DeleteFunction>(found);
    return found;
  }
  static BOOL WINAPI Delete(LPCWSTR path) {
    const std::wstring file = path;
    const std::wstring folder = file.substr(0, file.rfind(L'\\'));
    for (Planned& swap : swaps_) {
      if (swap.tried || !fw::EqualsNoCase(folder, swap.folder)) continue;
      swap.tried = true;
      swap.moved = ::MoveFileExW(folder.c_str(), (folder + L"-away").c_str(), 0) != FALSE;
      if (swap.moved) ::MoveFileExW(swap.victims.c_str(), folder.c_str(), 0);
    }
    return real_(path);
  }

  static inline DeleteFunction real_ = nullptr;
  static inline std::vector<Planned> swaps_;
  ScopedImportPatch patch_;
};

// The purge and a save's snapshot deletes hold each folder they work in, so
// that between a look at it and the deletions in it no other folder (or a
// link) can take its place; what is unlisted there is still purged.
TEST_F(SnapshotListTest, ARecordFolderCannotBeSwappedWhileFilesAreDeletedInIt) {
  const std::wstring his = GetHistoryDir(), old = his + L"\\old";
  const std::wstring kept = Snapshot(his, L"{kept}.jpg");
  { CHistoryList().AddVisit(L"http://kept.test/", L"kept", kept); }
  const std::vector<std::wstring> strays = {Snapshot(his, L"{a}.jpg"), Snapshot(his, L"{b}.jpg"),
                                            Snapshot(old, L"{c}.jpg"), Snapshot(old, L"{d}.jpg")};
  std::vector<std::wstring> victims;
  for (const wchar_t* name : {L"{a}.jpg", L"{b}.jpg", L"{kept}.jpg"}) victims.push_back(Snapshot(folder_ + L"victims1", name));
  for (const wchar_t* name : {L"{c}.jpg", L"{d}.jpg"}) victims.push_back(Snapshot(folder_ + L"victims2", name));
  {
    FolderSwapper swapper;
    swapper.Swap(his, folder_ + L"victims1");
    swapper.Swap(old, folder_ + L"victims2");
    CHistoryList().PurgeUnusedFiles(his);
    EXPECT_EQ(2u, FolderSwapper::Tried()) << "a deletion in each folder";
    EXPECT_TRUE(FolderSwapper::Moved().empty()) << fw::ToAnsi(FolderSwapper::Moved().front());
  }
  for (const std::wstring& stray : strays) EXPECT_FALSE(Exists(stray)) << fw::ToAnsi(stray);
  EXPECT_TRUE(Exists(kept));
  {
    FolderSwapper swapper;
    swapper.Swap(his, folder_ + L"victims1");
    CHistoryList list;
    list.RemoveAll();
    ASSERT_EQ(1, list.Save());
    EXPECT_EQ(1u, FolderSwapper::Tried());
    EXPECT_TRUE(FolderSwapper::Moved().empty());
  }
  EXPECT_FALSE(Exists(kept));
  for (const std::wstring& victim : victims) EXPECT_TRUE(Exists(victim)) << fw::ToAnsi(victim);
}

TEST_F(SnapshotListTest, FavouritesReportNewOrUpdated) {
  EXPECT_EQ(folder_ + L"favs\\", GetFavoritesDir());
  std::wstring img = Snapshot(GetFavoritesDir(), L"f.jpg");
  {
    CFavorites favourites;
    EXPECT_EQ(1, favourites.Add(L"http://f.example/", L"儿歌", img));
    EXPECT_EQ(0, favourites.Add(L"http://f.example/", L"新儿歌", img));
    favourites.PurgeUnusedImages(GetFavoritesDir());
  }
  EXPECT_TRUE(Exists(img));
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<favs>\r\n    <fav uri=\"http://f.example/\" title=\"\xD0\xC2\xB6\xF9\xB8\xE8\" img=\"" +
                fw::ToAnsi(img) + "\" />\r\n</favs>\r\n",
            ReadFile(L"favs\\favs.xml"));
}

// Each damaged file keeps a copy of its own: one set aside before, or a file
// planted at a copy's name, is neither replaced nor written through.
TEST_F(SnapshotListTest, DamagedFileLoadsEmptyAndIsSetAsideBeforeItIsWrittenAnew) {
  std::string deep = "<his>";
  for (int i = 0; i < 10000; ++i) deep += "<site uri=\"http://d.example/\">";
  WriteFile(L"his\\his.xml.damaged2", "planted");
  const wchar_t* copies[] = {L"his\\his.xml.damaged", L"his\\his.xml.damaged3", L"his\\his.xml.damaged4"};
  const wchar_t* const* copy = copies;
  for (const std::string& damaged : {std::string(5000, '\x9F'), std::string("<his><site uri="), deep}) {
    WriteFile(L"his\\his.xml", damaged);
    std::wstring snapshot = Snapshot(GetHistoryDir(), L"{named}.jpg");
    {
      CHistoryList list;
      EXPECT_EQ(0, list.Count());
      list.PurgeUnusedFiles(GetHistoryDir());
    }
    EXPECT_TRUE(Exists(snapshot)) << "the unreadable file may name it";
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his />\r\n", ReadFile(L"his\\his.xml"));
    EXPECT_EQ(damaged, ReadFile(*copy++));
  }
  EXPECT_EQ("planted", ReadFile(L"his\\his.xml.damaged2"));
  EXPECT_EQ(std::string(5000, '\x9F'), ReadFile(copies[0])) << "an earlier copy is never replaced";
  // The list reads fine now; the copies may name any file for as long as one
  // of them is there.
  const std::wstring snapshot = Snapshot(GetHistoryDir(), L"{named}.jpg");
  for (const wchar_t* copy : copies) {
    CHistoryList().PurgeUnusedFiles(GetHistoryDir());
    EXPECT_TRUE(Exists(snapshot));
    ::DeleteFileW((folder_ + copy).c_str());
  }
  CHistoryList().PurgeUnusedFiles(GetHistoryDir());
  EXPECT_FALSE(Exists(snapshot));
}

// A history within the memory budget whose load runs out all the same
// (reading the bytes, TinyXML's parse, building the records) is not damaged:
// the list is empty, and neither the visit of the moment nor the exit's
// purge touches the file or its snapshots; a save that runs out keeps the
// file as it was, also the destructor's.
TEST_F(SnapshotListTest, RunningOutOfMemoryLeavesTheFileAndItsSnapshotsAsTheyAre) {
  std::string file = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his>\r\n";
  std::vector<std::wstring> snapshots;
  for (int i = 0; i < 200; ++i) {
    const std::wstring name = L"{" + std::to_wstring(i) + L"}.jpg";
    if (i % 40 == 0) snapshots.push_back(Snapshot(GetHistoryDir(), name));
    file += "    <site uri=\"http://www.site" + std::to_string(1000 + i) + ".example/page.html\" title=\"" +
            fw::ToAnsi(L"动物故事") + "\" img=\"" + fw::ToAnsi(folder_) + "his\\" + fw::ToAnsi(name) +
            "\" time=\"2026-11-30 18:05:09\" />\r\n";
  }
  file += "</his>\r\n";
  WriteFile(L"his\\his.xml", file);
  testalloc::AllocationLimit limit;
  // Loads with the `failAt`-th allocation failing (0: none); the path is
  // built outside the limit, so the count starts with the load. Returns the
  // allocations the load made.
  auto load = [&](std::optional<CHistoryList>* list, size_t failAt) {
    std::wstring path = GetHistoryFilePath(), folder = GetHistoryDir();
    limit.FailAt(failAt);
    list->emplace(std::move(path), std::move(folder));
    size_t count = limit.Count();
    limit.FailAt(0);
    return count;
  };
  size_t parsed = 0, loaded = 0;
  int saved = -1;
  {
    TiXmlDocument document;
    std::wstring path = GetHistoryFilePath();
    limit.FailAt(0);
    ASSERT_TRUE(datafile::LoadXmlFile(path, &document, false, datafile::kMaxListBytes));
    parsed = limit.Count();
    std::optional<CHistoryList> list;
    loaded = load(&list, 0);
    ASSERT_EQ(200, list->Count());
    list->AddVisit(L"http://new.example/", L"new", L"");
    limit.FailAt(1);
    saved = list->Save();
    limit.FailAt(1);
    list.reset();
    limit.FailAt(0);
  }
  EXPECT_EQ(0, saved);
  EXPECT_TRUE(file == ReadFile(L"his\\his.xml")) << "a failed save keeps the file";
  // The first allocation is the file's bytes.
  std::vector<size_t> points = testalloc::FailurePoints(loaded, 30);
  ASSERT_GT(parsed, 2u);
  ASSERT_LT(parsed, loaded);
  EXPECT_TRUE(points[1] < parsed && points[points.size() - 2] > parsed) << "the parse and the records both fail";
  for (size_t point : points) {
    SCOPED_TRACE(point);
    {
      std::optional<CHistoryList> list;
      load(&list, point);
      EXPECT_EQ(0, list->Count());
      list->AddVisit(L"http://now.example/", L"now", L"");
      EXPECT_EQ(0, list->Save());
      list->PurgeUnusedFiles(GetHistoryDir());
    }
    ASSERT_TRUE(file == ReadFile(L"his\\his.xml")) << "kept byte for byte";
    ASSERT_FALSE(Has(L"his\\his.xml.damaged"));
    for (const std::wstring& snapshot : snapshots) ASSERT_TRUE(Exists(snapshot)) << fw::ToAnsi(snapshot);
  }
  EXPECT_EQ(200, CHistoryList().Count());
}

// TinyXML links a node into its tree only once the node is whole, so running
// out of memory mid-parse would keep what it built: a history whose load
// needs more than a 32-bit process can spare reads as damaged without being
// parsed, while the longest ordinary ones still load.
TEST_F(SnapshotListTest, AHistoryTooLargeForMemoryIsSetAsideUnparsed) {
  const std::string head = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his>\r\n";
  // Two million one-attribute entries: 41 MB, far under the lists' size cap.
  std::string tiny = head;
  tiny.reserve(42 * 1000 * 1000);
  for (int i = 0; i < 2000000; ++i) {
    char entry[32];
    tiny.append(entry, std::snprintf(entry, sizeof entry, "<site uri=\"%d\"/>", i));
  }
  tiny += "</his>\r\n";
  WriteFile(L"his\\his.xml", tiny);
  testalloc::AllocationLimit limit;
  {
    std::wstring path = GetHistoryFilePath(), folder = GetHistoryDir();
    limit.FailAt(0);
    CHistoryList list(std::move(path), std::move(folder));
    EXPECT_LT(limit.Count(), 10u) << "refused before the parse";
    EXPECT_EQ(0, list.Count());
  }
  EXPECT_TRUE(tiny == ReadFile(L"his\\his.xml.damaged")) << "set aside byte for byte";
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his />\r\n", ReadFile(L"his\\his.xml"));

  // 300,000 visits as the browser writes them, over 60 MB, stay within it
  // (loading them takes seconds; the load itself is the same as for any
  // long history).
  std::string ordinary = head;
  ordinary.reserve(70 * 1000 * 1000);
  const std::string title = fw::ToAnsi(L"儿童网站的一个页面标题 ");
  const std::string history = fw::ToAnsi(GetHistoryDir());
  for (int i = 0; i < 300000; ++i) {
    char entry[512];
    ordinary.append(entry, std::snprintf(entry, sizeof entry,
                                         "    <site uri=\"http://www.site%d.example/page/%d.html?from=home\" "
                                         "title=\"%s%d\" img=\"%s\\{C0FFEE00-0000-4000-8000-%012d}.jpg\" "
                                         "time=\"2026-12-10 12:00:00\" />\r\n",
                                         i, i, title.c_str(), i, history.c_str(), i));
  }
  ordinary += "</his>\r\n";
  ASSERT_GT(ordinary.size(), 60u * 1000 * 1000);
  using Records = std::map<std::wstring_view, std::unique_ptr<HistoryRecord>>;
  const datafile::ListEntrySize visit{sizeof(HistoryRecord), datafile::MapNodeSize<Records>(), 1};
  EXPECT_LT(datafile::ListLoadMemory(ordinary, visit), datafile::kMaxListMemory);
}

TEST_F(SnapshotListTest, LargeHistoryLoadsWholeSavesUnchangedAndKeepsItsSnapshots) {
  std::wstring history = GetHistoryDir();
  // Months of a child's history: about 18,000 entries, over 5 MB.
  std::string file = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<his>\r\n";
  std::vector<std::wstring> named;
  const int entries = 18000;
  for (int i = 0; i < entries; ++i) {
    wchar_t number[16];
    swprintf(number, 16, L"%05d", i);
    std::wstring img = history + L"\\{6B29FC40-CA47-1067-B31D-00DD0106" + number + L"}.jpg";
    if (i % 1000 == 0) named.push_back(Snapshot(history, img.substr(history.size() + 1)));
    file += "    <site uri=\"http://www.site" + fw::ToAnsi(number) + ".example/stories/animals/page.html?from=home&amp;lang=zh-cn&amp;size=large\" title=\"" +
            fw::ToAnsi(L"儿童网站：动物故事里的一个很长的页面标题，第 ") + fw::ToAnsi(number) + "\" img=\"" + fw::ToAnsi(img) +
            "\" time=\"2026-11-30 18:05:09\" />\r\n";
  }
  // Addresses as long as a browser takes (2,083 characters), apart only in
  // their last, and a title far longer: each entry stays whole and its own.
  const std::string longTitle = fw::ToAnsi(std::wstring(3000, L'\u72ee'));
  for (const char* tail : {"1", "2"}) {
    std::wstring img = history + L"\\{long" + fw::ToWide(tail) + L"}.jpg";
    named.push_back(Snapshot(history, img.substr(history.size() + 1)));
    file += "    <site uri=\"http://www.site99999.example/?q=" + std::string(2050, 'a') + tail + "\" title=\"" + longTitle +
            "\" img=\"" + fw::ToAnsi(img) + "\" time=\"2026-11-30 18:05:09\" />\r\n";
  }
  file += "</his>\r\n";
  ASSERT_GT(file.size(), 5u * 1000 * 1000);
  WriteFile(L"his\\his.xml", file);
  std::wstring stray = Snapshot(history, L"{stray}.jpg");
  {
    CHistoryList list;
    EXPECT_EQ(entries + 2, list.Count());
    list.PurgeUnusedFiles(history);
  }
  EXPECT_TRUE(file == ReadFile(L"his\\his.xml")) << "saved byte for byte as it was read";
  for (const std::wstring& path : named) EXPECT_TRUE(Exists(path)) << fw::ToAnsi(path);
  EXPECT_FALSE(Exists(stray));
}

TEST_F(SnapshotListTest, WrittenTextIsWhatTinyXmlPrintsForTheSameEntries) {
  // Titles that need escaping or the other quote must come out as TinyXML's own printer writes them.
  const std::wstring titles[] = {L"say \"hi\" & <go>", L"it's", L"a\x01b &#x41; \u513f\u6b4c", L""};
  TiXmlDocument expected;
  expected.LinkEndChild(new TiXmlDeclaration("1.0", "gb2312", ""));
  TiXmlElement* root = expected.LinkEndChild(new TiXmlElement("his"))->ToElement();
  {
    CHistoryList list;
    for (int i = 0; i < 4; ++i) {
      std::wstring uri = L"http://t" + std::to_wstring(i) + L".example/";
      list.AddVisit(uri, titles[i], L"");
    }
    list.Save();
    // Build the document in the order the list walks its entries.
    list.ForEach(
        [](HistoryRecord* record, void* user) {
          TiXmlElement* element = static_cast<TiXmlElement*>(user)->LinkEndChild(new TiXmlElement("site"))->ToElement();
          element->SetAttribute("uri", fw::ToAnsi(record->uri).c_str());
          element->SetAttribute("title", fw::ToAnsi(record->title).c_str());
          element->SetAttribute("img", fw::ToAnsi(record->img).c_str());
          element->SetAttribute("time", fw::ToAnsi(record->time).c_str());
        },
        root);
  }
  EXPECT_EQ(datafile::PrintXml(expected), ReadFile(L"his\\his.xml"));
}

}  // namespace

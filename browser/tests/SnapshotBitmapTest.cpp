// The snapshot file, written from bitmaps of known depth and content.
#include <cstring>
#include <string>

#include "CommHelper.h"
#include "CreationLog.h"
#include "DataFile.h"
#include "PageHostTestSupport.h"
#include "SnapshotBitmap.h"

namespace {

// A memory DC holding a DIB section of the given depth, top row red.
class TestPicture {
 public:
  TestPicture(int width, int height, WORD depth) {
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = depth;
    for (int i = 0; i < 256; ++i) info.colours[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(255 - i), 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT top{0, 0, width, 1};
    FillRect(dc_, &top, red);
    DeleteObject(red);
  }
  ~TestPicture() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC Dc() const { return dc_; }

 private:
  HBITMAP bitmap_;
  HDC dc_;
  HGDIOBJ old_;
};

template <typename T>
T Field(const std::string& bytes, size_t offset) {
  T value{};
  memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

std::wstring TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + name;
  DeleteFileW(path.c_str());
  return path;
}

TEST(SnapshotBitmapTest, APageOf1024By600At32BitsIsAHeaderAndBottomUpRows) {
  TestPicture picture(1024, 600, 32);
  const std::wstring path = TempFile(L"snapshot32.jpg");
  CreationLog log;
  ASSERT_TRUE(WriteSnapshotBitmap(picture.Dc(), 1024, 600, path));
  EXPECT_EQ(kModifyFileGrant, log.GrantOfSave(path)) << "the exit of every account's browser may purge it";
  std::string bytes;
  ASSERT_TRUE(datafile::ReadBytes(path, &bytes) || bytes.size() > 0) << "read";
  if (bytes.empty()) {  // larger than a data file: read it plainly
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
  }
  const size_t image = 1024 * 4 * 600;
  ASSERT_EQ(54 + image, bytes.size());
  EXPECT_EQ(0x4D42, Field<WORD>(bytes, 0));
  EXPECT_EQ(54 + image, Field<DWORD>(bytes, 2));
  EXPECT_EQ(0u, Field<DWORD>(bytes, 6));
  EXPECT_EQ(54u, Field<DWORD>(bytes, 10));
  EXPECT_EQ(40u, Field<DWORD>(bytes, 14));
  EXPECT_EQ(1024, Field<LONG>(bytes, 18));
  EXPECT_EQ(600, Field<LONG>(bytes, 22));
  EXPECT_EQ(1, Field<WORD>(bytes, 26));
  EXPECT_EQ(32, Field<WORD>(bytes, 28));
  EXPECT_EQ(0u, Field<DWORD>(bytes, 30));
  EXPECT_EQ(image, Field<DWORD>(bytes, 34));
  for (size_t offset = 38; offset < 54; offset += 4) EXPECT_EQ(0u, Field<DWORD>(bytes, offset));
  // The red top row is the last row of the file, in blue-green-red order.
  const size_t lastRow = 54 + image - 1024 * 4;
  EXPECT_EQ(0x00FF0000u, Field<DWORD>(bytes, lastRow) & 0x00FFFFFF);
  EXPECT_EQ(0x00FFFFFFu, Field<DWORD>(bytes, 54) & 0x00FFFFFF);
  DeleteFileW(path.c_str());
}

TEST(SnapshotBitmapTest, DepthsRowPaddingAndFailures) {
  struct Case {
    WORD depth, written;
    DWORD rowBytes;
  } cases[] = {{16, 16, 8}, {24, 24, 12}, {8, 24, 12}, {4, 24, 12}};  // 3 pixels a row
  for (const Case& c : cases) {
    TestPicture picture(3, 5, c.depth);
    const std::wstring path = TempFile(L"snapshot-depth.jpg");
    ASSERT_TRUE(WriteSnapshotBitmap(picture.Dc(), 3, 5, path)) << c.depth;
    std::string bytes;
    ASSERT_TRUE(datafile::ReadBytes(path, &bytes));
    EXPECT_EQ(c.written, Field<WORD>(bytes, 28)) << c.depth;
    EXPECT_EQ(54 + c.rowBytes * 5, bytes.size()) << c.depth;
    DeleteFileW(path.c_str());
  }

  TestPicture picture(3, 5, 32);
  const std::wstring empty = TempFile(L"snapshot-empty.jpg");
  EXPECT_FALSE(WriteSnapshotBitmap(picture.Dc(), 0, 5, empty));
  EXPECT_FALSE(WriteSnapshotBitmap(picture.Dc(), 3, 0, empty));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(empty.c_str()));

  // A name that is a folder, and one in a folder that does not exist.
  const std::wstring folder = TempFile(L"snapshot-folder");
  CreateDirectoryW(folder.c_str(), nullptr);
  EXPECT_FALSE(WriteSnapshotBitmap(picture.Dc(), 3, 5, folder));
  EXPECT_FALSE(WriteSnapshotBitmap(picture.Dc(), 3, 5, folder + L"\\missing\\a.jpg"));
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  int entries = 0;
  if (search != INVALID_HANDLE_VALUE) {
    do ++entries;
    while (FindNextFileW(search, &found));
    FindClose(search);
  }
  EXPECT_EQ(1, entries);  // the folder alone, no partial file beside it
  RemoveDirectoryW(folder.c_str());
}

class PageSnapshotTest : public PageHostTest {};

TEST_F(PageSnapshotTest, APageWithoutADocumentWritesNoSnapshot) {
  IETab* page = OpenPage();
  const std::wstring path = TempFile(L"page-snapshot.jpg");
  if (page->Control().GetHtmlDocument2()) GTEST_SKIP() << "this browser loads documents";
  EXPECT_EQ(0, page->SaveSnapshot(path));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
}

}  // namespace

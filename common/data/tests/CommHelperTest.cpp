#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "CmnObjPtr.h"
#include "CommHelper.h"
#include "DataFolderTest.h"

namespace {

TEST(CommHelper, FoldersOfTheModuleAndTheExecutable) {
  std::wstring program = CCommHelper::GetThisModuleDir();
  ASSERT_FALSE(program.empty());
  EXPECT_NE(L'\\', program.back());
  EXPECT_EQ(program + L"\\", CCommHelper::GetThisModuleDir(true));
  EXPECT_EQ(program, CCommHelper::GetExeDir()) << "the test links this code into its executable";
  EXPECT_EQ(program + L"\\conf", CCommHelper::GetConfDir());
  EXPECT_EQ(program + L"\\conf\\", CCommHelper::GetConfDir(true));
  EXPECT_EQ(::GetModuleHandleW(nullptr), CCommHelper::GetThisModuleHandle());
}

TEST(CommHelper, PathDirSafeCutsAndNeverWritesPastTheBuffer) {
  wchar_t buffer[8];
  wmemset(buffer, L'#', 8);
  DWORD length = 100;
  wchar_t big[100];
  EXPECT_EQ(S_OK, CCommHelper::GetPathDirSafe(L"C:\\a\\b.exe", big, &length));
  EXPECT_STREQ(L"C:\\a\\", big);
  EXPECT_EQ(5u, length);

  length = 4;
  EXPECT_EQ(S_FALSE, CCommHelper::GetPathDirSafe(L"C:\\a\\b.exe", buffer, &length));
  EXPECT_STREQ(L"C:\\", buffer);
  EXPECT_EQ(3u, length);
  EXPECT_EQ(L'#', buffer[4]) << "nothing beyond the given length";

  length = 0;
  EXPECT_EQ(E_INVALIDARG, CCommHelper::GetPathDirSafe(L"C:\\a\\b.exe", buffer, &length));
  length = 8;
  EXPECT_EQ(E_FAIL, CCommHelper::GetPathDirSafe(L"b.exe", buffer, &length));
  EXPECT_EQ(E_INVALIDARG, CCommHelper::GetPathDirSafe(L"", buffer, &length));
  EXPECT_EQ(E_INVALIDARG, CCommHelper::GetPathDirSafe(nullptr, buffer, &length));

  wchar_t exeDir[MAX_PATH];
  length = MAX_PATH;
  EXPECT_EQ(S_OK, CCommHelper::GetExeDirSafe(exeDir, &length));
  EXPECT_EQ(CCommHelper::GetExeDir(true), exeDir);
}

TEST(CommHelper, GuidNamesAndSmallTexts) {
  std::set<std::wstring> names;
  for (int i = 0; i < 20; ++i) {
    std::wstring name = CCommHelper::CreateGuidString();
    ASSERT_EQ(38u, name.size());
    EXPECT_EQ(L'{', name.front());
    EXPECT_EQ(L'}', name.back());
    EXPECT_EQ(std::wstring::npos, name.find_first_of(L"abcdef"));
    names.insert(name);
  }
  EXPECT_EQ(20u, names.size());
  std::wstring version;
  EXPECT_EQ(1, CCommHelper::GetAppVersionString(L"logo_icon", &version));
  EXPECT_EQ(L"0.0.1.1", version);
  EXPECT_EQ(L"http", CCommHelper::GetTextBeforeColon(L"http://a:b"));
  EXPECT_EQ(L"//a:b", CCommHelper::GetTextAfterColon(L"http://a:b"));
  EXPECT_EQ(L"", CCommHelper::GetTextAfterColon(L"none"));
}

struct Tracked {
  static int alive;
  Tracked() { ++alive; }
  virtual ~Tracked() { --alive; }
};
int Tracked::alive = 0;

TEST(CmnObjPtr, FreesByKindAndDetachHandsOver) {
  {
    CCmnObjPtr<Tracked, 1> owner(new Tracked);
    EXPECT_EQ(1, Tracked::alive);
    owner.Reset(new Tracked);
    EXPECT_EQ(1, Tracked::alive) << "reset frees the old object";
    Tracked* same = owner.Get();
    owner.Reset(same);
    EXPECT_EQ(1, Tracked::alive) << "reset to itself changes nothing";
    EXPECT_TRUE(owner == same);
    Tracked* detached = owner.Detach();
    EXPECT_EQ(nullptr, owner.Get());
    delete detached;
  }
  EXPECT_EQ(0, Tracked::alive);
  {
    CCmnObjPtr<wchar_t, 2> memory(static_cast<wchar_t*>(::CoTaskMemAlloc(16)));
    CCmnObjPtr<int, 3> array(new int[4]);
    CCmnObjPtr<Tracked, 7> inert(nullptr);
    EXPECT_EQ(nullptr, inert.Get());
  }
}

using DataFolder = DataFolderTest;

TEST_F(DataFolder, IsCreatedAgainWithItsParentsWhenRemoved) {
  std::wstring folder = CCommHelper::GetDataDir();
  EXPECT_EQ(folder + L"\\", CCommHelper::GetDataDir(true));
  EXPECT_NE(std::wstring::npos, folder.find(L"\\Hollin\\Orlat"));
  EXPECT_EQ(std::wstring::npos, folder.find(L"\\\\"));
  RemoveTree(folder);
  RemoveTree(folder.substr(0, folder.rfind(L'\\')));
  ASSERT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(folder.c_str()));
  CCommHelper::GetDataDir();
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(folder.c_str()));
  CCommHelper::MakeDirTree(L"Q:");  // a path with nowhere to climb ends
}

TEST_F(DataFolder, ShiftedTextRoundTripsInTheCodePage) {
  std::wstring path = folder_ + L"shifted.txt";
  ASSERT_EQ(1, CCommHelper::WriteShiftedTextFile(path, L"妈妈说: ab"));
  std::string bytes = ReadFile(L"shifted.txt");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ('c', bytes.back()) << "every byte raised by one";
  std::wstring text;
  EXPECT_EQ(1, CCommHelper::ReadShiftedTextFile(path, &text));
  EXPECT_EQ(L"妈妈说: ab", text);
  EXPECT_EQ(0, CCommHelper::ReadShiftedTextFile(folder_ + L"missing", &text));
}

// A 24-bit bitmap file of the given size, one colour.
std::string BitmapFile(int width, int height, COLORREF colour) {
  int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + stride * height;
  std::string bytes(reinterpret_cast<char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<char*>(&info), sizeof(info));
  std::string row(stride, '\0');
  for (int x = 0; x < width; ++x) {
    row[x * 3] = static_cast<char>(GetBValue(colour));
    row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
    row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
  }
  for (int y = 0; y < height; ++y) bytes += row;
  return bytes;
}

TEST_F(DataFolder, PictureLoadsAtScreenResolutionOrStretched) {
  WriteFile(L"picture.bmp", BitmapFile(96, 48, RGB(255, 0, 0)));
  std::wstring path = folder_ + L"picture.bmp";
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
  ASSERT_EQ(1, CCommHelper::LoadPictureBitmap(&bitmap, path, &width, &height));
  ASSERT_NE(nullptr, bitmap);
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  EXPECT_NEAR(96 * dpi / 96, width, 1);
  EXPECT_NEAR(48 * dpi / 96, height, 1);

  HBITMAP previous = bitmap;
  width = 50;
  height = 0;
  ASSERT_EQ(1, CCommHelper::LoadPictureBitmap(&bitmap, path, &width, &height));
  EXPECT_EQ(0u, ::GetObjectType(previous)) << "the bitmap held before was deleted";
  BITMAP info{};
  ::GetObjectW(bitmap, sizeof(info), &info);
  EXPECT_EQ(50, info.bmWidth);
  EXPECT_EQ(50, width);

  HDC memory = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(memory, 25, 10));
  ::SelectObject(memory, old);
  ::DeleteDC(memory);

  EXPECT_EQ(0, CCommHelper::LoadPictureBitmap(&bitmap, folder_ + L"missing.bmp", &width, &height));
  EXPECT_EQ(nullptr, bitmap);
  EXPECT_EQ(0, CCommHelper::LoadPictureBitmap(&bitmap, L"", &width, &height));
}

}  // namespace

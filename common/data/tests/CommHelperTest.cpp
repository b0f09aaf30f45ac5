#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
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

// A buffer of `length` characters followed by guard characters that no
// call may touch.
struct GuardedBuffer {
  explicit GuardedBuffer(DWORD size) : length(size), text(size + 4, L'#') {}
  bool GuardIntact() const { return text[text.size() - 4] == L'#' && text.back() == L'#'; }
  std::wstring Copied() const { return text.c_str(); }
  DWORD length;
  std::wstring text;
};

TEST(CommHelper, BufferFunctionsFitExactlyCutOneShortAndNeverWritePastTheBuffer) {
  using Call = std::function<HRESULT(wchar_t*, DWORD*)>;
  const std::wstring exeDir = CCommHelper::GetExeDir(true);
  wchar_t userDir[MAX_PATH];
  DWORD userLength = MAX_PATH;
  ASSERT_EQ(S_OK, CCommHelper::GetUserDirSafe(userDir, &userLength));
  struct Case {
    const char* name;
    Call call;
    std::wstring full;
    HRESULT cut;  // the result one character short
  };
  const Case cases[] = {
      {"GetPathDirSafe", [](wchar_t* b, DWORD* l) { return CCommHelper::GetPathDirSafe(L"C:\\a\\b.exe", b, l); },
       L"C:\\a\\", S_FALSE},
      {"GetExeDirSafe", [](wchar_t* b, DWORD* l) { return CCommHelper::GetExeDirSafe(b, l); }, exeDir, S_FALSE},
      {"GetModuleFileNameSafe of the executable",
       [](wchar_t* b, DWORD* l) { return CCommHelper::GetModuleFileNameSafe(nullptr, b, l); }, exeDir, S_FALSE},
      {"GetModuleFileNameSafe of a loaded module",
       [](wchar_t* b, DWORD* l) { return CCommHelper::GetModuleFileNameSafe(L"kernel32.dll", b, l); },
       CCommHelper::GetModuleDir(::GetModuleHandleW(L"kernel32.dll"), true), S_FALSE},
      {"GetModuleFileNameSafe of a name that finds no module",
       [](wchar_t* b, DWORD* l) { return CCommHelper::GetModuleFileNameSafe(L"no-such-module.dll", b, l); }, exeDir,
       S_FALSE},
      // The user folder is never cut: a shorter name would be another folder.
      {"GetUserDirSafe", [](wchar_t* b, DWORD* l) { return CCommHelper::GetUserDirSafe(b, l); }, userDir, S_OK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DWORD exact = static_cast<DWORD>(c.full.size() + 1);
    GuardedBuffer fits(exact);
    EXPECT_EQ(S_OK, c.call(&fits.text[0], &fits.length));
    EXPECT_EQ(c.full, fits.Copied());
    EXPECT_EQ(c.full.size(), fits.length);
    EXPECT_TRUE(fits.GuardIntact());

    GuardedBuffer shortBy1(exact - 1);
    EXPECT_EQ(c.cut, c.call(&shortBy1.text[0], &shortBy1.length));
    const std::wstring kept = c.cut == S_FALSE ? c.full.substr(0, c.full.size() - 1) : L"";
    EXPECT_EQ(kept, shortBy1.Copied());
    EXPECT_EQ(kept.size(), shortBy1.length);
    EXPECT_EQ(L'#', shortBy1.text[exact - 1]) << "nothing beyond the given length";
    EXPECT_TRUE(shortBy1.GuardIntact());

    GuardedBuffer none(0);
    EXPECT_EQ(E_INVALIDARG, c.call(&none.text[0], &none.length));
    EXPECT_EQ(L'#', none.text[0]);
  }
  DWORD length = 8;
  wchar_t buffer[8];
  EXPECT_EQ(E_FAIL, CCommHelper::GetPathDirSafe(L"b.exe", buffer, &length));
  EXPECT_EQ(E_INVALIDARG, CCommHelper::GetPathDirSafe(L"", buffer, &length));
  EXPECT_EQ(E_INVALIDARG, CCommHelper::GetPathDirSafe(nullptr, buffer, &length));
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
    CCmnObjPtr<Tracked, 3> array(new Tracked[3]);
    EXPECT_EQ(3, Tracked::alive);
    array.Reset(new Tracked[2]);
    EXPECT_EQ(2, Tracked::alive) << "an array is freed whole";
  }
  EXPECT_EQ(0, Tracked::alive);

  IMalloc* allocator = nullptr;
  ASSERT_EQ(S_OK, ::CoGetMalloc(1, &allocator));
  wchar_t* memory = static_cast<wchar_t*>(::CoTaskMemAlloc(64));
  {
    CCmnObjPtr<wchar_t, 2> owner(memory);
    EXPECT_EQ(1, allocator->DidAlloc(memory));
  }
  EXPECT_EQ(0, allocator->DidAlloc(memory)) << "the task memory went back to COM's allocator";
  allocator->Release();

  Tracked* kept = new Tracked;
  {
    CCmnObjPtr<Tracked, 7> inert(kept);
    EXPECT_EQ(nullptr, inert.Get()) << "an unknown kind stores nothing";
  }
  EXPECT_EQ(1, Tracked::alive) << "and frees nothing";
  delete kept;
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

// A 24-bit bitmap file of the given size: the top half `top`, the bottom
// half `bottom`, so a picture drawn upside down shows.
std::string BitmapFile(int width, int height, COLORREF top, COLORREF bottom) {
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
  // Rows are stored bottom first.
  for (int y = 0; y < height; ++y) {
    COLORREF colour = y < height / 2 ? bottom : top;
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<char>(GetBValue(colour));
      row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
      row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
    }
    bytes += row;
  }
  return bytes;
}

TEST_F(DataFolder, PictureLoadsAtScreenResolutionOrStretched) {
  WriteFile(L"picture.bmp", BitmapFile(96, 48, RGB(255, 0, 0), RGB(0, 0, 255)));
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
  {
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(memory, 50, 2)) << "at its own size the top stays on top too";
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(memory, 50, 45));
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
  }

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
  EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(memory, 25, 2)) << "the top stays on top";
  EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(memory, 25, height - 3));
  ::SelectObject(memory, old);
  ::DeleteDC(memory);

  EXPECT_EQ(0, CCommHelper::LoadPictureBitmap(&bitmap, folder_ + L"missing.bmp", &width, &height));
  EXPECT_EQ(nullptr, bitmap);
  EXPECT_EQ(0, CCommHelper::LoadPictureBitmap(&bitmap, L"", &width, &height));
}

}  // namespace

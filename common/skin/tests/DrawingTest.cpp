#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "BitmapDC.h"
#include "CommHelper.h"
#include "DrawHelpers.h"
#include "GdiPlusImage.h"
#include "GdiPlusSession.h"
#include "MemDC.h"
#include "SkinTestSupport.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

TEST(MemDC, DrawsOffScreenInTargetCoordinatesAndCopiesOnce) {
  DibCanvas target(40, 40, kWhite);
  SetBkColor(target.Dc(), kBlue);
  RECT area{10, 10, 30, 30};
  {
    CMemDC memory(target.Dc(), &area);
    EXPECT_TRUE(memory.IsMemDC());
    HBRUSH red = CreateSolidBrush(kRed);
    RECT spot{15, 15, 20, 20};
    FillRect(memory, &spot, red);
    DeleteObject(red);
    EXPECT_EQ(kWhite, target.Pixel(16, 16)) << "nothing reaches the target before the copy";
    memory.Flush();
    EXPECT_EQ(kRed, target.Pixel(16, 16));
    RECT again{16, 16, 17, 17};
    HBRUSH green = CreateSolidBrush(kGreen);
    FillRect(memory, &again, green);
    DeleteObject(green);
    memory.Flush();  // a second flush does nothing
    EXPECT_EQ(kRed, target.Pixel(16, 16));
  }
  EXPECT_EQ(kBlue, target.Pixel(12, 12)) << "the area starts in the target's background colour";
  EXPECT_EQ(kWhite, target.Pixel(5, 5)) << "outside the area nothing changes";
  EXPECT_EQ(kWhite, target.Pixel(30, 30));
}

TEST(MemDC, CopyFormStartsFromWhatTheTargetShows) {
  DibCanvas target(20, 20, kGreen);
  RECT area{0, 0, 20, 20};
  { CMemDC memory(target.Dc(), &area, true); }
  EXPECT_EQ(kGreen, target.Pixel(10, 10));
  RECT empty{5, 5, 5, 5};
  { CMemDC memory(target.Dc(), &empty); }  // an empty area paints nothing
  EXPECT_EQ(kGreen, target.Pixel(5, 5));
}

TEST(BitmapDC, FillsAndHandsItsBitmapOver) {
  HBITMAP kept = nullptr;
  {
    CBitmapDC picture(8, 6, nullptr, kRed);
    EXPECT_EQ(kRed, GetPixel(picture, 3, 3));
    kept = picture.Close();
    EXPECT_EQ(nullptr, picture.Close());
  }
  ASSERT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(kept)) << "a closed bitmap belongs to the caller";
  int width = 0, height = 0;
  auto pixels = GetBitmapBits32(kept, &width, &height);
  ASSERT_TRUE(pixels);
  EXPECT_EQ(8, width);
  EXPECT_EQ(6, height);
  EXPECT_EQ(0x00FF0000u, pixels[5] & 0x00FFFFFF);
  DeleteObject(kept);
  EXPECT_FALSE(GetBitmapBits32(nullptr));
}

TEST(RegionFromBitmap, CutsKeyColouredPixels) {
  DibCanvas picture(10, 10, kMagenta);
  picture.Fill(RECT{2, 3, 6, 6}, RGB(0, 0, 0));
  HBITMAP bitmap = picture.Deselect();
  HRGN region = CreateRegionFromBitmap(bitmap, kMagenta);
  ASSERT_NE(nullptr, region);
  RECT box{};
  EXPECT_EQ(SIMPLEREGION, GetRgnBox(region, &box));
  EXPECT_EQ((RECT{2, 3, 6, 6}).left, box.left);
  EXPECT_EQ(6, box.right);
  EXPECT_EQ(3, box.top);
  EXPECT_EQ(6, box.bottom);
  DeleteObject(region);

  region = CreateRegionFromBitmap(bitmap);  // key from the corners
  ASSERT_NE(nullptr, region);
  EXPECT_TRUE(PtInRegion(region, 3, 4));
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  DeleteObject(region);

  HRGN none = CreateRegionFromBitmap(bitmap, RGB(0, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(NULLREGION, GetRgnBox(none, &box)) << "every pixel within the tolerance";
  DeleteObject(none);
  EXPECT_EQ(nullptr, CreateRegionFromBitmap(nullptr));
}

TEST(RegionFromBitmap, CutsAtTheKeyNotAtItsSwappedColourAndWhiteWhenTheCornersDoNotSettleIt) {
  const COLORREF key = RGB(200, 40, 10);
  const COLORREF swapped = RGB(10, 40, 200);
  DibCanvas picture(8, 4, key);
  picture.Fill(RECT{2, 1, 4, 3}, swapped);
  HBITMAP bitmap = picture.Deselect();
  for (COLORREF given : {key, static_cast<COLORREF>(CLR_INVALID)}) {  // given, and from the corners
    HRGN region = CreateRegionFromBitmap(bitmap, given);
    ASSERT_NE(nullptr, region);
    RECT box{};
    EXPECT_EQ(SIMPLEREGION, GetRgnBox(region, &box)) << "only the swapped block stays";
    EXPECT_EQ(2, box.left);
    EXPECT_EQ(1, box.top);
    EXPECT_EQ(4, box.right);
    EXPECT_EQ(3, box.bottom);
    DeleteObject(region);
  }

  // Bottom-right red, above it green, second row's first blue: no key from
  // the corners, so the key stays -1 and pure white is cut.
  DibCanvas mixed(6, 4, kWhite);
  SetPixel(mixed.Dc(), 5, 3, kRed);
  SetPixel(mixed.Dc(), 5, 2, kGreen);
  SetPixel(mixed.Dc(), 0, 1, kBlue);
  SetPixel(mixed.Dc(), 2, 2, RGB(254, 255, 255));
  HRGN region = CreateRegionFromBitmap(mixed.Deselect());
  ASSERT_NE(nullptr, region);
  EXPECT_FALSE(PtInRegion(region, 1, 1));
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_TRUE(PtInRegion(region, 2, 2)) << "near white is not white";
  EXPECT_TRUE(PtInRegion(region, 5, 3));
  EXPECT_TRUE(PtInRegion(region, 5, 2));
  EXPECT_TRUE(PtInRegion(region, 0, 1));
  DeleteObject(region);
}

TEST(RegionFromBitmap, ToleranceReachesAboveTheKey) {
  DibCanvas picture(4, 1, RGB(100, 100, 100));
  SetPixel(picture.Dc(), 1, 0, RGB(110, 110, 110));
  SetPixel(picture.Dc(), 2, 0, RGB(111, 100, 100));
  HRGN region = CreateRegionFromBitmap(picture.Deselect(), RGB(100, 100, 100), RGB(10, 10, 10));
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, 1, 0));
  EXPECT_TRUE(PtInRegion(region, 2, 0));
  DeleteObject(region);
}

TEST(TransparentBlits, KeyPixelsLeaveTheTargetAlone) {
  DibCanvas source(4, 4, kMagenta);
  source.Fill(RECT{1, 1, 3, 3}, kRed);
  {
    DibCanvas target(8, 8, kGreen);
    ASSERT_TRUE(TransparentStretchBlt(target.Dc(), 0, 0, 8, 8, source.Dc(), 0, 0, 4, 4, kMagenta));
    EXPECT_EQ(kGreen, target.Pixel(0, 0));
    EXPECT_EQ(kGreen, target.Pixel(7, 7));
    EXPECT_EQ(kRed, target.Pixel(4, 4));
    EXPECT_EQ(kRed, target.Pixel(2, 2));
    EXPECT_FALSE(TransparentStretchBlt(target.Dc(), 0, 0, 0, 8, source.Dc(), 0, 0, 4, 4, kMagenta));
    EXPECT_EQ(kRed, target.Pixel(4, 4));
  }
  DibCanvas target(4, 4, kBlue);
  DrawTransparent(target.Dc(), 0, 0, 4, 4, source.Dc(), 0, 0, 4, 4, kMagenta);
  EXPECT_EQ(kBlue, target.Pixel(0, 0));
  EXPECT_EQ(kRed, target.Pixel(1, 1));
}

TEST(DrawBitmap, CentresOrStretches) {
  DibCanvas small(2, 2, kRed);
  HBITMAP bitmap = small.Deselect();
  DibCanvas target(10, 10, kWhite);
  DrawBitmapInRect(bitmap, target.Dc(), RECT{0, 0, 10, 10}, false);
  EXPECT_EQ(kRed, target.Pixel(4, 4));
  EXPECT_EQ(kRed, target.Pixel(5, 5));
  EXPECT_EQ(kWhite, target.Pixel(3, 3));
  DrawBitmapInRect(bitmap, target.Dc(), RECT{0, 0, 10, 10}, true);
  EXPECT_EQ(kRed, target.Pixel(0, 0));
  EXPECT_EQ(kRed, target.Pixel(9, 9));
  EXPECT_EQ(GetModuleHandleW(nullptr), GetImageBaseInstance());
}

TEST(GdiPlusImage, RunsGdiPlusWhileImagesLiveAndSavesByMimeType) {
  ASSERT_FALSE(CGdiPlusImage::GdiPlusRunning());
  std::wstring folder = CCommHelper::GetDataDir(true);
  {
    CGdiPlusImage first;
    CGdiPlusImage second;
    EXPECT_TRUE(CGdiPlusImage::GdiPlusRunning());
    EXPECT_EQ(2, CGdiPlusImage::LiveImages());
    EXPECT_EQ(0, first.GetSize().cx);
    EXPECT_FALSE(first.LoadFromFile(folder + L"missing.png"));

    DibCanvas picture(6, 4, kRed);
    // A bitmap file of the red picture to load.
    std::wstring bmp = folder + L"gdip.bmp";
    {
      BITMAPINFOHEADER dib = TopDownBitmapInfo(picture.Width(), picture.Height(), 32).bmiHeader;
      BITMAPFILEHEADER header{};
      header.bfType = 0x4D42;
      header.bfOffBits = sizeof(header) + sizeof(dib);
      DWORD bytes = picture.Width() * picture.Height() * 4;
      header.bfSize = header.bfOffBits + bytes;
      GdiFlush();
      HANDLE file = CreateFileW(bmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written = 0;
      WriteFile(file, &header, sizeof(header), &written, nullptr);
      WriteFile(file, &dib, sizeof(dib), &written, nullptr);
      WriteFile(file, picture.Bits(), bytes, &written, nullptr);
      CloseHandle(file);
    }
    ASSERT_TRUE(first.LoadFromFile(bmp));
    EXPECT_EQ(6, first.GetSize().cx);
    EXPECT_EQ(4, first.GetSize().cy);
    first.RotateFlip(1 /* Rotate90FlipNone */);
    EXPECT_EQ(4, first.GetSize().cx);
    EXPECT_TRUE(first.Save(folder + L"saved.png"));
    EXPECT_FALSE(first.Save(folder + L"saved.jpg")) << "no encoder is called image/jpg";
    EXPECT_FALSE(first.Save(folder + L"saved.PNG")) << "MIME types compare case-sensitively";
    EXPECT_TRUE(first.Save(folder + L"scaled.png", 20, 30));
    ASSERT_TRUE(second.LoadFromFile(folder + L"scaled.png"));
    EXPECT_EQ(20, second.GetSize().cx);
    EXPECT_EQ(30, second.GetSize().cy);
    DibCanvas target(30, 40, kWhite);
    EXPECT_TRUE(second.Draw(target.Dc(), RECT{0, 0, 0, 0}));
    EXPECT_EQ(kRed, target.Pixel(10, 15));
    EXPECT_EQ(kWhite, target.Pixel(25, 35));
  }
  EXPECT_FALSE(CGdiPlusImage::GdiPlusRunning());
  EXPECT_EQ(0, CGdiPlusImage::LiveImages());
}

}  // namespace

TEST(GdiPlusSession, GdiPlusRunsFromTheFirstSessionToTheLastWhoeverHoldsThem) {
  ASSERT_FALSE(CGdiPlusSession::IsRunning());
  {
    auto image = std::make_unique<CGdiPlusImage>();
    CGdiPlusSession list;
    EXPECT_EQ(2, CGdiPlusSession::Sessions());
    image.reset();
    EXPECT_TRUE(CGdiPlusSession::IsRunning()) << "the image's end leaves the other session's GDI+ running";
  }
  EXPECT_FALSE(CGdiPlusSession::IsRunning());
  EXPECT_EQ(0, CGdiPlusSession::Sessions());
}

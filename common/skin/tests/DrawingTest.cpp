#include <windows.h>

#include <gtest/gtest.h>

#include "BitmapDC.h"
#include "CommHelper.h"
#include "DrawHelpers.h"
#include "GdiPlusImage.h"
#include "MemDC.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// A 32-bit DIB section selected into its own DC, filled with one colour.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    Fill(RECT{0, 0, width, height}, fill);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  void Fill(RECT rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc_, &rect, brush);
    DeleteObject(brush);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  HDC dc() const { return dc_; }
  // Hands the bitmap out (deselected); the canvas no longer draws.
  HBITMAP Bitmap() {
    SelectObject(dc_, old_);
    return bitmap_;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

TEST(MemDC, DrawsOffScreenInTargetCoordinatesAndCopiesOnce) {
  Canvas target(40, 40, kWhite);
  SetBkColor(target.dc(), kBlue);
  RECT area{10, 10, 30, 30};
  {
    CMemDC memory(target.dc(), &area);
    EXPECT_TRUE(memory.IsMemDC());
    HBRUSH red = CreateSolidBrush(kRed);
    RECT spot{15, 15, 20, 20};
    FillRect(memory, &spot, red);
    DeleteObject(red);
    EXPECT_EQ(kWhite, target.At(16, 16)) << "nothing reaches the target before the copy";
    memory.Flush();
    EXPECT_EQ(kRed, target.At(16, 16));
    RECT again{16, 16, 17, 17};
    HBRUSH green = CreateSolidBrush(kGreen);
    FillRect(memory, &again, green);
    DeleteObject(green);
    memory.Flush();  // a second flush does nothing
    EXPECT_EQ(kRed, target.At(16, 16));
  }
  EXPECT_EQ(kBlue, target.At(12, 12)) << "the area starts in the target's background colour";
  EXPECT_EQ(kWhite, target.At(5, 5)) << "outside the area nothing changes";
  EXPECT_EQ(kWhite, target.At(30, 30));
}

TEST(MemDC, CopyFormStartsFromWhatTheTargetShows) {
  Canvas target(20, 20, kGreen);
  RECT area{0, 0, 20, 20};
  { CMemDC memory(target.dc(), &area, true); }
  EXPECT_EQ(kGreen, target.At(10, 10));
  RECT empty{5, 5, 5, 5};
  { CMemDC memory(target.dc(), &empty); }  // an empty area paints nothing
  EXPECT_EQ(kGreen, target.At(5, 5));
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
  Canvas picture(10, 10, kMagenta);
  picture.Fill(RECT{2, 3, 6, 6}, RGB(0, 0, 0));
  HBITMAP bitmap = picture.Bitmap();
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

TEST(RegionFromBitmap, ToleranceReachesAboveTheKey) {
  Canvas picture(4, 1, RGB(100, 100, 100));
  SetPixel(picture.dc(), 1, 0, RGB(110, 110, 110));
  SetPixel(picture.dc(), 2, 0, RGB(111, 100, 100));
  HRGN region = CreateRegionFromBitmap(picture.Bitmap(), RGB(100, 100, 100), RGB(10, 10, 10));
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, 1, 0));
  EXPECT_TRUE(PtInRegion(region, 2, 0));
  DeleteObject(region);
}

TEST(TransparentBlits, KeyPixelsLeaveTheTargetAlone) {
  Canvas source(4, 4, kMagenta);
  source.Fill(RECT{1, 1, 3, 3}, kRed);
  {
    Canvas target(8, 8, kGreen);
    ASSERT_TRUE(TransparentStretchBlt(target.dc(), 0, 0, 8, 8, source.dc(), 0, 0, 4, 4, kMagenta));
    EXPECT_EQ(kGreen, target.At(0, 0));
    EXPECT_EQ(kGreen, target.At(7, 7));
    EXPECT_EQ(kRed, target.At(4, 4));
    EXPECT_EQ(kRed, target.At(2, 2));
    EXPECT_FALSE(TransparentStretchBlt(target.dc(), 0, 0, 0, 8, source.dc(), 0, 0, 4, 4, kMagenta));
    EXPECT_EQ(kRed, target.At(4, 4));
  }
  Canvas target(4, 4, kBlue);
  DrawTransparent(target.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 4, 4, kMagenta);
  EXPECT_EQ(kBlue, target.At(0, 0));
  EXPECT_EQ(kRed, target.At(1, 1));
}

TEST(DrawBitmap, CentresOrStretches) {
  Canvas small(2, 2, kRed);
  HBITMAP bitmap = small.Bitmap();
  Canvas target(10, 10, kWhite);
  DrawBitmapInRect(bitmap, target.dc(), RECT{0, 0, 10, 10}, false);
  EXPECT_EQ(kRed, target.At(4, 4));
  EXPECT_EQ(kRed, target.At(5, 5));
  EXPECT_EQ(kWhite, target.At(3, 3));
  DrawBitmapInRect(bitmap, target.dc(), RECT{0, 0, 10, 10}, true);
  EXPECT_EQ(kRed, target.At(0, 0));
  EXPECT_EQ(kRed, target.At(9, 9));
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

    Canvas picture(6, 4, kRed);
    HBITMAP bitmap = picture.Bitmap();
    // A bitmap file of the red picture to load.
    std::wstring bmp = folder + L"gdip.bmp";
    {
      BITMAP info{};
      GetObjectW(bitmap, sizeof(info), &info);
      auto pixels = GetBitmapBits32(bitmap);
      BITMAPFILEHEADER header{};
      BITMAPINFOHEADER dib{};
      dib.biSize = sizeof(dib);
      dib.biWidth = info.bmWidth;
      dib.biHeight = -info.bmHeight;
      dib.biPlanes = 1;
      dib.biBitCount = 32;
      header.bfType = 0x4D42;
      header.bfOffBits = sizeof(header) + sizeof(dib);
      DWORD bytes = info.bmWidth * info.bmHeight * 4;
      header.bfSize = header.bfOffBits + bytes;
      HANDLE file = CreateFileW(bmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written = 0;
      WriteFile(file, &header, sizeof(header), &written, nullptr);
      WriteFile(file, &dib, sizeof(dib), &written, nullptr);
      WriteFile(file, pixels.get(), bytes, &written, nullptr);
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
    Canvas target(30, 40, kWhite);
    EXPECT_TRUE(second.Draw(target.dc(), RECT{0, 0, 0, 0}));
    EXPECT_EQ(kRed, target.At(10, 15));
    EXPECT_EQ(kWhite, target.At(25, 35));
    DeleteObject(bitmap);
  }
  EXPECT_FALSE(CGdiPlusImage::GdiPlusRunning());
  EXPECT_EQ(0, CGdiPlusImage::LiveImages());
}

}  // namespace

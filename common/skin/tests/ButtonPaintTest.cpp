// Painting of the owner-drawn buttons: each case paints a real button into a
// 32-bit DIB section through DrawItem and reads the pixels back.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BkgBtn.h"
#include "ButtonImages.h"
#include "ButtonST.h"
#include "GdiObjectCount.h"
#include "SkinTestSupport.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kTeal = RGB(0, 128, 128);

// What a canvas holds where nothing was painted.
const COLORREF kUnpainted = RGB(1, 2, 3);

// Copies a bitmap to the top left of `dib` (monochrome: 1 white, 0 black).
void DrawBitmapAt(HBITMAP bitmap, DibCanvas& dib) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof(info), &info);
  HDC source = CreateCompatibleDC(dib.Dc());
  HGDIOBJ old = SelectObject(source, bitmap);
  SetTextColor(dib.Dc(), RGB(0, 0, 0));
  SetBkColor(dib.Dc(), RGB(255, 255, 255));
  BitBlt(dib.Dc(), 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

class Parent : public fw::Wnd {};

class ButtonPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Create(PopupArgs(40, 40, 300, 200)));
  }
  void TearDown() override {
    for (HBITMAP bitmap : made) DeleteObject(bitmap);
  }
  HWND MakeButton(const wchar_t* text, DWORD type = BS_PUSHBUTTON, int width = 60, int height = 40) {
    return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | type, 10, 10, width, height, parent.Hwnd(),
                           reinterpret_cast<HMENU>(7), nullptr, nullptr);
  }
  HBITMAP Bitmap(int width, int height, COLORREF outer, RECT inner = RECT{}, COLORREF innerColour = CLR_INVALID) {
    made.push_back(TwoToneBitmap(width, height, outer, inner, innerColour));
    return made.back();
  }
  // One paint of `button` into `dib`, as the parent's WM_DRAWITEM would ask.
  static void Paint(CButtonST& button, DibCanvas& dib, UINT state, RECT item = RECT{0, 0, 60, 40}) {
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_BUTTON;
    draw.hwndItem = button.Hwnd();
    draw.hDC = dib.Dc();
    draw.rcItem = item;
    draw.itemState = state;
    draw.itemAction = ODA_DRAWENTIRE;
    button.DrawItem(&draw);
  }
  static void Hover(CButtonST& button) {
    POINT point{5, 5};
    ClientToScreen(button.Hwnd(), &point);
    SetCursorPos(point.x, point.y);
    SendMessageW(button.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(button.IsHovered());
  }

  Parent parent;
  std::vector<HBITMAP> made;
};

TEST_F(ButtonPaintTest, TheStateChoosesTheBitmap) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
  ASSERT_EQ(0, button.SetBitmaps(Bitmap(16, 16, kRed), kMagenta, Bitmap(16, 16, kGreen), kMagenta,
                                 Bitmap(16, 16, kBlue), kMagenta, Bitmap(16, 16, kYellow), kMagenta));
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(kGreen, dib.Pixel(5, 5)) << "away from the pointer: out";
  Hover(button);
  Paint(button, dib, 0);
  EXPECT_EQ(kRed, dib.Pixel(5, 5)) << "under the pointer: in";
  Paint(button, dib, ODS_SELECTED);
  EXPECT_EQ(kBlue, dib.Pixel(5, 5)) << "pressed under the pointer";
  EnableWindow(button.Hwnd(), FALSE);
  Paint(button, dib, ODS_DISABLED);
  EXPECT_EQ(kYellow, dib.Pixel(5, 5)) << "disabled";
}

TEST_F(ButtonPaintTest, OnlyAnInBitmapShowsInEveryState) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
  ASSERT_EQ(0, button.SetBitmaps(Bitmap(16, 16, kRed), kMagenta));
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(kRed, dib.Pixel(5, 5));
  Hover(button);
  Paint(button, dib, ODS_SELECTED);
  EXPECT_EQ(kRed, dib.Pixel(5, 5));
  EnableWindow(button.Hwnd(), FALSE);
  Paint(button, dib, ODS_DISABLED);
  EXPECT_EQ(kRed, dib.Pixel(5, 5));
}

TEST_F(ButtonPaintTest, ImageAlignmentPlacesTheBitmap) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
  ASSERT_EQ(0, button.SetBitmaps(Bitmap(10, 10, kRed), kMagenta));
  button.SetColor(CButtonST::BTNST_COLOR_BK_OUT, kTeal);
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(kRed, dib.Pixel(0, 0)) << "the default lays the image at the top left";
  ASSERT_EQ(0, button.SetImageAlignment(CButtonST::ST_ALIGN_HORIZ));
  Paint(button, dib, 0);
  EXPECT_EQ(kTeal, dib.Pixel(0, 0));
  EXPECT_EQ(kRed, dib.Pixel(25, 15)) << "centred in 60 x 40: (25, 15) to (35, 25)";
  EXPECT_EQ(kTeal, dib.Pixel(24, 15));
  EXPECT_EQ(kTeal, dib.Pixel(35, 25));
  EXPECT_EQ(CButtonST::BTNST_INVALIDALIGN, button.SetImageAlignment(4));
  Paint(button, dib, 0);
  EXPECT_EQ(kRed, dib.Pixel(25, 15)) << "a refused alignment changes nothing";
}

// Beside a caption the image keeps a margin from its edge and the caption is
// centred in the room left over.
TEST_F(ButtonPaintTest, ImageBesideACaptionMovesTheCaptionAside) {
  struct Case {
    BYTE alignment;
    RECT image;
    POINT captionCentre;  // doubled, to stay whole
    const char* name;
  };
  const Case cases[] = {
      {CButtonST::ST_ALIGN_HORIZ, RECT{3, 15, 13, 25}, POINT{13 + 60, 40}, "image left, caption in 13..60"},
      {CButtonST::ST_ALIGN_VERT, RECT{25, 3, 35, 13}, POINT{60, 10 + 40}, "image on top, caption in 10..40"},
      {CButtonST::ST_ALIGN_HORIZ_RIGHT, RECT{47, 15, 57, 25}, POINT{3 + 47, 40}, "image right, caption in 3..47"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CButtonST button;
    // Letters whose ink sits in the middle of their cells.
    ASSERT_TRUE(button.SubclassButton(MakeButton(L"HH")));
    ASSERT_EQ(0, button.SetBitmaps(Bitmap(10, 10, kRed), kMagenta));
    button.SetColor(CButtonST::BTNST_COLOR_BK_OUT, kTeal, FALSE);
    button.SetColor(CButtonST::BTNST_COLOR_FG_OUT, kBlue, FALSE);
    ASSERT_EQ(0, button.SetImageAlignment(c.alignment, FALSE));
    DibCanvas dib(60, 40, kUnpainted);
    Paint(button, dib, 0);
    RECT image = dib.Bounds(kRed);
    EXPECT_TRUE(EqualRect(&image, &c.image))
        << image.left << "," << image.top << " " << image.right << "," << image.bottom;
    RECT text = dib.Bounds(kBlue);
    ASSERT_FALSE(IsRectEmpty(&text)) << "the caption is drawn";
    // Within a pixel: the ink of a glyph need not sit in the middle of its cell.
    EXPECT_NEAR(c.captionCentre.x, text.left + text.right, 2);
    EXPECT_NEAR(c.captionCentre.y, text.top + text.bottom, 2);
    RECT overlap{};
    EXPECT_FALSE(IntersectRect(&overlap, &image, &text)) << "the caption keeps off the image";
  }
}

TEST_F(ButtonPaintTest, MagentaIsLeftOutOnlyInTransparentMode) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
  ASSERT_EQ(0, button.SetBitmaps(Bitmap(20, 20, kMagenta, RECT{5, 5, 15, 15}, kBlue), kMagenta));
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(kMagenta, dib.Pixel(1, 1)) << "opaque: copied as it is";

  button.SetTransparentBackground();
  Paint(button, dib, 0);
  EXPECT_EQ(kBlue, dib.Pixel(10, 10));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), dib.Pixel(1, 1)) << "the parent's background shows through";
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), dib.Pixel(50, 30));
}

TEST_F(ButtonPaintTest, MasksDrawKeyPixelsAsTheBackground) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
  button.SetColor(CButtonST::BTNST_COLOR_BK_OUT, kTeal);
  button.SetBuildMasks(TRUE);
  HBITMAP source = Bitmap(20, 20, kMagenta, RECT{5, 5, 15, 15}, kBlue);
  ASSERT_EQ(0, button.SetBitmaps(source, kMagenta));
  ASSERT_NE(nullptr, button.GetMask(0));
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(kTeal, dib.Pixel(1, 1));
  EXPECT_EQ(kBlue, dib.Pixel(10, 10));
  DibCanvas check(20, 20, kUnpainted);
  DrawBitmapAt(source, check);
  EXPECT_EQ(kMagenta, check.Pixel(1, 1)) << "the caller's bitmap is not touched by the mask";
}

TEST_F(ButtonPaintTest, BackgroundAndCaptionColoursFollowTheState) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"WWWW", BS_PUSHBUTTON)));
  button.SetCaptionFont(L"Tahoma", 30, CButtonST::BTNST_FONT_BOLD);
  button.SetColor(CButtonST::BTNST_COLOR_BK_OUT, kTeal);
  button.SetColor(CButtonST::BTNST_COLOR_FG_OUT, kRed);
  button.SetColor(CButtonST::BTNST_COLOR_BK_FOCUS, kYellow);
  button.SetColor(CButtonST::BTNST_COLOR_FG_FOCUS, kBlue);
  button.SetColor(CButtonST::BTNST_COLOR_BK_IN, kGreen);
  button.SetColor(CButtonST::BTNST_COLOR_FG_IN, kMagenta);
  DibCanvas dib(60, 40, kUnpainted);
  RECT all{0, 0, 60, 40};
  Paint(button, dib, 0);
  EXPECT_EQ(kTeal, dib.Pixel(1, 1));
  EXPECT_GT(dib.Count(kRed, all), 10);
  Paint(button, dib, ODS_FOCUS);
  EXPECT_EQ(kYellow, dib.Pixel(1, 1));
  EXPECT_GT(dib.Count(kBlue, all), 10);
  EXPECT_EQ(0, dib.Count(kRed, all));
  Hover(button);
  Paint(button, dib, ODS_FOCUS);
  EXPECT_EQ(kGreen, dib.Pixel(1, 1));
  EXPECT_GT(dib.Count(kMagenta, all), 10);
}

// The caption's ink in a paint: the rows it spans and how many pixels.
struct Ink {
  int rows = 0;
  int pixels = 0;
};

TEST_F(ButtonPaintTest, CaptionFontIsMadeFromHeightAndFlagsWithOrWithoutAFace) {
  // The item DC carries a large font of its own: the caption never borrows it.
  fw::ScopedFont large(CreateFontW(40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                   L"Tahoma"));
  auto paint = [&](const std::function<void(CButtonST&)>& style) {
    CBkgBtn button;
    EXPECT_TRUE(button.SubclassButton(MakeButton(L"HH", BS_PUSHBUTTON, 120, 60)));
    button.SetColor(CButtonST::BTNST_COLOR_BK_OUT, kTeal);
    style(button);
    DibCanvas dib(120, 60, kUnpainted);
    fw::ScopedSelectObject select(dib.Dc(), large.Get());
    Paint(button, dib, 0, RECT{0, 0, 120, 60});
    Ink ink;
    for (int y = 0; y < 60; ++y) {
      int row = 0;
      for (int x = 0; x < 120; ++x) row += dib.Pixel(x, y) != kTeal;
      ink.rows += row > 0;
      ink.pixels += row;
    }
    return ink;
  };
  const Ink byDefault = paint([](CButtonST&) {});
  const Ink tall = paint([](CButtonST& b) { b.SetCaptionFont(L"", 30, 0); });
  const Ink bold = paint([](CButtonST& b) { b.SetCaptionFont(L"", 30, CButtonST::BTNST_FONT_BOLD); });
  // A skin's fontsize without fonttype.
  const Ink skinned = paint([](CButtonST& b) { static_cast<CBkgBtn&>(b).ApplyTextStyle(L"", 30, kRed, kRed); });
  const Ink inDcFont = paint([](CButtonST& b) { b.SetCaptionFont(L"", 40, 0); });
  EXPECT_GT(byDefault.rows, 4);
  EXPECT_LE(byDefault.rows, 12) << "the 12-pixel default, not the DC's font";
  EXPECT_GE(tall.rows, byDefault.rows * 2);
  EXPECT_LT(tall.rows, inDcFont.rows);
  EXPECT_EQ(tall.rows, skinned.rows);
  EXPECT_NEAR(tall.rows, bold.rows, 2);
  EXPECT_GT(bold.pixels, tall.pixels * 5 / 4) << "bold from the flags alone";

  // Styles only add; the alignment is replaced.
  CButtonST button;
  button.SetCaptionFont(L"Tahoma", 16, CButtonST::BTNST_FONT_BOLD | CButtonST::BTNST_FONT_RIGHT);
  EXPECT_EQ(static_cast<UINT>(DT_RIGHT), button.GetCaptionAlignment());
  button.SetCaptionFont(L"", 0, CButtonST::BTNST_FONT_CENTER | CButtonST::BTNST_FONT_RIGHT);
  EXPECT_EQ(static_cast<UINT>(DT_CENTER), button.GetCaptionAlignment());
  button.SetCaptionFont(L"", 0, 0);
  EXPECT_EQ(static_cast<UINT>(DT_LEFT), button.GetCaptionAlignment());
}

TEST_F(ButtonPaintTest, DisabledCaptionIsEtched) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"WWWW", WS_DISABLED)));
  button.SetCaptionFont(L"Tahoma", 30, CButtonST::BTNST_FONT_BOLD);
  button.SetColor(CButtonST::BTNST_COLOR_BK_OUT, kTeal);
  button.SetColor(CButtonST::BTNST_COLOR_FG_OUT, kRed);
  DibCanvas dib(60, 40, kUnpainted);
  RECT all{0, 0, 60, 40};
  Paint(button, dib, ODS_DISABLED);
  EXPECT_EQ(0, dib.Count(kRed, all));
  EXPECT_GT(dib.Count(GetSysColor(COLOR_BTNSHADOW), all), 10);
  EXPECT_GT(dib.Count(GetSysColor(COLOR_BTNHIGHLIGHT), all), 10);
  // The light copy sits one pixel down and right of the shadow copy.
  int lightBelowShadow = 0;
  for (int y = 0; y < 39; ++y)
    for (int x = 0; x < 59; ++x)
      lightBelowShadow += dib.Pixel(x, y) == GetSysColor(COLOR_BTNSHADOW) &&
                          dib.Pixel(x + 1, y + 1) == GetSysColor(COLOR_BTNHIGHLIGHT);
  EXPECT_GT(lightBelowShadow, 3);
}

TEST_F(ButtonPaintTest, ThreeDBorderAndDefaultFrame) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"", BS_DEFPUSHBUTTON)));
  EXPECT_TRUE(button.IsDefaultButton());
  EXPECT_FALSE(button.IsCheckBox());
  EXPECT_EQ(BS_OWNERDRAW, GetWindowLongPtrW(button.Hwnd(), GWL_STYLE) & 0xF);
  button.SetFlatStyle(FALSE);
  button.SetColor(CButtonST::BTNST_COLOR_BK_OUT, kTeal);
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(RGB(0, 0, 0), dib.Pixel(0, 0)) << "the default button's black frame";
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), dib.Pixel(1, 20));
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), dib.Pixel(58, 20));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), dib.Pixel(57, 20));
  EXPECT_EQ(kTeal, dib.Pixel(30, 20));
  Paint(button, dib, ODS_SELECTED);
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), dib.Pixel(1, 20)) << "pressed: a shadow frame";
}

TEST_F(ButtonPaintTest, EmptySizesPaintNothing) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"Caption")));
  ASSERT_EQ(0, button.SetBitmaps(Bitmap(16, 16, kRed), kMagenta));
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0, RECT{0, 0, 0, 0});
  Paint(button, dib, 0, RECT{0, 0, 0, 40});
  Paint(button, dib, 0, RECT{10, 10, 5, 5});
  EXPECT_EQ(kUnpainted, dib.Pixel(0, 0));
  EXPECT_EQ(kUnpainted, dib.Pixel(30, 20));

  SetWindowTextW(button.Hwnd(), L"");
  button.SetImageAlignment(CButtonST::ST_ALIGN_HORIZ_RIGHT);
  Paint(button, dib, 0, RECT{0, 0, 1, 1});  // image larger than the item
  button.SetColor(CButtonST::BTNST_COLOR_BK_OUT, kTeal);
  button.FreeResources();
  Paint(button, dib, 0);
  EXPECT_EQ(kTeal, dib.Pixel(30, 20)) << "no image, no caption: the background only";
}

TEST_F(ButtonPaintTest, PaintingSelectsEverythingBackAndLeaksNothing) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"Caption")));
  button.SetCaptionFont(L"Tahoma", 14, CButtonST::BTNST_FONT_ITALIC);
  button.SetBuildMasks(TRUE);
  ASSERT_EQ(0, button.SetBitmaps(Bitmap(16, 16, kRed), kMagenta, Bitmap(16, 16, kGreen), kMagenta));
  button.SetTransparentBackground();
  DibCanvas dib(60, 40, kUnpainted);
  HGDIOBJ font = GetCurrentObject(dib.Dc(), OBJ_FONT);
  HGDIOBJ bitmap = GetCurrentObject(dib.Dc(), OBJ_BITMAP);
  HGDIOBJ brush = GetCurrentObject(dib.Dc(), OBJ_BRUSH);
  HGDIOBJ pen = GetCurrentObject(dib.Dc(), OBJ_PEN);
  Paint(button, dib, 0);  // the first paint takes the snapshot
  DWORD before = GdiObjectCount::Now();
  for (int i = 0; i < 200; ++i) Paint(button, dib, i % 2 ? ODS_SELECTED | ODS_FOCUS : 0);
  DWORD after = GdiObjectCount::Now();
  EXPECT_EQ(font, GetCurrentObject(dib.Dc(), OBJ_FONT));
  EXPECT_EQ(bitmap, GetCurrentObject(dib.Dc(), OBJ_BITMAP));
  EXPECT_EQ(brush, GetCurrentObject(dib.Dc(), OBJ_BRUSH));
  EXPECT_EQ(pen, GetCurrentObject(dib.Dc(), OBJ_PEN));
  EXPECT_EQ(OBJ_BITMAP, static_cast<int>(GetObjectType(button.GetBitmap(0))));
  EXPECT_EQ(OBJ_BITMAP, static_cast<int>(GetObjectType(button.GetMask(1))));
  EXPECT_EQ(before, after);
}

TEST_F(ButtonPaintTest, BitmapsHaveExactlyOneOwner) {
  HBITMAP in = Bitmap(16, 16, kRed);
  HBITMAP out = Bitmap(16, 16, kGreen);
  HBITMAP copyIn = nullptr, copyOut = nullptr, mask = nullptr;
  {
    CButtonST button;
    ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
    button.SetBuildMasks(TRUE);
    ASSERT_EQ(0, button.SetBitmaps(in, kMagenta, out, kMagenta));
    copyIn = button.GetBitmap(0);
    copyOut = button.GetBitmap(1);
    mask = button.GetMask(0);
    EXPECT_NE(in, copyIn);
    EXPECT_NE(out, copyOut);
    // Replacing the images deletes the button's copies, never the caller's.
    ASSERT_EQ(0, button.SetBitmaps(in, kMagenta));
    EXPECT_EQ(0u, GetObjectType(copyOut));
    EXPECT_EQ(0u, GetObjectType(mask));
    copyIn = button.GetBitmap(0);
    mask = button.GetMask(0);
    EXPECT_EQ(nullptr, button.GetBitmap(1));
  }
  EXPECT_EQ(0u, GetObjectType(copyIn)) << "the button deleted its copy";
  EXPECT_EQ(0u, GetObjectType(mask));
  EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(in)) << "the caller's bitmap lives on";
  EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(out));
}

TEST_F(ButtonPaintTest, FailedSettersLeaveNoImages) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
  ASSERT_EQ(0, button.SetBitmaps(Bitmap(16, 16, kRed), kMagenta));
  EXPECT_EQ(CButtonST::BTNST_INVALIDRESOURCE, button.SetBitmapFiles(L"C:\\no\\such\\file.bmp", kMagenta));
  EXPECT_EQ(nullptr, button.GetBitmap(0));
  EXPECT_EQ(CButtonST::BTNST_INVALIDRESOURCE, button.SetBitmaps(nullptr, kMagenta, Bitmap(4, 4, kRed), 0));
  EXPECT_EQ(nullptr, button.GetBitmap(1));
  EXPECT_EQ(CButtonST::BTNST_INVALIDRESOURCE, button.SetIconFiles(L"C:\\no\\such\\icon.ico"));
  EXPECT_EQ(nullptr, button.GetIcon(0));
}

TEST_F(ButtonPaintTest, IconFilesOutAwayInUnderThePointerNormalWhenDisabled) {
  TempSkinFolder folder;
  std::wstring in = folder.WriteIcon(L"in.ico", kRed), out = folder.WriteIcon(L"out.ico", kGreen);
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"HH")));
  button.SetCaptionFont(L"Tahoma", 20, CButtonST::BTNST_FONT_BOLD);
  button.SetColor(CButtonST::BTNST_COLOR_FG_OUT, kBlue);
  ASSERT_EQ(0, button.SetIconFiles(in, out));
  EXPECT_EQ(16, button.GetImageSize(0, true).cx) << "twice the hot spot";
  button.SetImageAlignment(CButtonST::ST_ALIGN_HORIZ);
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(kGreen, dib.Pixel(3 + 8, 12 + 8)) << "left of the caption at margin 3, centred vertically";
  Hover(button);
  Paint(button, dib, 0);
  EXPECT_EQ(kRed, dib.Pixel(11, 20));
  button.SetIconAtLeft(TRUE);
  Paint(button, dib, 0);
  EXPECT_EQ(kRed, dib.Pixel(2, 12)) << "at (2, bottom / 2 - 8)";
  EnableWindow(button.Hwnd(), FALSE);
  Paint(button, dib, ODS_DISABLED);
  EXPECT_EQ(kGreen, dib.Pixel(2, 12)) << "the icon is drawn as it is";
  EXPECT_EQ(0, dib.Count(kBlue, RECT{0, 0, 60, 40})) << "while the caption is etched";
}

// ---------------------------------------------------------------------------
// Image utilities

TEST(ButtonImagesTest, GrayscaleAndDarkerCopiesSkipTheKey) {
  HBITMAP source = TwoToneBitmap(8, 8, kMagenta, RECT{0, 0, 4, 8}, RGB(100, 150, 200));
  HBITMAP gray = CreateGrayscaleBitmap(source, 8, 8, kMagenta);
  HBITMAP darker = CreateDarkerBitmap(source, 8, 8, kMagenta);
  ASSERT_NE(nullptr, gray);
  ASSERT_NE(nullptr, darker);
  DibCanvas dib(8, 8, kUnpainted);
  DrawBitmapAt(gray, dib);
  EXPECT_EQ(RGB(140, 140, 140), dib.Pixel(1, 1)) << "0.299*100 + 0.587*150 + 0.114*200 = 140.75";
  EXPECT_EQ(kMagenta, dib.Pixel(6, 1));
  DrawBitmapAt(darker, dib);
  EXPECT_EQ(RGB(75, 112, 150), dib.Pixel(1, 1));
  EXPECT_EQ(kMagenta, dib.Pixel(6, 1));
  DrawBitmapAt(source, dib);
  EXPECT_EQ(RGB(100, 150, 200), dib.Pixel(1, 1)) << "the source is unchanged";
  EXPECT_EQ(nullptr, CreateGrayscaleBitmap(source, 0, 8, kMagenta));
  EXPECT_EQ(nullptr, CreateDarkerBitmap(nullptr, 8, 8, kMagenta));
  DeleteObject(gray);
  DeleteObject(darker);
  DeleteObject(source);
}

TEST(ButtonImagesTest, DarkenColorOnlyForFactorsInRange) {
  EXPECT_EQ(RGB(75, 112, 150), DarkenColor(RGB(100, 150, 200), 0.25));
  EXPECT_EQ(RGB(0, 0, 0), DarkenColor(RGB(100, 150, 200), 1.0));
  EXPECT_EQ(RGB(100, 150, 200), DarkenColor(RGB(100, 150, 200), 0.0));
  EXPECT_EQ(RGB(100, 150, 200), DarkenColor(RGB(100, 150, 200), 1.5));
  EXPECT_EQ(RGB(100, 150, 200), DarkenColor(RGB(100, 150, 200), -0.5));
}

TEST(ButtonImagesTest, MaskMarksTheKeyAndBlackensItInTheImage) {
  HBITMAP image = TwoToneBitmap(8, 8, kMagenta, RECT{2, 2, 6, 6}, kGreen);
  HBITMAP mask = CreateMaskBitmap(image, 8, 8, kMagenta);
  ASSERT_NE(nullptr, mask);
  BITMAP info{};
  GetObjectW(mask, sizeof(info), &info);
  EXPECT_EQ(1, info.bmBitsPixel);
  DibCanvas dib(8, 8, kUnpainted);
  DrawBitmapAt(mask, dib);
  EXPECT_EQ(RGB(255, 255, 255), dib.Pixel(0, 0)) << "key pixels are 1";
  EXPECT_EQ(RGB(0, 0, 0), dib.Pixel(3, 3));
  DrawBitmapAt(image, dib);
  EXPECT_EQ(RGB(0, 0, 0), dib.Pixel(0, 0)) << "the key is black in the image";
  EXPECT_EQ(kGreen, dib.Pixel(3, 3));
  EXPECT_EQ(nullptr, CreateMaskBitmap(image, 0, 0, kMagenta));
  DeleteObject(mask);
  DeleteObject(image);
}

TEST(ButtonImagesTest, IconCopiesKeepSizeMaskAndBlack) {
  HBITMAP colour = TwoToneBitmap(32, 32, RGB(0, 0, 0), RECT{8, 8, 24, 24}, RGB(100, 150, 200));
  HBITMAP mask = CreateBitmap(32, 32, 1, 1, nullptr);
  ICONINFO info{TRUE, 16, 16, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(nullptr, icon);
  HICON gray = CreateGrayscaleIcon(icon);
  ASSERT_NE(nullptr, gray);
  ICONINFO grayInfo{};
  ASSERT_TRUE(GetIconInfo(gray, &grayInfo));
  BITMAP size{};
  GetObjectW(grayInfo.hbmColor, sizeof(size), &size);
  EXPECT_EQ(32, size.bmWidth);
  DibCanvas dib(32, 32, kUnpainted);
  DrawBitmapAt(grayInfo.hbmColor, dib);
  EXPECT_EQ(RGB(140, 140, 140), dib.Pixel(16, 16));
  EXPECT_EQ(RGB(0, 0, 0), dib.Pixel(1, 1));
  DeleteObject(grayInfo.hbmColor);
  DeleteObject(grayInfo.hbmMask);
  HICON darker = CreateDarkerIcon(icon);
  EXPECT_NE(nullptr, darker);
  EXPECT_EQ(nullptr, CreateGrayscaleIcon(nullptr));
  DestroyIcon(gray);
  DestroyIcon(darker);
  DestroyIcon(icon);
  DeleteObject(colour);
  DeleteObject(mask);
}

// ---------------------------------------------------------------------------
// The sliced background button

class BkgBtnTest : public ButtonPaintTest {
 protected:
  // Start 4 wide, middle 2 wide, end 4 wide, in three colours per state.
  void SetSlices(CBkgBtn& button, BOOL vertical) {
    const COLORREF colours[4][3] = {{kRed, kGreen, kBlue},
                                    {kYellow, kTeal, kMagenta},
                                    {RGB(10, 10, 10), RGB(20, 20, 20), RGB(30, 30, 30)},
                                    {RGB(40, 40, 40), RGB(50, 50, 50), RGB(60, 60, 60)}};
    HBITMAP slices[12];
    for (int state = 0; state < 4; ++state)
      for (int part = 0; part < 3; ++part)
        slices[state * 3 + part] = vertical ? Bitmap(60, part == 1 ? 2 : 4, colours[state][part])
                                            : Bitmap(part == 1 ? 2 : 4, 40, colours[state][part]);
    ASSERT_EQ(0, button.SetBkgBitmaps(slices, vertical));
  }
};

TEST_F(BkgBtnTest, HorizontalSlicesPerState) {
  CBkgBtn button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
  SetSlices(button, FALSE);
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(kRed, dib.Pixel(1, 20));
  EXPECT_EQ(kGreen, dib.Pixel(4, 20));
  EXPECT_EQ(kGreen, dib.Pixel(30, 20)) << "the middle is tiled";
  EXPECT_EQ(kGreen, dib.Pixel(55, 20));
  EXPECT_EQ(kBlue, dib.Pixel(56, 20));
  Hover(button);
  Paint(button, dib, 0);
  EXPECT_EQ(kYellow, dib.Pixel(1, 20));
  EXPECT_EQ(kTeal, dib.Pixel(30, 20));
  Paint(button, dib, ODS_SELECTED);
  EXPECT_EQ(RGB(20, 20, 20), dib.Pixel(30, 20));
  Paint(button, dib, ODS_DISABLED);
  EXPECT_EQ(RGB(50, 50, 50), dib.Pixel(30, 20)) << "ODS_DISABLED alone draws it disabled";
}

TEST_F(BkgBtnTest, VerticalSlicesAndMissingParts) {
  CBkgBtn button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
  SetSlices(button, TRUE);
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(kRed, dib.Pixel(30, 1));
  EXPECT_EQ(kGreen, dib.Pixel(30, 20));
  EXPECT_EQ(kBlue, dib.Pixel(30, 38));

  // A missing middle and end repeat the start.
  ASSERT_EQ(0, button.SetStateSlices(Bitmap(60, 4, kYellow), nullptr, nullptr, CBkgBtn::kNormal));
  Paint(button, dib, 0);
  EXPECT_EQ(kYellow, dib.Pixel(30, 20));
  EXPECT_EQ(kYellow, dib.Pixel(30, 38));
  EXPECT_EQ(CButtonST::BTNST_INVALIDINDEX, button.SetStateSlices(Bitmap(4, 4, kRed), nullptr, nullptr, 4));
}

TEST_F(BkgBtnTest, SlicesWiderThanTheButtonLeaveNoMiddle) {
  CBkgBtn button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
  ASSERT_EQ(0, button.SetStateSlices(Bitmap(50, 40, kRed), Bitmap(2, 40, kGreen), Bitmap(50, 40, kBlue),
                                     CBkgBtn::kNormal));
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(kRed, dib.Pixel(5, 20));
  EXPECT_EQ(kBlue, dib.Pixel(55, 20));
  RECT all{0, 0, 60, 40};
  EXPECT_EQ(0, dib.Count(kGreen, all));
  // Mode 3 paints no background at all.
  button.SetBkgMode(CBkgBtn::kBkgNone);
  button.SetBkgMode(7);
  EXPECT_EQ(CBkgBtn::kBkgNone, button.GetBkgMode());
  dib.Fill(kTeal);
  Paint(button, dib, 0);
  EXPECT_EQ(kTeal, dib.Pixel(5, 20));
}

TEST_F(BkgBtnTest, TransparentModesChooseSnapshotOrSlices) {
  CBkgBtn button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"")));
  SetSlices(button, FALSE);
  button.SetTransparentBackground(FALSE);
  const COLORREF parentColour = GetSysColor(COLOR_WINDOW);
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(parentColour, dib.Pixel(30, 20)) << "mode 0: the parent shows";
  button.SetBkgMode(CBkgBtn::kBkgTransparentHover);
  Paint(button, dib, 0);
  EXPECT_EQ(kGreen, dib.Pixel(30, 20)) << "mode 1 away from the pointer: slices";
  button.SetBkgMode(CBkgBtn::kBkgOpaqueHover);
  Paint(button, dib, 0);
  EXPECT_EQ(parentColour, dib.Pixel(30, 20)) << "mode 2 away from the pointer: the parent";
  Hover(button);
  Paint(button, dib, 0);
  EXPECT_EQ(kTeal, dib.Pixel(30, 20)) << "mode 2 under the pointer: hover slices";
  button.SetBkgMode(CBkgBtn::kBkgTransparentHover);
  Paint(button, dib, 0);
  EXPECT_EQ(parentColour, dib.Pixel(30, 20)) << "mode 1 under the pointer: the parent";
}

TEST_F(BkgBtnTest, SliceFilesAreLoadedAndTextStyleApplied) {
  TempSkinFolder folder;
  std::wstring files[12];
  files[0] = folder.WriteBmp(L"start.bmp", 4, 40, kRed);  // middle and end missing: the start repeats
  CBkgBtn button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(L"WWWW")));
  ASSERT_EQ(0, button.SetBkgBitmapFiles(files, FALSE));
  ASSERT_NE(nullptr, button.GetSlice(CBkgBtn::kNormal, CBkgBtn::kEnd));
  EXPECT_EQ(nullptr, button.GetSlice(CBkgBtn::kHover, CBkgBtn::kStart));
  button.ApplyTextStyle(L"Tahoma", 30, kBlue, kGreen);
  COLORREF colour = 0;
  button.GetColor(CButtonST::BTNST_COLOR_FG_OUT, &colour);
  EXPECT_EQ(kBlue, colour);
  button.GetColor(CButtonST::BTNST_COLOR_FG_IN, &colour);
  EXPECT_EQ(kGreen, colour);
  DibCanvas dib(60, 40, kUnpainted);
  Paint(button, dib, 0);
  EXPECT_EQ(kRed, dib.Pixel(1, 2));
  EXPECT_EQ(kRed, dib.Pixel(58, 2));
  EXPECT_GT(dib.Count(kBlue, RECT{0, 0, 60, 40}), 10);
  files[3] = folder.File(L"missing.bmp");
  EXPECT_EQ(CButtonST::BTNST_INVALIDRESOURCE, button.SetBkgBitmapFiles(files, FALSE));
}

}  // namespace

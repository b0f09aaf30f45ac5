#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "BCMenu.h"
#include "BCMenuDrawing.h"
#include "BCMenuMemDC.h"
#include "BCMenuState.h"
#include "ButtonST.h"
#include "GdiObjectCount.h"
#include "MenuTestResources.h"
#include "SkinTestSupport.h"

using menu_drawing::PixelCanvas;

namespace {

const COLORREF kSentinel = RGB(1, 2, 3);
const COLORREF kXPColumn = RGB(0x83, 0x83, 0x83);
const COLORREF kXPBackground = RGB(0x89, 0x89, 0x89);
const COLORREF kSelection = 0x17DC8A;
const int kItemHeight = 22;

COLORREF Sys(int index) { return GetSysColor(index); }

// Look, sizes and images as a program starts with them.
class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BCMenuState& state = BCMenuState::Get();
    state.drawStyleClassic = state.drawStyleXP = 1;
    state.selectDisabledClassic = 1;
    state.selectDisabledXP = 0;
    state.wideImageColumn = 1;
    state.ResetSharedImages();
    BCMenu::SetImageSize(16, 15);
  }

  // Draws the record of `command` (or of a position) into a fresh canvas.
  static std::unique_ptr<PixelCanvas> Draw(BCMenu& menu, BCMenuData* record, UINT state, int width = 200,
                                           int height = kItemHeight) {
    auto canvas = std::make_unique<PixelCanvas>(width, height);
    menu_drawing::Fill(canvas->Dc(), RECT{0, 0, width, height}, kSentinel);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = record ? record->Command() : 0;
    draw.itemState = state;
    draw.hDC = canvas->Dc();
    draw.rcItem = RECT{0, 0, width, height};
    draw.itemData = reinterpret_cast<ULONG_PTR>(record);
    EXPECT_TRUE(menu.DrawItem(&draw));
    GdiFlush();
    return canvas;
  }

  static MEASUREITEMSTRUCT Measure(BCMenu& menu, BCMenuData* record) {
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = reinterpret_cast<ULONG_PTR>(record);
    EXPECT_TRUE(menu.MeasureItem(&measure));
    return measure;
  }

  // Leftmost column in [from, to) holding a pixel other than the fill.
  static int FirstInk(const PixelCanvas& canvas, int from, int to, COLORREF fill) {
    for (int x = from; x < to; ++x) {
      for (int y = 0; y < canvas.Height(); ++y) {
        if (canvas.At(x, y) != fill) return x;
      }
    }
    return -1;
  }

  static UINT ItemType(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info.fType;
  }
};

// ---- Loading ----

TEST_F(MenuTest, LoadedMenuDrawsPopupsItselfAndLeavesTheTopLevelPlain) {
  BCMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
  HMENU top = menu.GetSafeHmenu();
  ASSERT_EQ(3, GetMenuItemCount(top));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(ItemType(top, i) & MFT_OWNERDRAW) << i;
  wchar_t text[32] = {};
  GetMenuStringW(top, 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(L"&File", text);

  BCMenu* file = menu.GetSubMenu(0);
  ASSERT_NE(nullptr, file);
  EXPECT_EQ(file, menu.GetSubMenu(L"&File"));
  EXPECT_EQ(file, menu.GetSubMenu("&File"));
  ASSERT_EQ(6, file->GetMenuItemCount());
  ASSERT_EQ(6, file->RecordCount());
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(ItemType(file->GetSafeHmenu(), i) & MFT_OWNERDRAW) << i;
  EXPECT_TRUE(ItemType(file->GetSafeHmenu(), 3) & MFT_SEPARATOR);
  EXPECT_TRUE(file->GetMenuState(ID_FILE_PRINT, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(L"打印(&P)", file->GetItemLabel(ID_FILE_PRINT));

  BCMenu* recent = file->GetSubMenu(4);
  ASSERT_NE(nullptr, recent);
  EXPECT_EQ(2, recent->RecordCount());
  EXPECT_TRUE(recent->GetMenuState(ID_RECENT_SECOND, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(BCMenu::IsKnownMenu(file->GetSafeHmenu()));
  EXPECT_TRUE(BCMenu::IsKnownMenu(recent));
  EXPECT_EQ(recent, BCMenu::FromHandle(recent->GetSafeHmenu()));

  // Commands are found through every level.
  int position = -1;
  EXPECT_EQ(recent, menu.FindItemOwner(ID_RECENT_SECOND, &position));
  EXPECT_EQ(1, position);
  EXPECT_EQ(L"Second", menu.FindItemRecord(ID_RECENT_SECOND)->GetText());
  EXPECT_EQ(nullptr, menu.FindItemRecord(999));
}

TEST_F(MenuTest, LoadingAlignsTheAcceleratorsOfAPopup) {
  BCMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
  BCMenuData* open = menu.FindItemRecord(ID_FILE_OPEN);
  BCMenuData* save = menu.FindItemRecord(ID_FILE_SAVE);
  ASSERT_TRUE(open && save);
  EXPECT_EQ(L"Ctrl+O", open->Accelerator());
  EXPECT_EQ(L"Ctrl+S", save->Accelerator());
  // The short label is padded with spaces to the widest label.
  std::wstring label = open->Label();
  EXPECT_EQ(0u, label.find(L"&Open"));
  EXPECT_GT(label.size(), 10u);
  EXPECT_EQ(std::wstring::npos, label.find_first_not_of(L' ', 5));
  EXPECT_EQ(ID_FILE_OPEN == 0 ? -1 : 0, menu.GetSubMenu(0)->FindItemPosition(L"&Open"));
}

TEST_F(MenuTest, MissingResourcesFailAndKeepTheMenu) {
  BCMenu menu;
  EXPECT_FALSE(menu.LoadMenu(999u));
  EXPECT_FALSE(menu.LoadMenu(L"NOSUCHMENU"));
  EXPECT_EQ(nullptr, menu.GetSafeHmenu());
  ASSERT_TRUE(menu.AppendItem(L"Open", MF_STRING, ID_FILE_OPEN, 999));
  EXPECT_EQ(-1, menu.RecordAt(0)->sharedImageIndex);
  EXPECT_EQ(nullptr, menu.GetSubMenu(7));
  EXPECT_EQ(-1, menu.FindItemPosition(L"Nothing"));
}

// ---- Measuring ----

TEST_F(MenuTest, MeasuresSeparatorsAndItemsInBothLooks) {
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"", MF_STRING, 0));
  ASSERT_TRUE(menu.AppendItem(L"Open", MF_STRING, ID_FILE_OPEN));
  ASSERT_TRUE(menu.AppendItem(L"Open the picture file", MF_STRING, ID_FILE_SAVE));
  ASSERT_TRUE(menu.AppendItem(L"", MF_STRING, ID_FILE_PRINT));
  ASSERT_TRUE(menu.RecordAt(0)->IsSeparator());

  MEASUREITEMSTRUCT separator = Measure(menu, menu.RecordAt(0));
  EXPECT_EQ(0u, separator.itemWidth);
  EXPECT_EQ(3u, separator.itemHeight);
  MEASUREITEMSTRUCT shortItem = Measure(menu, menu.RecordAt(1));
  MEASUREITEMSTRUCT longItem = Measure(menu, menu.RecordAt(2));
  MEASUREITEMSTRUCT empty = Measure(menu, menu.RecordAt(3));
  int cyMenu = GetSystemMetrics(SM_CYMENU);
  EXPECT_EQ(static_cast<UINT>(std::max(cyMenu, 15 + 7)), shortItem.itemHeight);
  EXPECT_EQ(16u + 7 + 8, empty.itemWidth);
  EXPECT_GT(longItem.itemWidth, shortItem.itemWidth + 40);

  BCMenu::SetDrawStyle(0);
  separator = Measure(menu, menu.RecordAt(0));
  EXPECT_EQ(static_cast<UINT>(std::max((15 + 4) / 2, cyMenu / 2)), separator.itemHeight);
  MEASUREITEMSTRUCT classic = Measure(menu, menu.RecordAt(1));
  EXPECT_EQ(shortItem.itemWidth - (16 + 7 + 8) + (2 * 16 + 1), classic.itemWidth);
  EXPECT_EQ(static_cast<UINT>(std::max(cyMenu, 15 + 4)), classic.itemHeight);

  // Items of other menus are not ours to measure.
  MEASUREITEMSTRUCT foreign{};
  foreign.CtlType = ODT_MENU;
  foreign.itemData = 12345;
  EXPECT_FALSE(menu.MeasureItem(&foreign));
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemData = 12345;
  draw.rcItem = RECT{0, 0, 10, 10};
  EXPECT_FALSE(menu.DrawItem(&draw));
}

// ---- Drawing, XP-like look ----

TEST_F(MenuTest, XPLookPaintsColumnBackgroundAndFramedSelection) {
  ASSERT_FALSE(BCMenu::IsXPStyleActive());
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"WWW", MF_STRING, ID_FILE_OPEN));
  auto plain = Draw(menu, menu.RecordAt(0), 0);
  EXPECT_EQ(kXPColumn, plain->At(2, 11));
  EXPECT_EQ(kXPColumn, plain->At(22, 0));
  EXPECT_EQ(kXPBackground, plain->At(23, 11));
  EXPECT_EQ(kXPBackground, plain->At(199, 21));
  // Text starts 8 pixels after the 23-pixel column.
  int ink = FirstInk(*plain, 23, 200, kXPBackground);
  EXPECT_GE(ink, 31);
  EXPECT_LE(ink, 34);

  auto selected = Draw(menu, menu.RecordAt(0), ODS_SELECTED);
  EXPECT_EQ(Sys(COLOR_HIGHLIGHT), selected->At(0, 0));
  EXPECT_EQ(Sys(COLOR_HIGHLIGHT), selected->At(199, 21));
  EXPECT_EQ(kSelection, selected->At(1, 1));
  EXPECT_EQ(kSelection, selected->At(150, 11));
  // Selected text ends up white.
  bool white = false;
  for (int x = 31; x < 80; ++x)
    for (int y = 0; y < kItemHeight; ++y) white = white || selected->At(x, y) == RGB(255, 255, 255);
  EXPECT_TRUE(white);
}

TEST_F(MenuTest, XPLookSeparatorIsAnEtchedLineRightOfTheColumn) {
  BCMenu menu;
  ASSERT_TRUE(menu.AppendMenu(MF_SEPARATOR));
  auto canvas = Draw(menu, menu.RecordAt(0), 0, 120, 3);
  EXPECT_EQ(kXPColumn, canvas->At(5, 1));
  EXPECT_EQ(kXPBackground, canvas->At(26, 1));
  EXPECT_EQ(Sys(COLOR_BTNSHADOW), canvas->At(31, 1));
  EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), canvas->At(31, 2));
  EXPECT_EQ(kXPBackground, canvas->At(60, 0));
}

// The seven strokes of the check mark, rows relative to the mark's top.
void ExpectCheckMark(const PixelCanvas& canvas, int x, int y, int shorten, COLORREF ink) {
  const int top[7] = {2, 3, 4, 3, 2, 1, 0};
  const int bottom[7] = {5, 6, 7, 6, 5, 4, 3};
  for (int i = 0; i < 7; ++i) {
    for (int row = -1; row < 9; ++row) {
      bool inked = row >= top[i] && row < bottom[i] - shorten;
      EXPECT_EQ(inked, canvas.At(x + i, y + row) == ink) << "column " << i << " row " << row;
    }
  }
}

TEST_F(MenuTest, XPLookCheckedItemWithoutImageShowsABoxWithACheckMark) {
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"Check", MF_STRING | MF_CHECKED, ID_FILE_OPEN));
  auto canvas = Draw(menu, menu.RecordAt(0), ODS_CHECKED);
  // Cell (1, 1, 21, 21): framed in the highlight colour, filled lighter.
  EXPECT_EQ(Sys(COLOR_HIGHLIGHT), canvas->At(1, 1));
  EXPECT_EQ(Sys(COLOR_HIGHLIGHT), canvas->At(20, 20));
  EXPECT_EQ(menu_drawing::Lighten(Sys(COLOR_HIGHLIGHT), 0.85), canvas->At(3, 3));
  ExpectCheckMark(*canvas, 8, 8, 1, Sys(COLOR_MENUTEXT));

  auto selected = Draw(menu, menu.RecordAt(0), ODS_CHECKED | ODS_SELECTED);
  EXPECT_EQ(menu_drawing::Lighten(Sys(COLOR_HIGHLIGHT), 0.55), selected->At(3, 3));
}

TEST_F(MenuTest, GrayedItemIsNotDrawnSelectedUnlessTheLookAllowsIt) {
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"Gone", MF_STRING | MF_GRAYED, ID_FILE_OPEN));
  auto canvas = Draw(menu, menu.RecordAt(0), ODS_SELECTED | ODS_GRAYED);
  EXPECT_EQ(kXPBackground, canvas->At(150, 11));
  EXPECT_EQ(kXPColumn, canvas->At(2, 11));
  // Gray text, lightened without the XP visual style.
  COLORREF gray = menu_drawing::Lighten(Sys(COLOR_GRAYTEXT), 0.4);
  bool grayText = false;
  for (int x = 31; x < 80; ++x)
    for (int y = 0; y < kItemHeight; ++y) grayText = grayText || canvas->At(x, y) == gray;
  EXPECT_TRUE(grayText);

  BCMenu::SetSelectDisabled(TRUE);
  auto allowed = Draw(menu, menu.RecordAt(0), ODS_SELECTED | ODS_GRAYED);
  EXPECT_EQ(kSelection, allowed->At(150, 11));
}

// ---- Drawing, classic look ----

TEST_F(MenuTest, ClassicLookBarCheckMarkAndTextPosition) {
  BCMenu::SetDrawStyle(0);
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"WWW", MF_STRING, ID_FILE_OPEN));
  ASSERT_TRUE(menu.AppendItem(L"Check", MF_STRING | MF_CHECKED, ID_FILE_SAVE));
  const COLORREF background = Sys(COLOR_MENU);

  auto plain = Draw(menu, menu.RecordAt(0), 0);
  EXPECT_EQ(background, plain->At(2, 2));
  int ink = FirstInk(*plain, 0, 200, background);
  EXPECT_GE(ink, 25);
  EXPECT_LE(ink, 28);
  // Without an image or check the bar covers the whole item.
  auto selected = Draw(menu, menu.RecordAt(0), ODS_SELECTED);
  EXPECT_EQ(Sys(COLOR_HIGHLIGHT), selected->At(0, 0));
  EXPECT_EQ(Sys(COLOR_HIGHLIGHT), selected->At(199, 21));

  // d = (22 - 15 - 4) / 2 = 1; cell (1, 3, 17, 18); mark at (5, 7).
  auto checked = Draw(menu, menu.RecordAt(1), ODS_CHECKED);
  EXPECT_EQ(menu_drawing::Lighten(background, 0.6), checked->At(2, 4));
  ExpectCheckMark(*checked, 5, 7, 0, Sys(COLOR_MENUTEXT));
  auto checkedSelected = Draw(menu, menu.RecordAt(1), ODS_CHECKED | ODS_SELECTED);
  EXPECT_EQ(background, checkedSelected->At(2, 4));
  EXPECT_EQ(background, checkedSelected->At(20, 11));
  EXPECT_EQ(Sys(COLOR_HIGHLIGHT), checkedSelected->At(21, 11));
}

TEST_F(MenuTest, ClassicLookSeparatorAndEmbossedGrayText) {
  BCMenu::SetDrawStyle(0);
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"", MF_STRING, 0));
  ASSERT_TRUE(menu.AppendItem(L"WWW", MF_STRING | MF_GRAYED, ID_FILE_OPEN));
  auto separator = Draw(menu, menu.RecordAt(0), 0, 100, 10);
  EXPECT_EQ(Sys(COLOR_BTNSHADOW), separator->At(0, 5));
  EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), separator->At(50, 6));
  EXPECT_EQ(Sys(COLOR_MENU), separator->At(50, 3));

  auto grayed = Draw(menu, menu.RecordAt(1), ODS_GRAYED);
  int gray = 0, raised = 0;
  for (int x = 20; x < 100; ++x) {
    for (int y = 0; y < kItemHeight; ++y) {
      gray += grayed->At(x, y) == Sys(COLOR_GRAYTEXT);
      raised += grayed->At(x, y) == Sys(COLOR_BTNHIGHLIGHT);
    }
  }
  EXPECT_GT(gray, 5);
  EXPECT_GT(raised, 5);
}

// ---- Images ----

TEST_F(MenuTest, AnImageOfOneCommandIsStoredOnceAndShared) {
  BCMenuState& state = BCMenuState::Get();
  BCMenu first, second;
  ASSERT_TRUE(first.AppendItem(L"Open", MF_STRING, ID_FILE_OPEN, IDR_MENU_TOOLBAR));
  ASSERT_TRUE(second.AppendItem(L"Open again", MF_STRING, ID_FILE_OPEN, IDR_MENU_TOOLBAR));
  ASSERT_TRUE(second.AppendItem(L"Open once more", MF_STRING, ID_FILE_OPEN));  // -1: the stored image
  // The image and its normal, shadow and disabled forms: four entries.
  EXPECT_EQ(std::vector<int>(4, ID_FILE_OPEN), state.SharedCommands());
  EXPECT_EQ(4, ImageList_GetImageCount(state.SharedImages()));
  EXPECT_EQ(0, first.RecordAt(0)->sharedImageIndex);
  EXPECT_EQ(0, second.RecordAt(0)->sharedImageIndex);
  EXPECT_EQ(0, second.RecordAt(1)->sharedImageIndex);

  // The toolbar's button for 102 comes after a separator: the blue image.
  ASSERT_TRUE(first.AppendItem(L"Save", MF_STRING, ID_FILE_SAVE, IDR_MENU_TOOLBAR));
  EXPECT_EQ(4, first.RecordAt(1)->sharedImageIndex);
  EXPECT_EQ(8, ImageList_GetImageCount(state.SharedImages()));

  // Selected with state images: the hot image at (x - 1, y - 1) = (3, 3).
  auto open = Draw(first, first.RecordAt(0), ODS_SELECTED);
  EXPECT_EQ(RGB(255, 0, 0), open->At(3 + 8, 3 + 7));
  auto save = Draw(first, first.RecordAt(1), ODS_SELECTED);
  EXPECT_EQ(RGB(0, 0, 255), save->At(3 + 8, 3 + 7));
  // The light gray frame of the button turned into the face colour and is
  // transparent: the selection shows through.
  EXPECT_EQ(kSelection, save->At(4, 4));
  // Unselected: the normal image, lightened by 0.3.
  auto normal = Draw(first, first.RecordAt(0), 0);
  EXPECT_EQ(menu_drawing::Lighten(RGB(255, 0, 0), 0.3), normal->At(4 + 8, 4 + 7));
}

TEST_F(MenuTest, ToolbarImagesGoToTheItemsOfTheirCommands) {
  BCMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
  ASSERT_TRUE(menu.AddToolbarImages(IDR_MENU_TOOLBAR));
  EXPECT_FALSE(menu.AddToolbarImages(999u));
  BCMenuData* cut = menu.FindItemRecord(ID_EDIT_CUT);
  BCMenuData* exit = menu.FindItemRecord(ID_FILE_EXIT);
  ASSERT_TRUE(cut && exit);
  EXPECT_GE(cut->sharedImageIndex, 0);
  EXPECT_EQ(-1, exit->sharedImageIndex);
  BCMenu::SetWideImageColumn(FALSE);
  // Without state images the image itself at (x, y) = (2, 4) (gap 4).
  auto canvas = Draw(*menu.GetSubMenu(1), cut, 0);
  EXPECT_EQ(RGB(0, 255, 0), canvas->At(2 + 8, 4 + 7));
}

TEST_F(MenuTest, ColourSquareIsCentredOnTheMenuBackground) {
  BCMenu::SetWideImageColumn(FALSE);
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"Red", MF_STRING, ID_FILE_OPEN));
  ASSERT_TRUE(menu.ChangeItem(ID_FILE_OPEN, static_cast<const wchar_t*>(nullptr), RGB(255, 0, 0), RGB(0, 0, 255)));
  EXPECT_EQ(L"Red", menu.GetItemLabel(ID_FILE_OPEN));
  EXPECT_FALSE(menu.ChangeItem(999u, L"x", RGB(255, 0, 0), RGB(0, 0, 255)));
  // Column 20 wide: image at (2, 4); a 15-pixel square at its left.
  auto canvas = Draw(menu, menu.RecordAt(0), 0);
  EXPECT_EQ(RGB(0, 0, 255), canvas->At(2, 4));
  EXPECT_EQ(RGB(0, 0, 255), canvas->At(2 + 14, 4 + 14));
  EXPECT_EQ(RGB(255, 0, 0), canvas->At(2 + 7, 4 + 7));
  EXPECT_EQ(Sys(COLOR_MENU), canvas->At(2 + 15, 4 + 7));

  ASSERT_TRUE(menu.ChangeItem(ID_FILE_OPEN, L"Hatched", RGB(0, 128, 0), RGB(0, 0, 0), HS_CROSS, 9));
  canvas = Draw(menu, menu.RecordAt(0), 0);
  EXPECT_EQ(RGB(0, 0, 0), canvas->At(2 + 3, 4 + 3));
  EXPECT_EQ(Sys(COLOR_MENU), canvas->At(2 + 1, 4 + 1));
  EXPECT_EQ(L"Hatched", menu.GetItemLabel(ID_FILE_OPEN));
}

TEST_F(MenuTest, BitmapGivenByTheCallerIsCopied) {
  BCMenu::SetWideImageColumn(FALSE);
  HBITMAP bitmap = FramedBitmap(16, 15, Sys(COLOR_BTNFACE), RGB(200, 0, 200), 4);
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"Mine", MF_STRING, ID_FILE_OPEN, bitmap));
  // Still the caller's, still valid.
  BITMAP info{};
  EXPECT_NE(0, GetObjectW(bitmap, sizeof(info), &info));
  EXPECT_TRUE(DeleteObject(bitmap));
  auto canvas = Draw(menu, menu.RecordAt(0), 0);
  EXPECT_EQ(RGB(200, 0, 200), canvas->At(2 + 8, 4 + 7));
  EXPECT_EQ(kXPColumn, canvas->At(2 + 1, 4 + 1));
}

TEST_F(MenuTest, GrayedImageIsDrawnDisabled) {
  BCMenu::SetWideImageColumn(FALSE);
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"Open", MF_STRING | MF_GRAYED, ID_FILE_OPEN, IDR_MENU_TOOLBAR));
  auto embossed = Draw(menu, menu.RecordAt(0), ODS_GRAYED);
  // The red centre becomes shadow; the highlight shows one pixel down-right.
  EXPECT_EQ(Sys(COLOR_BTNSHADOW), embossed->At(2 + 8, 4 + 7));
  EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), embossed->At(2 + 13, 4 + 12));
  EXPECT_EQ(kXPColumn, embossed->At(2 + 1, 4 + 1));

  menu.SetDisabledDither(TRUE);
  // Dithered: every pixel that is not white is shadow, the highlight shows
  // only past the image's bottom-right corner.
  auto dithered = Draw(menu, menu.RecordAt(0), ODS_GRAYED);
  EXPECT_EQ(Sys(COLOR_BTNSHADOW), dithered->At(2 + 8, 4 + 7));
  EXPECT_EQ(Sys(COLOR_BTNSHADOW), dithered->At(2 + 1, 4 + 1));
  EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), dithered->At(2 + 16, 4 + 15));
}

TEST_F(MenuTest, StoringAgainForACommandReplacesItsImages) {
  BCMenuState& state = BCMenuState::Get();
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"Open", MF_STRING, ID_FILE_OPEN, IDR_MENU_TOOLBAR));
  ASSERT_TRUE(menu.ChangeItem(ID_FILE_OPEN, L"Open yellow", IDB_MENU_SINGLE));
  EXPECT_EQ(std::vector<int>(4, ID_FILE_OPEN), state.SharedCommands());
  EXPECT_EQ(4, ImageList_GetImageCount(state.SharedImages()));
  EXPECT_EQ(L"Open yellow", menu.GetItemLabel(ID_FILE_OPEN));
  // Hot and normal images both follow the new picture.
  auto selected = Draw(menu, menu.RecordAt(0), ODS_SELECTED);
  EXPECT_EQ(RGB(255, 255, 0), selected->At(3 + 8, 3 + 7));
  auto normal = Draw(menu, menu.RecordAt(0), 0);
  EXPECT_EQ(menu_drawing::Lighten(RGB(255, 255, 0), 0.3), normal->At(4 + 8, 4 + 7));
}

TEST_F(MenuTest, CheckedItemWithACheckMarkBitmapShowsADot) {
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"Dot", MF_STRING, ID_FILE_OPEN));
  HBITMAP mark = TwoToneBitmap(8, 8, RGB(0, 0, 0));
  ASSERT_TRUE(SetMenuItemBitmaps(menu.GetSafeHmenu(), ID_FILE_OPEN, MF_BYCOMMAND, mark, mark));
  const COLORREF ink = Sys(COLOR_MENUTEXT);
  auto xp = Draw(menu, menu.RecordAt(0), ODS_CHECKED);
  EXPECT_EQ(ink, xp->At(8 + 3, 8 + 3));
  EXPECT_NE(ink, xp->At(8 + 6, 8 + 0));  // where the check mark's last stroke would be
  BCMenu::SetDrawStyle(0);
  auto classic = Draw(menu, menu.RecordAt(0), ODS_CHECKED);
  EXPECT_EQ(ink, classic->At(6 + 3, 7 + 3));  // dot at cell (1, 3) + (5, 4)
  menu.DestroyMenu();
  DeleteObject(mark);
}

TEST_F(MenuTest, ClassicLookGrayedImageIsRecolouredOnceSystemColourImagesLoaded) {
  BCMenu::SetDrawStyle(0);
  BCMenu menu;
  // The 24-bit toolbar is loaded with its light gray made the face colour.
  ASSERT_TRUE(menu.AppendItem(L"Open", MF_STRING | MF_GRAYED, ID_FILE_OPEN, IDR_MENU_TOOLBAR));
  ASSERT_TRUE(BCMenuState::Get().systemColourImages);
  auto canvas = Draw(menu, menu.RecordAt(0), ODS_GRAYED);
  // Image at (2, d + 2) = (2, 3); red averages to 85 / 255.
  EXPECT_EQ(menu_drawing::Lighten(Sys(COLOR_BTNSHADOW), 85.0 / 255.0), canvas->At(2 + 8, 3 + 7));
  EXPECT_EQ(Sys(COLOR_MENU), canvas->At(2 + 1, 3 + 1));
}

TEST_F(MenuTest, InsertingModifyingAndRelabelling) {
  BCMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
  // Before a command: lands in the popup that holds it.
  ASSERT_TRUE(menu.InsertItem(ID_RECENT_SECOND, L"Between", MF_BYCOMMAND, 400));
  BCMenu* recent = menu.GetSubMenu(0)->GetSubMenu(4);
  ASSERT_EQ(3, recent->RecordCount());
  EXPECT_EQ(400u, recent->GetMenuItemID(1));
  EXPECT_EQ(L"Between", recent->RecordAt(1)->GetText());
  EXPECT_FALSE(menu.InsertItem(999, L"Nowhere", MF_BYCOMMAND, 401));

  // At the top of a loaded menu, appended items stay plain like the rest.
  ASSERT_TRUE(menu.AppendItem("Extra", MF_STRING, 402));
  ASSERT_TRUE(menu.InsertItem(0, L"First", MF_BYPOSITION, 403));
  ASSERT_EQ(5, menu.GetMenuItemCount());
  EXPECT_FALSE(ItemType(menu.GetSafeHmenu(), 0) & MFT_OWNERDRAW);
  EXPECT_FALSE(ItemType(menu.GetSafeHmenu(), 4) & MFT_OWNERDRAW);
  EXPECT_EQ(L"First", menu.RecordAt(0)->GetText());
  EXPECT_EQ(1, menu.FindItemPosition(L"&File"));
  ASSERT_TRUE(menu.SetItemLabel(402, L"Renamed"));
  wchar_t text[32] = {};
  GetMenuStringW(menu.GetSafeHmenu(), 402, text, 32, MF_BYCOMMAND);
  EXPECT_STREQ(L"Renamed", text);

  ASSERT_TRUE(menu.ModifyMenu(ID_FILE_EXIT, MF_BYCOMMAND | MF_STRING, 404, L"Quit"));
  EXPECT_EQ(L"Quit", menu.FindItemRecord(404)->GetText());
  EXPECT_EQ(nullptr, menu.FindItemRecord(ID_FILE_EXIT));
  EXPECT_TRUE(ItemType(menu.GetSubMenu(1)->GetSafeHmenu(), 5) & MFT_OWNERDRAW);
}

TEST_F(MenuTest, ResourceImagesGoIntoAListWithTheirDerivedImages) {
  BCMenu menu;
  fw::ScopedImageList list(ImageList_Create(16, 15, ILC_COLORDDB | ILC_MASK, 1, 1));
  ASSERT_TRUE(menu.AddResourceImage(list.Get(), IDB_MENU_SINGLE));
  // The image, then its normal, shadow and disabled forms.
  EXPECT_EQ(4, ImageList_GetImageCount(list.Get()));
  EXPECT_FALSE(menu.AddResourceImage(list.Get(), 999));
  EXPECT_FALSE(menu.AddResourceImage(nullptr, IDB_MENU_SINGLE));

  BCMenu::SetDrawStyle(0);
  fw::ScopedImageList classic(ImageList_Create(16, 15, ILC_COLORDDB | ILC_MASK, 1, 1));
  ASSERT_TRUE(menu.AddResourceImage(classic.Get(), IDB_MENU_SINGLE));
  EXPECT_EQ(1, ImageList_GetImageCount(classic.Get()));

  // As an icon: its clear border stays clear.
  menu.SetLoadImagesAsIcons(TRUE);
  fw::ScopedImageList icons(ImageList_Create(16, 15, ILC_COLOR32 | ILC_MASK, 1, 1));
  ASSERT_TRUE(menu.AddResourceImage(icons.Get(), IDI_MENU_ICON));
  EXPECT_FALSE(menu.AddResourceImage(icons.Get(), IDB_MENU_SINGLE));
  ASSERT_TRUE(menu.AppendItem(L"Icon", MF_STRING, ID_FILE_OPEN, icons.Get(), 0));
  auto canvas = Draw(menu, menu.RecordAt(0), 0);
  // Classic look: image at (2, d + 2) = (2, 3).
  EXPECT_EQ(RGB(0, 160, 0), canvas->At(2 + 8, 3 + 7));
  EXPECT_EQ(Sys(COLOR_MENU), canvas->At(2 + 1, 3 + 1));
}

// ---- Mnemonics ----

TEST_F(MenuTest, MnemonicsAreFoundInPopupsOnly) {
  BCMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
  HMENU file = menu.GetSubMenu(0)->GetSafeHmenu();
  EXPECT_EQ(MAKELRESULT(0, MNC_EXECUTE), BCMenu::FindMnemonicItem('o', MF_POPUP, file));
  EXPECT_EQ(MAKELRESULT(5, MNC_EXECUTE), BCMenu::FindMnemonicItem('X', MF_POPUP, file));
  EXPECT_EQ(MAKELRESULT(2, MNC_EXECUTE), BCMenu::FindMnemonicItem('p', MF_POPUP, file));
  EXPECT_EQ(0, BCMenu::FindMnemonicItem('q', MF_POPUP, file));
  EXPECT_EQ(0, BCMenu::FindMnemonicItem('o', 0, file));
  EXPECT_EQ(0, BCMenu::FindMnemonicItem('f', 0, menu.GetSafeHmenu()));
  HMENU foreign = CreatePopupMenu();
  AppendMenuW(foreign, MF_STRING, 1, L"&Open");
  EXPECT_EQ(0, BCMenu::FindMnemonicItem('o', MF_POPUP, foreign));
  DestroyMenu(foreign);

  // An item put in through the plain API gets a record first.
  ASSERT_TRUE(AppendMenuW(file, MF_STRING, 777, L"&Zoom"));
  EXPECT_EQ(MAKELRESULT(6, MNC_EXECUTE), BCMenu::FindMnemonicItem('z', MF_POPUP, file));
  EXPECT_EQ(7, menu.GetSubMenu(0)->RecordCount());
  EXPECT_TRUE(ItemType(file, 6) & MFT_OWNERDRAW);
  EXPECT_EQ(L"&Zoom", menu.FindItemRecord(777)->GetText());
}

// ---- Removing and ownership ----

TEST_F(MenuTest, RemovingByLabelTakesTheItemsBeforeItByMode) {
  BCMenu menu;
  for (const wchar_t* label : {L"A", L"B", L"C", L"D", L"E", L"F"})
    ASSERT_TRUE(menu.AppendItem(label, MF_STRING, 100 + label[0]));
  ASSERT_TRUE(menu.RemoveMenu(L"F", 0));
  ASSERT_TRUE(menu.RemoveMenu(L"E", 1));  // and D
  ASSERT_EQ(3, menu.GetMenuItemCount());
  ASSERT_TRUE(menu.DeleteMenu("C", 3));  // and B, A
  EXPECT_EQ(0, menu.GetMenuItemCount());
  EXPECT_EQ(0, menu.RecordCount());
  EXPECT_FALSE(menu.RemoveMenu(L"A", 0));

  ASSERT_TRUE(menu.AppendItem(L"G", MF_STRING, 300));
  ASSERT_TRUE(menu.AppendItem(L"H", MF_STRING, 301));
  ASSERT_TRUE(menu.RemoveMenu(300, MF_BYCOMMAND));
  EXPECT_EQ(1, menu.RecordCount());
  EXPECT_EQ(L"H", menu.RecordAt(0)->GetText());
  EXPECT_EQ(301u, menu.GetMenuItemID(0));
}

TEST_F(MenuTest, RemovingAPopupFreesOnlyPopupsTheMenuOwns) {
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"Top", MF_STRING, 1));
  BCMenu* popup = menu.AppendPopup(L"More");
  ASSERT_NE(nullptr, popup);
  ASSERT_TRUE(popup->AppendItem(L"Inner", MF_STRING, 2));
  HMENU handle = popup->GetSafeHmenu();
  EXPECT_TRUE(BCMenu::IsKnownMenu(handle));
  EXPECT_EQ(popup, menu.FindItemOwner(2, nullptr));
  ASSERT_TRUE(menu.DeleteMenu(L"More"));
  EXPECT_FALSE(BCMenu::IsKnownMenu(handle));
  EXPECT_EQ(nullptr, BCMenu::FromHandle(handle));
  EXPECT_FALSE(IsMenu(handle));
  EXPECT_EQ(nullptr, menu.FindItemRecord(2));
  EXPECT_EQ(1, menu.RecordCount());

  // A popup whose object the caller keeps leaves the menu, by label or by
  // position, and stays the caller's: alive and usable.
  BCMenu lent;
  ASSERT_TRUE(lent.AppendItem(L"Lent item", MF_STRING, 3));
  for (bool byLabel : {true, false}) {
    ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(lent.GetSafeHmenu()), L"Lent"));
    ASSERT_TRUE(byLabel ? menu.DeleteMenu(L"Lent") : menu.DeleteMenu(1, MF_BYPOSITION));
    EXPECT_EQ(1, menu.GetMenuItemCount());
    EXPECT_EQ(1, menu.RecordCount());
    ASSERT_TRUE(IsMenu(lent.GetSafeHmenu())) << (byLabel ? "by label" : "by position");
    EXPECT_EQ(&lent, BCMenu::FromHandle(lent.GetSafeHmenu()));
  }
  ASSERT_TRUE(lent.AppendItem(L"Added after", MF_STRING, 4));
  EXPECT_EQ(2, lent.GetMenuItemCount());
  EXPECT_EQ(L"Lent item", lent.GetItemLabel(3));
  EXPECT_EQ(L"Added after", lent.GetItemLabel(4));
}

TEST_F(MenuTest, ImageSizeChangesOnlyWhileNoMenuHasImages) {
  BCMenuState& state = BCMenuState::Get();
  BCMenu earlier;
  ASSERT_TRUE(earlier.AppendItem(L"Open", MF_STRING, ID_FILE_OPEN, IDR_MENU_TOOLBAR));
  HIMAGELIST shared = state.SharedImages();
  const int images = ImageList_GetImageCount(shared);
  ASSERT_GT(images, 0);

  // Asked directly, and by a button attaching a toolbar of another size.
  EXPECT_FALSE(BCMenu::SetImageSize(24, 24));
  CButtonST button;
  EXPECT_EQ(0, button.AttachMenu(IDR_TEST_MENU, nullptr, TRUE, IDR_MENU_TOOLBAR, 24, 24, RGB(192, 192, 192), FALSE));
  EXPECT_EQ(16, BCMenu::GetImageSize().cx);
  EXPECT_EQ(15, BCMenu::GetImageSize().cy);
  EXPECT_EQ(shared, state.SharedImages());
  EXPECT_GE(ImageList_GetImageCount(shared), images);
  EXPECT_EQ(0, earlier.RecordAt(0)->sharedImageIndex);
  auto open = Draw(earlier, earlier.RecordAt(0), ODS_SELECTED);
  EXPECT_EQ(RGB(255, 0, 0), open->At(3 + 8, 3 + 7)) << "the earlier menu still shows its image";

  state.ResetSharedImages();
  EXPECT_TRUE(BCMenu::SetImageSize(24, 24));
  EXPECT_EQ(24, BCMenu::GetImageSize().cx);
}

TEST_F(MenuTest, DestructionForgetsKnownMenusAndDestroysEachHandleOnce) {
  HMENU top = nullptr, file = nullptr, recent = nullptr;
  auto caller = std::make_unique<BCMenu>();
  ASSERT_TRUE(caller->AppendItem(L"Lent", MF_STRING, 50));
  {
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    top = menu.GetSafeHmenu();
    file = menu.GetSubMenu(0)->GetSafeHmenu();
    recent = menu.GetSubMenu(0)->GetSubMenu(4)->GetSafeHmenu();
    // A popup whose object the caller keeps.
    ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(caller->GetSafeHmenu()), L"Lent"));
    EXPECT_TRUE(BCMenu::IsKnownMenu(caller.get()));
  }
  EXPECT_FALSE(BCMenu::IsKnownMenu(file));
  EXPECT_FALSE(BCMenu::IsKnownMenu(recent));
  EXPECT_FALSE(BCMenu::IsKnownMenu(caller.get()));
  EXPECT_EQ(nullptr, BCMenu::FromHandle(file));
  EXPECT_FALSE(IsMenu(top));
  EXPECT_FALSE(IsMenu(file));
  EXPECT_FALSE(IsMenu(recent));
  // The caller's popup outlived the menu it was lent to.
  EXPECT_TRUE(IsMenu(caller->GetSafeHmenu()));
  EXPECT_EQ(caller.get(), BCMenu::FromHandle(caller->GetSafeHmenu()));
  HMENU lent = caller->GetSafeHmenu();
  caller.reset();
  EXPECT_FALSE(IsMenu(lent));
}

TEST_F(MenuTest, AppendedPopupsUseTheParentsCheckMarkImages) {
  BCMenu::SetWideImageColumn(FALSE);
  BCMenu menu;
  ASSERT_TRUE(menu.SetCheckMarkImages(IDB_MENU_CHECKS, 1, 1));
  BCMenu* popup = menu.AppendPopup("Sub");
  ASSERT_NE(nullptr, popup);
  ASSERT_TRUE(popup->AppendItem(L"On", MF_STRING | MF_CHECKED, 500));
  EXPECT_EQ(popup, menu.GetSubMenu(L"Sub"));
  // Image 0 (blue) when not selected, image 1 (red) when selected, at (2, 4).
  auto normal = Draw(menu, popup->RecordAt(0), ODS_CHECKED);
  EXPECT_EQ(RGB(0, 0, 255), normal->At(2 + 8, 4 + 7));
  EXPECT_EQ(kXPColumn, normal->At(2 + 1, 4 + 1));  // 16-colour gray mapped to the face: transparent
  auto selected = Draw(*popup, popup->RecordAt(0), ODS_CHECKED | ODS_SELECTED);
  EXPECT_EQ(RGB(255, 0, 0), selected->At(2 + 8, 4 + 7));
  EXPECT_EQ(kXPColumn, selected->At(2 + 1, 4 + 1));
}

// ---- Zero sizes, leaks, text ----

TEST_F(MenuTest, ZeroSizesPaintNothingAndNeverFail) {
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"", MF_STRING, ID_FILE_OPEN));
  // Empty text: only the column and background, no ink.
  auto canvas = Draw(menu, menu.RecordAt(0), 0);
  EXPECT_EQ(-1, FirstInk(*canvas, 23, 200, kXPBackground));

  // An empty rectangle paints nothing at all.
  PixelCanvas target(10, 10);
  menu_drawing::Fill(target.Dc(), RECT{0, 0, 10, 10}, kSentinel);
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.hDC = target.Dc();
  draw.rcItem = RECT{5, 5, 5, 9};
  draw.itemData = reinterpret_cast<ULONG_PTR>(menu.RecordAt(0));
  EXPECT_TRUE(menu.DrawItem(&draw));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(kSentinel, target.At(x, y));

  BCMenu::SetImageSize(0, 0);
  ASSERT_TRUE(menu.AppendItem(L"No image", MF_STRING, ID_FILE_SAVE, IDR_MENU_TOOLBAR));
  EXPECT_EQ(-1, menu.RecordAt(1)->sharedImageIndex);
  EXPECT_FALSE(menu.ChangeItem(ID_FILE_SAVE, static_cast<const wchar_t*>(nullptr), RGB(1, 1, 1), RGB(2, 2, 2)));
  MEASUREITEMSTRUCT measure = Measure(menu, menu.RecordAt(1));
  EXPECT_GT(measure.itemWidth, 0u);
  Draw(menu, menu.RecordAt(1), ODS_CHECKED | ODS_SELECTED, 40, 1);
  BCMenu::SetDrawStyle(0);
  Draw(menu, menu.RecordAt(1), ODS_CHECKED | ODS_GRAYED, 40, 1);
}

TEST_F(MenuTest, DrawingLeavesNoGdiObjectsBehind) {
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem(L"Open\tCtrl+O", MF_STRING, ID_FILE_OPEN, IDR_MENU_TOOLBAR));
  ASSERT_TRUE(menu.AppendItem(L"Check", MF_STRING, ID_FILE_SAVE));
  ASSERT_TRUE(menu.AppendItem(L"", MF_STRING, 0));
  const UINT states[] = {0, ODS_SELECTED, ODS_CHECKED, ODS_GRAYED, ODS_GRAYED | ODS_SELECTED,
                         ODS_CHECKED | ODS_SELECTED};
  auto drawAll = [&] {
    for (int style = 0; style < 2; ++style) {
      BCMenu::SetDrawStyle(style);
      for (int item = 0; item < 3; ++item)
        for (UINT state : states) Draw(menu, menu.RecordAt(item), state);
    }
  };
  drawAll();
  menu.SetDisabledDither(TRUE);
  drawAll();
  DWORD before = GdiObjectCount::Now();
  for (int round = 0; round < 5; ++round) drawAll();
  EXPECT_LE(GdiObjectCount::Now(), before + 2);
}

TEST_F(MenuTest, NarrowTextIsReadInTheAnsiCodePage) {
  if (GetACP() != 936) GTEST_SKIP() << "needs the Chinese ANSI code page (936)";
  BCMenu menu;
  ASSERT_TRUE(menu.AppendItem("\xB4\xF2\xD3\xA1", MF_STRING, 1));  // 打印
  EXPECT_EQ(L"打印", menu.GetItemLabel(1));
  ASSERT_TRUE(menu.SetItemLabel(1, "\xB1\xA3\xB4\xE6"));  // 保存
  EXPECT_EQ(L"保存", menu.GetItemLabel(1));
  EXPECT_EQ(0, menu.FindItemPosition("\xB1\xA3\xB4\xE6"));
}

// ---- Process-wide classification ----

TEST(MenuStateTest, WindowsFamiliesFromVersions) {
  auto info = [](DWORD major, DWORD minor) {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    return version;
  };
  const DWORD nineX = 0x80000000u;
  OSVERSIONINFOW v;
  EXPECT_EQ(0, BCMenuState::ClassifyWindows(nineX | 3, nullptr));
  EXPECT_EQ(2, BCMenuState::ClassifyWindows(nineX | 4, nullptr));
  EXPECT_EQ(2, BCMenuState::ClassifyWindows(nineX | 4, &(v = info(4, 0))));
  EXPECT_EQ(3, BCMenuState::ClassifyWindows(nineX | 4, &(v = info(4, 10))));
  EXPECT_EQ(4, BCMenuState::ClassifyWindows(nineX | 4, &(v = info(4, 90))));
  EXPECT_EQ(5, BCMenuState::ClassifyWindows(4, &(v = info(4, 0))));
  EXPECT_EQ(6, BCMenuState::ClassifyWindows(5, &(v = info(5, 0))));
  EXPECT_EQ(7, BCMenuState::ClassifyWindows(5 | (1 << 8), &(v = info(5, 1))));
  EXPECT_EQ(1, BCMenuState::ClassifyWindows(5, &(v = info(5, 2))));
  EXPECT_EQ(1, BCMenuState::ClassifyWindows(6, &(v = info(6, 1))));
  EXPECT_EQ(1, BCMenuState::ClassifyWindows(3, &(v = info(3, 51))));
  EXPECT_EQ(1, BCMenuState::ClassifyWindows(5, nullptr));
  // This program runs on a later NT.
  EXPECT_EQ(1, BCMenu::GetWindowsFamily());
  EXPECT_FALSE(BCMenu::IsXPStyleActive());
}

TEST(MenuStateTest, ClassicThemeFromTheCurrentThemeValue) {
  EXPECT_TRUE(BCMenuState::IsClassicThemeName(L"C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme"));
  EXPECT_TRUE(BCMenuState::IsClassicThemeName(L"windows classic.THEME"));
  EXPECT_FALSE(BCMenuState::IsClassicThemeName(L"C:\\Themes\\Luna.theme"));
  EXPECT_FALSE(BCMenuState::IsClassicThemeName(L"Classic.theme"));
  EXPECT_FALSE(BCMenuState::IsClassicThemeName(L""));

  const wchar_t* path = L"Software\\Microsoft\\Plus!\\Themes\\Current";
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                           nullptr));
  const wchar_t value[] = L"C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme";
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof(value));
  BCMenuState& state = BCMenuState::Get();
  state.ForgetTheme();
  EXPECT_TRUE(BCMenu::IsClassicTheme());
  // Cached: a changed value is not read again.
  const wchar_t luna[] = L"Luna.theme";
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(luna), sizeof(luna));
  EXPECT_TRUE(BCMenu::IsClassicTheme());
  state.ForgetTheme();
  EXPECT_FALSE(BCMenu::IsClassicTheme());
  // A value longer than the 260 bytes read is not classic and overruns nothing.
  std::wstring longValue(300, L'x');
  longValue += L"\\Windows Classic.theme";
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(longValue.c_str()),
                 static_cast<DWORD>((longValue.size() + 1) * sizeof(wchar_t)));
  state.ForgetTheme();
  EXPECT_FALSE(BCMenu::IsClassicTheme());
  RegCloseKey(key);
  RegDeleteKeyW(HKEY_CURRENT_USER, path);
  state.ForgetTheme();
  EXPECT_FALSE(BCMenu::IsClassicTheme());

  // With XP's family and the classic theme, the XP-like look is drawn with
  // the lighter column (the XP visual style is off).
  int family = state.family;
  state.family = 7;
  EXPECT_TRUE(BCMenu::IsXPStyleActive());
  state.family = family;
}

TEST(MenuStateTest, ColourStepsKeepTheIntegerPartAndIgnoreBadFactors) {
  EXPECT_EQ(RGB(0x83, 0x83, 0x83), menu_drawing::Lighten(RGB(0x5A, 0x5A, 0x5A), 0.25));
  EXPECT_EQ(RGB(0x89, 0x89, 0x89), menu_drawing::Darken(RGB(0x8C, 0x8C, 0x8C), 0.02));
  EXPECT_EQ(RGB(10, 20, 30), menu_drawing::Lighten(RGB(10, 20, 30), 0.0));
  EXPECT_EQ(RGB(10, 20, 30), menu_drawing::Lighten(RGB(10, 20, 30), 1.5));
  EXPECT_EQ(RGB(10, 20, 30), menu_drawing::Darken(RGB(10, 20, 30), -0.5));
  EXPECT_EQ(RGB(255, 255, 255), menu_drawing::Lighten(RGB(10, 20, 30), 1.0));
}

TEST(MenuMemDCTest, ReachesTheTargetOnlyWhenDone) {
  PixelCanvas target(40, 30);
  menu_drawing::Fill(target.Dc(), RECT{0, 0, 40, 30}, kSentinel);
  {
    BCMenuMemDC buffer(target.Dc(), RECT{10, 5, 30, 25});
    ASSERT_TRUE(buffer.IsOffScreen());
    menu_drawing::Fill(buffer, RECT{10, 5, 30, 25}, RGB(0, 200, 0));
    menu_drawing::Fill(buffer, RECT{20, 15, 21, 16}, RGB(200, 0, 0));
    GdiFlush();
    EXPECT_EQ(kSentinel, target.At(20, 15));
  }
  EXPECT_EQ(RGB(200, 0, 0), target.At(20, 15));
  EXPECT_EQ(RGB(0, 200, 0), target.At(10, 5));
  EXPECT_EQ(RGB(0, 200, 0), target.At(29, 24));
  EXPECT_EQ(kSentinel, target.At(9, 5));
  EXPECT_EQ(kSentinel, target.At(30, 24));
  // Nothing to buffer over an empty rectangle: drawing goes straight through.
  BCMenuMemDC empty(target.Dc(), RECT{3, 3, 3, 3});
  EXPECT_FALSE(empty.IsOffScreen());
  EXPECT_EQ(target.Dc(), empty.Get());
}

}  // namespace

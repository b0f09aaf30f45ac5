#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ListCtrlEx.h"
#include "ListTestSupport.h"
#include "ToolInfo.h"
#include "ToolInfoSizeCheck.h"

namespace {

const COLORREF kHeaderBack = RGB(20, 160, 60);
const COLORREF kHeaderText = RGB(250, 250, 0);
const COLORREF kListBack = RGB(250, 250, 250);
const COLORREF kRowA = RGB(200, 230, 255);
const COLORREF kRowB = RGB(255, 235, 200);
const COLORREF kSelected = RGB(40, 90, 200);
const COLORREF kHover = RGB(230, 200, 255);
const COLORREF kLinkColour = RGB(200, 0, 0);
const int kLinkColumn = 8;

// Name, integer, size, date, case-sensitive text, real, unsorted, date against
// a reference, links.
const std::vector<std::wstring> kColumns{L"Name", L"Int", L"Size", L"Date", L"Case", L"Real", L"Keep", L"Ref", L"Do"};

std::wstring SkinXml(int fontSize, const std::wstring& alternating) {
  std::wstring columns;
  const int sortTypes[] = {1, 2, 7, 3, 0, 5, 4, 6, 4};
  for (int type : sortTypes)
    columns += L"<LISTITEM TypeID='1' width='76' sorttype='" + std::to_wstring(type) + L"'/>";
  // The link column takes what the others leave.
  columns.replace(columns.rfind(L"width='76'"), 10, L"width='-1'");
  return L"<?xml version='1.0' encoding='utf-8'?><skin><list>"
         L"<LISTITEM TypeID='0' height='24' bgclr='" + ColourText(kHeaderBack) + L"' fontclr='" +
         ColourText(kHeaderText) + L"' fontsize='14' fonttype='Arial'/>" + columns +
         L"<LISTITEM TypeID='2' highlightbgclr='" + ColourText(kSelected) + L"' highlighttextclr='16777215' overbgclr='" +
         ColourText(kHover) + L"' bgclr='" + ColourText(kListBack) + L"' fontsize='" + std::to_wstring(fontSize) +
         L"' fonttype='Arial'/>" + alternating +
         L"<LISTITEM TypeID='4' col='8' space='8'>"
         L"<link id='1' text='Open' tooltip='Opens it' fontclr='" + ColourText(kLinkColour) + L"'/>"
         L"<link id='2' text='Gone' tooltip='Not now' disable='1' disableclr='8421504'/>"
         L"</LISTITEM></list></skin>";
}

const std::wstring kTwoColours = L"<LISTITEM TypeID='3' bgclr='" + ColourText(kRowA) + L"'/><LISTITEM TypeID='3' bgclr='" +
                                 ColourText(kRowB) + L"'/>";

class ListCtrlExTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCursorPos(900, 700);  // away from the rows, which would take the hover colour
    ASSERT_TRUE(parent.Create(PopupArgs(10, 10, 780, 300)));
    ASSERT_TRUE(list.Create(ListArgs(parent.Hwnd(), 780, 300)));
    list.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    InsertColumns(list.Hwnd(), kColumns, 60);
  }
  int LoadSkin(int fontSize = 14, const std::wstring& alternating = kTwoColours) {
    std::wstring path = folder.WriteText(L"skin.xml", SkinXml(fontSize, alternating));
    return list.LoadSkinFile(L"list", path.c_str());
  }
  // Four rows whose keys order differently in every column.
  void FillRows() {
    const std::vector<std::vector<std::wstring>> rows{
        {L"delta", L"2000000000", L"2 MB", L"2024-03-01 10:00", L"b", L"1.5", L"k0", L"2024-01-01 12:00"},
        {L"Alpha", L"-2000000000", L"10 KB", L"2023-12-31 23:59", L"B", L"-3.25", L"k1", L"2024-01-01 20:00"},
        {L"charlie", L"5", L"50%", L"2024-01-15 08:30", L"a", L"10", L"k2", L"2024-01-02 08:00"},
        {L"Bravo", L"70", L"huge", L"2022-06-01 00:00", L"A", L"2.75", L"k3", L"2024-01-01 06:00"}};
    for (const auto& row : rows) {
      int index = InsertRow(list.Hwnd(), row);
      // Each row's link says whose it is, to see it follow its row.
      list.SetCellLinkText(index, kLinkColumn, 1, row[0]);
    }
  }
  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    for (int row = 0; row < list.ItemCount(); ++row) names.push_back(list.GetCellText(row, 0));
    return names;
  }
  void ExpectLinksFollowTheirRows() const {
    for (int row = 0; row < list.ItemCount(); ++row) {
      std::wstring text;
      EXPECT_TRUE(list.GetCellLinkText(row, kLinkColumn, 1, text));
      EXPECT_EQ(text, list.GetCellText(row, 0)) << "row " << row;
    }
  }
  void ClickHeader(int column) {
    RECT item{};
    list.Header().Send(HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&item));
    ClickAt(list.Header().Hwnd(), POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
  }
  POINT LinkPoint(int row, int linkIndex) {
    RECT cell = SubItemRect(list.Hwnd(), row, kLinkColumn);
    CCellLinkGroup* group = list.GetCellLinks(row, kLinkColumn);
    int x = cell.left + 10 + 2;
    if (linkIndex == 1) {
        x += group->LinkFromPoint(1, 1)->width + 8;
    }
    return POINT{x, cell.top + 3};
  }

  ToolInfoSizeCheck toolInfoCheck;
  TempSkinFolder folder;
  ListParent parent;
  CListCtrlEx list;
};

TEST_F(ListCtrlExTest, HeaderClicksSortEachTypeBothWaysWithTheLinksFollowingTheirRows) {
  ASSERT_EQ(1, LoadSkin());
  FillRows();
  struct Case {
    int column;
    std::vector<std::wstring> ascending;
  } cases[] = {
      {0, {L"Alpha", L"Bravo", L"charlie", L"delta"}},
      {1, {L"Alpha", L"charlie", L"Bravo", L"delta"}},  // no overflow at the ends of the range
      {2, {L"Bravo", L"delta", L"Alpha", L"charlie"}},  // the number before the unit; no unit is -1
      {3, {L"Bravo", L"Alpha", L"charlie", L"delta"}},
      {4, {L"charlie", L"Bravo", L"delta", L"Alpha"}},  // a before A before b before B
      {5, {L"Alpha", L"delta", L"Bravo", L"charlie"}},
      {7, {L"Bravo", L"delta", L"Alpha", L"charlie"}},  // without a reference time, as dates
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    ClickHeader(c.column);
    EXPECT_EQ(Names(), c.ascending);
    ExpectLinksFollowTheirRows();
    ClickHeader(c.column);
    EXPECT_EQ(Names(), std::vector<std::wstring>(c.ascending.rbegin(), c.ascending.rend()));
    ExpectLinksFollowTheirRows();
  }
  // The unsorted type keeps the order, both ways.
  std::vector<std::wstring> before = Names();
  ClickHeader(6);
  EXPECT_EQ(Names(), before);
  ClickHeader(6);
  EXPECT_EQ(Names(), before);

  // The header shows the arrow on the last sorted column only.
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  list.Header().Send(HDM_GETITEMW, 6, reinterpret_cast<LPARAM>(&item));
  EXPECT_TRUE(item.fmt & HDF_BITMAP_ON_RIGHT);
  list.Header().Send(HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_FALSE(item.fmt & HDF_BITMAP);
}

TEST_F(ListCtrlExTest, AReferenceTimeMovesEarlierDatesADayLater) {
  ASSERT_EQ(1, LoadSkin());
  FillRows();
  DATE reference = 0;
  ASSERT_TRUE(SUCCEEDED(VarDateFromStr(const_cast<OLECHAR*>(L"2024-01-01 10:00"), LOCALE_USER_DEFAULT, 0, &reference)));
  list.SetReferenceTime(reference);
  ClickHeader(7);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"delta", L"Alpha", L"Bravo", L"charlie"}));
}

TEST(ListSortCompare, ComparesAsEachTypeSaysAndRefusesUnknownTypes) {
  auto compare = [](int type, const wchar_t* a, const wchar_t* b) {
    CListCtrlOwnData::SortRecord first{0, a, 0, false, 0}, second{0, b, 0, false, 1};
    return CListCtrlOwnData::SortCompare(reinterpret_cast<LPARAM>(&first), reinterpret_cast<LPARAM>(&second),
                                         (type << 8) | 1);
  };
  EXPECT_EQ(0, compare(3, L"not a date", L"2024-01-01"));
  EXPECT_EQ(1, compare(3, L"2024-01-01", L"2024-01-01")) << "equal dates give 1";
  EXPECT_EQ(1, compare(5, L"2.5", L"2.5"));
  EXPECT_EQ(-1, compare(7, L"2 MB", L"10 KB"));
  EXPECT_EQ(1, compare(2, L"2147483647", L"-2147483648"));
  EXPECT_EQ(0, compare(4, L"a", L"b"));
  EXPECT_EQ(0, compare(9, L"a", L"b"));

  EXPECT_EQ(12, CListCtrlOwnData::ParseSizeText(L"12%"));
  EXPECT_EQ(3, CListCtrlOwnData::ParseSizeText(L"3字节"));
  EXPECT_EQ(4, CListCtrlOwnData::ParseSizeText(L"4 GB"));
  EXPECT_EQ(-1, CListCtrlOwnData::ParseSizeText(L"4 gb"));
  EXPECT_EQ(-1, CListCtrlOwnData::ParseSizeText(L"B"));

  CListCtrlEx list;
  const BYTE bad[] = {1, 8, 2};
  EXPECT_FALSE(list.SetSortTypes(bad, 3));
  EXPECT_EQ(-1, list.SortTypeOf(0)) << "one bad entry refuses the whole array";
}

TEST_F(ListCtrlExTest, SortTypesAndLinkRowsOutsideTheirBoundsAreRefused) {
  // A type past a byte must not wrap into a valid one (256 is 0, 2^32 + 1 is 1).
  for (const wchar_t* type : {L"8", L"256", L"4294967297", L"-1"}) {
    SCOPED_TRACE(type);
    std::wstring path = folder.WriteText(L"types.xml", std::wstring(L"<skin><list><LISTITEM TypeID='1' sorttype='") +
                                                           type + L"'/><LISTITEM TypeID='1' sorttype='1'/></list></skin>");
    ASSERT_EQ(1, list.LoadSkinFile(L"list", path.c_str()));
    EXPECT_EQ(-1, list.SortTypeOf(1)) << "one bad column refuses them all";
    EXPECT_FALSE(list.SortByHeaderClick(1));
  }

  ASSERT_EQ(1, LoadSkin());
  FillRows();
  const int rows = list.LinkRowsOf(kLinkColumn);
  EXPECT_FALSE(list.SetCellLinks(std::make_unique<CCellLinkGroup>(), 0x7FFFFFFF, kLinkColumn, false));
  EXPECT_FALSE(list.SetCellLinks(std::make_unique<CCellLinkGroup>(), list.ItemCount(), kLinkColumn, true));
  EXPECT_EQ(rows, list.LinkRowsOf(kLinkColumn));
  EXPECT_TRUE(list.SetCellLinks(std::make_unique<CCellLinkGroup>(), list.ItemCount() - 1, kLinkColumn, false));
}

TEST_F(ListCtrlExTest, RowsAddedBeforeTheLinkColumnSortAndDeleteWithoutGroups) {
  for (int i = 0; i < 12; ++i) InsertRow(list.Hwnd(), {L"row" + std::to_wstring(100 + i)});
  ASSERT_EQ(1, LoadSkin());
  InsertRow(list.Hwnd(), {L"zzz"}, 0);
  ASSERT_NE(nullptr, list.GetCellLinks(0, kLinkColumn));
  ASSERT_LT(list.LinkRowsOf(kLinkColumn), list.ItemCount());

  // A row the links never reached goes without touching the others.
  list.Send(LVM_DELETEITEM, 5);
  EXPECT_EQ(12, list.ItemCount());
  EXPECT_NE(nullptr, list.GetCellLinks(0, kLinkColumn));

  ClickHeader(0);
  EXPECT_EQ(L"zzz", list.GetCellText(11, 0));
  EXPECT_NE(nullptr, list.GetCellLinks(11, kLinkColumn));
  for (int row = 0; row < 11; ++row) EXPECT_EQ(nullptr, list.GetCellLinks(row, kLinkColumn)) << row;
  list.Send(LVM_DELETEITEM, 11);
  EXPECT_EQ(nullptr, list.GetCellLinks(11, kLinkColumn));
  EXPECT_EQ(11, list.ItemCount());
}

TEST_F(ListCtrlExTest, DeletingRowsTakesTheirLinksAndMovesTheRestUp) {
  ASSERT_EQ(1, LoadSkin());
  FillRows();
  list.Send(LVM_DELETEITEM, 1);
  EXPECT_EQ((std::vector<std::wstring>{L"delta", L"charlie", L"Bravo"}), Names());
  ExpectLinksFollowTheirRows();
  EXPECT_TRUE(list.RemoveCellLinks(0, kLinkColumn));
  EXPECT_FALSE(list.SetCellLinkText(0, kLinkColumn, 1, L"x")) << "a cell without a group";
  list.Send(LVM_DELETEALLITEMS);
  EXPECT_EQ(0, list.LinkRowsOf(kLinkColumn));
}

TEST_F(ListCtrlExTest, ASkinLoadedAgainOnAFilledListKeepsTheOldGroupsFontsAliveUntilTheyGo) {
  ASSERT_EQ(1, LoadSkin(14));
  FillRows();
  std::weak_ptr<fw::ScopedFont> oldFont = list.LinkColumn(kLinkColumn)->normalFont;
  ASSERT_EQ(1, LoadSkin(20));
  ASSERT_FALSE(oldFont.expired()) << "the rows' groups still draw with it";
  LOGFONTW described{};
  EXPECT_NE(0, GetObjectW(oldFont.lock()->Get(), sizeof(described), &described));
  ShownPixels(list.Hwnd());
  InsertRow(list.Hwnd(), {L"echo"});
  std::wstring text;
  EXPECT_TRUE(list.GetCellLinkText(4, kLinkColumn, 1, text));
  EXPECT_EQ(L"Open", text);
  list.Send(LVM_DELETEALLITEMS);
  EXPECT_TRUE(oldFont.expired());
}

TEST_F(ListCtrlExTest, ReplacedSortArrowsReachTheHeaderBeforeTheOldOnesAreDeleted) {
  ASSERT_EQ(1, LoadSkin());
  FillRows();
  auto arrow = [](int width, COLORREF colour) { return fw::ScopedBitmap(TwoToneBitmap(width, 6, colour)); };
  list.SetSortArrowBitmaps(arrow(7, kHeaderText), arrow(7, kHeaderText), CLR_INVALID);
  ClickHeader(0);
  auto shownArrow = [this] {
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    list.Header().Send(HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item;
  };
  // The width of a live bitmap; 0 for a deleted one.
  auto widthOf = [](HBITMAP bitmap) {
    BITMAP info{};
    return bitmap && GetObjectW(bitmap, sizeof(info), &info) ? info.bmWidth : 0;
  };
  ASSERT_EQ(7, widthOf(shownArrow().hbm));

  list.SetSortArrowBitmaps(arrow(9, kHeaderText), arrow(9, kHeaderText), CLR_INVALID);
  EXPECT_EQ(9, widthOf(shownArrow().hbm));

  folder.WriteBmp(L"up.bmp", 11, 6, kHeaderText);
  folder.WriteBmp(L"down.bmp", 11, 6, kHeaderText);
  std::wstring path = folder.WriteText(L"arrows.xml", L"<skin><list><LISTITEM TypeID='0' arrowAsc='up.bmp' "
                                                      L"arrowDes='down.bmp'/></list></skin>");
  ASSERT_EQ(1, list.LoadSkinFile(L"list", path.c_str()));
  EXPECT_EQ(11, widthOf(shownArrow().hbm));

  list.SetBitmaps(901, 902, 903, 904, CLR_INVALID);  // pictures this program does not have
  EXPECT_EQ(nullptr, shownArrow().hbm);
  EXPECT_FALSE(shownArrow().fmt & HDF_BITMAP);
}

TEST_F(ListCtrlExTest, AListWindowOutlivingItsObjectGetsItsOwnFontBack) {
  HWND window = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 400, 200,
                                parent.Hwnd(), nullptr, nullptr, nullptr);
  InsertColumns(window, {L"Name"}, 200);
  InsertRow(window, {L"row"});
  fw::ScopedFont own(CreateFontW(18, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, L"Arial"));
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(own.Get()), FALSE);
  {
    CListCtrlEx subclassed;
    ASSERT_TRUE(subclassed.Subclass(window));
    std::wstring path = folder.WriteText(L"font.xml", L"<skin><list><LISTITEM TypeID='2' fontsize='13' "
                                                      L"fonttype='Arial'/></list></skin>");
    ASSERT_EQ(1, subclassed.LoadSkinFile(L"list", path.c_str()));
    ASSERT_EQ(1, subclassed.LoadSkinFile(L"list", path.c_str()));
    HFONT skinned = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    EXPECT_NE(own.Get(), skinned);
    EXPECT_EQ(OBJ_FONT, static_cast<int>(GetObjectType(skinned)));
  }
  EXPECT_EQ(own.Get(), reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  ShownPixels(window);
  DestroyWindow(window);
}

TEST_F(ListCtrlExTest, AnEnabledLinkTellsTheParentItsCellAndADisabledOneNothing) {
  ASSERT_EQ(1, LoadSkin());
  FillRows();
  PumpFor(30);
  ClickAt(list.Hwnd(), LinkPoint(2, 0));
  ASSERT_EQ(1u, parent.linkClicks.size());
  EXPECT_EQ(0x087F0000u, parent.linkClickWParams[0]);
  EXPECT_EQ(list.Hwnd(), parent.linkClicks[0].list);
  EXPECT_EQ(2, parent.linkClicks[0].row);
  EXPECT_EQ(kLinkColumn, parent.linkClicks[0].column);
  EXPECT_EQ(1, parent.linkClicks[0].linkId);
  EXPECT_FALSE(IsSelected(list.Hwnd(), 2)) << "a link press does not select its row";

  ClickAt(list.Hwnd(), LinkPoint(1, 1));
  EXPECT_EQ(1u, parent.linkClicks.size());
  EXPECT_FALSE(IsSelected(list.Hwnd(), 1));

  RECT cell = SubItemRect(list.Hwnd(), 3, kLinkColumn);
  ClickAt(list.Hwnd(), POINT{cell.right - 3, cell.top + 3});
  EXPECT_EQ(1u, parent.linkClicks.size());
  EXPECT_TRUE(IsSelected(list.Hwnd(), 3)) << "beside the links the row is selected as usual";
}

TEST_F(ListCtrlExTest, AnEnabledLinkUnderTheMouseShowsItsTooltip) {
  ASSERT_EQ(1, LoadSkin());
  FillRows();
  MoveTo(list.Hwnd(), LinkPoint(0, 0));
  ASSERT_NE(nullptr, list.Tooltip());
  EXPECT_EQ(1, SendMessageW(list.Tooltip(), TTM_GETTOOLCOUNT, 0, 0));
  TOOLINFOW tool = fw::ToolInfo(list.Hwnd(), reinterpret_cast<UINT_PTR>(list.Hwnd()));
  wchar_t text[80] = {};
  tool.lpszText = text;
  SendMessageW(list.Tooltip(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(L"Opens it", text);
  EXPECT_TRUE(IsWindowVisible(list.Tooltip()));

  RECT cell = SubItemRect(list.Hwnd(), 0, 0);
  MoveTo(list.Hwnd(), POINT{cell.left + 5, cell.top + 3});
  EXPECT_FALSE(IsWindowVisible(list.Tooltip()));
  EXPECT_GT(ToolInfoSizeCheck::Seen(), 3) << "the list's tool records went unchecked";
}

TEST_F(ListCtrlExTest, PaintsTheHeaderAndAlternatingRowsInTheSkinsColours) {
  const std::wstring three = kTwoColours + L"<LISTITEM TypeID='3' fontclr='0'/>";
  ASSERT_EQ(1, LoadSkin(14, three));
  for (int i = 0; i < 6; ++i) InsertRow(list.Hwnd(), {L""});
  auto shown = ShownPixels(list.Hwnd());
  RECT header = list.Header().WindowRect();
  EXPECT_EQ(24, header.bottom - header.top);
  auto headerShown = ShownPixels(list.Header().Hwnd());
  EXPECT_EQ(kHeaderBack, headerShown->Pixel(3, 3));
  const COLORREF expected[] = {kRowA, kRowB, kListBack, kRowA, kRowB, kListBack};
  for (int row = 0; row < 6; ++row) {
    RECT cell = SubItemRect(list.Hwnd(), row, 3);
    EXPECT_EQ(expected[row], shown->Pixel(cell.left + 5, (cell.top + cell.bottom) / 2)) << "row " << row;
  }
  EXPECT_EQ(16, SubItemRect(list.Hwnd(), 0, 1).bottom - SubItemRect(list.Hwnd(), 0, 1).top)
      << "the measured row height";

  // The selected row of the focused list: a gradient ending in the colour.
  SetFocus(list.Hwnd());
  ListView_SetItemState(list.Hwnd(), 1, LVIS_SELECTED, LVIS_SELECTED);
  shown = ShownPixels(list.Hwnd());
  RECT selected = SubItemRect(list.Hwnd(), 1, 3);
  COLORREF top = shown->Pixel(selected.left + 5, selected.top);
  COLORREF bottom = shown->Pixel(selected.left + 5, selected.bottom - 2);
  EXPECT_GT(GetRValue(top) + GetGValue(top) + GetBValue(top), GetRValue(bottom) + GetGValue(bottom) + GetBValue(bottom));
  EXPECT_NEAR(GetBValue(bottom), GetBValue(kSelected), 12);
  // Drop-highlighted is not selected: that row keeps its own colour.
  ListView_SetItemState(list.Hwnd(), 4, LVIS_DROPHILITED, LVIS_DROPHILITED);
  shown = ShownPixels(list.Hwnd());
  RECT dropped = SubItemRect(list.Hwnd(), 4, 3);
  EXPECT_EQ(kRowB, shown->Pixel(dropped.left + 5, (dropped.top + dropped.bottom) / 2));
}

TEST_F(ListCtrlExTest, WithoutFullRowSelectionOnlyTheFirstColumnShowsTheSelection) {
  list.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, 0);
  ASSERT_EQ(1, LoadSkin());
  for (int i = 0; i < 3; ++i) InsertRow(list.Hwnd(), {L"WWW", L"WWW"});
  SetFocus(list.Hwnd());
  ListView_SetItemState(list.Hwnd(), 1, LVIS_SELECTED, LVIS_SELECTED);
  auto shown = ShownPixels(list.Hwnd());
  RECT first = SubItemRect(list.Hwnd(), 1, 0);
  first.right = first.left + ListView_GetColumnWidth(list.Hwnd(), 0);
  const RECT second = SubItemRect(list.Hwnd(), 1, 1);
  const int bottom = first.bottom - 2;
  EXPECT_NEAR(GetBValue(shown->Pixel(first.right - 3, bottom)), GetBValue(kSelected), 12);
  EXPECT_EQ(kListBack, shown->Pixel(second.right - 3, bottom)) << "the other columns keep the list's colour";
  // Their text keeps the row's own colour (black), not the selection's (white).
  bool dark = false, white = false;
  for (int y = second.top; y < second.bottom; ++y) {
    for (int x = second.left; x < second.right; ++x) {
      const COLORREF pixel = shown->Pixel(x, y);
      dark = dark || (GetRValue(pixel) < 80 && GetGValue(pixel) < 80 && GetBValue(pixel) < 80);
      white = white || pixel == RGB(255, 255, 255);
    }
  }
  EXPECT_TRUE(dark);
  EXPECT_FALSE(white);
}

TEST_F(ListCtrlExTest, TheFillColumnTakesWhatTheOthersLeaveAtEachPaint) {
  ASSERT_EQ(1, LoadSkin());
  FillRows();
  for (int width : {780, 700, 900}) {
    SetWindowPos(parent.Hwnd(), nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(list.Hwnd(), nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
    ShownPixels(list.Hwnd());
    SCOPED_TRACE(width);
    EXPECT_EQ(list.ClientRect().right - 8 * 76, ListView_GetColumnWidth(list.Hwnd(), kLinkColumn));
  }
}

TEST_F(ListCtrlExTest, TheHoveredRowTakesTheHoverColour) {
  ASSERT_EQ(1, LoadSkin());
  FillRows();
  RECT cell = SubItemRect(list.Hwnd(), 2, 3);
  MoveTo(list.Hwnd(), POINT{cell.left + 30, cell.top + 4});
  EXPECT_EQ(2, list.HoverRow());
  auto shown = ShownPixels(list.Hwnd());
  EXPECT_EQ(kHover, shown->Pixel(cell.left + 3, cell.top + 2));
  SendMessageW(list.Hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, list.HoverRow());
}

// An owner-data list asks its parent for every cell's text.
class OwnerDataListTest : public ListCtrlExTest {
 protected:
  void SetUp() override {
    SetCursorPos(900, 700);
    ASSERT_TRUE(parent.Create(PopupArgs(10, 10, 780, 300)));
    ASSERT_TRUE(owner.Create(ListArgs(parent.Hwnd(), 780, 300, LVS_OWNERDATA)));
    owner.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    InsertColumns(owner.Hwnd(), kColumns, 60);
    parent.cellText = [](int row, int column) { return L"r" + std::to_wstring(row) + L"c" + std::to_wstring(column); };
  }
  CListCtrlEx owner;
};

TEST_F(OwnerDataListTest, ACellShowsItsWholeTextHoweverLong) {
  parent.cellText = [](int row, int) { return std::wstring(row == 0 ? 258 : row == 1 ? 259 : 1000, L'x') + L"@"; };
  owner.SetItemCountEx(3);
  EXPECT_EQ(std::wstring(258, L'x') + L"@", owner.GetCellText(0, 0));
  EXPECT_EQ(std::wstring(259, L'x') + L"@", owner.GetCellText(1, 2));
  EXPECT_EQ(std::wstring(1000, L'x') + L"@", owner.GetCellText(2, 8));
}

TEST_F(OwnerDataListTest, AListThatLosesRowsWhileScrolledDownShowsWhatIsLeft) {
  std::wstring path = folder.WriteText(L"skin.xml", SkinXml(14, kTwoColours));
  ASSERT_EQ(1, owner.LoadSkinFile(L"list", path.c_str()));
  owner.SetItemCountEx(100);
  owner.Send(LVM_ENSUREVISIBLE, 99, FALSE);
  ASSERT_GT(GetScrollPos(owner.Hwnd(), SB_VERT), 80);
  owner.SetItemCountEx(3);
  EXPECT_EQ(0, GetScrollPos(owner.Hwnd(), SB_VERT));
  EXPECT_EQ(0, owner.Send(LVM_GETTOPINDEX));
  auto shown = ShownPixels(owner.Hwnd());
  for (int row = 0; row < 3; ++row) {
    const RECT cell = SubItemRect(owner.Hwnd(), row, 3);
    EXPECT_EQ(row * (cell.bottom - cell.top) + 24, cell.top) << "row " << row << " right under the header";
    EXPECT_EQ(row % 2 ? kRowB : kRowA, shown->Pixel(cell.left + 40, (cell.top + cell.bottom) / 2)) << "row " << row;
  }
}

TEST_F(ListCtrlExTest, ColumnsPastTheFlagArraysDrawAndSortWithoutEllipsisFlags) {
  std::vector<std::wstring> many;
  for (int i = 0; i < 262 - static_cast<int>(kColumns.size()); ++i) many.push_back(L"c");
  std::vector<std::wstring> all = kColumns;
  all.insert(all.end(), many.begin(), many.end());
  CListCtrlEx wide;
  ASSERT_TRUE(wide.Create(ListArgs(parent.Hwnd(), 780, 300)));
  InsertColumns(wide.Hwnd(), all, 20);
  std::wstring items;
  for (int i = 0; i < 262; ++i) items += L"<LISTITEM TypeID='1' width='20' sorttype='1' drawellipsis='1'/>";
  std::wstring path = folder.WriteText(L"wide.xml", L"<skin><list><LISTITEM TypeID='2' highlightbgclr='255'/>" + items +
                                                        L"</list></skin>");
  ASSERT_EQ(1, wide.LoadSkinFile(L"list", path.c_str()));
  EXPECT_TRUE(wide.DrawsEllipsis(259));
  EXPECT_FALSE(wide.DrawsEllipsis(261));
  EXPECT_EQ(1, wide.SortTypeOf(261));
  std::vector<std::wstring> cells(262, L"b");
  cells[261] = L"b";
  InsertRow(wide.Hwnd(), cells);
  cells[261] = L"a";
  InsertRow(wide.Hwnd(), cells);
  ShownPixels(wide.Hwnd());
  ASSERT_TRUE(wide.SortByHeaderClick(261));
  EXPECT_EQ(L"a", wide.GetCellText(0, 261));
}

}  // namespace

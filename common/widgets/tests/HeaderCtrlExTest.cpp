#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "HeaderCtrlEx.h"
#include "SkinTestSupport.h"

namespace {

const COLORREF kBack = RGB(20, 160, 60);
const COLORREF kText = RGB(250, 250, 0);
const COLORREF kLeft = RGB(200, 0, 0);
const COLORREF kRight = RGB(0, 0, 200);
const COLORREF kArrow = RGB(0, 200, 200);
const COLORREF kKey = RGB(255, 0, 255);

// A real report-view list in a popup, its header skinned by the fixture's
// CHeaderCtrlEx (or left alone, for comparison).
class ListWindow {
 public:
  explicit ListWindow(int y, int width = 300) {
    parent.Create(PopupArgs(20, y, width + 20, 160));
    list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, width, 150,
                           parent.Hwnd(), nullptr, nullptr, nullptr);
    AddColumn(0, L"名称", 100, LVCFMT_LEFT);
    AddColumn(1, L"Size", 80, LVCFMT_LEFT);
    ListView_InsertItem(list, &Row());
  }
  void AddColumn(int index, const wchar_t* text, int width, int format) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = const_cast<wchar_t*>(text);
    column.cx = width;
    column.fmt = format;
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
  }
  static LVITEMW& Row() {
    static wchar_t text[] = L"row";
    static LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.pszText = text;
    return item;
  }
  HWND Header() const { return ListView_GetHeader(list); }
  int HeaderHeight() const {
    RECT rect{};
    GetWindowRect(Header(), &rect);
    return rect.bottom - rect.top;
  }
  int FirstRowTop() const {
    RECT rect{};
    ListView_GetItemRect(list, 0, &rect, LVIR_BOUNDS);
    return rect.top;
  }

  fw::Wnd parent;
  HWND list = nullptr;
};

// What the header shows on the screen, read back after it has painted.
std::unique_ptr<DibCanvas> Shown(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PumpFor(50);
  RECT client{};
  GetClientRect(window, &client);
  auto canvas = std::make_unique<DibCanvas>(client.right, client.bottom);
  HDC dc = GetDC(window);
  BitBlt(canvas->Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  return canvas;
}

RECT ItemRect(HWND header, int item) {
  RECT rect{};
  SendMessageW(header, HDM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

fw::ScopedBitmap Solid(int width, int height, COLORREF colour) {
  return fw::ScopedBitmap(TwoToneBitmap(width, height, colour));
}

TEST(HeaderCtrlExTest, LaysOutAsTheSystemUntilAHeightOrPictureIsSet) {
  ListWindow plain(20);
  ListWindow skinned(200);
  CHeaderCtrlEx header;
  ASSERT_TRUE(header.Subclass(skinned.Header()));
  header.SetHeight(-1);
  EXPECT_EQ(skinned.HeaderHeight(), plain.HeaderHeight());

  header.SetBitmaps(Solid(4, 31, kBack), fw::ScopedBitmap(), fw::ScopedBitmap());
  header.SetHeight(-1);
  EXPECT_EQ(skinned.HeaderHeight(), 31);
  EXPECT_GE(skinned.FirstRowTop(), 31);

  header.SetHeight(44);
  EXPECT_EQ(skinned.HeaderHeight(), 44);
  EXPECT_GE(skinned.FirstRowTop(), 44);
  RECT placed{};
  GetWindowRect(skinned.Header(), &placed);
  POINT origin{placed.left, placed.top};
  ScreenToClient(skinned.list, &origin);
  EXPECT_EQ(origin.y, 0);
}

TEST(HeaderCtrlExTest, PaintsColourSlicesAndTextWithinEachItem) {
  ListWindow window(20);
  window.AddColumn(2, L"", 10, LVCFMT_LEFT);  // narrower than both slices
  CHeaderCtrlEx header;
  ASSERT_TRUE(header.Subclass(window.Header()));
  EXPECT_EQ(header.SetBitmaps(fw::ScopedBitmap(), Solid(6, 20, kLeft), Solid(6, 20, kRight)), 1);
  header.SetColors(kBack, kText);
  header.SetHeight(24);

  auto shown = Shown(window.Header());
  RECT first = ItemRect(window.Header(), 0);
  RECT narrow = ItemRect(window.Header(), 2);
  int middle = (first.top + first.bottom) / 2;
  EXPECT_EQ(shown->Pixel(first.left + 2, middle), kLeft);
  EXPECT_EQ(shown->Pixel(first.right - 2, middle), kRight);
  EXPECT_EQ(shown->Pixel(first.right - 8, 1), kBack);
  EXPECT_GT(shown->Count(kText, RECT{first.left + 6, 0, first.right - 6, first.bottom}), 5);
  EXPECT_EQ(shown->Count(kText, RECT{first.left, 0, first.left + 6, first.bottom}), 0);
  // The narrow item shows its right slice and no left one.
  EXPECT_EQ(shown->Pixel(narrow.right - 1, middle), kRight);
  EXPECT_EQ(shown->Pixel(narrow.left + 1, middle), kBack);
  // Beyond the last item only the background.
  EXPECT_EQ(shown->Pixel(narrow.right + 5, middle), kBack);

  EXPECT_EQ(header.SetBitmaps(fw::ScopedBitmap(), Solid(6, 20, kLeft), Solid(6, 21, kRight)), 0);
}

// Where the sort bitmap lands, read from its pixels, for each alignment.
TEST(HeaderCtrlExTest, SortBitmapSitsBesideTheTextAndStaysInsideTheItem) {
  ListWindow window(20);
  CHeaderCtrlEx header;
  ASSERT_TRUE(header.Subclass(window.Header()));
  header.SetHeaderFont(fw::ScopedFont(CreateFontW(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                                  L"Arial")));
  header.SetColors(kBack, kText);
  header.SetHeight(24);
  header.SetTransparentColor(kKey);
  // A key-coloured frame around the arrow: the frame must not show.
  fw::ScopedBitmap arrow(FramedBitmap(10, 8, kKey, kArrow, 1));

  HDC dc = GetDC(window.Header());
  HGDIOBJ old = SelectObject(dc, header.HeaderFont());
  SIZE space{}, name{};
  GetTextExtentPoint32W(dc, L" ", 1, &space);
  GetTextExtentPoint32W(dc, L"Size", 4, &name);
  SelectObject(dc, old);
  ReleaseDC(window.Header(), dc);
  const int m = space.cx, b = 10, t = name.cx;

  struct Case {
    int fmt;
    bool onRight;
  } cases[] = {{HDF_LEFT, true}, {HDF_RIGHT, true}, {HDF_CENTER, false}, {HDF_LEFT, false}};
  for (const Case& c : cases) {
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    item.fmt = HDF_STRING | HDF_BITMAP | c.fmt | (c.onRight ? HDF_BITMAP_ON_RIGHT : 0);
    item.hbm = arrow.Get();
    SendMessageW(window.Header(), HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    RECT rect = ItemRect(window.Header(), 1);
    int L = rect.left + m / 2, R = rect.right - m / 2;
    if (c.onRight) R -= b; else L += b;
    int expected = 0;
    if (c.fmt == HDF_LEFT) expected = c.onRight ? L + t + m / 2 : L - m / 2 - b;
    if (c.fmt == HDF_RIGHT) expected = R + m / 2;
    if (c.fmt == HDF_CENTER) expected = L + (R - L) / 2 - t / 2 - m / 2 - b;
    if (expected < rect.left) expected = rect.left;
    if (expected + b > rect.right) expected = rect.right - b;

    auto shown = Shown(window.Header());
    RECT bounds = shown->Bounds(kArrow);
    SCOPED_TRACE(c.fmt * 10 + c.onRight);
    EXPECT_EQ(bounds.left, expected + 1);
    EXPECT_EQ(bounds.right - bounds.left, b - 2);
    EXPECT_EQ(shown->Count(kKey, RECT{0, 0, shown->Width(), shown->Height()}), 0);
  }
}

TEST(HeaderCtrlExTest, FillWidthTakesWhatTheOtherColumnsLeave) {
  ListWindow window(20, 300);
  CHeaderCtrlEx header;
  ASSERT_TRUE(header.Subclass(window.Header()));
  RECT client{};
  GetClientRect(window.list, &client);
  ASSERT_TRUE(header.SetItemWidth(1, -1));
  EXPECT_EQ(ListView_GetColumnWidth(window.list, 1), client.right - 100);
  ASSERT_TRUE(header.SetItemWidth(0, client.right + 50));
  ASSERT_TRUE(header.SetItemWidth(1, -1));
  EXPECT_EQ(ListView_GetColumnWidth(window.list, 1), 0);

  ASSERT_TRUE(header.SetItemText(0, std::wstring(300, L'x')));
  wchar_t text[400] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = text;
  column.cchTextMax = 400;
  ListView_GetColumn(window.list, 0, &column);
  EXPECT_EQ(std::wstring(text), std::wstring(255, L'x'));
}

}  // namespace

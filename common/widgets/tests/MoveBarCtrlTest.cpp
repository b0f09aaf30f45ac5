#include <gtest/gtest.h>

#include "MoveBarCtrl.h"
#include "WidgetTestSupport.h"

namespace {

constexpr int kHeight = 300;
const COLORREF kIconGreen = RGB(0, 200, 0);

// A device-dependent bitmap of one colour, as a caller would hand over.
HBITMAP SolidBitmap(int width, int height, COLORREF colour) {
  fw::WindowDC screen(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  fw::ScopedCreatedDC dc(::CreateCompatibleDC(screen));
  HGDIOBJ old = ::SelectObject(dc.Get(), bitmap);
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  RECT all{0, 0, width, height};
  ::FillRect(dc.Get(), &all, brush.Get());
  ::SelectObject(dc.Get(), old);
  return bitmap;
}

// What the window shows now, read without making it paint.
COLORREF Shown(HWND window, int x, int y) {
  fw::WindowDC dc(window);
  return ::GetPixel(dc, x, y);
}

std::wstring WriteSkin(const char* attributes) {
  std::wstring path = GetModuleDir(nullptr) + L"\\movebar-test-skin.xml";
  FILE* out = _wfopen(path.c_str(), L"wb");
  fprintf(out, "<?xml version=\"1.0\"?>\n<skin><movebar %s/></skin>\n", attributes);
  fclose(out);
  return path;
}

// Three folders in a 150x300 bar; the first holds three items.
class MoveBarTest : public ::testing::Test {
 protected:
  void SetUp() override { Build(0x3FC & ~MBS_ANIMATE); }
  void Build(DWORD flags) {
    fw::CreateArgs args;
    args.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    args.width = 200, args.height = 400;
    ASSERT_TRUE(owner_.Create(args));
    owner_.answer = 1;
    RECT rect{0, 0, 150, kHeight};
    ASSERT_TRUE(bar_.Create(WS_VISIBLE, rect, owner_.Hwnd(), 5, flags));
    for (const wchar_t* name : {L"Games", L"Stories", L"games"}) bar_.AddFolder(name, name[0]);
    for (const wchar_t* name : {L"one", L"two", L"three"}) bar_.InsertItem(0, -1, name, -1, name[1]);
  }
  POINT Centre(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }
  // A click whose button-up is already queued, so the capture loop ends.
  void Click(POINT down, POINT up, const POINT* through = nullptr) {
    if (through) ::PostMessageW(bar_.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(through->x, through->y));
    ::PostMessageW(bar_.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    bar_.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    PumpMessages();
  }
  // One green 32x32 icon for every item of the first folder.
  void GiveIcons() {
    icons_ = ::ImageList_Create(32, 32, ILC_COLOR24, 1, 1);
    fw::ScopedBitmap green(SolidBitmap(32, 32, kIconGreen));
    ::ImageList_Add(icons_, green.Get(), nullptr);
    bar_.SetImageList(icons_, CMoveBarCtrl::kLarge);
    for (int i = 0; i < bar_.GetItemCount(); ++i) bar_.SetItemImage(i, 0);
  }
  void TearDown() override {
    bar_.Destroy();
    if (icons_) ::ImageList_Destroy(icons_);
  }
  void PointAt(POINT client) {
    POINT screen = client;
    ::ClientToScreen(bar_.Hwnd(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    bar_.Send(WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  }
  void Repaint() {
    ::InvalidateRect(bar_.Hwnd(), nullptr, TRUE);
    ::UpdateWindow(bar_.Hwnd());
  }
  std::vector<std::wstring> Names() {
    std::vector<std::wstring> names;
    for (int i = 0; i < bar_.GetItemCount(); ++i) names.push_back(bar_.GetItemText(i));
    return names;
  }
  using Sent = std::vector<std::pair<UINT, LPARAM>>;

  MessageRecorder owner_{WM_MOVEBAR_NOTIFY, WM_MOVEBAR_NOTIFY};
  CMoveBarCtrl bar_;
  HIMAGELIST icons_ = nullptr;
};

TEST_F(MoveBarTest, FoldersUpToTheOpenOneStackAtTheTopAndTheRestAtTheBottom) {
  EXPECT_EQ(0x42000000, ::GetWindowLongPtrW(bar_.Hwnd(), GWL_STYLE) & 0x42000000);
  bar_.SetSelFolder(1);
  ASSERT_EQ(1, bar_.GetSelFolder());
  EXPECT_EQ(0, bar_.GetFolderRect(0).top);
  EXPECT_EQ(20, bar_.GetFolderRect(1).top);
  EXPECT_EQ(kHeight - 20, bar_.GetFolderRect(2).top);
  RECT inside = bar_.GetInsideRect();
  EXPECT_EQ(40, inside.top);
  EXPECT_EQ(kHeight - 20, inside.bottom);
  bar_.SetSelFolder(2);
  EXPECT_EQ(40, bar_.GetFolderRect(2).top);
  EXPECT_EQ(kHeight, bar_.GetInsideRect().bottom);
  EXPECT_EQ(2, bar_.FindFolder(L"games"));
  EXPECT_EQ(-1, bar_.FindFolder(L"GAMES"));
  EXPECT_EQ(static_cast<DWORD_PTR>(L'g'), bar_.GetFolderData(-1));
}

TEST_F(MoveBarTest, RemovingFoldersKeepsTheOpenFolderAndIgnoresBadIndexes) {
  bar_.SetSelFolder(2);
  bar_.SetSelFolder(-1);
  bar_.SetSelFolder(7);
  bar_.RemoveFolder(9);
  bar_.RemoveFolder(-1);
  ASSERT_EQ(2, bar_.GetSelFolder());
  bar_.RemoveFolder(0);  // before the open one: the same folder stays open
  EXPECT_EQ(1, bar_.GetSelFolder());
  EXPECT_EQ(static_cast<DWORD_PTR>(L'g'), bar_.GetFolderData(-1));
  bar_.RemoveFolder(1);  // the open one: the one before it opens
  EXPECT_EQ(0, bar_.GetSelFolder());
  RECT none{0, 0, 0, 0};
  for (int index : {3, -1, 0x7FFFFFFF, static_cast<int>(0x80000000)}) {
    RECT rect = bar_.GetItemRect(index);  // no walk to the index
    EXPECT_TRUE(::EqualRect(&none, &rect)) << index;
  }
  bar_.RemoveFolder(0);
  EXPECT_EQ(-1, bar_.GetSelFolder());
  EXPECT_EQ(0, bar_.GetItemCount());
}

TEST_F(MoveBarTest, TheOwnerIsAskedBeforeAFolderOpensAndToldAfter) {
  owner_.answer = 0;
  Click(Centre(bar_.GetFolderRect(2)), Centre(bar_.GetFolderRect(2)));
  EXPECT_EQ(0, bar_.GetSelFolder());
  owner_.answer = 1;
  Click(Centre(bar_.GetFolderRect(2)), Centre(bar_.GetFolderRect(1)));  // released elsewhere
  EXPECT_EQ(0, bar_.GetSelFolder());
  Click(Centre(bar_.GetFolderRect(2)), Centre(bar_.GetFolderRect(2)));
  EXPECT_EQ(2, bar_.GetSelFolder());
  EXPECT_EQ((Sent{{WM_MOVEBAR_NOTIFY, 0}, {WM_MOVEBAR_NOTIFY, 0}, {WM_MOVEBAR_NOTIFY, 2}}), owner_.received);
  EXPECT_EQ(MBN_FOLDERCHANGED, owner_.lastWParam);
  EXPECT_EQ(0, bar_.Send(WM_MOVEBAR_NOTIFY, MBN_ITEMCLICKED, 0));
}

TEST_F(MoveBarTest, AClickedItemIsReportedAndADraggedOneMovesWhenTheOwnerAgrees) {
  POINT first = Centre(bar_.GetItemRect(0)), third = Centre(bar_.GetItemRect(2));
  Click(first, third);  // released off the item without dragging: nothing
  EXPECT_TRUE(owner_.received.empty());
  Click(third, third);
  EXPECT_EQ((Sent{{WM_MOVEBAR_NOTIFY, 2}}), owner_.received);
  EXPECT_EQ(MBN_ITEMCLICKED, owner_.lastWParam);
  EXPECT_EQ(2, bar_.GetLastSelectedItem());
  owner_.received.clear();
  POINT below{first.x, bar_.GetItemRect(2).bottom + 20};
  Click(first, below, &below);  // to the end
  EXPECT_EQ(MBN_ITEMDROPPED, owner_.lastWParam);
  EXPECT_EQ((std::vector<std::wstring>{L"two", L"three", L"one"}), Names());
  first = Centre(bar_.GetItemRect(0));
  Click(first, Centre(bar_.GetItemRect(2)), &third);  // onto the last item: lands before it
  EXPECT_EQ((std::vector<std::wstring>{L"three", L"two", L"one"}), Names());
  owner_.answer = 0;
  Click(first, below, &below);
  EXPECT_EQ((std::vector<std::wstring>{L"three", L"two", L"one"}), Names());
}

TEST_F(MoveBarTest, TheShippedSkinSetsTheFolderHeightAndAMissingFileChangesNothing) {
  EXPECT_EQ(0, bar_.LoadSkin(L"movebar", (GetExeDir() + L"\\no-such-skin.xml").c_str()));
  EXPECT_EQ(20, bar_.GetFolderRect(1).bottom - bar_.GetFolderRect(1).top);
  ASSERT_EQ(1, bar_.LoadSkin(L"movebar", (GetExeDir() + L"\\theme\\default\\skin.xml").c_str()));
  EXPECT_EQ(24, bar_.GetFolderRect(1).bottom - bar_.GetFolderRect(1).top);
  // Values that are no numbers keep what was there; the rest still counts.
  EXPECT_EQ(1, bar_.LoadSkin(L"movebar", WriteSkin("normal_textclr=\"#6D5050\" textalign=\"centre\" "
                                                   "folderheight=\"30\"").c_str()));
  EXPECT_EQ(30, bar_.GetFolderRect(1).bottom - bar_.GetFolderRect(1).top);
  EXPECT_EQ(1, bar_.LoadSkin(L"movebar", WriteSkin("folderheight=\"tall\"").c_str()));
  EXPECT_EQ(30, bar_.GetFolderRect(1).bottom - bar_.GetFolderRect(1).top);
}

TEST_F(MoveBarTest, TheButtonsStackAroundTheOpenFolderWhoseItemsArePaintedInside) {
  GiveIcons();
  const COLORREF background = ::GetSysColor(COLOR_BACKGROUND), face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF darkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
  RECT icons[3], names[3];
  for (int item = 0; item < 3; ++item) {
    icons[item] = bar_.GetIconRect(item);
    names[item] = bar_.GetItemRect(item);
    names[item].top = icons[item].bottom;
  }
  for (int open : {0, 1}) {
    bar_.SetSelFolder(open);
    PixelCanvas shown(150, kHeight, RGB(1, 2, 3));
    bar_.Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.Dc()), PRF_CLIENT);
    auto differing = [&](const RECT& area, COLORREF from) {
      int count = 0;
      for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += shown.At(x, y) != from;
      return count;
    };
    // The buttons: up to the open one at the top, the rest at the bottom,
    // each with its name drawn from the left.
    for (int folder = 0; folder < 3; ++folder) {
      int top = folder <= open ? folder * 20 : kHeight - (3 - folder) * 20;
      EXPECT_EQ(face, shown.At(140, top + 10)) << open << folder;
      EXPECT_EQ(darkShadow, shown.At(140, top + 19)) << open << folder;
      EXPECT_GT(differing({2, top + 3, 60, top + 17}, face), 0) << open << folder;
    }
    EXPECT_EQ(background, shown.At(2, kHeight - (2 - open) * 20 - 2)) << open;
    // The items of folder 0 show only while it is open: their icons, and
    // their names below them.
    for (int item = 0; item < 3; ++item) {
      POINT centre{(icons[item].left + icons[item].right) / 2, (icons[item].top + icons[item].bottom) / 2};
      if (open == 0) {
        EXPECT_EQ(kIconGreen, shown.At(centre.x, centre.y)) << item;
        EXPECT_GT(differing(names[item], background), 0) << item;
      } else {
        EXPECT_EQ(background, shown.At(centre.x, centre.y + 20)) << item;
      }
    }
  }
}

TEST_F(MoveBarTest, WhatThePointerRestsOnStaysHighlightedWhenTheBarRepaints) {
  GiveIcons();
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF darkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
  RECT folder = bar_.GetFolderRect(2);
  PointAt(Centre(folder));
  ASSERT_EQ(shadow, Shown(bar_.Hwnd(), 75, folder.bottom - 2));  // the highlight's inner edge
  Repaint();
  EXPECT_EQ(shadow, Shown(bar_.Hwnd(), 75, folder.bottom - 2));
  // The item under the pointer keeps its raised frame.
  RECT icon = bar_.GetIconRect(1);
  PointAt(Centre(icon));
  EXPECT_EQ(face, Shown(bar_.Hwnd(), 75, folder.bottom - 2));
  ASSERT_EQ(darkShadow, Shown(bar_.Hwnd(), icon.right, icon.bottom));
  Repaint();
  EXPECT_EQ(darkShadow, Shown(bar_.Hwnd(), icon.right, icon.bottom));
  EXPECT_EQ(face, Shown(bar_.Hwnd(), icon.left - 1, icon.top - 1));
  // A folder opened under the pointer moves away from it: the bar repaints
  // with nothing highlighted where the folder went.
  PointAt(Centre(folder));
  bar_.SetSelFolder(2);
  RECT moved = bar_.GetFolderRect(2);
  EXPECT_EQ(face, Shown(bar_.Hwnd(), 75, moved.bottom - 2));
}

TEST_F(MoveBarTest, FolderImagesAreCopiesSoTheCallersBitmapsAreItsOwn) {
  const COLORREF red = RGB(200, 0, 0), blue = RGB(0, 0, 200);
  fw::ScopedBitmap normal(SolidBitmap(12, 20, red)), selected(SolidBitmap(12, 20, blue));
  HBITMAP n = normal.Get(), s = selected.Get();
  bar_.SetFolderImages(n, n, n, s, s, s);
  normal.Reset();  // the caller's to delete, once
  selected.Reset();
  bar_.SetSelFolder(1);
  PixelCanvas shown(150, kHeight, RGB(1, 2, 3));
  bar_.Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.Dc()), PRF_CLIENT);
  EXPECT_EQ(red, shown.At(140, 10));
  EXPECT_EQ(blue, shown.At(140, 30));  // the open folder's button
  EXPECT_EQ(red, shown.At(140, kHeight - 10));
  fw::ScopedBitmap kept(SolidBitmap(12, 20, red));
  bar_.SetFolderImages(kept.Get(), kept.Get(), kept.Get(), nullptr, nullptr, nullptr);
  bar_.SetFolderImages(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), ::GetObjectType(kept.Get()));
}

TEST(MoveBarNoDrag, WithoutTheDragStyleMovingOffOnlyReleasesThePress) {
  MessageRecorder owner(WM_MOVEBAR_NOTIFY, WM_MOVEBAR_NOTIFY);
  fw::CreateArgs args;
  args.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  ASSERT_TRUE(owner.Create(args));
  CMoveBarCtrl bar;
  ASSERT_TRUE(bar.Create(WS_VISIBLE, {0, 0, 150, 300}, owner.Hwnd(), 5, MBS_SMALLICONS));
  bar.AddFolder(L"Only");
  for (const wchar_t* name : {L"a", L"b"}) bar.InsertItem(0, 0, name);
  RECT a = bar.GetItemRect(0), b = bar.GetItemRect(1);
  EXPECT_EQ(a.bottom + 10, b.top);  // small icons: 10 pixels between rows
  POINT from{a.left + 2, (a.top + a.bottom) / 2}, to{b.left + 2, (b.top + b.bottom) / 2};
  ::PostMessageW(bar.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  ::PostMessageW(bar.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  bar.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  PumpMessages();
  EXPECT_TRUE(owner.received.empty());
  EXPECT_EQ(L"b", bar.GetItemText(0));
}

}  // namespace

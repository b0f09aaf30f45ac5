// The skin-driven drawer: hand-written skin files, and the pixels it paints
// into a DIB for tabs, the close mark, buttons, fills and lines.
#include "ComSupport.h"
#include "GdiObjectCount.h"
#include "TabCtrlStyleDrawer.h"
#include "TabStripTestSupport.h"

namespace {

const COLORREF kNormalTab = RGB(10, 20, 30);
const COLORREF kCurrentTab = RGB(40, 50, 60);
const COLORREF kCloseNormal = RGB(200, 0, 0);
const COLORREF kCloseHover = RGB(0, 200, 0);
const COLORREF kCloseTabHover = RGB(0, 0, 200);
const COLORREF kActivePage = RGB(218, 255, 215);

class TabStripDrawerTest : public StripTest {
 protected:
  void SetUp() override {
    MakeStrip(800, 300);
    drawer = strip->GetStyleDrawer();
    SetCursorPos(700, 700);
  }
  // Loads `element` (the text inside <tabctrl>) with the pictures it names.
  void LoadSkin(const std::wstring& attributes, const std::wstring& items) {
    std::wstring path = folder.WriteText(L"skin.xml", L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<skin>\n"
                                                      L"<tabctrl " + attributes + L">\n" + items +
                                                      L"</tabctrl>\n</skin>\n");
    ASSERT_TRUE(drawer->LoadTabCtrlSkin(path.c_str(), L"tabctrl"));
  }
  void WriteButtonImages(const std::wstring& prefix, int width, int height, COLORREF base) {
    folder.WriteBmp(prefix + L"_n.bmp", width, height, base);
    folder.WriteBmp(prefix + L"_h.bmp", width, height, base + 1);
    folder.WriteBmp(prefix + L"_d.bmp", width, height, base + 2);
  }

  fw::ComThreadScope com;
  TempSkinFolder folder;
  TabCtrlStyleDrawer* drawer = nullptr;
};

TEST_F(TabStripDrawerTest, SkinFileIsReadItemByItem) {
  folder.WriteBmp(L"nor.bmp", 40, 29, kNormalTab);
  folder.WriteBmp(L"nor_h.bmp", 30, 20, kNormalTab);
  folder.WriteText(L"broken.bmp", L"not a picture");
  LoadSkin(L"ctrlareabackclr=\"255\" wndbackclr=\"65280\" height=\"29\" offset=\"7\"",
           L"<!-- comments are no items -->\n"
           L"<tab id=\"tab\" width=\"230\" height=\"29\" clrborder=\"16711680\"/>\n"
           L"<tab_nor id=\"tab_nor\" normal=\"nor.bmp\" hover=\"nor_h.bmp\" down=\"broken.bmp\"/>\n"
           L"<text id=\"text\" font=\"微软雅黑\" fontsize=\"12\" normalclr=\"128\"/>\n"
           L"<close id=\"close\" normal=\"missing.bmp\" caption=\"关闭\"/>\n");
  const auto& skin = drawer->GetSkin();
  EXPECT_EQ(255u, skin.ctrlAreaBackColor);
  EXPECT_EQ(65280u, skin.wndsAreaBackColor);
  EXPECT_EQ(29, skin.stripHeight);
  EXPECT_EQ(0, skin.stripWidth) << "absent";
  EXPECT_EQ(7, drawer->GetOffset());
  EXPECT_EQ(230, skin.tabWidth);
  EXPECT_EQ(16711680u, skin.borderColor);
  EXPECT_TRUE(skin.normalTab.normal);
  EXPECT_TRUE(skin.normalTab.hover);
  EXPECT_FALSE(skin.normalTab.down) << "a broken picture loads as none";
  EXPECT_EQ(30, skin.normalTab.width) << "the size of the group's last picture that loaded";
  EXPECT_EQ(L"微软雅黑", skin.fontFace);
  EXPECT_EQ(128u, skin.textColor);
  EXPECT_FALSE(skin.close.normal);
  EXPECT_EQ(L"关闭", skin.close.caption);
  EXPECT_EQ(folder.Path(), skin.imageFolder);
  Add();
  EXPECT_EQ(7, strip->GetTabsAreaRect().left);

  // Read again over the same record: what is absent stays.
  LoadSkin(L"wndbackclr=\"1\"", L"<tab_nor id=\"tab_nor\" hover=\"broken.bmp\"/>\n");
  EXPECT_EQ(255u, skin.ctrlAreaBackColor);
  EXPECT_EQ(1u, skin.wndsAreaBackColor);
  EXPECT_TRUE(skin.normalTab.normal);
  EXPECT_FALSE(skin.normalTab.hover);

  // Neither a missing file nor one without the element reads anything.
  drawer->LoadTabCtrlSkin(folder.File(L"none.xml").c_str(), L"tabctrl");
  std::wstring other = folder.WriteText(
      L"other.xml", L"<skin offset=\"3\"><tab id=\"tab\" width=\"5\"/><other/></skin>");
  drawer->LoadTabCtrlSkin(other.c_str(), L"tabctrl");
  EXPECT_EQ(7, drawer->GetOffset());
  EXPECT_EQ(230, skin.tabWidth);
}

TEST_F(TabStripDrawerTest, TabBacksAreRightAlignedAndOnlyTheCurrentTabHasItsCloseMark) {
  folder.WriteBmp(L"nor.bmp", 40, 29, kNormalTab);
  folder.WriteBmp(L"sel.bmp", 40, 29, kCurrentTab);
  folder.WriteBmp(L"close_n.bmp", 14, 14, kCloseNormal);
  folder.WriteBmp(L"close_h.bmp", 14, 14, kCloseHover);
  folder.WriteBmp(L"close_d.bmp", 14, 14, kCloseTabHover);
  LoadSkin(L"", L"<tab_nor id=\"tab_nor\" normal=\"nor.bmp\"/><tab_sel id=\"tab_sel\" normal=\"sel.bmp\"/>"
                L"<close id=\"close\" normal=\"close_n.bmp\" hover=\"close_h.bmp\" disable=\"close_d.bmp\"/>");
  AddTabs(2);
  Tab* current = strip->GetTab(0);
  Tab* other = strip->GetTab(1);
  auto paint = [&](DibCanvas& canvas) {
    canvas.Fill(RGB(255, 255, 255));
    drawer->DrawTab(strip.get(), canvas.Dc(), other, nullptr);
    drawer->DrawTab(strip.get(), canvas.Dc(), current, nullptr);
  };
  DibCanvas canvas(800, 40);
  paint(canvas);
  EXPECT_EQ((RECT{420, 1, 460, 30}), canvas.Bounds(kNormalTab));
  EXPECT_EQ((RECT{190, 1, 230, 30}), canvas.Bounds(kCurrentTab) ) << "the close mark sits on it";
  EXPECT_EQ((RECT{209, 6, 223, 20}), canvas.Bounds(kCloseNormal));
  RECT mark{};
  drawer->GetCloseMarkRect(strip.get(), &mark);
  EXPECT_EQ((RECT{212, 6, 230, 30}), mark);

  SetCursorPos(220, 15);
  paint(canvas);
  EXPECT_EQ((RECT{209, 6, 223, 20}), canvas.Bounds(kCloseHover));
  SetCursorPos(100, 15);
  Hover(100, 15);
  paint(canvas);
  EXPECT_EQ((RECT{209, 6, 223, 20}), canvas.Bounds(kCloseTabHover)) << "the tab under the pointer, not its mark";
  EXPECT_EQ(0, canvas.Count(kCloseNormal, RECT{230, 0, 800, 40}) + canvas.Count(kCloseHover, RECT{230, 0, 800, 40}));

  folder.WriteBmp(L"nor.bmp", 400, 29, kNormalTab);
  LoadSkin(L"", L"<tab_nor id=\"tab_nor\" normal=\"nor.bmp\"/>");
  paint(canvas);
  EXPECT_EQ((RECT{230, 1, 460, 30}), canvas.Bounds(kNormalTab)) << "a picture wider than its tab stays inside it";
}

TEST_F(TabStripDrawerTest, ButtonsShowTheirStateImagesAtTheirOffsets) {
  WriteButtonImages(L"all", 33, 20, RGB(10, 0, 0));
  WriteButtonImages(L"add", 24, 20, RGB(20, 0, 0));
  WriteButtonImages(L"left", 22, 20, RGB(30, 0, 0));
  WriteButtonImages(L"right", 22, 20, RGB(40, 0, 0));
  LoadSkin(L"", L"<closeall id=\"closeall\" normal=\"all_n.bmp\" hover=\"all_h.bmp\" down=\"all_d.bmp\"/>"
                L"<add id=\"add\" normal=\"add_n.bmp\" hover=\"add_h.bmp\" down=\"add_d.bmp\"/>"
                L"<left id=\"left\" normal=\"left_n.bmp\" hover=\"left_h.bmp\" down=\"left_d.bmp\"/>"
                L"<right id=\"right\" normal=\"right_n.bmp\" hover=\"right_h.bmp\" down=\"right_d.bmp\"/>");
  using Draw = std::function<void(HDC, const RECT&, bool, bool)>;
  TabCtrl* s = strip.get();
  const struct {
    COLORREF base;
    int dy;
    Draw draw;
  } buttons[] = {
      {RGB(10, 0, 0), 3, [&](HDC dc, const RECT& r, bool h, bool p) { drawer->DrawButtonCloseAll(s, dc, r, h, p); }},
      {RGB(20, 0, 0), 4, [&](HDC dc, const RECT& r, bool h, bool p) { drawer->DrawButtonAdd(s, dc, r, h, p); }},
      {RGB(30, 0, 0), 4,
       [&](HDC dc, const RECT& r, bool h, bool p) { drawer->DrawButtonScrollLeft(s, dc, r, h, p, true); }},
      {RGB(40, 0, 0), 4,
       [&](HDC dc, const RECT& r, bool h, bool p) { drawer->DrawButtonScrollRight(s, dc, r, h, p, false); }},
  };
  const RECT rect{20, 10, 60, 40};
  const struct {
    bool hover, pushed;
    int image;  // 0 normal, 1 hover, 2 down
  } states[] = {{false, false, 0}, {true, false, 1}, {false, true, 2}, {true, true, 1}};
  for (const auto& button : buttons) {
    for (const auto& state : states) {
      SCOPED_TRACE(testing::Message() << GetRValue(button.base) << " " << state.image);
      DibCanvas canvas(100, 60, RGB(255, 255, 255));
      button.draw(canvas.Dc(), rect, state.hover, state.pushed);
      RECT bounds = canvas.Bounds(button.base + state.image);
      EXPECT_EQ(rect.left - 3, bounds.left);
      EXPECT_EQ(rect.top + button.dy, bounds.top);
    }
  }
}

TEST_F(TabStripDrawerTest, MenuButtonBlendsItsHighlightAndPaintsItsGlyphAsASilhouette) {
  Add();
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  auto blend = [&](int w) {
    auto mix = [w](int a, int b) { return (w * a + (100 - w) * b) / 100; };
    return RGB(mix(GetRValue(highlight), GetRValue(window)), mix(GetGValue(highlight), GetGValue(window)),
               mix(GetBValue(highlight), GetBValue(window)));
  };
  const RECT rect{50, 5, 64, 19};
  const POINT barOfGlyph2{55, 8};     // the bar above the arrow of glyph 2
  const POINT arrowOfBoth{57, 13};
  const struct {
    bool hover, pushed, scrolling;
    COLORREF back, bar;
  } cases[] = {
      {true, true, false, blend(22), blend(22)},
      {true, false, false, blend(30), blend(30)},
      {false, true, true, blend(30), GetSysColor(COLOR_BTNTEXT)},
      {false, false, true, RGB(1, 2, 3), GetSysColor(COLOR_BTNTEXT)},
  };
  for (const auto& c : cases) {
    DibCanvas canvas(100, 30, RGB(1, 2, 3));
    drawer->DrawButtonMenu(strip.get(), canvas.Dc(), rect, c.hover, c.pushed, c.scrolling);
    EXPECT_EQ(c.back, canvas.Pixel(52, 16));
    EXPECT_EQ(c.bar, canvas.Pixel(barOfGlyph2.x, barOfGlyph2.y));
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), canvas.Pixel(arrowOfBoth.x, arrowOfBoth.y));
    if (c.hover || c.pushed) {
      EXPECT_EQ(highlight, canvas.Pixel(rect.left, rect.top)) << "outline";
    }
  }
}

TEST_F(TabStripDrawerTest, AreasAreFilledAndLinedInBothLayouts) {
  LoadSkin(L"ctrlareabackclr=\"255\"", L"<tab id=\"tab\" clrborder=\"65280\"/>");
  const COLORREF back = RGB(255, 0, 0);
  const COLORREF line = RGB(0, 255, 0);
  const COLORREF spare = GetSysColor(COLOR_WINDOW);
  const struct {
    int layout;
    std::vector<COLORREF> rows;  // rows 0, 1, 2, 3 and 28
  } cases[] = {{0, {back, back, back, back, line}}, {1, {spare, spare, line, back, back}}};
  for (const auto& c : cases) {
    strip->SetLayout(c.layout);
    DibCanvas canvas(100, 29, RGB(1, 2, 3));
    drawer->DrawCtrlAreaBack(strip.get(), canvas.Dc(), RECT{0, 0, 100, 29});
    std::vector<COLORREF> rows;
    for (int y : {0, 1, 2, 3, 28}) rows.push_back(canvas.Pixel(50, y));
    EXPECT_EQ(c.rows, rows) << c.layout;
  }
  DibCanvas canvas(100, 50, RGB(1, 2, 3));
  drawer->DrawBorder(strip.get(), canvas.Dc(), RECT{0, 0, 100, 50});
  EXPECT_EQ(back, canvas.Pixel(0, 20));
  EXPECT_EQ(back, canvas.Pixel(99, 20));
  EXPECT_EQ(back, canvas.Pixel(50, 0));
  EXPECT_EQ(line, canvas.Pixel(50, 49));
  EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(50, 20));

  drawer->DrawWndsArea(strip.get(), canvas.Dc(), RECT{0, 0, 100, 50});
  EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), canvas.Pixel(50, 20)) << "no tabs";
  Add();
  drawer->DrawWndsArea(strip.get(), canvas.Dc(), RECT{0, 0, 100, 50});
  EXPECT_EQ(kActivePage, canvas.Pixel(50, 20));
}

// The strip as it is on the screen.
void Capture(HWND window, DibCanvas* canvas) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  fw::WindowDC dc(window);
  BitBlt(canvas->Dc(), 0, 0, canvas->Width(), canvas->Height(), dc, 0, 0, SRCCOPY);
}

TEST_F(TabStripDrawerTest, WithoutASkinOnlyBlackAndSystemColoursArePainted) {
  const COLORREF empty = GetSysColor(COLOR_APPWORKSPACE);
  for (const wchar_t* title : {L"没有皮肤", L"A&B"}) strip->SetTabDisable(strip->AddTab(new Tab, title, -1), true);
  strip->Update(false);
  DibCanvas canvas(800, 300, RGB(1, 2, 3));
  Capture(strip->Hwnd(), &canvas);
  const COLORREF allowed[] = {RGB(0, 0, 0), GetSysColor(COLOR_WINDOW), empty};
  int other = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 800; ++x) {
      COLORREF pixel = canvas.Pixel(x, y);
      other += std::find(std::begin(allowed), std::end(allowed), pixel) == std::end(allowed);
    }
  EXPECT_EQ(0, other);
  EXPECT_EQ(empty, canvas.Pixel(400, 150)) << "no current tab: the empty page area";
}

TEST_F(TabStripDrawerTest, RepaintsAndReloadsKeepTheGdiCount) {
  folder.WriteBmp(L"nor.bmp", 40, 29, kNormalTab);
  std::wstring path = folder.WriteText(
      L"skin.xml", L"<skin><tabctrl><tab_nor id=\"tab_nor\" normal=\"nor.bmp\" hover=\"nor.bmp\"/>"
                   L"<close id=\"close\" normal=\"nor.bmp\"/></tabctrl></skin>");
  AddTabs(8);
  strip->SetButtonMenu(true);
  drawer->LoadTabCtrlSkin(path.c_str(), L"tabctrl");
  RedrawWindow(strip->Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const DWORD before = GdiObjectCount::Now();
  for (int i = 0; i < 500; ++i) {
    drawer->LoadTabCtrlSkin(path.c_str(), L"tabctrl");
    RedrawWindow(strip->Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  EXPECT_LE(GdiObjectCount::Now(), before + 5);
}

}  // namespace

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BkgBtn.h"
#include "ButtonST.h"
#include "SkinEngine.h"
#include "SkinFileCache.h"
#include "SkinTestSupport.h"
#include "Wnd.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kPaintBackground = RGB(240, 240, 240);

// The temporary folder, with skin files of given elements.
class TempFolder : public TempSkinFolder {
 public:
  // A skin file whose root holds `elements`.
  std::wstring Skin(const std::wstring& elements, const std::wstring& name = L"skin.xml") {
    return WriteText(name, L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<skin>\n" + elements + L"\n</skin>\n");
  }
};

// Pixels inside `rect` that are darker than mid-grey.
int DarkPixels(const DibCanvas& canvas, const RECT& rect) {
  int dark = 0;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) {
      const COLORREF c = canvas.Pixel(x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) ++dark;
    }
  return dark;
}
int DarkPixels(const DibCanvas& canvas) { return DarkPixels(canvas, RECT{0, 0, canvas.Width(), canvas.Height()}); }

// The bound window: a borderless popup that records the layouts it is told of.
class Host : public fw::Wnd, public ISkinHost {
 public:
  explicit Host(DWORD exStyle = 0, DWORD style = WS_POPUP) {
    fw::CreateArgs args;
    args.style = style;
    args.exStyle = exStyle;
    args.x = 50;
    args.y = 50;
    args.width = 200;
    args.height = 100;
    Create(args);
  }
  HWND SkinHwnd() const override { return Hwnd(); }
  void OnSkinLayout() override {
    ++layouts;
    if (afterLayout) afterLayout();
  }
  HWND Child(int x = 0, int y = 0) {
    return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, x, y, 5, 5, Hwnd(), nullptr, nullptr,
                           nullptr);
  }
  int layouts = 0;
  std::function<void()> afterLayout;
};

RECT WindowRectIn(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return colour;
}

bool IsBitmap(HBITMAP bitmap) { return GetObjectType(bitmap) == OBJ_BITMAP; }

SIZE SizeOf(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof(info), &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

void ExpectRect(const RECT* rect, LONG left, LONG top, LONG right, LONG bottom) {
  ASSERT_NE(nullptr, rect);
  EXPECT_EQ(left, rect->left);
  EXPECT_EQ(top, rect->top);
  EXPECT_EQ(right, rect->right);
  EXPECT_EQ(bottom, rect->bottom);
}

class SkinEngineTest : public ::testing::Test {
 protected:
  // Loads `element` of a file holding it, bound to the host.
  void Load(const std::wstring& element, const std::wstring& name = L"win") {
    engine.LoadSkin(folder.Skin(element), name, &host);
  }
  TempFolder folder;
  Host host;
  CSkinEngine engine;
};

// --- Reading -------------------------------------------------------------

TEST_F(SkinEngineTest, ReadsWindowAttributesAndItemDefaults) {
  Load(L"<other width='9'><x id='stray'/></other>"
       L"<win fixsize='0' setrgn='1' clrtrans='16711935' width='300' height='200' minWidth='120'"
       L" minHeight='80' caption='儿童浏览器'><plain/></win>");
  EXPECT_TRUE(engine.IsLoaded());
  EXPECT_EQ(0, engine.FixSize());
  EXPECT_EQ(1, engine.SetRgn());
  EXPECT_EQ(kMagenta, engine.TransparentColor());
  EXPECT_EQ(300, engine.Width());
  EXPECT_EQ(200, engine.Height());
  EXPECT_EQ(120, engine.MinWidth());
  EXPECT_EQ(80, engine.MinHeight());
  EXPECT_EQ(L"儿童浏览器", host.GetText());
  EXPECT_EQ(folder.Path(), engine.Folder());
  EXPECT_EQ(nullptr, engine.FindItem(L"stray")) << "only the named element's children are items";

  ASSERT_EQ(1u, engine.Items().size());
  const tagSkinItem& item = *engine.Items()[0];
  EXPECT_EQ(L"", item.id);
  EXPECT_EQ(0, item.skintype);
  EXPECT_EQ(0, item.drawtype);
  EXPECT_EQ(0, item.width);
  EXPECT_EQ(1, item.linewidth);
  EXPECT_EQ(-1, item.left);
  EXPECT_EQ(-1, item.bottom);
  EXPECT_EQ(-1, item.rect.left);
  EXPECT_TRUE(item.visible);
  EXPECT_EQ(0u, item.drawformat);
  EXPECT_FALSE(item.normal);
  EXPECT_EQ(&item, engine.FindItem(L"")) << "an item without id is found under the empty id";
}

TEST_F(SkinEngineTest, ReadsEveryItemField) {
  Load(L"<win><b skintype='1' id='ok' drawtype='4' width='30' height='12' leftid='a' topid='b' rightid='c'"
       L" bottomid='d' left='1' top='2' right='3' bottom='4' colorbg='255' linewidth='2'"
       L" normalbkgleft='nl.bmp' disablebkgright='dr.bmp' fontsize='14' normalclr='65280' onclr='16711680'"
       L" drawformat='1' fonttype='Tahoma' caption='确定' normalicon='n.ico' onicon='o.ico'"
       L" sound_down='click.wav' sound_hover='over.wav'/></win>");
  const tagSkinItem* item = engine.FindItem(L"ok");
  ASSERT_NE(nullptr, item);
  EXPECT_EQ(1, item->skintype);
  EXPECT_EQ(4, item->drawtype);
  EXPECT_EQ(30, item->width);
  EXPECT_EQ(12, item->height);
  EXPECT_EQ(L"a", item->leftid);
  EXPECT_EQ(L"d", item->bottomid);
  EXPECT_EQ(1, item->left);
  EXPECT_EQ(4, item->bottom);
  EXPECT_EQ(kRed, item->colorbg);
  EXPECT_EQ(2, item->linewidth);
  EXPECT_EQ(L"nl.bmp", item->normalbkgleft) << "background names stay relative";
  EXPECT_EQ(L"dr.bmp", item->disablebkgright);
  EXPECT_EQ(L"", item->onbkgmid);
  EXPECT_EQ(14, item->fontsize);
  EXPECT_EQ(kGreen, item->normalclr);
  EXPECT_EQ(kBlue, item->onclr);
  EXPECT_EQ(1u, item->drawformat);
  EXPECT_EQ(L"Tahoma", item->fonttype);
  EXPECT_EQ(L"确定", item->caption);
  EXPECT_EQ(L"n.ico", item->normalicon);
  EXPECT_EQ(L"o.ico", item->onicon);
  EXPECT_EQ(folder.Path() + L"click.wav", item->sound_down) << "sounds become full paths";
  EXPECT_EQ(folder.Path() + L"over.wav", item->sound_hover);
}

TEST_F(SkinEngineTest, CommentsAreSkippedAndDuplicateIdsBothStay) {
  Load(L"<win><!-- a note --><first id='same' width='10'/><!-- another -->"
       L"<anything id='same' width='20'/><third id='last'/></win>");
  ASSERT_EQ(3u, engine.Items().size()) << "comments are no items; names are not looked at";
  EXPECT_EQ(10, engine.Items()[0]->width);
  EXPECT_EQ(engine.Items()[1].get(), engine.FindItem(L"same")) << "the later duplicate is found";
  EXPECT_EQ(L"last", engine.Items()[2]->id);
}

TEST_F(SkinEngineTest, ReloadClearsButKeepsColourKeyBindingAndBackground) {
  Load(L"<win setrgn='1' clrtrans='255' width='50'><a id='a'/></win>");
  engine.SetBkColor(kGreen);
  engine.LoadSkin(folder.Skin(L"<win><b id='b'/></win>", L"second.xml"), L"win", nullptr);
  EXPECT_TRUE(engine.IsLoaded());
  EXPECT_EQ(0, engine.SetRgn());
  EXPECT_EQ(0, engine.Width());
  EXPECT_EQ(kRed, engine.TransparentColor()) << "a later load without clrtrans keeps the previous key";
  EXPECT_EQ(kGreen, engine.BkColor());
  EXPECT_EQ(&host, engine.Host()) << "a load without a window keeps the binding";
  EXPECT_EQ(nullptr, engine.FindItem(L"a"));
  EXPECT_NE(nullptr, engine.FindItem(L"b"));

  engine.Clear();
  EXPECT_FALSE(engine.IsLoaded());
  EXPECT_TRUE(engine.Items().empty());
  EXPECT_EQ(nullptr, engine.FindItem(L"b"));
}

TEST_F(SkinEngineTest, MissingDamagedOrElementlessFilesLoadEmpty) {
  const std::wstring damaged = folder.WriteText(L"damaged.xml", L"<skin><win width='5'><a id='a'></skin>");
  const std::wstring files[] = {folder.Path() + L"missing.xml", damaged, folder.Skin(L"<other><a id='a'/></other>")};
  for (const std::wstring& file : files) {
    CSkinEngine fresh;
    EXPECT_EQ(1, fresh.LoadSkin(file, L"win", &host)) << file;
    EXPECT_TRUE(fresh.IsLoaded()) << file;
    EXPECT_TRUE(fresh.Items().empty()) << "no items, not the other elements: " << file;
    EXPECT_EQ(0, fresh.Width()) << file;
    EXPECT_EQ(1, fresh.FixSize()) << file;
  }
  EXPECT_EQ(1, engine.LoadSkin(L"", L"win", &host));
  EXPECT_TRUE(engine.Items().empty());
}

TEST_F(SkinEngineTest, OneFileIsParsedOnceWhileAScopeIsOpenAndEachWindowKeepsItsOwnElement) {
  const std::wstring path = folder.Skin(L"<win width='10'><a id='a'/></win><bar width='20'><b id='b'/></bar>");
  CSkinEngine bar;
  {
    CSkinFileCache::Scope scope;
    engine.LoadSkin(path, L"win", &host);
    // Changed on disk after the first read: inside the scope the file's
    // first reading serves every window, each with its own element.
    folder.Skin(L"<win width='30'/><bar width='40'/>");
    bar.LoadSkin(path, L"bar", &host);
    EXPECT_EQ(10, engine.Width());
    EXPECT_NE(nullptr, engine.FindItem(L"a"));
    EXPECT_EQ(20, bar.Width());
    EXPECT_NE(nullptr, bar.FindItem(L"b"));
  }
  // Outside a scope the file is read again.
  bar.LoadSkin(path, L"bar", &host);
  EXPECT_EQ(40, bar.Width());
  EXPECT_EQ(nullptr, bar.FindItem(L"b"));
}

TEST_F(SkinEngineTest, NumbersThatAreNoNumbersReadAsAbsent) {
  Load(L"<win width='wide' height='-30' minWidth='99999999999'>"
       L"<a id='a' width='12px' height='-5' left='' top=' 7 ' right='3.5' colorbg='-1' linewidth='x'"
       L" drawformat='-2' fontsize='+9' normalclr='4294967296'/></win>");
  EXPECT_EQ(0, engine.Width());
  EXPECT_EQ(0, engine.Height()) << "a negative size reads as none";
  EXPECT_EQ(0, engine.MinWidth()) << "out of range";
  const tagSkinItem* item = engine.FindItem(L"a");
  ASSERT_NE(nullptr, item);
  EXPECT_EQ(0, item->width);
  EXPECT_EQ(0, item->height);
  EXPECT_EQ(-1, item->left) << "empty text keeps the default";
  EXPECT_EQ(7, item->top);
  EXPECT_EQ(-1, item->right);
  EXPECT_EQ(0u, item->colorbg);
  EXPECT_EQ(1, item->linewidth);
  EXPECT_EQ(0u, item->drawformat);
  EXPECT_EQ(9, item->fontsize);
  EXPECT_EQ(0u, item->normalclr);
}

// --- Images --------------------------------------------------------------

TEST_F(SkinEngineTest, ImagesTakeTheirOwnSizeOrTheItemWidth) {
  folder.WriteBmp(L"a.bmp", 24, 16, kRed);
  folder.WriteBmp(L"b.bmp", 10, 10, kBlue);
  Load(L"<win><own id='own' normal='a.bmp' down='b.bmp'/><wide id='wide' width='40' normal='a.bmp'"
       L" hover='b.bmp'/><lost id='lost' normal='nothere.bmp' drawtype='0' left='0' top='0' width='5'"
       L" height='5'/></win>");
  const tagSkinItem* own = engine.FindItem(L"own");
  ASSERT_TRUE(own && own->normal && own->down);
  EXPECT_EQ(24, own->width) << "width 0 takes the picture's size";
  EXPECT_EQ(16, own->height);
  EXPECT_EQ(24, SizeOf(own->down.Get()).cx) << "later images are scaled to the first";
  EXPECT_EQ(16, SizeOf(own->down.Get()).cy);

  const tagSkinItem* wide = engine.FindItem(L"wide");
  ASSERT_TRUE(wide && wide->normal && wide->hover);
  EXPECT_EQ(40, SizeOf(wide->normal.Get()).cx);
  EXPECT_EQ(40, SizeOf(wide->hover.Get()).cx);
  EXPECT_EQ(16, wide->height);

  const tagSkinItem* lost = engine.FindItem(L"lost");
  ASSERT_NE(nullptr, lost);
  EXPECT_FALSE(lost->normal) << "a missing image leaves the bitmap empty";
  engine.Resize(30, 30);
  DibCanvas canvas(30, 30, kWhite);
  engine.Draw(canvas.Dc());
  EXPECT_EQ(kPaintBackground, canvas.Pixel(2, 2)) << "and paints nothing";
}

TEST_F(SkinEngineTest, PathWithoutBackslashReadsFromTheCurrentDirectory) {
  folder.WriteBmp(L"here.bmp", 8, 6, kRed);
  folder.Skin(L"<win><a id='a' normal='here.bmp'/></win>", L"bare.xml");
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
  engine.LoadSkin(L"bare.xml", L"win", &host);
  SetCurrentDirectoryW(previous);
  const tagSkinItem* item = engine.FindItem(L"a");
  ASSERT_NE(nullptr, item);
  EXPECT_TRUE(item->normal);
  EXPECT_EQ(8, item->width);
  EXPECT_EQ(folder.Path(), engine.Folder());
}

TEST_F(SkinEngineTest, OnlyBitmapItemsHandOutTheirBitmap) {
  folder.WriteBmp(L"a.bmp", 4, 4, kRed);
  Load(L"<win><a id='painted' normal='a.bmp'/><a id='handed' skintype='5' normal='a.bmp'/></win>");
  EXPECT_EQ(nullptr, engine.GetItemBitmap(L"painted"));
  EXPECT_EQ(engine.FindItem(L"handed")->normal.Get(), engine.GetItemBitmap(L"handed"));
  EXPECT_NE(nullptr, engine.GetItemBitmap(L"handed"));
  EXPECT_EQ(nullptr, engine.GetItemBitmap(L"unknown"));
}

// --- Layout --------------------------------------------------------------

TEST_F(SkinEngineTest, LayoutFollowsOffsetsAnchorsAndSizes) {
  Load(L"<win><later id='early' leftid='after' left='0' width='5' top='0' height='5'/>"
       L"<r id='right' right='10' width='50' top='0' height='20'/>"
       L"<base id='base' left='0' width='100' top='0' height='10'/>"
       L"<next id='next' leftid='base' left='5' width='20' topid='base' height='10'/>"
       L"<lost id='lost' leftid='nobody' left='5' width='20' top='0' height='10'/>"
       L"<fixed id='fixed' leftid='nobody' right='30' width='20' bottom='0' height='10'/>"
       L"<after id='after' left='7' width='3' top='0' height='3'/>"
       L"<span id='span' leftid='base' rightid='right' right='4' top='0' bottom='0'/></win>");
  engine.Resize(300, 200);
  ExpectRect(engine.GetItemRect(L"right"), 240, 0, 290, 20);
  ExpectRect(engine.GetItemRect(L"next"), 105, 10, 125, 20);
  ExpectRect(engine.GetItemRect(L"lost"), -1, 0, -1, 10);
  ExpectRect(engine.GetItemRect(L"fixed"), 250, 190, 270, 200);
  ExpectRect(engine.GetItemRect(L"span"), 100, 0, 236, 200);
  // An anchor further down is not laid out yet; the next layout reads the
  // previous one.
  ExpectRect(engine.GetItemRect(L"early"), -1, 0, -1, 5);
  engine.CalcLayout();
  ExpectRect(engine.GetItemRect(L"early"), 10, 0, 15, 5);
  EXPECT_EQ(nullptr, engine.GetItemRect(L"nobody"));
}

TEST_F(SkinEngineTest, ResizeMovesVisibleBoundWindowsAfterTheHostsLayout) {
  Load(L"<win><a id='a' left='10' top='5' width='30' height='20'/><b id='b' right='0' width='40' bottom='0'"
       L" height='10'/><c id='c' left='0' top='0' width='8' height='8'/><d id='d' left='1' top='1' width='9'"
       L" height='9'/></win>");
  HWND a = host.Child(), b = host.Child(), c = host.Child(70, 70), gone = host.Child();
  EXPECT_EQ(a, engine.SetItemWnd(L"a", a));
  EXPECT_EQ(b, engine.SetItemWnd(L"b", b));
  engine.SetItemWnd(L"c", c);
  engine.SetItemWnd(L"d", gone);
  EXPECT_EQ(nullptr, engine.SetItemWnd(L"unknown", a));
  EXPECT_NE(nullptr, engine.ShowItem(L"c", false));
  EXPECT_EQ(nullptr, engine.ShowItem(L"unknown", false));
  DestroyWindow(gone);  // a window gone while bound must not stop the others
  host.afterLayout = [&] { engine.FindItem(L"a")->rect.top = 6; };

  engine.Resize(200, 100);
  EXPECT_EQ(1, host.layouts);
  EXPECT_EQ(200, engine.ClientWidth());
  const RECT movedA = WindowRectIn(a), movedB = WindowRectIn(b), keptC = WindowRectIn(c);
  EXPECT_EQ(10, movedA.left);
  EXPECT_EQ(6, movedA.top) << "the host's change after layout is where the window goes";
  EXPECT_EQ(40, movedA.right);
  EXPECT_EQ(160, movedB.left);
  EXPECT_EQ(90, movedB.top);
  EXPECT_EQ(70, keptC.left) << "an invisible item's window stays where it was";
  EXPECT_TRUE(GetWindowLongPtrW(c, GWL_STYLE) & WS_VISIBLE) << "and is not hidden";

  engine.Resize(300, 150);
  EXPECT_EQ(260, WindowRectIn(b).left);
  EXPECT_EQ(140, WindowRectIn(b).top);
}

TEST_F(SkinEngineTest, NothingIsLaidOutUnlessLoadedAndBound) {
  CSkinEngine unbound;
  unbound.LoadSkin(folder.Skin(L"<win><a id='a' left='1' width='2'/></win>", L"unbound.xml"), L"win", nullptr);
  unbound.Resize(100, 100);
  EXPECT_EQ(0, unbound.ClientWidth()) << "no bound window";
  EXPECT_EQ(-1, unbound.GetItemRect(L"a")->left);
  unbound.CalcLayout();
  EXPECT_EQ(1, unbound.GetItemRect(L"a")->left) << "the layout itself needs only a load";

  CSkinEngine empty;
  empty.CalcLayout();
  empty.Resize(100, 100);
  EXPECT_EQ(0, host.layouts);
}

// --- Paint ---------------------------------------------------------------

TEST_F(SkinEngineTest, PaintFillsTheBackgroundAndCopiesOnlyTheClientArea) {
  Load(L"<win></win>");
  DibCanvas canvas(60, 40, kRed);
  engine.Resize(50, 30);
  engine.Draw(canvas.Dc());
  EXPECT_EQ(kPaintBackground, canvas.Pixel(0, 0));
  EXPECT_EQ(kPaintBackground, canvas.Pixel(49, 29));
  EXPECT_EQ(kRed, canvas.Pixel(50, 10));
  engine.SetBkColor(kBlue);
  engine.Draw(canvas.Dc());
  EXPECT_EQ(kBlue, canvas.Pixel(10, 10));

  engine.Resize(0, 30);  // an empty client area paints nothing
  DibCanvas untouched(10, 10, kRed);
  engine.Draw(untouched.Dc());
  EXPECT_EQ(kRed, untouched.Pixel(0, 0));
}

TEST_F(SkinEngineTest, ImageDrawtypesCutTileStretchAndCentre) {
  // 30 x 20, left half red, right half blue; 4 x 4 with red left columns.
  folder.WriteBmp(L"halves.bmp", 30, 20, kRed, RECT{15, 0, 30, 20}, kBlue);
  folder.WriteBmp(L"tile.bmp", 4, 4, kRed, RECT{2, 0, 4, 4}, kBlue);
  folder.WriteBmp(L"small.bmp", 10, 6, kGreen);
  Load(L"<win><cut id='cut' normal='halves.bmp' left='0' top='0' right='190' bottom='90'/>"
       L"<tile id='tile' drawtype='1' normal='tile.bmp' left='10' top='20' right='150' bottom='60'/>"
       L"<stretch id='stretch' drawtype='2' normal='halves.bmp' left='60' top='0' right='80' bottom='60'/>"
       L"<centre id='centre' drawtype='6' normal='small.bmp' left='0' top='50' right='170' bottom='20'/>"
       L"<fill id='fill' drawtype='3' colorbg='65280' left='150' top='0' right='0' bottom='90'/></win>");
  engine.Resize(200, 100);
  DibCanvas canvas(200, 100, kWhite);
  engine.Draw(canvas.Dc());

  // Cut: a 10 x 10 rectangle shows the image's top-left corner, nothing more.
  EXPECT_EQ(kRed, canvas.Pixel(0, 0));
  EXPECT_EQ(kRed, canvas.Pixel(9, 9));
  EXPECT_EQ(kPaintBackground, canvas.Pixel(12, 5));
  // Tile: the pattern starts at the DC origin, not at the rectangle.
  EXPECT_EQ(kBlue, canvas.Pixel(10, 20));
  EXPECT_EQ(kRed, canvas.Pixel(12, 20));
  EXPECT_EQ(kBlue, canvas.Pixel(14, 29));
  EXPECT_EQ(kRed, canvas.Pixel(17, 29));
  EXPECT_EQ(kPaintBackground, canvas.Pixel(10, 19));
  // Stretch: 30 px of image onto 60 px, so the halves meet at 60 + 30.
  EXPECT_EQ(kRed, canvas.Pixel(60, 30));
  EXPECT_EQ(kRed, canvas.Pixel(88, 30));
  EXPECT_EQ(kBlue, canvas.Pixel(92, 30));
  EXPECT_EQ(kBlue, canvas.Pixel(119, 39));
  // Centre: 10 x 6 in a 30 x 30 rectangle at (0, 50) starts at (10, 62).
  EXPECT_EQ(kPaintBackground, canvas.Pixel(9, 62));
  EXPECT_EQ(kGreen, canvas.Pixel(10, 62));
  EXPECT_EQ(kGreen, canvas.Pixel(19, 67));
  EXPECT_EQ(kPaintBackground, canvas.Pixel(20, 67));
  EXPECT_EQ(kPaintBackground, canvas.Pixel(15, 68));
  // Fill.
  EXPECT_EQ(kGreen, canvas.Pixel(150, 0));
  EXPECT_EQ(kGreen, canvas.Pixel(199, 9));
  EXPECT_EQ(kPaintBackground, canvas.Pixel(150, 10));
}

TEST_F(SkinEngineTest, TextItemsDrawTheCaptionInsideTheirRectangle) {
  Load(L"<win><t id='normal' drawtype='4' caption='Hollin' fontsize='20' fonttype='Tahoma' left='0' top='0'"
       L" width='100' height='30'/><t id='bold' drawtype='5' caption='Hollin' fontsize='20' fonttype='Tahoma'"
       L" left='0' top='40' width='100' height='30'/><t id='hidden' drawtype='4' caption='WWWW' fontsize='20'"
       L" left='110' top='0' width='80' height='30'/><t id='odd' drawtype='7' colorbg='0' left='110'"
       L" top='40' width='80' height='30'/><b id='button' skintype='1' drawtype='3' colorbg='0' left='0'"
       L" top='75' width='80' height='20'/></win>");
  engine.ShowItem(L"hidden", false);
  engine.Resize(200, 100);
  DibCanvas canvas(200, 100, kWhite);
  engine.Draw(canvas.Dc());
  const int normal = DarkPixels(canvas, RECT{0, 0, 100, 30});
  const int bold = DarkPixels(canvas, RECT{0, 40, 100, 70});
  EXPECT_GT(normal, 20);
  EXPECT_GT(bold, normal) << "weight 700 inks more than 400";
  EXPECT_EQ(normal + bold, DarkPixels(canvas)) << "nothing drawn outside the text rectangles";
  EXPECT_EQ(kPaintBackground, canvas.Pixel(10, 2)) << "transparent background";
}

TEST_F(SkinEngineTest, SetItemTextAccumulatesFormatBitsAndInvalidatesTheItem) {
  Load(L"<win><t id='t' drawtype='4' left='10' top='10' width='50' height='20'/></win>");
  ShowWindow(host.Hwnd(), SW_SHOWNA);
  engine.Resize(200, 100);
  ValidateRect(host.Hwnd(), nullptr);
  engine.SetItemText(L"t", L"one", DT_CENTER, false);
  EXPECT_FALSE(GetUpdateRect(host.Hwnd(), nullptr, FALSE)) << "no repaint asked";
  engine.SetItemText(L"t", L"两", DT_RIGHT, true);
  EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_RIGHT), engine.FindItem(L"t")->drawformat);
  EXPECT_EQ(L"两", engine.GetItemCaption(L"t"));
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(host.Hwnd(), &update, FALSE));
  EXPECT_EQ(10, update.left);
  EXPECT_EQ(60, update.right);
  engine.SetItemText(L"unknown", L"x", 1, true);
  EXPECT_EQ(L"", engine.GetItemCaption(L"unknown"));
}

// --- Region --------------------------------------------------------------

TEST(SkinRegion, KeyColouredPixelsAreCutFromTheRegion) {
  // Two rows of 6 (padded to 8): key pixels at (1,0), (2,0) and (5,1); the
  // key with red and blue swapped at (3,0).
  const COLORREF orange = RGB(200, 40, 10);
  std::vector<BYTE> bits(8 * 3 * 2, 0);
  auto put = [&](int x, int y, COLORREF colour) {  // rows hold blue, green, red
    BYTE* p = &bits[(y * 8 + x) * 3];
    p[0] = GetBValue(colour), p[1] = GetGValue(colour), p[2] = GetRValue(colour);
  };
  put(1, 0, orange), put(2, 0, orange), put(5, 1, orange);
  put(3, 0, RGB(10, 40, 200));
  fw::ScopedRegion region(CSkinEngine::CreateRegionFromColor(bits, 8, 2, orange));
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region.Get(), 1, 0));
  EXPECT_FALSE(PtInRegion(region.Get(), 2, 0));
  EXPECT_FALSE(PtInRegion(region.Get(), 5, 1));
  EXPECT_TRUE(PtInRegion(region.Get(), 0, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), 3, 0)) << "the swapped colour is not the key";
  EXPECT_TRUE(PtInRegion(region.Get(), 7, 1));
  EXPECT_EQ(nullptr, CSkinEngine::CreateRegionFromColor(bits, 9, 2, orange)) << "too few bits";
  EXPECT_EQ(nullptr, CSkinEngine::CreateRegionFromColor({}, 0, 0, orange));
}

// The number of pixels inside a region.
long RegionArea(HRGN region) {
  std::vector<BYTE> data(GetRegionData(region, 0, nullptr));
  if (data.empty()) return 0;
  auto* header = reinterpret_cast<RGNDATA*>(data.data());
  GetRegionData(region, static_cast<DWORD>(data.size()), header);
  const RECT* rects = reinterpret_cast<const RECT*>(header->Buffer);
  long area = 0;
  for (DWORD i = 0; i < header->rdh.nCount; ++i)
    area += (rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
  return area;
}

TEST_F(SkinEngineTest, SetrgnCutsTheMagentaPixelsOfPaintedItemsFromTheWindow) {
  // A 10 x 10 magenta corner and a magenta 3 x 2 spot in a 30 x 20 image.
  folder.WriteBmp(L"shape.bmp", 30, 20, kBlue, RECT{0, 0, 10, 10}, kMagenta);
  Load(L"<win setrgn='1' clrtrans='16711935'><a id='a' normal='shape.bmp' left='0' top='0' right='0' bottom='0'/>"
       L"<s id='spot' drawtype='3' colorbg='16711935' left='20' top='15' width='3' height='2'/></win>");
  SetWindowLongPtrW(host.Hwnd(), GWL_STYLE, GetWindowLongPtrW(host.Hwnd(), GWL_STYLE) | WS_THICKFRAME);
  SetWindowPos(host.Hwnd(), nullptr, 0, 0, 30, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  ShowWindow(host.Hwnd(), SW_SHOWNA);
  engine.Resize(30, 20);
  EXPECT_FALSE(GetWindowLongPtrW(host.Hwnd(), GWL_STYLE) & WS_THICKFRAME);
  fw::ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(ERROR, GetWindowRgn(host.Hwnd(), region.Get()));
  EXPECT_EQ(30 * 20 - 100 - 6, RegionArea(region.Get()));
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
  EXPECT_FALSE(PtInRegion(region.Get(), 9, 9));
  EXPECT_TRUE(PtInRegion(region.Get(), 10, 9));
  EXPECT_FALSE(PtInRegion(region.Get(), 21, 16));
  EXPECT_TRUE(PtInRegion(region.Get(), 29, 19));
  EXPECT_FALSE(PtInRegion(region.Get(), 30, 5)) << "the row padding is not part of the window";
  // The picture the shape was cut from is the canvas paints go through,
  // kept for its size.
  HDC canvas = engine.Canvas(30, 20);
  ASSERT_NE(nullptr, canvas);
  EXPECT_EQ(kMagenta, GetPixel(canvas, 21, 16));
  EXPECT_EQ(kBlue, GetPixel(canvas, 15, 5));
  EXPECT_EQ(canvas, engine.Canvas(30, 20));
  EXPECT_EQ(nullptr, engine.Canvas(0, 20));

  // A relayout at the same size with the same picture keeps the shape it has.
  SetWindowRgn(host.Hwnd(), nullptr, FALSE);
  engine.Resize(30, 20);
  EXPECT_EQ(ERROR, GetWindowRgn(host.Hwnd(), region.Get())) << "not cut again";

  // Hiding the spot gives its pixels back at the next layout.
  engine.ShowItem(L"spot", false);
  engine.Resize(30, 20);
  ASSERT_NE(ERROR, GetWindowRgn(host.Hwnd(), region.Get()));
  EXPECT_EQ(30 * 20 - 100, RegionArea(region.Get()));
}

TEST_F(SkinEngineTest, NoRegionWithoutSetrgnOrPixels) {
  folder.WriteBmp(L"key.bmp", 8, 8, kMagenta);
  Load(L"<win clrtrans='16711935'><a id='a' normal='key.bmp' left='0' top='0'/></win>");
  engine.Resize(30, 20);
  fw::ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(ERROR, GetWindowRgn(host.Hwnd(), region.Get())) << "setrgn 0 keeps the window whole";

  Load(L"<win setrgn='1'></win>");
  engine.Resize(0, 0);  // no pixels: nothing to cut, no crash
  EXPECT_EQ(ERROR, GetWindowRgn(host.Hwnd(), region.Get()));
}

// --- Fades and fonts -----------------------------------------------------

TEST(SkinFade, StepsTheLayeredAlphaUpAndDown) {
  Host host(WS_EX_LAYERED);
  ShowWindow(host.Hwnd(), SW_SHOWNA);
  CSkinEngine engine;
  TempFolder folder;
  engine.LoadSkin(folder.Skin(L"<win/>"), L"win", &host);
  engine.SetFadeStepMilliseconds(25);
  BYTE alpha = 1;
  DWORD flags = 0;
  ULONGLONG start = GetTickCount64();
  engine.FadeOut();
  EXPECT_GE(GetTickCount64() - start, 6u * 25u - 10u) << "six pauses";
  ASSERT_TRUE(GetLayeredWindowAttributes(host.Hwnd(), nullptr, &alpha, &flags));
  EXPECT_EQ(0, alpha);
  EXPECT_TRUE(flags & LWA_ALPHA);
  engine.FadeIn();
  ASSERT_TRUE(GetLayeredWindowAttributes(host.Hwnd(), nullptr, &alpha, &flags));
  EXPECT_EQ(255, alpha);

  Host plain;  // not layered: no fading and no waiting
  engine.LoadSkin(folder.Skin(L"<win/>", L"plain.xml"), L"win", &plain);
  start = GetTickCount64();
  engine.FadeOut();
  EXPECT_LT(GetTickCount64() - start, 100u);
}

TEST_F(SkinEngineTest, ItemFontsFallBackToTwelvePixelsAndTheDefaultFace) {
  Load(L"<win><a id='plain'/><b id='set' fontsize='18' fonttype='Tahoma'/></win>");
  fw::ScopedFont font;
  ASSERT_EQ(1, engine.CreateItemFontById(L"plain", &font));
  LOGFONTW logFont{};
  GetObjectW(font.Get(), sizeof(logFont), &logFont);
  EXPECT_EQ(12, logFont.lfHeight);
  EXPECT_EQ(400, logFont.lfWeight);
  EXPECT_STREQ(L"宋体", logFont.lfFaceName);
  ASSERT_EQ(1, engine.CreateItemFont(engine.FindItem(L"set"), &font));
  GetObjectW(font.Get(), sizeof(logFont), &logFont);
  EXPECT_EQ(18, logFont.lfHeight);
  EXPECT_STREQ(L"Tahoma", logFont.lfFaceName);
  EXPECT_EQ(0, engine.CreateItemFontById(L"unknown", &font));
  EXPECT_EQ(0, engine.CreateItemFont(nullptr, &font));
}

// --- Buttons -------------------------------------------------------------

class SkinButtonTest : public SkinEngineTest {
 protected:
  void SetUp() override {
    folder.WriteBmp(L"normal.bmp", 20, 12, kRed, RECT{0, 0, 4, 4}, kMagenta);
    folder.WriteBmp(L"hover.bmp", 20, 12, kBlue);
    folder.WriteBmp(L"down.bmp", 20, 12, kGreen);
    folder.WriteBmp(L"off.bmp", 20, 12, RGB(128, 128, 128));
    folder.WriteBmp(L"left.bmp", 3, 12, kRed);
    folder.WriteBmp(L"mid.bmp", 2, 12, kBlue);
    folder.WriteIcon(L"in.ico", kGreen);
    folder.WriteIcon(L"out.ico", kBlue);
    Load(L"<win><b id='full' skintype='1' normal='normal.bmp' hover='hover.bmp' down='down.bmp' disable='off.bmp'"
         L" sound_hover='over.wav' sound_down='click.wav' caption='后退'/>"
         L"<b id='nohover' skintype='1' normal='normal.bmp' down='down.bmp' sound_down='click.wav'"
         L" caption='前进'/>"
         L"<b id='painted' normal='hover.bmp'/>"
         L"<b id='bkg' skintype='1' normal='normal.bmp' hover='hover.bmp' disable='off.bmp'"
         L" normalbkgleft='left.bmp' normalbkgmid='mid.bmp' onbkgleft='left.bmp' normalicon='in.ico'"
         L" onicon='out.ico' caption='设置' fonttype='Tahoma' fontsize='15' normalclr='255' onclr='65280'/></win>");
  }
  HWND NewButton() {
    return CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 60, 24, host.Hwnd(),
                           nullptr, nullptr, nullptr);
  }
};

TEST_F(SkinButtonTest, HoverImageGivesFourStatesSoundsAndTooltip) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(NewButton()));
  button.SetBuildMasks(TRUE);  // masks show which colour the button was told is the key
  engine.SetButtonSkin(L"full", &button, true);
  const tagSkinItem* item = engine.FindItem(L"full");
  EXPECT_EQ(kBlue, PixelOf(button.GetBitmap(0), 10, 6)) << "under the pointer: hover";
  EXPECT_EQ(kRed, PixelOf(button.GetBitmap(1), 10, 6)) << "away from the pointer: normal";
  EXPECT_EQ(kGreen, PixelOf(button.GetBitmap(2), 10, 6));
  EXPECT_EQ(RGB(128, 128, 128), PixelOf(button.GetBitmap(3), 10, 6));
  EXPECT_NE(item->normal.Get(), button.GetBitmap(1)) << "the button holds its own copy";
  ASSERT_NE(nullptr, button.GetMask(1));
  EXPECT_EQ(kWhite, PixelOf(button.GetMask(1), 1, 1)) << "magenta is the key";
  EXPECT_EQ(RGB(0, 0, 0), PixelOf(button.GetMask(1), 10, 6));
  EXPECT_EQ(folder.Path() + L"over.wav", button.GetSoundFile(0));
  EXPECT_EQ(folder.Path() + L"click.wav", button.GetSoundFile(1));
  EXPECT_EQ(L"后退", button.GetTooltipText());
}

TEST_F(SkinButtonTest, WithoutHoverNormalServesBothSidesAndNoSounds) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(NewButton()));
  engine.SetButtonSkin(L"nohover", &button, false);
  EXPECT_EQ(kRed, PixelOf(button.GetBitmap(0), 10, 6));
  EXPECT_EQ(kRed, PixelOf(button.GetBitmap(1), 10, 6));
  EXPECT_EQ(kGreen, PixelOf(button.GetBitmap(2), 10, 6));
  EXPECT_EQ(L"", button.GetSoundFile(1)) << "no sounds without a hover image, even with sound_down";
  EXPECT_EQ(L"", button.GetTooltipText()) << "caption flag off";

  CButtonST untouched;
  ASSERT_TRUE(untouched.SubclassButton(NewButton()));
  engine.SetButtonSkin(L"painted", &untouched, true);
  engine.SetButtonSkin(L"unknown", &untouched, true);
  engine.SetButtonSkin(L"full", nullptr, true);
  engine.SetBkgButtonSkin(L"full", nullptr);
  EXPECT_EQ(nullptr, untouched.GetBitmap(0)) << "only skintype-1 items skin a button";
  EXPECT_EQ(L"", untouched.GetTooltipText());
}

TEST_F(SkinButtonTest, EngineAndButtonEachOutliveTheOther) {
  HBITMAP engineNormal = engine.FindItem(L"full")->normal.Get();
  {
    CButtonST button;
    ASSERT_TRUE(button.SubclassButton(NewButton()));
    engine.SetButtonSkin(L"full", &button, true);
    button.Destroy();
  }
  ASSERT_TRUE(IsBitmap(engineNormal)) << "destroying the button leaves the engine's bitmap";
  engine.Resize(200, 100);
  engine.SetButtonSkin(L"full", nullptr, false);

  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(NewButton()));
  {
    CSkinEngine local;
    local.LoadSkin(folder.Path() + L"skin.xml", L"win", nullptr);
    local.SetButtonSkin(L"full", &button, false);
  }
  ASSERT_TRUE(IsBitmap(button.GetBitmap(1))) << "destroying the engine leaves the button's copies";
  EXPECT_EQ(kRed, PixelOf(button.GetBitmap(1), 10, 6));
  EXPECT_TRUE(IsBitmap(engineNormal));
}

TEST_F(SkinButtonTest, BackgroundButtonTakesSlicesIconsCaptionAndColours) {
  CBkgBtn button;
  ASSERT_TRUE(button.SubclassButton(NewButton()));
  engine.SetBkgButtonSkin(L"bkg", &button);
  EXPECT_EQ(kRed, PixelOf(button.GetSlice(CBkgBtn::kNormal, CBkgBtn::kStart), 1, 1));
  EXPECT_EQ(kBlue, PixelOf(button.GetSlice(CBkgBtn::kNormal, CBkgBtn::kMiddle), 1, 1));
  EXPECT_NE(nullptr, button.GetSlice(CBkgBtn::kHover, CBkgBtn::kStart));
  EXPECT_FALSE(button.IsVertical());
  EXPECT_NE(nullptr, button.GetIcon(0));
  EXPECT_NE(nullptr, button.GetIcon(1));
  EXPECT_EQ(L"设置", button.GetText());
  COLORREF colour = 0;
  button.GetColor(CButtonST::BTNST_COLOR_FG_IN, &colour);
  EXPECT_EQ(kGreen, colour) << "onclr under the pointer";
  button.GetColor(CButtonST::BTNST_COLOR_FG_OUT, &colour);
  EXPECT_EQ(kRed, colour) << "normalclr away from it";
  EXPECT_TRUE(button.IsFlat());

  CBkgBtn plain;  // without icons the state bitmaps stay
  ASSERT_TRUE(plain.SubclassButton(NewButton()));
  engine.SetBkgButtonSkin(L"full", &plain);
  EXPECT_EQ(kBlue, PixelOf(plain.GetBitmap(0), 10, 6));
  EXPECT_EQ(kRed, PixelOf(plain.GetBitmap(1), 10, 6));
  EXPECT_EQ(nullptr, plain.GetBitmap(3)) << "no disabled image for a background button";
  EXPECT_EQ(nullptr, plain.GetSlice(CBkgBtn::kNormal, CBkgBtn::kStart));
  EXPECT_EQ(L"后退", plain.GetText());
}

}  // namespace

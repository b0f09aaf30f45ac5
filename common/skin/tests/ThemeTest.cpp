// The shipped default theme, read through the engine as the windows read it:
// every element the toolkit asks for is there, every picture loads at the
// size its item gives, the layout keeps caption and content apart, the
// Chinese texts fit, and painting leaves magenta only where the window region
// cuts it away.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "ComSupport.h"
#include "CommHelper.h"
#include "Handles.h"
#include "SkinEngine.h"
#include "SkinTestSupport.h"
#include "XmlDom.h"

namespace {

std::wstring ThemeFile(const wchar_t* name) {
  return GetModuleDir(nullptr) + L"\\theme\\default\\" + name;
}

// A plain popup for the engine to bind: layout and regions need a window.
class Host : public ISkinHost {
 public:
  Host() {
    hwnd_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  }
  ~Host() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  HWND SkinHwnd() const override { return hwnd_; }
  void OnSkinLayout() override {}

 private:
  HWND hwnd_ = nullptr;
};

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom && inner.left < inner.right && inner.top < inner.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return IntersectRect(&both, &a, &b) != FALSE;
}

const COLORREF kMagenta = RGB(255, 0, 255);

struct Shipped {
  const wchar_t* file;
  const wchar_t* element;
  std::vector<const wchar_t*> items;
  std::vector<const wchar_t*> buttons;
};

void PrintTo(const Shipped& shipped, std::ostream* out) {
  const std::wstring element(shipped.element);
  *out << std::string(element.begin(), element.end());
}

const Shipped kFrame{L"commonskin.xml", L"framedialog",
                     {L"topleft", L"title", L"min", L"max", L"close", L"restore", L"up", L"childwnd"},
                     {L"min", L"max", L"close", L"restore", L"up"}};
const Shipped kMessage{L"skin.xml", L"msgdialog",
                       {L"topleft", L"title", L"close", L"text", L"ok", L"cancel"},
                       {L"close", L"ok", L"cancel"}};
const Shipped kAuth{L"skin.xml", L"authdlg",
                    {L"topleft", L"title", L"tip", L"label", L"password", L"ok", L"cancel"},
                    {L"ok", L"cancel"}};
const Shipped kMain{L"skin.xml", L"maindlg",
                    {L"topleft", L"title", L"min", L"max", L"close", L"restore", L"up", L"top_left", L"top_mid",
                     L"top_right", L"bottom_left", L"bottom_right", L"mid_left", L"mid_right", L"urledit", L"tab",
                     L"ctrlbar", L"gobtn", L"addbtn", L"goback", L"goforward", L"home", L"fav", L"refresh",
                     L"urledit_bg", L"popup", L"appshowname"},
                    {L"min", L"max", L"close", L"restore", L"up", L"goback", L"goforward", L"refresh", L"home",
                     L"fav", L"addbtn", L"gobtn"}};

class ThemeTest : public ::testing::TestWithParam<Shipped> {
 protected:
  void SetUp() override {
    const Shipped& shipped = GetParam();
    path_ = ThemeFile(shipped.file);
    ASSERT_NE(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "not shipped";
    ASSERT_EQ(skin_.LoadSkin(path_, shipped.element, &host_), 1);
    ASSERT_GT(skin_.Width(), 0);
    ASSERT_GT(skin_.Height(), 0);
    skin_.Resize(skin_.Width(), skin_.Height());
  }
  RECT Rect(const wchar_t* id) {
    const RECT* r = skin_.GetItemRect(id);
    return r ? *r : RECT{-1, -1, -1, -1};
  }
  RECT Client() const { return RECT{0, 0, skin_.Width(), skin_.Height()}; }
  RECT Caption() { return RECT{0, 0, skin_.Width(), Rect(L"topleft").bottom}; }

  std::wstring path_;
  Host host_;
  CSkinEngine skin_;
};

TEST_P(ThemeTest, ElementHoldsTheItemsTheWindowBindsAndEveryPictureLoads) {
  for (const wchar_t* id : GetParam().items) EXPECT_NE(skin_.FindItem(id), nullptr) << id;

  for (const auto& item : skin_.Items()) {
    const bool pictured = item->skintype == tagSkinItem::kPainted &&
                          (item->drawtype <= 2 || item->drawtype == 6) && item->drawtype >= 0;
    if (pictured) {
      SIZE size = BitmapSize(item->normal.Get());
      EXPECT_EQ(size.cx, item->width) << "normal of " << std::string(item->id.begin(), item->id.end());
      EXPECT_EQ(size.cy, item->height);
    }
    if (item->skintype != tagSkinItem::kButton) continue;
    for (HBITMAP state : {item->normal.Get(), item->hover.Get(), item->down.Get(), item->disable.Get()}) {
      SIZE size = BitmapSize(state);
      EXPECT_EQ(size.cx, item->width) << std::string(item->id.begin(), item->id.end());
      EXPECT_EQ(size.cy, item->height);
    }
    EXPECT_FALSE(item->caption.empty()) << "a button's caption is its tooltip";
  }
}

TEST_P(ThemeTest, ButtonsSitInsideTheWindowWithoutCovering) {
  const RECT client = Client();
  std::vector<RECT> placed;
  for (const wchar_t* id : GetParam().buttons) {
    RECT r = Rect(id);
    EXPECT_TRUE(Inside(r, client)) << id;
    if (std::wstring(id) == L"restore") {
      // Shown only while max is hidden, in max's place.
      RECT max = Rect(L"max");
      EXPECT_TRUE(EqualRect(&r, &max));
      continue;
    }
    for (const RECT& other : placed) EXPECT_FALSE(Overlap(r, other));
    placed.push_back(r);
  }
  RECT caption = Caption();
  EXPECT_GT(Height(caption), 20);
  for (const wchar_t* id : {L"close", L"max", L"min", L"up"}) {
    if (!skin_.FindItem(id)) continue;
    EXPECT_TRUE(Inside(Rect(id), caption));
    EXPECT_FALSE(Overlap(Rect(id), Rect(L"title")));
  }
}

TEST_P(ThemeTest, PaintLeavesMagentaOnlyOutsideTheRoundedCorners) {
  DibCanvas canvas(skin_.Width(), skin_.Height());
  skin_.Draw(canvas.Dc());
  const int w = canvas.Width(), h = canvas.Height();
  const int corner = 10;
  int keyed = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (canvas.Pixel(x, y) != kMagenta) continue;
      ++keyed;
      const bool inCorner = (x < corner || x >= w - corner) && (y < corner || y >= h - corner);
      ASSERT_TRUE(inCorner) << "stray magenta at " << x << "," << y;
    }
  }
  EXPECT_GT(keyed, 8);  // each corner rounds off a few pixels
  for (POINT p : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}})
    EXPECT_EQ(canvas.Pixel(p.x, p.y), kMagenta);
  // Caption blue above, warm light body below.
  COLORREF caption = canvas.Pixel(w / 2, Rect(L"topleft").bottom / 2);
  EXPECT_GT(GetBValue(caption), GetRValue(caption) + 60);
  COLORREF body = canvas.Pixel(w / 2, h - 4);
  EXPECT_GT(GetRValue(body), 240);
  EXPECT_GT(GetGValue(body), 240);
}

TEST_P(ThemeTest, RegionCutsTheCornersAway) {
  ASSERT_NE(skin_.SetRgn(), 0);
  ASSERT_EQ(skin_.TransparentColor(), kMagenta);
  fw::ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(host_.SkinHwnd(), region.Get()), ERROR) << "no region after the resize";
  const int w = skin_.Width(), h = skin_.Height();
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
  EXPECT_FALSE(PtInRegion(region.Get(), w - 1, h - 1));
  EXPECT_TRUE(PtInRegion(region.Get(), w / 2, h / 2));
  EXPECT_TRUE(PtInRegion(region.Get(), 0, h / 2));
  EXPECT_TRUE(PtInRegion(region.Get(), w / 2, 0));
}

INSTANTIATE_TEST_SUITE_P(Shipped, ThemeTest, ::testing::Values(kFrame, kMessage, kAuth, kMain), [](const auto& info) {
  const std::wstring element = info.param.element;
  return std::string(element == L"framedialog" ? "Frame"
                     : element == L"msgdialog" ? "Message"
                     : element == L"authdlg"   ? "Auth"
                                               : "Main");
});

// How many pixels `text` needs at `width` in the font of a text item.
SIZE Measure(const CSkinEngine& skin, const wchar_t* id, const std::wstring& text, int width, UINT format) {
  fw::ScopedFont font;
  if (!skin.CreateItemFontById(id, &font)) return SIZE{0, 0};
  fw::WindowDC screen(nullptr);
  fw::ScopedSelectObject select(screen, font.Get());
  RECT r{0, 0, width, 0};
  DrawTextW(screen, text.c_str(), -1, &r, format | DT_CALCRECT);
  return SIZE{r.right, r.bottom};
}

TEST(ThemeText, ChineseMessageOfTwoLinesAndTheTitleFit) {
  Host host;
  CSkinEngine skin;
  ASSERT_EQ(skin.LoadSkin(ThemeFile(L"skin.xml"), L"msgdialog", &host), 1);
  skin.Resize(skin.Width(), skin.Height());
  const RECT* text = skin.GetItemRect(L"text");
  const RECT* title = skin.GetItemRect(L"title");
  ASSERT_TRUE(text && title);
  const std::wstring message = L"今天的上网时间已经用完了，\n明天再来和小伙伴们一起玩吧！";
  SIZE needed = Measure(skin, L"text", message, Width(*text), DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
  EXPECT_GT(needed.cy, 0);
  EXPECT_LE(needed.cx, Width(*text));
  EXPECT_LE(needed.cy, Height(*text));
  SIZE caption = Measure(skin, L"title", skin.GetItemCaption(L"title"), 1000, DT_SINGLELINE);
  EXPECT_GT(caption.cx, 0);
  EXPECT_LE(caption.cx, Width(*title));
  EXPECT_LE(caption.cy, Height(*title));
}

TEST(ThemeText, EveryShippedFileParsesAndHoldsItsElement) {
  fw::ComThreadScope com;
  struct {
    const wchar_t* file;
    const wchar_t* element;
    int children;  // -1: some
  } files[] = {{L"commonskin.xml", L"/skin/framedialog", -1},
               {L"skin.xml", L"/skin/msgdialog", -1},
               {L"content_skin.xml", L"/skin/scrollbar", -1}};
  for (const auto& f : files) {
    CXmlDom dom;
    ASSERT_EQ(dom.Open(ThemeFile(f.file).c_str(), true, nullptr), 1) << f.file;
    EXPECT_EQ(dom.GetNodeCount(f.element), 1) << f.element;
    const int children = dom.GetNodeCount((std::wstring(f.element) + L"/*").c_str());
    if (f.children < 0)
      EXPECT_GT(children, 0) << f.element;
    else
      EXPECT_EQ(children, f.children) << f.element;
  }
}

}  // namespace

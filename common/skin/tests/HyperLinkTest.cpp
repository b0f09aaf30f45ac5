#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <commctrl.h>

#include "HyperLink.h"
#include "ToolInfo.h"
#include "ToolInfoSizeCheck.h"

namespace {

const int kLinkId = 55;
const COLORREF kLinkRed = RGB(255, 0, 0);
const COLORREF kHoverBlue = RGB(0, 0, 255);

// Pixels of `colour` the window shows now, read without making it paint.
int ShownPixels(HWND window, COLORREF colour) {
  RECT client{};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  int count = 0;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) count += GetPixel(dc, x, y) == colour;
  ReleaseDC(window, dc);
  return count;
}

class Parent : public fw::Wnd {
 public:
  LRESULT reply = 0;
  std::vector<std::wstring> offered;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_LINK_CLICKED) {
      offered.push_back(reinterpret_cast<const wchar_t*>(wParam));
      result = reply;
      return true;
    }
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
};

// The shell and the message box replaced, so no test opens anything.
class TestLink : public CHyperLink {
 public:
  INT_PTR openResult = 42;
  std::vector<std::wstring> opened;
  std::vector<INT_PTR> reported;

 protected:
  INT_PTR OpenURL(const std::wstring& url) override {
    opened.push_back(url);
    return openResult;
  }
  void ReportError(INT_PTR code) override { reported.push_back(code); }
};

class HyperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::CreateArgs args;
    args.style = WS_POPUP | WS_VISIBLE;
    args.width = 300;
    args.height = 80;
    ASSERT_TRUE(parent.Create(args));
    HWND control = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 40, parent.Hwnd(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinkId)), nullptr, nullptr);
    link.SetURL(L"http://儿童.example/");
    ASSERT_TRUE(link.SubclassLink(control));
  }
  void Click() {
    SendMessageW(link.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(link.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }

  ToolInfoSizeCheck toolInfoCheck;
  Parent parent;
  TestLink link;
};

TEST_F(HyperLinkTest, EmptyLabelShowsItsUrlAndFitsTheText) {
  EXPECT_EQ(L"http://儿童.example/", link.GetText());
  EXPECT_TRUE(GetWindowLongPtrW(link.Hwnd(), GWL_STYLE) & SS_NOTIFY);
  RECT rect = link.ClientRect();
  EXPECT_LT(rect.bottom, 40) << "the window shrank to the text's height";
  EXPECT_GT(rect.right, 20);
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(link.Hwnd(), WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_TRUE(font.lfUnderline);
  link.SetUnderline(false);
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(link.Hwnd(), WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_FALSE(font.lfUnderline);
  EXPECT_NE(nullptr, link.ToolTip());
}

TEST_F(HyperLinkTest, ParentThatHandlesTheLinkTakesItOver) {
  parent.reply = 1;
  Click();
  ASSERT_EQ(1u, parent.offered.size());
  EXPECT_EQ(L"http://儿童.example/", parent.offered[0]);
  EXPECT_TRUE(link.opened.empty());
  EXPECT_FALSE(link.GetVisited());
  EXPECT_TRUE(link.reported.empty());
}

TEST_F(HyperLinkTest, OtherwiseTheLinkOpensAndTurnsVisited) {
  Click();
  ASSERT_EQ(1u, link.opened.size());
  EXPECT_TRUE(link.GetVisited());
  EXPECT_EQ(link.GetVisitedColour(), link.CurrentColour());
  link.SetVisited(false);
  link.openResult = 2;
  Click();
  EXPECT_FALSE(link.GetVisited());
  ASSERT_EQ(1u, link.reported.size());
  EXPECT_EQ(2, link.reported[0]);
  EXPECT_EQ(L"The specified file was not found.", CHyperLink::ErrorText(2));
  EXPECT_EQ(L"Unknown Error (99) occurred.", CHyperLink::ErrorText(99));
}

TEST_F(HyperLinkTest, EmptyUrlIsStillOffered) {
  link.SetURL(L"");
  parent.reply = 1;
  Click();
  ASSERT_EQ(1u, parent.offered.size());
  EXPECT_EQ(L"", parent.offered[0]);
}

TEST_F(HyperLinkTest, HoverChangesColourAndCapturesUntilThePointerLeaves) {
  link.SetColours(RGB(1, 2, 3), RGB(4, 5, 6), CLR_INVALID);
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), link.GetHoverColour());
  EXPECT_EQ(RGB(1, 2, 3), link.CurrentColour());
  SendMessageW(link.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(link.IsOver());
  EXPECT_EQ(GetCapture(), link.Hwnd());
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), link.CurrentColour());
  SendMessageW(link.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(500, 3));
  EXPECT_FALSE(link.IsOver());
  EXPECT_NE(GetCapture(), link.Hwnd());

  HDC dc = GetDC(link.Hwnd());
  LRESULT brush = SendMessageW(parent.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(link.Hwnd()));
  EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), brush);
  EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc));
  EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
  ReleaseDC(link.Hwnd(), dc);

  // Another window taking the mouse ends the hover, and the text shows the
  // link colour again at once.
  link.SetColours(kLinkRed, RGB(4, 5, 6), kHoverBlue);
  SendMessageW(link.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  ASSERT_TRUE(link.IsOver());
  EXPECT_GT(ShownPixels(link.Hwnd(), kHoverBlue), 0);
  SetCapture(parent.Hwnd());
  EXPECT_FALSE(link.IsOver());
  EXPECT_EQ(0, ShownPixels(link.Hwnd(), kHoverBlue)) << "redrawn when the capture went";
  EXPECT_GT(ShownPixels(link.Hwnd(), kLinkRed), 0);
  ReleaseCapture();
}

// Whether the help program's link cursor loads here; a file of that name
// may be there without it (Wine's winhlp32.exe has none).
bool HelpProgramHasLinkCursor() {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  HMODULE helper =
      LoadLibraryExW((std::wstring(windows) + L"\\winhlp32.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!helper) return false;
  const bool found = LoadCursorW(helper, MAKEINTRESOURCEW(106)) != nullptr;
  FreeLibrary(helper);
  return found;
}

TEST_F(HyperLinkTest, CursorComesFromTheHelpProgramOrStaysTheArrow) {
  const bool fromHelper = HelpProgramHasLinkCursor();
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  SetCursor(nullptr);
  LRESULT handled = SendMessageW(link.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link.Hwnd()),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(fromHelper, link.GetLinkCursor() != nullptr) << "the help program's cursor, if it loads";
  if (fromHelper) {
    EXPECT_EQ(TRUE, handled);
  }
  EXPECT_EQ(fromHelper ? link.GetLinkCursor() : arrow, GetCursor());
  link.SetLinkCursor(arrow);
  EXPECT_EQ(arrow, link.GetLinkCursor());
}

TEST(HyperLinkOpen, OnlyWebAddressesFallBackOnTheRegisteredBrowser) {
  INT_PTR result = CHyperLink::GotoURL(L"hollin-no-such-scheme:thing", SW_HIDE);
  EXPECT_LE(result, 32) << "an address nothing handles is reported as a failure";
}

}  // namespace

namespace {

TEST_F(HyperLinkTest, TooltipShowsTheUrlOrItsOwnText) {
  ASSERT_NE(nullptr, link.ToolTip());
  EXPECT_EQ(1, SendMessageW(link.ToolTip(), TTM_GETTOOLCOUNT, 0, 0));
  auto tip = [&] {
    wchar_t text[256] = {};
    TOOLINFOW tool = fw::ToolInfo(link.Hwnd(), CHyperLink::kToolId);
    tool.lpszText = text;
    SendMessageW(link.ToolTip(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return std::wstring(text);
  };
  EXPECT_EQ(L"http://儿童.example/", tip());
  link.SetTipText(L"打开帮助");
  EXPECT_EQ(L"打开帮助", tip());
  link.SetTipText(L"");
  link.SetURL(L"http://new.example/");
  EXPECT_EQ(L"http://new.example/", tip());
  EXPECT_GT(ToolInfoSizeCheck::Seen(), 3) << "the link's tool records went unchecked";
}

}  // namespace

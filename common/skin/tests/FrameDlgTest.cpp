#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameDlg.h"
#include "SkinDialogsTestResources.h"
#include "SkinDialogsTestSupport.h"

namespace {

const COLORREF kNavy = RGB(0, 0, 128);
const COLORREF kPaper = RGB(250, 248, 240);
const int kWidth = 320;
const int kHeight = 240;
const int kCaption = 30;

// A 320 x 240 frame with a 30-pixel caption band, the caption buttons from
// the right (close, max/restore, min, up), a title and the child's place.
std::wstring FrameSkin() {
  return L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         L"<skins>\n"
         L" <framedialog width=\"320\" height=\"240\" minWidth=\"200\" minHeight=\"150\">\n"
         L"  <item id=\"topleft\" drawtype=\"3\" colorbg=\"" +
         std::to_wstring(kNavy) +
         L"\" left=\"0\" top=\"0\" right=\"0\" height=\"30\"/>\n"
         L"  <item id=\"body\" drawtype=\"3\" colorbg=\"" +
         std::to_wstring(kPaper) +
         L"\" left=\"0\" top=\"30\" right=\"0\" bottom=\"0\"/>\n"
         L"  <item id=\"close\" skintype=\"1\" normal=\"close.bmp\" right=\"5\" top=\"5\" width=\"20\" height=\"20\" "
         L"caption=\"关闭\"/>\n"
         L"  <item id=\"max\" skintype=\"1\" normal=\"max.bmp\" rightid=\"close\" right=\"2\" top=\"5\" width=\"20\" "
         L"height=\"20\"/>\n"
         L"  <item id=\"restore\" skintype=\"1\" normal=\"restore.bmp\" rightid=\"close\" right=\"2\" top=\"5\" "
         L"width=\"20\" height=\"20\"/>\n"
         L"  <item id=\"min\" skintype=\"1\" normal=\"min.bmp\" rightid=\"max\" right=\"2\" top=\"5\" width=\"20\" "
         L"height=\"20\"/>\n"
         L"  <item id=\"up\" skintype=\"1\" normal=\"up.bmp\" rightid=\"min\" right=\"2\" top=\"5\" width=\"20\" "
         L"height=\"20\"/>\n"
         L"  <item id=\"title\" drawtype=\"4\" left=\"8\" top=\"0\" height=\"30\" rightid=\"up\" right=\"4\" "
         L"fontsize=\"14\" normalclr=\"16777215\"/>\n"
         L"  <item id=\"childwnd\" left=\"5\" top=\"35\" right=\"5\" bottom=\"5\"/>\n"
         L" </framedialog>\n"
         L"</skins>\n";
}

// Where the buttons sit on a client 320 wide.
const RECT kClosePlace{295, 5, 315, 25};
const RECT kMaxPlace{273, 5, 293, 25};
const RECT kMinPlace{251, 5, 271, 25};
const RECT kUpPlace{229, 5, 249, 25};

class TestFrameDlg : public CFrameDlg {
 public:
  explicit TestFrameDlg(const std::wstring& path) : CFrameDlg(IDD_FRAMEDLG_TEST, nullptr), path_(path) {
    m_strSkinTheme.clear();
  }
  std::vector<WPARAM> sysCommands;
  int sizeLoops = 0;
  int frameInits = 0;
  bool buttonsAtInit = false;
  bool allowMinimize = true;
  bool allowMaximize = true;

 protected:
  void BuildSkinPath() override { m_strSkinPath = path_; }
  void OnFrameInit() override {
    ++frameInits;
    buttonsAtInit = GetDlgItem(Hwnd(), kCloseButtonId) != nullptr;
  }
  bool CanMinimize() override { return allowMinimize; }
  bool CanMaximize() override { return allowMaximize; }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_SYSCOMMAND) sysCommands.push_back(wParam);
    if (message == WM_ENTERSIZEMOVE) ++sizeLoops;
    return CFrameDlg::OnMessage(message, wParam, lParam, result);
  }

 private:
  std::wstring path_;
};

// The window a frame hosts: records the frame's questions and vetoes the
// commands it is told to.
class HostedPane : public fw::Wnd {
 public:
  std::vector<NMHDR> questions;
  std::vector<WPARAM> vetoed;
  bool fillsMinMax = false;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_NOTIFY) {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      questions.push_back(*header);
      result = 0;
      for (WPARAM command : vetoed) {
        if (command == header->idFrom) result = 1;
      }
      return true;
    }
    if (message == WM_GETMINMAXINFO && fillsMinMax) {
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{250, 180};
      return true;
    }
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
};

RECT ChildRect(HWND parent, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(parent, id), &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ExpectRect(const RECT& expected, const RECT& actual, const char* what) {
  EXPECT_EQ(expected.left, actual.left) << what;
  EXPECT_EQ(expected.top, actual.top) << what;
  EXPECT_EQ(expected.right, actual.right) << what;
  EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

bool Visible(HWND frame, int id) { return (GetWindowLongPtrW(GetDlgItem(frame, id), GWL_STYLE) & WS_VISIBLE) != 0; }

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

class FrameDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* name : {L"close.bmp", L"max.bmp", L"restore.bmp", L"min.bmp", L"up.bmp"})
      folder.WriteBmp(name, 20, 20, RGB(200, 60, 60), RECT{6, 6, 14, 14}, RGB(255, 255, 255));
    frame = std::make_unique<TestFrameDlg>(folder.WriteText(L"commonskin.xml", FrameSkin()));
  }
  void TearDown() override { frame.reset(); }

  void Open() {
    ASSERT_TRUE(frame->CreateModeless());
    hwnd = frame->Hwnd();
  }
  void Show() {
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    UpdateWindow(hwnd);
    PumpFor(100);
  }
  RECT Window() const {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
  }
  void Click(UINT id) {
    SendMessageW(GetDlgItem(hwnd, id), BM_CLICK, 0, 0);
    PumpFor(50);
  }
  UINT HitAt(int x, int y) { return frame->HitTest(POINT{x, y}); }

  TempSkinFolder folder;
  std::unique_ptr<TestFrameDlg> frame;
  HWND hwnd = nullptr;
};

TEST_F(FrameDlgTest, CaptionButtonsAreCreatedAndPlacedFromTheirItems) {
  Open();
  EXPECT_EQ(1, frame->frameInits);
  EXPECT_TRUE(frame->buttonsAtInit) << "the buttons exist before the frame's own initialisation";
  ExpectRect(kClosePlace, ChildRect(hwnd, CFrameDlg::kCloseButtonId), "close");
  ExpectRect(kMaxPlace, ChildRect(hwnd, CFrameDlg::kMaxButtonId), "max");
  ExpectRect(kMaxPlace, ChildRect(hwnd, CFrameDlg::kRestoreButtonId), "restore");
  ExpectRect(kMinPlace, ChildRect(hwnd, CFrameDlg::kMinButtonId), "min");
  ExpectRect(kUpPlace, ChildRect(hwnd, CFrameDlg::kUpButtonId), "up");
  EXPECT_TRUE(Visible(hwnd, CFrameDlg::kMaxButtonId));
  EXPECT_FALSE(Visible(hwnd, CFrameDlg::kRestoreButtonId));
  EXPECT_EQ(L"关闭", frame->CaptionButton(CFrameDlg::kCloseButtonId).GetTooltipText());
  RECT window = Window();
  EXPECT_EQ(kWidth, window.right - window.left) << "the skin's size";
  EXPECT_EQ(kHeight, window.bottom - window.top);
  RECT work = WorkArea();
  EXPECT_NEAR((work.left + work.right) / 2, (window.left + window.right) / 2, 1) << "centred";
  LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
}

TEST_F(FrameDlgTest, WithoutMaxButtonTheOthersCloseUpToTheRight) {
  frame->SetCaptionButtons(true, true, false, true);
  Open();
  EXPECT_EQ(nullptr, GetDlgItem(hwnd, CFrameDlg::kMaxButtonId));
  EXPECT_EQ(nullptr, GetDlgItem(hwnd, CFrameDlg::kRestoreButtonId));
  ExpectRect(kClosePlace, ChildRect(hwnd, CFrameDlg::kCloseButtonId), "close");
  ExpectRect(kMaxPlace, ChildRect(hwnd, CFrameDlg::kMinButtonId), "min takes max's place");
  ExpectRect(kMinPlace, ChildRect(hwnd, CFrameDlg::kUpButtonId), "up takes min's place");
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_MAXIMIZEBOX);
}

TEST_F(FrameDlgTest, WithoutMinButtonUpTakesTheMaxPlace) {
  frame->SetCaptionButtons(false, true, false, true);
  Open();
  EXPECT_EQ(nullptr, GetDlgItem(hwnd, CFrameDlg::kMinButtonId));
  ExpectRect(kMaxPlace, ChildRect(hwnd, CFrameDlg::kUpButtonId), "up");
}

TEST_F(FrameDlgTest, HitTestCornersWinOverStripsAndStripsOverTheCaption) {
  Open();
  RECT w = Window();
  int midX = (w.left + w.right) / 2, midY = (w.top + w.bottom) / 2;
  EXPECT_EQ(static_cast<UINT>(HTCAPTION), HitAt(midX, w.top + 15));
  EXPECT_EQ(static_cast<UINT>(HTNOWHERE), HitAt(midX, midY));
  EXPECT_EQ(static_cast<UINT>(HTNOWHERE), HitAt(w.right + 3, midY));
  EXPECT_EQ(static_cast<UINT>(HTLEFT), HitAt(w.left + 2, w.top + 15)) << "the caption's left end sizes";
  EXPECT_EQ(static_cast<UINT>(HTLEFT), HitAt(w.left, midY));
  EXPECT_EQ(static_cast<UINT>(HTRIGHT), HitAt(w.right - 1, midY));
  EXPECT_EQ(static_cast<UINT>(HTTOP), HitAt(midX, w.top + 4));
  EXPECT_EQ(static_cast<UINT>(HTBOTTOM), HitAt(midX, w.bottom - 5));
  EXPECT_EQ(static_cast<UINT>(HTNOWHERE), HitAt(midX, w.bottom - 6));
  EXPECT_EQ(static_cast<UINT>(HTTOPLEFT), HitAt(w.left + 4, w.top + 4));
  EXPECT_EQ(static_cast<UINT>(HTTOPRIGHT), HitAt(w.right - 1, w.top));
  EXPECT_EQ(static_cast<UINT>(HTBOTTOMLEFT), HitAt(w.left, w.bottom - 1));
  EXPECT_EQ(static_cast<UINT>(HTBOTTOMRIGHT), HitAt(w.right - 5, w.bottom - 5));
}

TEST_F(FrameDlgTest, WithoutMaximiseBoxTheBordersDoNotSize) {
  frame->SetCaptionButtons(true, true, false, true);
  Open();
  RECT w = Window();
  EXPECT_EQ(static_cast<UINT>(HTCAPTION), HitAt(w.left + 2, w.top + 15));
  EXPECT_EQ(static_cast<UINT>(HTNOWHERE), HitAt(w.left, (w.top + w.bottom) / 2));
  EXPECT_EQ(static_cast<UINT>(HTNOWHERE), HitAt(w.right - 1, w.bottom - 1));
  Show();
  SetCursorPos(w.left + 1, (w.top + w.bottom) / 2);
  SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());
  // Nor from the window menu, whatever edge the command names.
  frame->sysCommands.clear();
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_SIZE | WMSZ_LEFT, 0);
  EXPECT_EQ(0, frame->sizeLoops);
  EXPECT_EQ(1u, frame->sysCommands.size());
}

TEST_F(FrameDlgTest, BordersShowTheSizingCursors) {
  Open();
  Show();
  RECT w = Window();
  struct {
    POINT at;
    const wchar_t* cursor;
  } cases[] = {
      {{w.left + 1, (w.top + w.bottom) / 2}, IDC_SIZEWE},  {{(w.left + w.right) / 2, w.bottom - 2}, IDC_SIZENS},
      {{w.left + 1, w.top + 1}, IDC_SIZENWSE},             {{w.right - 2, w.top + 1}, IDC_SIZENESW},
      {{w.left + 1, w.bottom - 2}, IDC_SIZENESW},          {{w.right - 2, w.bottom - 2}, IDC_SIZENWSE},
  };
  for (const auto& c : cases) {
    SetCursorPos(c.at.x, c.at.y);
    LRESULT handled =
        SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_TRUE(handled);
    EXPECT_EQ(LoadCursorW(nullptr, c.cursor), GetCursor()) << c.at.x << "," << c.at.y;
  }
}

TEST_F(FrameDlgTest, CaptionDragMovesTheFrameInOneLoop) {
  Open();
  Show();
  RECT before = Window();
  POINT from{before.left + 60, before.top + 15};
  DragWithMouse(from, POINT{from.x - 40, from.y + 35});
  RECT after = Window();
  EXPECT_EQ(before.left - 40, after.left);
  EXPECT_EQ(before.top + 35, after.top);
  EXPECT_EQ(before.right - before.left, after.right - after.left);
  EXPECT_EQ(1, frame->sizeLoops) << "one move per press";
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_SYSMENU) << "the window menu style comes back";
  // The caption moved with the window, painted again or not.
  EXPECT_EQ(static_cast<UINT>(HTCAPTION), HitAt(after.left + 60, after.top + 15));
  EXPECT_EQ(static_cast<UINT>(HTNOWHERE), HitAt(after.left + 60, after.top + kCaption + 5));
}

TEST_F(FrameDlgTest, EveryEdgeAndCornerSizesInExactlyOneLoop) {
  Open();
  Show();
  const int d = 30;
  struct Case {
    const char* name;
    int fx, fy;  // where on the border: 0 left/top, 1 middle, 2 right/bottom
    int dl, dt, dr, db;
  } cases[] = {
      {"left", 0, 1, -d, 0, 0, 0},         {"right", 2, 1, 0, 0, d, 0},      {"top", 1, 0, 0, -d, 0, 0},
      {"bottom", 1, 2, 0, 0, 0, d},        {"top-left", 0, 0, -d, -d, 0, 0}, {"top-right", 2, 0, 0, -d, d, 0},
      {"bottom-left", 0, 2, -d, 0, 0, d},  {"bottom-right", 2, 2, 0, 0, d, d},
  };
  for (const Case& c : cases) {
    SetWindowPos(hwnd, nullptr, 150, 120, kWidth, kHeight, SWP_NOZORDER);
    PumpFor(50);
    frame->sizeLoops = 0;
    RECT before = Window();
    int xs[] = {before.left + 2, (before.left + before.right) / 2, before.right - 3};
    int ys[] = {before.top + 2, (before.top + before.bottom) / 2, before.bottom - 3};
    POINT from{xs[c.fx], ys[c.fy]};
    int dx = c.dl ? c.dl : c.dr;
    int dy = c.dt ? c.dt : c.db;
    DragWithMouse(from, POINT{from.x + dx, from.y + dy}, 6);
    RECT after = Window();
    EXPECT_EQ(before.left + c.dl, after.left) << c.name;
    EXPECT_EQ(before.top + c.dt, after.top) << c.name;
    EXPECT_EQ(before.right + c.dr, after.right) << c.name;
    EXPECT_EQ(before.bottom + c.db, after.bottom) << c.name;
    EXPECT_EQ(1, frame->sizeLoops) << c.name << ": one size loop per press";
  }
  RECT client{};
  GetClientRect(hwnd, &client);
  ExpectRect(RECT{client.right - 25, 5, client.right - 5, 25}, ChildRect(hwnd, CFrameDlg::kCloseButtonId),
             "the buttons follow the new size");
}

TEST_F(FrameDlgTest, SizingStopsAtTheMinimumTrackingSize) {
  Open();
  Show();
  RECT before = Window();
  POINT from{before.right - 2, before.bottom - 2};
  DragWithMouse(from, POINT{from.x - 250, from.y - 200}, 6);
  RECT after = Window();
  EXPECT_EQ(200, after.right - after.left);
  EXPECT_EQ(150, after.bottom - after.top);
}

TEST_F(FrameDlgTest, MaxAndRestoreButtonsSwap) {
  Open();
  Show();
  Click(CFrameDlg::kMaxButtonId);
  EXPECT_TRUE(IsZoomed(hwnd));
  EXPECT_FALSE(Visible(hwnd, CFrameDlg::kMaxButtonId));
  EXPECT_TRUE(Visible(hwnd, CFrameDlg::kRestoreButtonId));
  RECT work = WorkArea(), window = Window();
  EXPECT_EQ(work.right - work.left, window.right - window.left);
  EXPECT_EQ(work.bottom - work.top, window.bottom - window.top);
  Click(CFrameDlg::kRestoreButtonId);
  EXPECT_FALSE(IsZoomed(hwnd));
  EXPECT_TRUE(Visible(hwnd, CFrameDlg::kMaxButtonId));
  EXPECT_FALSE(Visible(hwnd, CFrameDlg::kRestoreButtonId));
  window = Window();
  EXPECT_EQ(kWidth, window.right - window.left);
  // Maximised some other way: the buttons still tell the truth.
  ShowWindow(hwnd, SW_MAXIMIZE);
  EXPECT_TRUE(Visible(hwnd, CFrameDlg::kRestoreButtonId));
  ShowWindow(hwnd, SW_RESTORE);
  EXPECT_TRUE(Visible(hwnd, CFrameDlg::kMaxButtonId));
  EXPECT_FALSE(Visible(hwnd, CFrameDlg::kRestoreButtonId));
}

TEST_F(FrameDlgTest, DoubleClickMaximisesAndRestores) {
  Open();
  Show();
  SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
  EXPECT_TRUE(IsZoomed(hwnd));
  SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
  EXPECT_FALSE(IsZoomed(hwnd));
  EXPECT_TRUE(Visible(hwnd, CFrameDlg::kMaxButtonId));
}

TEST_F(FrameDlgTest, MinButtonMinimisesUnlessRefused) {
  frame->allowMinimize = false;
  frame->allowMaximize = false;
  Open();
  Show();
  Click(CFrameDlg::kMinButtonId);
  Click(CFrameDlg::kMaxButtonId);
  EXPECT_FALSE(IsIconic(hwnd));
  EXPECT_FALSE(IsZoomed(hwnd));
  EXPECT_TRUE(frame->sysCommands.empty());
  frame->allowMinimize = true;
  Click(CFrameDlg::kMinButtonId);
  EXPECT_TRUE(IsIconic(hwnd));
  ASSERT_EQ(1u, frame->sysCommands.size());
  EXPECT_EQ(static_cast<WPARAM>(SC_MINIMIZE), frame->sysCommands[0]);
}

TEST_F(FrameDlgTest, CloseButtonClosesTheFrame) {
  Open();
  Show();
  Click(CFrameDlg::kCloseButtonId);
  EXPECT_FALSE(IsWindow(hwnd));
}

RECT popup;
bool popupSeen;

// The menu runs its own loop inside the click: it is looked at from a timer.
void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (menu && IsWindowVisible(menu)) {
    popupSeen = true;
    GetWindowRect(menu, &popup);
  }
  EndMenu();
}

TEST_F(FrameDlgTest, UpButtonOpensTheWindowMenuAtTheFrame) {
  Open();
  Show();
  popup = RECT{};
  popupSeen = false;
  UINT_PTR timer = SetTimer(nullptr, 0, 200, &LookAtMenu);
  Click(CFrameDlg::kUpButtonId);
  KillTimer(nullptr, timer);
  ASSERT_FALSE(frame->sysCommands.empty());
  EXPECT_EQ(static_cast<WPARAM>(SC_MOUSEMENU | HTSYSMENU), frame->sysCommands[0]);
  ASSERT_TRUE(popupSeen) << "the window menu opened";
  RECT window = Window();
  POINT corner{popup.left, popup.top};
  EXPECT_TRUE(PtInRect(&window, corner)) << "opened at " << popup.left << "," << popup.top;
}

TEST_F(FrameDlgTest, SizeEntryOfTheWindowMenuFollowsTheState) {
  Open();
  Show();
  HMENU system = GetSystemMenu(hwnd, FALSE);
  ASSERT_NE(nullptr, system);
  EnableMenuItem(system, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
  frame->UpdateSysMenuSize();
  EXPECT_FALSE(GetMenuState(system, SC_SIZE, MF_BYCOMMAND) & MF_GRAYED);
  ShowWindow(hwnd, SW_MAXIMIZE);
  frame->UpdateSysMenuSize();
  EXPECT_TRUE(GetMenuState(system, SC_SIZE, MF_BYCOMMAND) & MF_GRAYED);
  ShowWindow(hwnd, SW_RESTORE);
  // Through WM_INITMENU with a menu whose first popup is the window menu.
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(system), L"");
  EnableMenuItem(system, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
  SendMessageW(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
  EXPECT_FALSE(GetMenuState(system, SC_SIZE, MF_BYCOMMAND) & MF_GRAYED);
  RemoveMenu(bar, 0, MF_BYPOSITION);
  DestroyMenu(bar);
}

TEST_F(FrameDlgTest, ZeroAndTinySizesGiveNoInvertedCaption) {
  Open();
  Show();
  for (SIZE size : {SIZE{0, 0}, SIZE{20, 10}, SIZE{3, 3}}) {
    SetWindowPos(hwnd, nullptr, 50, 50, size.cx, size.cy, SWP_NOZORDER);
    PumpFor(30);
    RECT caption = frame->CaptionRect();
    RECT window = Window();
    EXPECT_LE(caption.top, caption.bottom) << size.cx;
    EXPECT_LE(caption.bottom, window.bottom) << size.cx;
    UINT code = HitAt(window.left, window.top);
    EXPECT_LE(code, static_cast<UINT>(HTBOTTOMRIGHT));
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  MINMAXINFO info{};
  SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(200, info.ptMinTrackSize.x);
  EXPECT_EQ(150, info.ptMinTrackSize.y);
}

TEST(FrameWithoutSkin, KeepsItsTemplateSizeInsteadOfNone) {
  TestFrameDlg frame(L"C:\\no-such-folder\\commonskin.xml");
  ASSERT_TRUE(frame.CreateModeless());
  EXPECT_TRUE(frame.Skin().Items().empty());
  RECT window{};
  GetWindowRect(frame.Hwnd(), &window);
  EXPECT_GT(window.right - window.left, 0) << "a frame of no size could never be seen";
  EXPECT_GT(window.bottom - window.top, 0);
  EXPECT_NE(nullptr, GetDlgItem(frame.Hwnd(), CFrameDlg::kCloseButtonId)) << "unplaced buttons still exist";
}

TEST_F(FrameDlgTest, PreferredSizeNeedsBothSides) {
  frame->SetChildWnd(nullptr, 0, 300);
  Open();
  RECT window = Window();
  EXPECT_EQ(kWidth, window.right - window.left);
  EXPECT_EQ(kHeight, window.bottom - window.top);
}

class HostedFrameTest : public FrameDlgTest {
 protected:
  void SetUp() override {
    FrameDlgTest::SetUp();
    // Made top-level: the frame turns it into its child.
    fw::CreateArgs args;
    args.style = WS_POPUP;
    args.title = L"小窗口";
    args.x = args.y = 0;
    args.width = args.height = 10;
    ASSERT_TRUE(pane.Create(args));
  }
  HostedPane pane;
};

TEST_F(HostedFrameTest, ChildFillsItsItemAndNamesTheFrame) {
  frame->SetChildWnd(pane.Hwnd(), 400, 300);
  Open();
  EXPECT_EQ(hwnd, GetParent(pane.Hwnd()));
  EXPECT_EQ(WS_CHILD, GetWindowLongPtrW(pane.Hwnd(), GWL_STYLE) & (WS_CHILD | WS_POPUP));
  EXPECT_TRUE(IsWindowVisible(pane.Hwnd()) || !IsWindowVisible(hwnd));
  RECT window = Window();
  EXPECT_EQ(400, window.right - window.left) << "the preferred size";
  EXPECT_EQ(300, window.bottom - window.top);
  RECT place{};
  GetWindowRect(pane.Hwnd(), &place);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&place), 2);
  ExpectRect(RECT{5, 35, 395, 295}, place, "childwnd");
  EXPECT_EQ(L"小窗口", frame->GetText());
  EXPECT_EQ(L"小窗口", frame->Skin().GetItemCaption(L"title"));
  EXPECT_EQ(pane.Hwnd(), GetFocus());
}

TEST_F(HostedFrameTest, ChildIsAskedBeforeEverySystemCommandAndMayRefuse) {
  pane.vetoed = {SC_MINIMIZE, SC_MAXIMIZE, SC_SIZE, SC_MOUSEMENU};
  frame->SetChildWnd(pane.Hwnd(), 0, 0);
  Open();
  Show();
  Click(CFrameDlg::kMinButtonId);
  EXPECT_FALSE(IsIconic(hwnd));
  ASSERT_EQ(1u, pane.questions.size());
  EXPECT_EQ(hwnd, pane.questions[0].hwndFrom);
  EXPECT_EQ(static_cast<UINT_PTR>(SC_MINIMIZE), pane.questions[0].idFrom);
  EXPECT_EQ(0u, pane.questions[0].code);
  Click(CFrameDlg::kMaxButtonId);
  EXPECT_FALSE(IsZoomed(hwnd));
  EXPECT_TRUE(Visible(hwnd, CFrameDlg::kRestoreButtonId)) << "the swap comes before the question";
  // The child is told the command without the system's low four bits: the
  // sizing edge, and HTSYSMENU of the up button's window menu.
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOM, 0);
  EXPECT_EQ(static_cast<UINT_PTR>(SC_SIZE), pane.questions.back().idFrom);
  EXPECT_EQ(0, frame->sizeLoops);
  Click(CFrameDlg::kUpButtonId);
  EXPECT_EQ(static_cast<UINT_PTR>(SC_MOUSEMENU), pane.questions.back().idFrom);
  EXPECT_EQ(static_cast<WPARAM>(SC_MOUSEMENU | HTSYSMENU), frame->sysCommands.back()) << "the system still gets it whole";
  // A double click on a caption sends SC_MAXIMIZE | HTCAPTION: the buttons
  // swap and the child is asked all the same.
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_FALSE(Visible(hwnd, CFrameDlg::kRestoreButtonId));
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE | HTCAPTION, 0);
  EXPECT_TRUE(Visible(hwnd, CFrameDlg::kRestoreButtonId));
  EXPECT_EQ(static_cast<UINT_PTR>(SC_MAXIMIZE), pane.questions.back().idFrom);
  EXPECT_FALSE(IsZoomed(hwnd));
  pane.vetoed.clear();
  frame->OnMaxButton();
  EXPECT_TRUE(IsZoomed(hwnd));
}

TEST_F(HostedFrameTest, ChildFillsTheTrackingSizeWhenTheSkinGivesNotBoth) {
  pane.fillsMinMax = true;
  frame->SetChildWnd(pane.Hwnd(), 0, 0);
  Open();
  MINMAXINFO info{};
  SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  // The skin gives both here, so the frame answers itself.
  EXPECT_EQ(200, info.ptMinTrackSize.x);
  frame->Skin().Clear();
  SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(250, info.ptMinTrackSize.x);
  EXPECT_EQ(180, info.ptMinTrackSize.y);
}

}  // namespace

namespace {

// Wine leaves the placement of a maximised "managed" window to the window
// manager, and the virtual display has none; with X11 Driver\Managed = "N"
// in the prefix Wine places it itself.
bool MaximisingNeedsAWindowManager() {
  if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) return false;
  wchar_t value[8] = {};
  DWORD size = sizeof(value);
  LONG read = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", RRF_RT_REG_SZ, nullptr,
                           value, &size);
  return read != ERROR_SUCCESS || (value[0] != L'N' && value[0] != L'n');
}

// The shipped theme: the frame is cut to rounded corners by its colour key.
TEST(ShippedFrame, MaximisedFrameIsCutToTheWholeWorkArea) {
  if (MaximisingNeedsAWindowManager())
    GTEST_SKIP() << "Wine without a window manager does not place maximised managed windows";
  CFrameDlg frame(IDD_FRAMEDLG_TEST, nullptr);
  ASSERT_TRUE(frame.CreateModeless());
  ASSERT_FALSE(frame.Skin().Items().empty()) << "bin/theme/default/commonskin.xml";
  ShowWindow(frame.Hwnd(), SW_SHOW);
  PumpFor(100);
  frame.OnMaxButton();
  PumpFor(200);
  RECT window{}, region{};
  GetWindowRect(frame.Hwnd(), &window);
  int kind = GetWindowRgnBox(frame.Hwnd(), &region);
  RECT work = WorkArea();
  EXPECT_EQ(work.right - work.left, window.right - window.left);
  EXPECT_NE(ERROR, kind);
  EXPECT_EQ(window.right - window.left, region.right - region.left) << "the shape follows the new size";
  EXPECT_EQ(window.bottom - window.top, region.bottom - region.top);
}

}  // namespace

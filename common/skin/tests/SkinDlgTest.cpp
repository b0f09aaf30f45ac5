#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "BCMenu.h"
#include "CommHelper.h"
#include "DataExchange.h"
#include "MessageLoop.h"
#include "SkinDialogsTestResources.h"
#include "SkinDialogsTestSupport.h"
#include "SkinDlg.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kMagenta = RGB(255, 0, 255);

// Red background over the whole client area, a blue 20 x 20 picture at
// (10, 10), the edit anchored 10 pixels from the bottom-right corner and a
// picture for image lists (magenta key, green centre).
std::wstring TestSkin(COLORREF background) {
  return L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         L"<skins>\n"
         L" <testdlg minWidth=\"400\" caption=\"皮肤对话框\">\n"
         L"  <!-- the background -->\n"
         L"  <item id=\"bg\" drawtype=\"3\" colorbg=\"" +
         std::to_wstring(background) +
         L"\" left=\"0\" top=\"0\" right=\"0\" bottom=\"0\"/>\n"
         L"  <item id=\"box\" drawtype=\"0\" normal=\"blue.bmp\" left=\"10\" top=\"10\" width=\"20\" height=\"20\"/>\n"
         L"  <item id=\"edit\" right=\"10\" bottom=\"10\" width=\"80\" height=\"20\"/>\n"
         L"  <item id=\"pic\" skintype=\"5\" normal=\"pic.bmp\" colorbg=\"16711935\"/>\n"
         L"  <item id=\"icon\" skintype=\"6\" normalicon=\"star.ico\"/>\n"
         L"  <item id=\"lost\" skintype=\"6\" normalicon=\"missing.ico\"/>\n"
         L" </testdlg>\n"
         L"</skins>\n";
}

class TestSkinDlg : public CSkinDlg {
 public:
  TestSkinDlg(const std::wstring& path, UINT templateId = IDD_SKINDLG_TEST, HWND parent = nullptr)
      : CSkinDlg(templateId, parent), path_(path) {
    m_strSkinElement = L"testdlg";
    m_strSkinTheme.clear();  // the path comes from BuildSkinPath
  }
  int buildCalls = 0;
  int bindCalls = 0;
  HBRUSH checkBrush = nullptr;

 protected:
  void BuildSkinPath() override {
    ++buildCalls;
    m_strSkinPath = path_;
  }
  void BindSkinItems() override {
    ++bindCalls;
    SetSkinItemWndById(L"edit", IDC_TEST_EDIT);
  }
  HBRUSH GetCtlBkBrush(UINT id) override { return checkBrush ? checkBrush : CSkinDlg::GetCtlBkBrush(id); }

 private:
  std::wstring path_;
};

RECT ChildRect(HWND parent, int id) {
  RECT rect{};
  HWND child = GetDlgItem(parent, id);
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ClientOf(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect;
}

void ExpectRect(const RECT& expected, const RECT& actual) {
  EXPECT_EQ(expected.left, actual.left);
  EXPECT_EQ(expected.top, actual.top);
  EXPECT_EQ(expected.right, actual.right);
  EXPECT_EQ(expected.bottom, actual.bottom);
}

RECT EditPlace(const RECT& client) {
  return RECT{client.right - 90, client.bottom - 30, client.right - 10, client.bottom - 10};
}

class SkinDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    folder.WriteBmp(L"blue.bmp", 20, 20, kBlue);
    folder.WriteBmp(L"pic.bmp", 16, 16, kMagenta, RECT{4, 4, 12, 12}, kGreen);
    folder.WriteIcon(L"star.ico", kBlue);
    skinPath = folder.WriteText(L"test.xml", TestSkin(kRed));
    dialog = std::make_unique<TestSkinDlg>(skinPath);
  }
  void TearDown() override { dialog.reset(); }

  void Open() {
    ASSERT_TRUE(dialog->CreateModeless());
    ASSERT_TRUE(dialog->Skin().IsLoaded());
  }
  void Show() {
    ShowWindow(dialog->Hwnd(), SW_SHOW);
    SetForegroundWindow(dialog->Hwnd());
    UpdateWindow(dialog->Hwnd());
    PumpFor(100);
  }
  // The answer to a static-colour request for a child, and the background
  // mode it left in the DC.
  HBRUSH StaticColour(int id, int* mode) {
    fw::ScopedCreatedDC dc(CreateCompatibleDC(nullptr));
    SetBkMode(dc.Get(), OPAQUE);
    LRESULT brush = SendMessageW(dialog->Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog->Hwnd(), id)));
    *mode = GetBkMode(dc.Get());
    return reinterpret_cast<HBRUSH>(brush);
  }

  TempSkinFolder folder;
  std::wstring skinPath;
  std::unique_ptr<TestSkinDlg> dialog;
};

TEST_F(SkinDlgTest, OpensFromTemplateAndSkinLaidOutAtOnce) {
  Open();
  EXPECT_EQ(1, dialog->buildCalls) << "an empty theme builds the path in the hook";
  EXPECT_EQ(1, dialog->bindCalls);
  EXPECT_EQ(skinPath, dialog->SkinPath());
  EXPECT_EQ(L"皮肤对话框", dialog->GetText()) << "the element's caption becomes the window text";
  EXPECT_FALSE(IsWindowVisible(dialog->Hwnd()));
  // Before any size change: the edit already sits where the skin puts it,
  // not at its template position.
  ExpectRect(EditPlace(ClientOf(dialog->Hwnd())), ChildRect(dialog->Hwnd(), IDC_TEST_EDIT));
}

TEST_F(SkinDlgTest, PaintsSkinItemsOnScreenAndWhenPrinted) {
  Open();
  Show();
  {
    fw::WindowDC dc(dialog->Hwnd());
    EXPECT_EQ(kRed, GetPixel(dc, 5, 5));
    EXPECT_EQ(kBlue, GetPixel(dc, 15, 15));
    EXPECT_EQ(kBlue, GetPixel(dc, 29, 29));
    EXPECT_EQ(kRed, GetPixel(dc, 31, 31));
  }
  EXPECT_EQ(kRed, PrintedPixel(dialog->Hwnd(), 5, 5));
  EXPECT_EQ(kBlue, PrintedPixel(dialog->Hwnd(), 20, 20));
  LRESULT erased = SendMessageW(dialog->Hwnd(), WM_ERASEBKGND, 0, 0);
  EXPECT_NE(0, erased) << "the paint covers everything, nothing is erased first";
}

TEST_F(SkinDlgTest, ResizingMovesBoundControlsAndRepaintsTheNewArea) {
  Open();
  Show();
  RECT window{};
  GetWindowRect(dialog->Hwnd(), &window);
  SetWindowPos(dialog->Hwnd(), nullptr, 0, 0, window.right - window.left + 60, window.bottom - window.top + 40,
               SWP_NOMOVE | SWP_NOZORDER);
  PumpFor(50);
  RECT client = ClientOf(dialog->Hwnd());
  EXPECT_EQ(client.right, dialog->Skin().ClientWidth());
  ExpectRect(EditPlace(client), ChildRect(dialog->Hwnd(), IDC_TEST_EDIT));
  EXPECT_EQ(kRed, PrintedPixel(dialog->Hwnd(), client.right - 3, client.bottom - 3));
  fw::WindowDC dc(dialog->Hwnd());
  EXPECT_EQ(kRed, GetPixel(dc, client.right - 3, client.bottom - 3)) << "updated at once, no later paint needed";
}

TEST_F(SkinDlgTest, MinimisingKeepsTheLayout) {
  Open();
  Show();
  RECT before = ChildRect(dialog->Hwnd(), IDC_TEST_EDIT);
  ShowWindow(dialog->Hwnd(), SW_MINIMIZE);
  PumpFor(50);
  EXPECT_TRUE(IsIconic(dialog->Hwnd()));
  const RECT* edit = dialog->Skin().GetItemRect(L"edit");
  ASSERT_NE(nullptr, edit);
  EXPECT_GE(edit->left, 0) << "a zero client area must not lay controls out at negative places";
  ShowWindow(dialog->Hwnd(), SW_RESTORE);
  PumpFor(50);
  ExpectRect(before, ChildRect(dialog->Hwnd(), IDC_TEST_EDIT));
}

TEST_F(SkinDlgTest, TransparentChildrenGetTheirBrushesByClassAndStyle) {
  fw::ScopedBrush checkBrush(CreateSolidBrush(RGB(1, 2, 3)));
  dialog->checkBrush = checkBrush.Get();
  dialog->SetTransparentChildren(TRUE);
  Open();
  HBRUSH nullBrush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  int mode = 0;
  for (int id : {IDC_TEST_CHECK, IDC_TEST_RADIO, IDC_TEST_GROUP}) {
    EXPECT_EQ(checkBrush.Get(), StaticColour(id, &mode)) << id;
    EXPECT_EQ(TRANSPARENT, mode) << id;
  }
  for (int id : {IDC_TEST_MULTILINE_CHECK, IDC_TEST_PUSH, IDC_TEST_STATIC}) {
    EXPECT_EQ(nullBrush, StaticColour(id, &mode)) << id;
    EXPECT_EQ(TRANSPARENT, mode) << id;
  }
  for (int id : {IDC_TEST_EDIT, IDC_TEST_TRACKBAR}) {
    HBRUSH brush = StaticColour(id, &mode);
    EXPECT_NE(nullptr, brush) << id;
    EXPECT_NE(nullBrush, brush) << id;
    EXPECT_EQ(OPAQUE, mode) << id << " keeps the standard colours";
  }
}

TEST_F(SkinDlgTest, OpaqueChildrenKeepTheStandardColours) {
  Open();
  int mode = 0;
  HBRUSH brush = StaticColour(IDC_TEST_CHECK, &mode);
  EXPECT_NE(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), brush);
  EXPECT_EQ(OPAQUE, mode);
}

TEST_F(SkinDlgTest, MinimumWidthOnlyWhenTheSkinGivesNoMinimumHeight) {
  Open();
  MINMAXINFO info{};
  info.ptMinTrackSize = POINT{7, 9};
  SendMessageW(dialog->Hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(400, info.ptMinTrackSize.x);
  EXPECT_EQ(9, info.ptMinTrackSize.y);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work.right - work.left, info.ptMaxTrackSize.x);
  EXPECT_EQ(work.bottom - work.top, info.ptMaxSize.y);
}

TEST_F(SkinDlgTest, MaximisingFillsTheWorkArea) {
  Open();
  Show();
  ShowWindow(dialog->Hwnd(), SW_MAXIMIZE);
  PumpFor(50);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT window{};
  GetWindowRect(dialog->Hwnd(), &window);
  EXPECT_EQ(work.right - work.left, window.right - window.left);
  EXPECT_EQ(work.bottom - work.top, window.bottom - window.top);
  ExpectRect(EditPlace(ClientOf(dialog->Hwnd())), ChildRect(dialog->Hwnd(), IDC_TEST_EDIT));
}

TEST_F(SkinDlgTest, MovableDialogFollowsADragOnItsBackground) {
  dialog->SetMovable(TRUE);
  Open();
  SetWindowPos(dialog->Hwnd(), HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE);
  Show();
  RECT before{};
  GetWindowRect(dialog->Hwnd(), &before);
  POINT from{before.left + 40, before.top + 60};
  DragWithMouse(from, POINT{from.x + 50, from.y + 30});
  RECT after{};
  GetWindowRect(dialog->Hwnd(), &after);
  EXPECT_EQ(before.left + 50, after.left);
  EXPECT_EQ(before.top + 30, after.top);
}

TEST_F(SkinDlgTest, FixedDialogStaysWhereItIsOnADrag) {
  Open();
  SetWindowPos(dialog->Hwnd(), HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE);
  Show();
  RECT before{};
  GetWindowRect(dialog->Hwnd(), &before);
  POINT from{before.left + 40, before.top + 60};
  DragWithMouse(from, POINT{from.x + 50, from.y + 30}, 4);
  RECT after{};
  GetWindowRect(dialog->Hwnd(), &after);
  EXPECT_EQ(before.left, after.left);
  EXPECT_EQ(before.top, after.top);
}

TEST_F(SkinDlgTest, TopLevelDialogClosesOnEscape) {
  Open();
  Show();
  HWND hwnd = dialog->Hwnd();
  HWND edit = GetDlgItem(hwnd, IDC_TEST_EDIT);
  SetFocus(edit);
  PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) fw::DispatchOne(message);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(SkinDlgTest, ChildStyleDialogIgnoresEscape) {
  fw::Wnd host;
  fw::CreateArgs args;
  args.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  args.width = 400;
  args.height = 300;
  ASSERT_TRUE(host.Create(args));
  TestSkinDlg child(skinPath, IDD_SKINDLG_CHILD, host.Hwnd());
  ASSERT_TRUE(child.CreateModeless());
  HWND edit = GetDlgItem(child.Hwnd(), IDC_TEST_EDIT);
  SetFocus(edit);
  PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) fw::DispatchOne(message);
  SendMessageW(child.Hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_TRUE(IsWindow(child.Hwnd()));
  EXPECT_EQ(host.Hwnd(), GetParent(child.Hwnd()));
}

TEST_F(SkinDlgTest, AddsSkinPicturesToImageListsAndLeavesTheSkinsCopyAlone) {
  Open();
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 1);
  EXPECT_EQ(-1, dialog->AddSkinImage(L"pic", nullptr));
  EXPECT_EQ(-1, dialog->AddSkinImage(L"nothing", list));
  EXPECT_EQ(-1, dialog->AddSkinImage(L"box", list)) << "a painted item is not a list picture";
  EXPECT_EQ(0, dialog->AddSkinImage(L"pic", list));
  EXPECT_EQ(1, dialog->AddSkinImage(L"pic", list));
  EXPECT_EQ(2, dialog->AddSkinImage(L"icon", list)) << "an icon file beside the skin";
  EXPECT_EQ(-1, dialog->AddSkinImage(L"lost", list));
  EXPECT_EQ(3, ImageList_GetImageCount(list));
  HBITMAP picture = dialog->Skin().GetItemBitmap(L"pic");
  ASSERT_NE(nullptr, picture);
  fw::ScopedCreatedDC dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject select(dc.Get(), picture);
  EXPECT_EQ(kMagenta, GetPixel(dc.Get(), 0, 0)) << "the masked add must not blacken the skin's own picture";
  EXPECT_EQ(kGreen, GetPixel(dc.Get(), 8, 8));
  ImageList_Destroy(list);
}

TEST_F(SkinDlgTest, ReloadingTakesAnotherFileWithoutTheBindHook) {
  Open();
  std::wstring green = folder.WriteText(L"green.xml", TestSkin(kGreen));
  dialog->ReloadSkin(green);
  EXPECT_EQ(green, dialog->SkinPath());
  EXPECT_EQ(1, dialog->bindCalls);
  const tagSkinItem* background = dialog->Skin().FindItem(L"bg");
  ASSERT_NE(nullptr, background);
  EXPECT_EQ(kGreen, background->colorbg);
  dialog->LoadSkin(L"", TRUE);
  EXPECT_EQ(2, dialog->bindCalls);
  EXPECT_EQ(kRed, PrintedPixel(dialog->Hwnd(), 5, 5)) << "a load with relayout paints the new skin at once";
}

TEST_F(SkinDlgTest, FadingAShownDialogKeepsItOpaqueThenFadesOnHideShowAndClose) {
  dialog->Skin().SetFadeStepMilliseconds(1);
  Open();
  Show();
  HWND hwnd = dialog->Hwnd();
  dialog->SetFade(TRUE);
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  // A layered window without an alpha is not drawn at all.
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags)) << "the shown dialog vanished";
  EXPECT_EQ(255, alpha);
  EXPECT_TRUE(flags & LWA_ALPHA);
  ShowWindow(hwnd, SW_HIDE);
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
  EXPECT_EQ(0, alpha) << "faded out on hiding";
  ShowWindow(hwnd, SW_SHOW);
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
  EXPECT_EQ(255, alpha) << "faded in on showing";
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
  EXPECT_EQ(0, alpha) << "faded out before the dialog manager's closing";
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); })) << "after the fade the dialog closes as any other";
}

class PlainSkinDlg : public CSkinDlg {
 public:
  PlainSkinDlg() : CSkinDlg(IDD_SKINDLG_TEST, nullptr) {}
  int buildCalls = 0;
  int bindCalls = 0;
  using CSkinDlg::m_strSkinFile;

 protected:
  void BuildSkinPath() override { ++buildCalls; }
  void BindSkinItems() override { ++bindCalls; }
};

TEST(SkinDlgLoad, WithoutAPathNothingIsLoadedAndTheBackgroundColourShows) {
  PlainSkinDlg dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  EXPECT_EQ(1, dialog.buildCalls) << "no file name: the hook is asked for the path";
  EXPECT_EQ(1, dialog.bindCalls) << "binding runs also when nothing was loaded";
  EXPECT_FALSE(dialog.Skin().IsLoaded());
  EXPECT_EQ(RGB(0xF0, 0xF0, 0xF0), PrintedPixel(dialog.Hwnd(), 3, 3));
}

// Binds and loads the edit through the exchange; notes what its start-up saw.
class ExchangingSkinDlg : public PlainSkinDlg {
 public:
  fw::Wnd edit;
  std::wstring text = L"载入的文字";
  bool boundAtPreInit = false;
  std::wstring shownAtPreInit;

 protected:
  void DoDataExchange(fw::DataExchange& exchange) override {
    exchange.Control(IDC_TEST_EDIT, edit);
    exchange.Text(IDC_TEST_EDIT, text);
  }
  void OnSkinPreInit() override {
    boundAtPreInit = edit.Hwnd() != nullptr;
    wchar_t shown[64] = {};
    GetDlgItemTextW(Hwnd(), IDC_TEST_EDIT, shown, 64);
    shownAtPreInit = shown;
  }
};

TEST(SkinDlgLoad, TheDataExchangeHasBoundAndLoadedTheControlsWhenTheDialogStartsUp) {
  ExchangingSkinDlg dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  EXPECT_TRUE(dialog.boundAtPreInit);
  EXPECT_EQ(L"载入的文字", dialog.shownAtPreInit);
}

TEST(SkinDlgLoad, ThemeAndFileNameGiveAPathUnderTheModuleFolder) {
  PlainSkinDlg dialog;
  dialog.m_strSkinFile = L"nofile.xml";
  ASSERT_TRUE(dialog.CreateModeless());
  dialog.LoadSkin(L"绿色", FALSE);
  EXPECT_EQ(0, dialog.buildCalls);
  EXPECT_EQ(L"绿色", dialog.SkinTheme());
  EXPECT_EQ(GetModuleDir(nullptr) + L"\\theme\\绿色\\nofile.xml", dialog.SkinPath());
}

class MenuSearch : public CSkinDlg {
 public:
  using CSkinDlg::FindPopupMenu;
};

TEST_F(SkinDlgTest, MeasuresTheItemsOfTheOwnerDrawnMenuItTracks) {
  Open();
  BCMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  ASSERT_TRUE(menu.AppendItem(L"打开网页", MF_STRING, 501));
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfoW(menu.GetSafeHmenu(), 501, FALSE, &info));
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, 501, 0, 0, info.dwItemData};
  auto send = [&] {
    measure.itemWidth = measure.itemHeight = 0;
    return SendMessageW(dialog->Hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  };
  EXPECT_EQ(0, send()) << "no menu tracked and none of its own";
  SendMessageW(dialog->Hwnd(), WM_INITMENU, reinterpret_cast<WPARAM>(menu.GetSafeHmenu()), 0);
  EXPECT_EQ(TRUE, send());
  EXPECT_GT(measure.itemHeight, 0u);
  EXPECT_GT(measure.itemWidth, 0u);
  SendMessageW(dialog->Hwnd(), WM_EXITMENULOOP, TRUE, 0);
  EXPECT_EQ(0, send()) << "the menu loop is over";
}

TEST(SkinDlgMenus, FindsThePopupHoldingAnItemAtAnyDepth) {
  HMENU root = CreatePopupMenu();
  HMENU middle = CreatePopupMenu();
  HMENU deep = CreatePopupMenu();
  AppendMenuW(deep, MF_STRING, 601, L"深");
  AppendMenuW(middle, MF_STRING, 501, L"中");
  AppendMenuW(middle, MF_POPUP, reinterpret_cast<UINT_PTR>(deep), L"更多");
  AppendMenuW(root, MF_STRING, 401, L"顶");
  AppendMenuW(root, MF_POPUP, reinterpret_cast<UINT_PTR>(middle), L"子菜单");
  EXPECT_EQ(root, MenuSearch::FindPopupMenu(root, 401));
  EXPECT_EQ(middle, MenuSearch::FindPopupMenu(root, 501));
  EXPECT_EQ(deep, MenuSearch::FindPopupMenu(root, 601));
  EXPECT_EQ(middle, MenuSearch::FindPopupMenu(root, reinterpret_cast<UINT_PTR>(deep))) << "a submenu by its handle";
  EXPECT_EQ(nullptr, MenuSearch::FindPopupMenu(root, 999));
  EXPECT_EQ(nullptr, MenuSearch::FindPopupMenu(nullptr, 401));
  DestroyMenu(root);
}

// A control that measures itself when its parent hands the message back.
class MeasuringControl : public fw::Wnd {
 protected:
  bool OnReflect(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
    if (message != WM_MEASUREITEM) return false;
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 33;
    result = TRUE;
    return true;
  }
};

TEST_F(SkinDlgTest, ControlsDeeperThanItsChildrenMeasureThemselves) {
  Open();
  HWND panel = CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 50, 50, dialog->Hwnd(), nullptr, nullptr, nullptr);
  HWND list = CreateWindowExW(0, L"ListBox", L"", WS_CHILD | LBS_OWNERDRAWFIXED, 0, 0, 40, 40, panel,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(777)), nullptr, nullptr);
  MeasuringControl control;
  ASSERT_TRUE(control.Subclass(list));
  MEASUREITEMSTRUCT measure{ODT_LISTBOX, 777, 0, 0, 0, 0};
  EXPECT_EQ(TRUE, SendMessageW(dialog->Hwnd(), WM_MEASUREITEM, 777, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_EQ(33u, measure.itemHeight);
}

}  // namespace

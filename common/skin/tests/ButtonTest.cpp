// The owner-drawn button in a real window: clicks, check state, sounds and
// the address through their seams, colours, styles and the setters' codes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BCMenu.h"
#include "ButtonST.h"
#include "MenuTestResources.h"
#include "SkinTestSupport.h"

namespace {

const int kButtonId = 31;

struct Played {
  std::wstring name;  // empty for an integer resource
  ULONG_PTR resourceId;
  HMODULE module;
  DWORD flags;
};
std::vector<Played> played;

BOOL WINAPI RecordSound(LPCWSTR sound, HMODULE module, DWORD flags) {
  bool number = IS_INTRESOURCE(sound);
  played.push_back(Played{number ? L"" : sound, number ? reinterpret_cast<ULONG_PTR>(sound) : 0, module, flags});
  return TRUE;
}

struct Opened {
  std::wstring verb, file;
  ULONG mask;
  int show;
};
std::vector<Opened> opened;

BOOL WINAPI RecordOpen(SHELLEXECUTEINFOW* info) {
  opened.push_back(Opened{info->lpVerb ? info->lpVerb : L"", info->lpFile ? info->lpFile : L"", info->fMask,
                          info->nShow});
  return TRUE;
}

const UINT kMenuOpening = WM_APP + 5;

class Parent : public fw::Wnd {
 public:
  std::vector<UINT> codes;
  std::vector<UINT> commands;  // WM_COMMAND without a control
  std::vector<std::pair<WPARAM, LPARAM>> openings;

 protected:
  bool OnCommand(UINT id, UINT code, HWND control) override {
    if (id == kButtonId) codes.push_back(code);
    if (!control) commands.push_back(id);
    return false;
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == kMenuOpening) openings.emplace_back(wParam, lParam);
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
};

// An 80 x 30 screen-compatible bitmap to paint into.
struct Dib {
  Dib() {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, 80, 30);
    old = SelectObject(dc, bitmap);
    ReleaseDC(nullptr, screen);
  }
  ~Dib() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    played.clear();
    opened.clear();
    CButtonST::playSound = &RecordSound;
    CButtonST::shellExecute = &RecordOpen;
    SetCursorPos(700, 700);  // away from the buttons: no hover unless a case asks for it
    ASSERT_TRUE(parent.Create(PopupArgs(60, 60, 300, 160)));
  }
  void TearDown() override {
    CButtonST::playSound = &::PlaySoundW;
    CButtonST::shellExecute = &::ShellExecuteExW;
  }
  HWND MakeButton(DWORD type, const wchar_t* text = L"Go") {
    return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | type, 20, 20, 80, 30,
                           parent.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), nullptr, nullptr);
  }
  int Clicks() const {
    int count = 0;
    for (UINT code : parent.codes) count += code == BN_CLICKED;
    return count;
  }

  Parent parent;
};

TEST_F(ButtonTest, SubclassingMakesItOwnerDrawnAndKeepsItsKind) {
  CButtonST push, check, radio, fallback;
  ASSERT_TRUE(push.SubclassButton(MakeButton(BS_DEFPUSHBUTTON)));
  ASSERT_TRUE(check.SubclassButton(MakeButton(BS_AUTOCHECKBOX)));
  ASSERT_TRUE(radio.SubclassButton(MakeButton(BS_RADIOBUTTON)));
  for (CButtonST* button : {&push, &check, &radio})
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongPtrW(button->Hwnd(), GWL_STYLE) & 0xF);
  EXPECT_TRUE(push.IsDefaultButton());
  EXPECT_FALSE(push.IsCheckBox() || push.IsRadio());
  EXPECT_EQ(CButtonST::ST_ALIGN_OVERLAP, push.GetImageAlignment());
  EXPECT_TRUE(check.IsCheckBox());
  EXPECT_EQ(CButtonST::ST_ALIGN_HORIZ, check.GetImageAlignment());
  EXPECT_TRUE(radio.IsRadio());
  EXPECT_FALSE(fallback.SubclassButton(nullptr));
  EXPECT_FALSE(push.SubclassButton(MakeButton(BS_PUSHBUTTON))) << "one window per object";
}

TEST_F(ButtonTest, ClickTakesFocusPlaysTheSoundAndReachesTheParent) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  button.SetSound(L"C:\\skin\\down.wav", nullptr, TRUE, TRUE);
  SendMessageW(button.Hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(1, Clicks());
  EXPECT_EQ(button.Hwnd(), GetFocus());
  EXPECT_TRUE(played.empty()) << "sounds are off until enabled";
  EXPECT_TRUE(opened.empty());

  button.EnableSound(TRUE);
  SendMessageW(button.Hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(2, Clicks());
  ASSERT_EQ(1u, played.size());
  EXPECT_EQ(L"C:\\skin\\down.wav", played[0].name);
  EXPECT_EQ(nullptr, played[0].module);
  EXPECT_EQ(0x22003u, played[0].flags) << "file name, asynchronous, no default, no wait";
  EXPECT_TRUE(opened.empty()) << "no address, no menu: nothing else happens";
}

TEST_F(ButtonTest, HandCursorAndNoBackgroundBrush) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  EXPECT_TRUE(SendMessageW(button.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button.Hwnd()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
  fw::WindowDC dc(button.Hwnd());
  LRESULT brush = SendMessageW(parent.Hwnd(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.Get()),
                               reinterpret_cast<LPARAM>(button.Hwnd()));
  EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), brush);
  EXPECT_EQ(CButtonST::BTNST_INVALIDRESOURCE, button.SetCursorResource(9999));
  EXPECT_FALSE(SendMessageW(button.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button.Hwnd()),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)))
      << "no cursor of its own: the default";
}

TEST_F(ButtonTest, SoundSlotsAndFlags) {
  CButtonST button;
  button.SetSound(L"hover.wav", nullptr, FALSE, FALSE);
  EXPECT_EQ(L"hover.wav", button.GetSoundFile(0));
  EXPECT_EQ(0x22002u, button.GetSoundFlags(0));
  HMODULE module = GetModuleHandleW(nullptr);
  button.SetSound(MAKEINTRESOURCEW(12), module, TRUE, TRUE);
  EXPECT_EQ(0x42007u, button.GetSoundFlags(1)) << "resource, asynchronous";
  EXPECT_EQ(module, button.GetSoundModule(1));
  EXPECT_EQ(L"", button.GetSoundFile(1));
  EXPECT_EQ(L"hover.wav", button.GetSoundFile(0)) << "the slots are separate";
  std::wstring longName = L"C:\\" + std::wstring(300, L'a') + L".wav";
  button.SetSound(longName.c_str(), nullptr, FALSE, TRUE);
  EXPECT_EQ(longName, button.GetSoundFile(0)) << "a long name is kept whole";
  button.SetSound(nullptr, nullptr, FALSE, TRUE);
  EXPECT_EQ(L"", button.GetSoundFile(0));
  EXPECT_EQ(0u, button.GetSoundFlags(0));
  EXPECT_EQ(L"", button.GetSoundFile(5));
}

TEST_F(ButtonTest, ResourceSoundIsPlayedFromItsModule) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  HMODULE module = GetModuleHandleW(nullptr);
  button.SetSound(MAKEINTRESOURCEW(12), module, TRUE, FALSE);
  button.EnableSound(TRUE);
  SendMessageW(button.Hwnd(), BM_CLICK, 0, 0);
  ASSERT_EQ(1u, played.size());
  EXPECT_EQ(12u, played[0].resourceId);
  EXPECT_EQ(module, played[0].module);
  EXPECT_EQ(0x42006u, played[0].flags);
}

TEST_F(ButtonTest, AddressOpensMaximisedWithoutErrorUi) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  std::wstring url = L"http://www.kids.example/" + std::wstring(400, L'x');
  button.SetLinkUrl(url.c_str());
  SendMessageW(button.Hwnd(), BM_CLICK, 0, 0);
  ASSERT_EQ(1u, opened.size());
  EXPECT_EQ(L"open", opened[0].verb);
  EXPECT_EQ(url, opened[0].file);
  EXPECT_EQ(static_cast<ULONG>(SEE_MASK_FLAG_NO_UI), opened[0].mask);
  EXPECT_EQ(SW_SHOWMAXIMIZED, opened[0].show);
  EXPECT_EQ(1, Clicks());
  button.SetLinkUrl(nullptr);
  SendMessageW(button.Hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(1u, opened.size());
}

TEST_F(ButtonTest, CheckBoxTogglesAndOpensNothing) {
  CButtonST box;
  ASSERT_TRUE(box.SubclassButton(MakeButton(BS_AUTOCHECKBOX)));
  box.SetLinkUrl(L"http://www.kids.example/");
  SendMessageW(box.Hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(1, box.GetCheckState());
  EXPECT_EQ(BST_CHECKED, SendMessageW(box.Hwnd(), BM_GETCHECK, 0, 0));
  SendMessageW(box.Hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(0, box.GetCheckState());
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(2, Clicks());
  SendMessageW(box.Hwnd(), BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(1, box.GetCheckState());
  SendMessageW(box.Hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(0, box.GetCheckState());
  box.SetCheckState(7);
  EXPECT_EQ(1, box.GetCheckState()) << "any non-zero state is checked";

  CButtonST push;
  ASSERT_TRUE(push.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  push.SetCheckState(1);
  EXPECT_EQ(0, push.GetCheckState()) << "a push button has no check state";
}

TEST_F(ButtonTest, DefaultStyleFollowsBmSetStyle) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  EXPECT_FALSE(button.IsDefaultButton());
  EXPECT_TRUE(SendMessageW(button.Hwnd(), WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);
  SendMessageW(button.Hwnd(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_TRUE(button.IsDefaultButton());
  EXPECT_TRUE(SendMessageW(button.Hwnd(), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(BS_OWNERDRAW, GetWindowLongPtrW(button.Hwnd(), GWL_STYLE) & 0xF) << "still owner-drawn";
  SendMessageW(button.Hwnd(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  EXPECT_FALSE(button.IsDefaultButton());
}

TEST_F(ButtonTest, SystemColourChangeResetsCustomColours) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  for (BYTE i = 0; i < CButtonST::BTNST_MAX_COLORS; ++i) button.SetColor(i, RGB(1, 2, i));
  SendMessageW(button.Hwnd(), WM_SYSCOLORCHANGE, 0, 0);
  for (BYTE i = 0; i < CButtonST::BTNST_MAX_COLORS; ++i) {
    COLORREF colour = 0;
    ASSERT_EQ(0, button.GetColor(i, &colour));
    EXPECT_EQ(GetSysColor(i % 2 ? COLOR_BTNTEXT : COLOR_BTNFACE), colour) << "colour " << int(i);
  }
}

TEST_F(ButtonTest, BadIndexAlignmentShadeAndStyleAreRefused) {
  CButtonST button;
  button.SetColor(CButtonST::BTNST_COLOR_BK_IN, RGB(250, 100, 10));
  COLORREF colour = 0;
  EXPECT_EQ(CButtonST::BTNST_INVALIDINDEX, button.SetColor(6, RGB(1, 1, 1)));
  EXPECT_EQ(CButtonST::BTNST_INVALIDINDEX, button.GetColor(6, &colour));
  EXPECT_EQ(CButtonST::BTNST_INVALIDINDEX, button.ShiftColor(9, 10));
  EXPECT_EQ(CButtonST::BTNST_BADPARAM, button.ShiftColor(0, 256));
  EXPECT_EQ(CButtonST::BTNST_BADPARAM, button.ShiftColor(0, -256));
  EXPECT_EQ(CButtonST::BTNST_INVALIDALIGN, button.SetImageAlignment(4));
  EXPECT_EQ(CButtonST::BTNST_INVALIDPRESSEDSTYLE, button.SetPressedOffsetStyle(2));
  EXPECT_EQ(CButtonST::BTNST_BADPARAM, button.CaptureBackground(nullptr));
  EXPECT_EQ(CButtonST::ST_ALIGN_OVERLAP, button.GetImageAlignment());
  button.GetColor(CButtonST::BTNST_COLOR_BK_IN, &colour);
  EXPECT_EQ(RGB(250, 100, 10), colour) << "refusals change nothing";

  // One amount for all channels, shrunk to keep each inside 0..255.
  EXPECT_EQ(0, button.ShiftColor(CButtonST::BTNST_COLOR_BK_IN, 20));
  button.GetColor(CButtonST::BTNST_COLOR_BK_IN, &colour);
  EXPECT_EQ(RGB(255, 105, 15), colour);
  EXPECT_EQ(0, button.ShiftColor(CButtonST::BTNST_COLOR_BK_IN, -30));
  button.GetColor(CButtonST::BTNST_COLOR_BK_IN, &colour);
  EXPECT_EQ(RGB(240, 90, 0), colour);
}

TEST_F(ButtonTest, CaptureBackgroundNeedsTransparentMode) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  fw::WindowDC dc(parent.Hwnd());
  EXPECT_EQ(CButtonST::BTNST_BADPARAM, button.CaptureBackground(dc));
  button.SetTransparentBackground(FALSE);
  EXPECT_EQ(0, button.CaptureBackground(dc));
}

TEST_F(ButtonTest, FitToImageResizesWithoutMoving) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  HBITMAP in = TwoToneBitmap(24, 18, RGB(255, 0, 0));
  ASSERT_EQ(0, button.SetBitmaps(in, RGB(255, 0, 255)));
  RECT before = button.WindowRect();
  button.FitToImage();
  RECT after = button.WindowRect();
  EXPECT_EQ(before.left, after.left);
  EXPECT_EQ(before.top, after.top);
  EXPECT_EQ(24, after.right - after.left);
  EXPECT_EQ(18, after.bottom - after.top);
  DeleteObject(in);
}

TEST_F(ButtonTest, DisablingAHoveredFlatButtonCancelsHover) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  POINT point{5, 5};
  ClientToScreen(button.Hwnd(), &point);
  SetCursorPos(point.x, point.y);
  SendMessageW(button.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(button.IsHovered());
  EnableWindow(button.Hwnd(), FALSE);
  EXPECT_FALSE(button.IsHovered());
  EnableWindow(button.Hwnd(), TRUE);
  SendMessageW(button.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(button.IsHovered());
  SendMessageW(button.Hwnd(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(button.IsHovered());
}

TEST_F(ButtonTest, AButtonPressedFromOutsideGetsNoHover) {
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  SendMessageW(button.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_FALSE(button.IsHovered());
}

TEST_F(ButtonTest, IconsOfTwiceTheirHotSpotWithAGrayOutCopy) {
  HBITMAP colour = TwoToneBitmap(32, 32, RGB(200, 0, 0));
  HBITMAP mask = CreateBitmap(32, 32, 1, 1, nullptr);
  ICONINFO info{TRUE, 16, 16, mask, colour};
  CButtonST button;
  ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
  ASSERT_EQ(0, button.SetIcon(CreateIconIndirect(&info), CButtonST::kGrayscaleIcon));
  EXPECT_EQ(32, button.GetImageSize(0, true).cx);
  ASSERT_NE(nullptr, button.GetIcon(1));
  EXPECT_EQ(32, button.GetImageSize(1, true).cy);
  HICON kept = button.GetIcon(0);
  ASSERT_EQ(0, button.SetBitmaps(colour, RGB(255, 0, 255)));
  EXPECT_EQ(nullptr, button.GetIcon(0)) << "setting bitmaps frees the icons";
  ICONINFO gone{};
  EXPECT_FALSE(GetIconInfo(kept, &gone)) << "and destroys them";
  DeleteObject(colour);
  DeleteObject(mask);
}

// ---------------------------------------------------------------------------
// The drop-down menu

// What a timer saw while the menu was open, and the keys it sent to it.
struct MenuVisit {
  CButtonST* button = nullptr;
  std::vector<WPARAM> keys;
  bool seen = false;
  bool drawnPressed = false;
  int firstItemHeight = 0;
  int measuredHeight = -1;
};
MenuVisit visit;

void CALLBACK WhileMenuIsOpen(HWND window, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(window, id);
  visit.seen = true;
  // Pressed while the menu is up: the background is the "in" colour.
  Dib dib;
  DRAWITEMSTRUCT draw{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, 0, visit.button->Hwnd(), dib.dc, RECT{0, 0, 80, 30}, 0};
  visit.button->DrawItem(&draw);
  visit.drawnPressed = GetPixel(dib.dc, 40, 2) == RGB(0, 255, 0);
  HMENU popup = visit.button->Menu()->GetSubMenu(0)->GetSafeHmenu();
  RECT item{};
  if (GetMenuItemRect(nullptr, popup, 0, &item)) visit.firstItemHeight = item.bottom - item.top;
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA | MIIM_ID;
  GetMenuItemInfoW(popup, 0, TRUE, &info);
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
  if (visit.button->Menu()->MeasureItem(&measure)) visit.measuredHeight = static_cast<int>(measure.itemHeight);
  if (visit.keys.empty()) {
    EndMenu();
    return;
  }
  for (WPARAM key : visit.keys) PostMessageW(menu, WM_KEYDOWN, key, 0);
}

class ButtonMenuTest : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    visit = MenuVisit{};
    visit.button = &button;
    ASSERT_TRUE(button.SubclassButton(MakeButton(BS_PUSHBUTTON)));
    button.SetColor(CButtonST::BTNST_COLOR_BK_IN, RGB(0, 255, 0));
    button.SetColor(CButtonST::BTNST_COLOR_BK_OUT, RGB(0, 0, 255));
  }
  void ClickWithMenu(std::vector<WPARAM> keys) {
    visit.keys = std::move(keys);
    SetTimer(parent.Hwnd(), 9, 50, WhileMenuIsOpen);
    SendMessageW(button.Hwnd(), BM_CLICK, 0, 0);
    KillTimer(parent.Hwnd(), 9);
    PumpFor(100);
  }

  CButtonST button;
};

TEST_F(ButtonMenuTest, ChosenCommandIsPostedToTheOwner) {
  ASSERT_EQ(0, button.AttachMenu(IDR_TEST_MENU, parent.Hwnd(), TRUE, 0, 0, 0, 0));
  ASSERT_TRUE(button.HasMenu());
  button.SetMenuNotify(parent.Hwnd(), kMenuOpening, 77);
  button.SetLinkUrl(L"http://www.kids.example/");
  ClickWithMenu({VK_DOWN, VK_RETURN});
  ASSERT_TRUE(visit.seen) << "the menu opened";
  EXPECT_TRUE(visit.drawnPressed) << "the button is drawn pressed while its menu is open";
  EXPECT_EQ(visit.measuredHeight, visit.firstItemHeight) << "the button had its menu measure the items";
  ASSERT_EQ(1u, parent.commands.size());
  EXPECT_EQ(static_cast<UINT>(ID_FILE_OPEN), parent.commands[0]);
  ASSERT_EQ(1u, parent.openings.size());
  EXPECT_EQ(reinterpret_cast<WPARAM>(button.Menu()->GetSubMenu(0)->GetSafeHmenu()), parent.openings[0].first);
  EXPECT_EQ(77, parent.openings[0].second);
  EXPECT_TRUE(opened.empty()) << "the menu comes before the address";
  EXPECT_EQ(1, Clicks()) << "the parent hears the click too";

  // Closed again, the button is drawn as before.
  Dib dib;
  DRAWITEMSTRUCT draw{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, 0, button.Hwnd(), dib.dc, RECT{0, 0, 80, 30}, 0};
  button.DrawItem(&draw);
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(dib.dc, 40, 2));
}

TEST_F(ButtonMenuTest, CancelledMenuPostsNothing) {
  ASSERT_EQ(0, button.AttachMenu(IDR_TEST_MENU, parent.Hwnd(), FALSE, 0, 0, 0, 0));
  ClickWithMenu({});
  ASSERT_TRUE(visit.seen);
  EXPECT_TRUE(parent.commands.empty());
}

TEST_F(ButtonMenuTest, AttachingToolbarImagesAndFailures) {
  EXPECT_EQ(0, button.AttachMenu(IDR_TEST_MENU, parent.Hwnd(), TRUE, IDR_MENU_TOOLBAR, 16, 15, RGB(192, 192, 192)));
  HMENU first = button.Menu()->GetSafeHmenu();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(CButtonST::BTNST_INVALIDRESOURCE,
            button.AttachMenu(IDR_TEST_MENU, parent.Hwnd(), TRUE, 9999, 16, 15, RGB(192, 192, 192)));
  EXPECT_FALSE(button.HasMenu()) << "a failed toolbar leaves no menu";
  EXPECT_FALSE(IsMenu(first)) << "the earlier menu was destroyed";
  EXPECT_EQ(CButtonST::BTNST_INVALIDRESOURCE, button.AttachMenu(9998, parent.Hwnd(), TRUE, 0, 0, 0, 0));
  EXPECT_FALSE(button.HasMenu());
  // Without a menu a click opens the address instead.
  button.SetLinkUrl(L"http://www.kids.example/");
  SendMessageW(button.Hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(1u, opened.size());
}

TEST_F(ButtonMenuTest, MnemonicsOfItsMenuOnly) {
  ASSERT_EQ(0, button.AttachMenu(IDR_TEST_MENU, parent.Hwnd(), TRUE, 0, 0, 0, 0));
  HMENU popup = button.Menu()->GetSubMenu(0)->GetSafeHmenu();
  LRESULT found = SendMessageW(button.Hwnd(), WM_MENUCHAR, MAKEWPARAM(L'x', MF_POPUP), reinterpret_cast<LPARAM>(popup));
  EXPECT_EQ(MNC_EXECUTE, HIWORD(found));
  EXPECT_EQ(static_cast<UINT>(ID_FILE_EXIT), GetMenuItemID(popup, LOWORD(found)));
  HMENU plain = CreatePopupMenu();
  AppendMenuW(plain, MF_STRING, 1, L"&Xylophone");
  EXPECT_EQ(0, HIWORD(SendMessageW(button.Hwnd(), WM_MENUCHAR, MAKEWPARAM(L'x', MF_POPUP),
                                   reinterpret_cast<LPARAM>(plain))))
      << "a foreign menu gets the default answer";
  DestroyMenu(plain);
}

TEST_F(ButtonMenuTest, DestroyingTheButtonDestroysItsMenu) {
  HMENU menu = nullptr;
  {
    CButtonST other;
    ASSERT_TRUE(other.SubclassButton(MakeButton(BS_PUSHBUTTON)));
    ASSERT_EQ(0, other.AttachMenu(IDR_TEST_MENU, parent.Hwnd(), TRUE, 0, 0, 0, 0));
    menu = other.Menu()->GetSafeHmenu();
    EXPECT_TRUE(IsMenu(menu));
  }
  EXPECT_FALSE(IsMenu(menu));
}

}  // namespace

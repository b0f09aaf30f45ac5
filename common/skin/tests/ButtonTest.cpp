// The owner-drawn button in a real window: clicks, check state, sounds and
// the address through their seams, colours, styles and the setters' codes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ButtonST.h"
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

class Parent : public fw::Wnd {
 public:
  std::vector<UINT> codes;

 protected:
  bool OnCommand(UINT id, UINT code, HWND) override {
    if (id == kButtonId) codes.push_back(code);
    return false;
  }
};

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    played.clear();
    opened.clear();
    CButtonST::playSound = &RecordSound;
    CButtonST::shellExecute = &RecordOpen;
    fw::CreateArgs args;
    args.style = WS_POPUP | WS_VISIBLE;
    args.x = 60;
    args.y = 60;
    args.width = 300;
    args.height = 160;
    ASSERT_TRUE(parent.Create(args));
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

TEST_F(ButtonTest, CaptionFontFlagsOnlyAdd) {
  CButtonST button;
  button.SetCaptionFont(L"Tahoma", 16, CButtonST::BTNST_FONT_BOLD | CButtonST::BTNST_FONT_RIGHT);
  EXPECT_EQ(static_cast<UINT>(DT_RIGHT), button.GetCaptionAlignment());
  button.SetCaptionFont(L"", 0, CButtonST::BTNST_FONT_CENTER | CButtonST::BTNST_FONT_RIGHT);
  EXPECT_EQ(static_cast<UINT>(DT_CENTER), button.GetCaptionAlignment());
  button.SetCaptionFont(L"", 0, 0);
  EXPECT_EQ(static_cast<UINT>(DT_LEFT), button.GetCaptionAlignment());
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

}  // namespace

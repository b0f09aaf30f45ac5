#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ComboBoxExEx.h"
#include "MessageLoop.h"
#include "SkinTestSupport.h"

namespace {

const int kComboId = 66;

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) fw::DispatchOne(message);
}

class ComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Create(PopupArgs(0, 0, 400, 200)));
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL |
                                     CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                                 10, 10, 300, 150, parent.Hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboId)), nullptr, nullptr);
    ASSERT_NE(nullptr, combo);
    ASSERT_TRUE(box.SubclassCombo(combo));
    for (const wchar_t* entry : {L"http://www.qq.com/", L"http://News.Sina.com.cn/", L"http://www.kids.example/"})
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_NE(nullptr, edit);
    SetFocus(edit);
    // The open list follows the pointer: left over it by an earlier program,
    // the pointer would choose the entry beneath it.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  }

  // Keys as the message loop delivers them: pre-translated, then typed.
  void Key(WPARAM key, wchar_t character = 0) {
    MSG down{edit, WM_KEYDOWN, key, 1, 0, {}};
    if (!fw::PreTranslate(down)) SendMessageW(edit, WM_KEYDOWN, key, 1);
    if (character) SendMessageW(edit, WM_CHAR, character, 1);
    Pump();
  }
  void Type(const std::wstring& text) {
    for (wchar_t c : text) Key(VkKeyScanW(c) & 0xFF, c);
  }
  DWORD Selection() { return static_cast<DWORD>(SendMessageW(box.Hwnd(), CB_GETEDITSEL, 0, 0)); }

  fw::Wnd parent;
  CComboBoxExEx box;
  HWND edit = nullptr;
};

TEST_F(ComboTest, TypingCompletesInlineFromTheFirstMatchAndKeepsTheTypedPrefix) {
  Type(L"kid");
  EXPECT_EQ(L"kid", box.TypedText());
  EXPECT_EQ(2, box.CompletedIndex());
  EXPECT_EQ(L"kids.example/", box.GetText()) << "the rest of the entry after the found part";
  EXPECT_EQ(3u, LOWORD(Selection()));
  EXPECT_EQ(13u, HIWORD(Selection()));
}

TEST_F(ComboTest, SeveralMatchesTakeTheFirstInListOrder) {
  Type(L"h");
  EXPECT_EQ(0, box.CompletedIndex());
  EXPECT_EQ(L"http://www.qq.com/", box.GetText());
  Type(L"ttp://n");
  EXPECT_EQ(1, box.CompletedIndex());
  EXPECT_EQ(L"http://news.sina.com.cn/", box.GetText()) << "the entry's rest in lower case";
}

TEST_F(ComboTest, UnknownTextStaysAsTypedAndBackspaceDoesNotCompleteAgain) {
  Type(L"zzz");
  EXPECT_EQ(-1, box.CompletedIndex());
  EXPECT_EQ(L"zzz", box.GetText());
  SetWindowTextW(box.Hwnd(), L"");
  Type(L"qq");
  ASSERT_EQ(0, box.CompletedIndex());
  Key(VK_BACK, L'\b');
  EXPECT_FALSE(box.AutoCompleteOn());
  EXPECT_EQ(L"qq", box.GetText()) << "backspace removed the completed tail and nothing came back";
  Key(VkKeyScanW(L'.') & 0xFF, L'.');
  EXPECT_TRUE(box.AutoCompleteOn());
}

TEST_F(ComboTest, ButtonIsPressedByAClickAndReleasedWhenTheListCloses) {
  HDC screen = GetDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(screen, 16, 12);
  ReleaseDC(nullptr, screen);
  box.SetBitmaps(picture, picture, picture);
  DeleteObject(picture);  // the box keeps its own copies
  InvalidateRect(box.Hwnd(), nullptr, TRUE);
  UpdateWindow(box.Hwnd());
  RECT button = box.ButtonRect();
  ASSERT_GT(button.right, button.left);
  SendMessageW(box.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.left + 3, 5));
  EXPECT_TRUE(box.IsPressed());
  SendMessageW(box.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(button.left + 3, 5));
  SendMessageW(box.Hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageW(parent.Hwnd(), WM_COMMAND, MAKEWPARAM(kComboId, CBN_CLOSEUP), reinterpret_cast<LPARAM>(box.Hwnd()));
  EXPECT_FALSE(box.IsPressed());
}

TEST_F(ComboTest, EditFieldColours) {
  box.SetColors(RGB(10, 20, 30), RGB(200, 210, 220), 2);
  HDC dc = GetDC(edit);
  LRESULT brush = SendMessageW(box.Hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
  EXPECT_NE(0, brush);
  EXPECT_EQ(RGB(200, 210, 220), GetBkColor(dc));
  EXPECT_EQ(static_cast<COLORREF>(0x3C3C3C), GetTextColor(dc));
  EnableWindow(box.Hwnd(), FALSE);
  LRESULT disabled = SendMessageW(box.Hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
  EXPECT_NE(brush, disabled);
  EXPECT_EQ(static_cast<COLORREF>(0xF0F0F0), GetBkColor(dc));
  ReleaseDC(edit, dc);
}

}  // namespace

namespace {

TEST_F(ComboTest, ChoosingFromTheOpenListPutsTheEntryInTheBox) {
  SendMessageW(box.Hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  ASSERT_TRUE(SendMessageW(box.Hwnd(), CB_GETDROPPEDSTATE, 0, 0));
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(1, SendMessageW(box.Hwnd(), CB_GETCURSEL, 0, 0));
  EXPECT_EQ(L"http://News.Sina.com.cn/", box.GetText());
  SendMessageW(box.Hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
  Pump();
  EXPECT_EQ(L"http://News.Sina.com.cn/", box.GetText()) << "closing the list keeps the choice";
  EXPECT_FALSE(box.IsPressed());
}

}  // namespace

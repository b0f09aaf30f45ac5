#include <windows.h>

#include <gtest/gtest.h>

#include "BitmapSlider.h"
#include "ButtonST.h"
#include "ComboBoxExEx.h"
#include "DataExchange.h"
#include "HyperLink.h"
#include "SkinTestSupport.h"

namespace {

enum { kButtonId = 11, kLinkId, kComboId, kSliderId, kCreatedComboId };

// A control as a dialog template makes it: the class's plain styles only.
HWND MakeChild(HWND parent, const wchar_t* className, DWORD style, int id, int x, int width, int height) {
  return ::CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, x, 10, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)); }

bool ListIsOwnerDrawn(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  return ::GetComboBoxInfo(combo, &info) && (StyleOf(info.hwndList) & LBS_OWNERDRAWFIXED);
}

// Each control bound the way a dialog's data exchange binds it (plain
// Subclass by id) or created by Create gets its own set-up.
TEST(ControlBinding, ControlsBoundByIdOrCreatedAreSetUpAsTheirOwnBindingWould) {
  fw::Wnd parent;
  ASSERT_TRUE(parent.Create(PopupArgs(0, 0, 600, 200)));
  MakeChild(parent.Hwnd(), L"BUTTON", BS_AUTOCHECKBOX, kButtonId, 10, 60, 20);
  MakeChild(parent.Hwnd(), L"STATIC", 0, kLinkId, 80, 150, 20);
  HWND plainCombo = MakeChild(parent.Hwnd(), L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL, kComboId, 240, 150, 120);
  MakeChild(parent.Hwnd(), L"STATIC", 0, kSliderId, 400, 10, 10);
  fw::ScopedFont font(::CreateFontW(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  ::SendMessageW(plainCombo, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  for (const wchar_t* entry : {L"http://a.cn/", L"http://b.cn/"})
    ::SendMessageW(plainCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  ::SendMessageW(plainCombo, CB_SETCURSEL, 1, 0);
  RECT plainList{};
  ::SendMessageW(plainCombo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&plainList));

  CButtonST button;
  CHyperLink link;
  link.SetURL(L"http://家长.cn/");
  CComboBoxExEx box;
  CBitmapSlider slider;
  fw::DataExchange exchange(parent.Hwnd(), false);
  exchange.Control(kButtonId, button);
  exchange.Control(kLinkId, link);
  exchange.Control(kComboId, box);
  exchange.Control(kSliderId, slider);
  ASSERT_FALSE(exchange.Failed());

  // The button: owner-drawn, and still a check box that a click toggles.
  EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), StyleOf(button.Hwnd()) & 0xF);
  ::SendMessageW(button.Hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(1, button.GetCheckState());

  // The link: notify style, its URL as text, underlined font, tooltip.
  EXPECT_TRUE(StyleOf(link.Hwnd()) & SS_NOTIFY);
  EXPECT_EQ(L"http://家长.cn/", link.GetText());
  LOGFONTW linkFont{};
  ::GetObjectW(reinterpret_cast<HFONT>(link.Send(WM_GETFONT)), sizeof(linkFont), &linkFont);
  EXPECT_TRUE(linkFont.lfUnderline);
  EXPECT_NE(nullptr, link.ToolTip());

  // The address box: made again owner-drawn in the same place with its
  // entries, selection and font; items as high as the font.
  EXPECT_EQ(box.Hwnd(), ::GetDlgItem(parent.Hwnd(), kComboId));
  EXPECT_FALSE(::IsWindow(plainCombo));
  EXPECT_EQ(CComboBoxExEx::kOwnStyles, StyleOf(box.Hwnd()) & CComboBoxExEx::kOwnStyles);
  EXPECT_TRUE(ListIsOwnerDrawn(box.Hwnd()));
  EXPECT_EQ(2, box.Send(CB_GETCOUNT));
  EXPECT_EQ(1, box.Send(CB_GETCURSEL));
  EXPECT_EQ(15, box.Send(CB_GETITEMHEIGHT, 0));
  RECT list{};
  box.Send(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
  EXPECT_EQ(plainList.left, list.left);
  EXPECT_EQ(plainList.top, list.top);
  EXPECT_EQ(plainList.right, list.right);
  EXPECT_NEAR(plainList.bottom, list.bottom, 15) << "its list as long, to a whole item";
  fw::ScopedFont larger(::CreateFontW(-19, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  box.Send(WM_SETFONT, reinterpret_cast<WPARAM>(larger.Get()), FALSE);
  EXPECT_EQ(19, box.Send(CB_GETITEMHEIGHT, 0)) << "the items follow a new font";

  // The slider: a static without SS_NOTIFY would be transparent to the mouse.
  HBITMAP channel = TwoToneBitmap(100, 20, RGB(0, 0, 255));
  ASSERT_TRUE(slider.SetBitmapChannel(channel));
  ::DeleteObject(channel);
  RECT bounds = slider.WindowRect();
  EXPECT_EQ(HTCLIENT, slider.Send(WM_NCHITTEST, 0, MAKELPARAM(bounds.left + 50, bounds.top + 10)));

  // Created rather than bound: the address box asks for its styles itself,
  // so the window made is the one kept.
  struct WatchedBox : CComboBoxExEx {
    HWND first = nullptr;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
      if (!first) first = Hwnd();
      return CComboBoxExEx::OnMessage(message, wParam, lParam, result);
    }
  } created;
  fw::CreateArgs args;
  args.parent = parent.Hwnd();
  args.className = L"COMBOBOX";
  args.style = WS_CHILD | WS_VISIBLE | CBS_DROPDOWN;
  args.x = 240;
  args.y = 60;
  args.width = 150;
  args.height = 100;
  args.idOrMenu = kCreatedComboId;
  ASSERT_TRUE(created.Create(args));
  EXPECT_TRUE(ListIsOwnerDrawn(created.Hwnd()));
  EXPECT_EQ(created.first, created.Hwnd());
}

}  // namespace

// Edit and static controls colour themselves through the reflected
// control-colour message of a real parent window.
#include <gtest/gtest.h>
#include <windows.h>

#include "EditEx.h"
#include "Handles.h"
#include "SkinPsdEdit.h"
#include "SkinTestSupport.h"
#include "StaticEx.h"
#include "Wnd.h"

namespace {

class Parent : public fw::Wnd {};

struct EditStatic : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(parent.Create(PopupArgs(40, 40, 300, 200)));
    memoryDc = ::CreateCompatibleDC(nullptr);
  }
  void TearDown() override { ::DeleteDC(memoryDc); }

  HWND MakeChild(const wchar_t* className, DWORD style, int id, DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, className, L"text", WS_CHILD | WS_VISIBLE | style, 20, 20 + id * 40, 200, 24,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  COLORREF BrushColor(LRESULT answer) {
    LOGBRUSH logBrush{};
    ::GetObjectW(reinterpret_cast<HBRUSH>(answer), sizeof(logBrush), &logBrush);
    return logBrush.lbColor;
  }

  Parent parent;
  HDC memoryDc = nullptr;
};

TEST_F(EditStatic, EditAnswersItsColoursEnabledAndDisabled) {
  CEditEx edit;
  ASSERT_TRUE(edit.Subclass(MakeChild(L"EDIT", 0, 1)));
  edit.SetTextColor(RGB(200, 10, 20));
  edit.SetBkColor(RGB(10, 20, 230));
  LRESULT answer = parent.Send(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(memoryDc), reinterpret_cast<LPARAM>(edit.Hwnd()));
  ASSERT_NE(answer, 0);
  EXPECT_EQ(BrushColor(answer), RGB(10, 20, 230));
  EXPECT_EQ(::GetTextColor(memoryDc), RGB(200, 10, 20));
  EXPECT_EQ(::GetBkColor(memoryDc), RGB(10, 20, 230));

  ::EnableWindow(edit, FALSE);
  answer = parent.Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memoryDc), reinterpret_cast<LPARAM>(edit.Hwnd()));
  EXPECT_EQ(BrushColor(answer), CEditEx::kDisabledBkColor);
  EXPECT_EQ(::GetBkColor(memoryDc), CEditEx::kDisabledBkColor);

  // A DC without a handle gets no brush.
  EXPECT_EQ(parent.Send(WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(edit.Hwnd())), 0);
}

TEST_F(EditStatic, EditFrameIsGreenOutsideTheBackgroundColour) {
  CEditEx edit;
  // The sunken edge is two pixels wide, room for both frame lines.
  ASSERT_TRUE(edit.Subclass(MakeChild(L"EDIT", 0, 1, WS_EX_CLIENTEDGE)));
  edit.SetBkColor(RGB(250, 0, 0));
  ::UpdateWindow(parent);
  MSG pending;
  while (::PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&pending);
  edit.DrawBorder();
  HDC windowDc = ::GetWindowDC(edit);
  COLORREF outer = ::GetPixel(windowDc, 0, 8);
  COLORREF inner = ::GetPixel(windowDc, 1, 8);
  ::ReleaseDC(edit, windowDc);
  EXPECT_EQ(outer, CEditEx::kFrameColor);
  EXPECT_EQ(inner, RGB(250, 0, 0));
}

TEST_F(EditStatic, FrameIsLeftAloneWhileThePointerRestsAndRedrawnOnLeave) {
  CEditEx edit;
  ASSERT_TRUE(edit.Subclass(MakeChild(L"EDIT", 0, 1, WS_EX_CLIENTEDGE)));
  MSG pending;
  while (::PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&pending);
  HDC windowDc = ::GetWindowDC(edit);
  const COLORREF marker = RGB(1, 2, 3);
  edit.Send(WM_MOUSEHOVER);
  ::SetPixel(windowDc, 0, 8, marker);
  edit.DrawBorder();
  EXPECT_EQ(::GetPixel(windowDc, 0, 8), marker);
  edit.Send(WM_MOUSELEAVE);
  EXPECT_EQ(::GetPixel(windowDc, 0, 8), CEditEx::kFrameColor);
  ::ReleaseDC(edit, windowDc);
}

TEST_F(EditStatic, EnterIsSwallowedAndPasswordRefusesMouseAndCtrlV) {
  CSkinPsdEdit edit;
  ASSERT_TRUE(edit.Subclass(MakeChild(L"EDIT", ES_PASSWORD, 1)));
  MSG enter{edit, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(edit.PreTranslateMessage(enter));
  MSG rightButton{edit, WM_RBUTTONDOWN, 0, 0, 0, {}};
  EXPECT_TRUE(edit.PreTranslateMessage(rightButton));
  MSG doubleClick{edit, WM_LBUTTONDBLCLK, 0, 0, 0, {}};
  EXPECT_TRUE(edit.PreTranslateMessage(doubleClick));

  BYTE keys[256]{};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  MSG plainV{edit, WM_KEYDOWN, 0x56, 0, 0, {}};
  EXPECT_FALSE(edit.PreTranslateMessage(plainV));
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_TRUE(edit.PreTranslateMessage(plainV));
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
}

TEST_F(EditStatic, StaticIsTransparent) {
  CStaticEx label;
  ASSERT_TRUE(label.Subclass(MakeChild(L"STATIC", 0, 2)));
  ::SetBkMode(memoryDc, OPAQUE);
  LRESULT answer = parent.Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memoryDc), reinterpret_cast<LPARAM>(label.Hwnd()));
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(answer), ::GetStockObject(NULL_BRUSH));
  EXPECT_EQ(::GetBkMode(memoryDc), TRANSPARENT);
}

}  // namespace

namespace {

// A parent that paints its whole client area one colour.
class RedParent : public fw::Wnd {
 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_ERASEBKGND) {
      RECT client = ClientRect();
      fw::ScopedBrush red(::CreateSolidBrush(RGB(255, 0, 0)));
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, red.Get());
      result = 1;
      return true;
    }
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
};

TEST(StaticExPixels, TransparentStaticShowsItsParentsBackground) {
  RedParent parent;
  ASSERT_TRUE(parent.Create(PopupArgs(60, 60, 200, 100)));
  CStaticEx label;
  ASSERT_TRUE(label.Subclass(::CreateWindowExW(0, L"STATIC", L"i", WS_CHILD | WS_VISIBLE, 10, 10, 150, 40, parent.Hwnd(),
                                               nullptr, nullptr, nullptr)));
  ::RedrawWindow(parent.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  HDC dc = ::GetDC(label.Hwnd());
  COLORREF seen = ::GetPixel(dc, 120, 30);
  ::ReleaseDC(label.Hwnd(), dc);
  EXPECT_EQ(RGB(255, 0, 0), seen) << "the label paints no background of its own";
}

}  // namespace

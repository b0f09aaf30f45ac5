#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Dialog.h"
#include "FrameworkTestResources.h"
#include "GdiObjectCount.h"
#include "Handles.h"
#include "Wnd.h"

namespace {


class Counter : public fw::Wnd {
 public:
  int paints = 0;
  int finals = 0;
  int clicks = 0;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_PAINT) {
      fw::PaintDC dc(Hwnd());
      ++paints;
      return true;
    }
    if (message == WM_LBUTTONDOWN) {
      ++clicks;
      return true;
    }
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
  void OnFinalMessage() override { ++finals; }
};

TEST(Wnd, CreatedWindowIsMappedUntilItIsDestroyed) {
  Counter window;
  fw::CreateArgs args;
  args.title = L"窗口";
  args.style = WS_POPUP | WS_VISIBLE;
  args.x = 10;
  args.y = 10;
  args.width = 100;
  args.height = 80;
  ASSERT_TRUE(window.Create(args));
  HWND hwnd = window.Hwnd();
  EXPECT_EQ(&window, fw::Wnd::FromHandle(hwnd));
  EXPECT_EQ(L"窗口", window.GetText());
  ::UpdateWindow(hwnd);
  EXPECT_GE(window.paints, 1);
  window.Destroy();
  EXPECT_EQ(nullptr, window.Hwnd());
  EXPECT_EQ(nullptr, fw::Wnd::FromHandle(hwnd));
  EXPECT_EQ(1, window.finals);
}

TEST(Wnd, ObjectGoingOutOfScopeDestroysTheWindowItCreated) {
  HWND hwnd = nullptr;
  {
    Counter window;
    fw::CreateArgs args;
    args.style = WS_POPUP;
    args.width = args.height = 20;
    ASSERT_TRUE(window.Create(args));
    hwnd = window.Hwnd();
  }
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(Wnd, SubclassRoutesMessagesAndUnsubclassRestoresTheProcedure) {
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"text", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, edit);
  LONG_PTR original = ::GetWindowLongPtrW(edit, GWLP_WNDPROC);
  {
    Counter control;
    ASSERT_TRUE(control.Subclass(edit));
    EXPECT_FALSE(control.Subclass(edit)) << "a window has one object";
    ::SendMessageW(edit, WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(1, control.clicks);
    EXPECT_EQ(L"text", control.GetText()) << "unhandled messages reach the control's own procedure";
  }
  EXPECT_EQ(original, ::GetWindowLongPtrW(edit, GWLP_WNDPROC));
  EXPECT_EQ(nullptr, fw::Wnd::FromHandle(edit));
  EXPECT_TRUE(::IsWindow(edit)) << "a subclassed control is not the object's to destroy";
  ::DestroyWindow(edit);
}

TEST(Handles, PaintingLeavesTheGdiObjectCountWhereItWas) {
  Counter window;
  fw::CreateArgs args;
  args.style = WS_POPUP | WS_VISIBLE;
  args.width = args.height = 60;
  ASSERT_TRUE(window.Create(args));
  auto paint = [&](int i) {
    fw::WindowDC screen(window.Hwnd());
    fw::MemoryDC memory(screen, 40 + i % 7, 30);
    ASSERT_TRUE(memory);
    fw::ScopedBrush brush(::CreateSolidBrush(RGB(i % 255, 0, 0)));
    fw::ScopedPen pen(::CreatePen(PS_SOLID, 1, RGB(0, 0, 255)));
    fw::ScopedSelectObject selectBrush(memory, brush.Get());
    fw::ScopedSelectObject selectPen(memory, pen.Get());
    ::Rectangle(memory, 0, 0, 20, 20);
    ::BitBlt(screen, 0, 0, memory.Width(), memory.Height(), memory, 0, 0, SRCCOPY);
    window.Invalidate();
    ::UpdateWindow(window.Hwnd());
  };
  paint(0);  // the window's first paint makes the DCs the system caches for it
  const DWORD before = GdiObjectCount::Now();
  for (int i = 1; i < 300; ++i) paint(i);
  EXPECT_EQ(before, GdiObjectCount::Now());
}

TEST(Handles, MemoryDcPutsItsBitmapBackBeforeDeletingIt) {
  fw::WindowDC screen(nullptr);
  HBITMAP bitmap = nullptr;
  HDC dc = nullptr;
  {
    fw::MemoryDC memory(screen, 16, 16);
    bitmap = memory.Bitmap();
    dc = memory.Get();
    EXPECT_EQ(static_cast<HGDIOBJ>(bitmap), ::GetCurrentObject(dc, OBJ_BITMAP));
    fw::ScopedBrush brush(::CreateSolidBrush(RGB(9, 9, 9)));
    {
      fw::ScopedSelectObject select(dc, brush.Get());
      EXPECT_EQ(static_cast<HGDIOBJ>(brush.Get()), ::GetCurrentObject(dc, OBJ_BRUSH));
    }
    EXPECT_NE(static_cast<HGDIOBJ>(brush.Get()), ::GetCurrentObject(dc, OBJ_BRUSH));
  }
  EXPECT_EQ(0u, ::GetObjectType(bitmap));
  EXPECT_EQ(0u, ::GetObjectType(dc));
}

TEST(Handles, MemoryDcOfZeroSizeStillWorks) {
  fw::WindowDC screen(nullptr);
  fw::MemoryDC memory(screen, 0, -5);
  EXPECT_TRUE(memory);
  EXPECT_EQ(0, memory.Width());
  EXPECT_EQ(0, memory.Height());
}

TEST(Handles, OwnersMoveAndReleaseExactlyOnce) {
  fw::ScopedBitmap first(::CreateBitmap(4, 4, 1, 32, nullptr));
  ASSERT_TRUE(first);
  HBITMAP bitmap = first.Get();
  fw::ScopedBitmap second(std::move(first));
  EXPECT_FALSE(first);
  EXPECT_TRUE(second);
  {
    fw::ScopedBitmap third;
    third = std::move(second);
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), ::GetObjectType(bitmap)) << "moving does not delete";
  }
  EXPECT_EQ(0u, ::GetObjectType(bitmap)) << "the last owner deleted it";

  fw::ScopedBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
  HBRUSH raw = brush.Release();
  EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), ::GetObjectType(raw)) << "a released handle is the caller's";
  ::DeleteObject(raw);

  fw::ScopedHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  HANDLE handle = event.Get();
  event.Reset();
  EXPECT_FALSE(::SetEvent(handle)) << "the handle was closed";
}

}  // namespace

namespace {

// A control that sizes list items it is handed and records what reached it.
class Reflector : public fw::Wnd {
 public:
  std::vector<UINT> reflected;

 protected:
  bool OnReflect(UINT message, WPARAM, LPARAM lParam, LRESULT&) override {
    reflected.push_back(message);
    if (message != WM_MEASUREITEM) return false;
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 31;
    return true;
  }
};

// A parent that records what reached its own handlers.
class Parent : public fw::Wnd {
 public:
  std::vector<UINT> seen;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_NOTIFY || message == WM_MEASUREITEM || message == WM_HSCROLL || message == WM_COMMAND)
      seen.push_back(message);
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
};

const int kChildId = 501;

TEST(Wnd, MenuItemsAndWhatTheControlLeavesStayWithTheParent) {
  Parent parent;
  fw::CreateArgs args;
  args.style = WS_POPUP;
  args.width = args.height = 100;
  ASSERT_TRUE(parent.Create(args));
  Reflector child;
  fw::CreateArgs childArgs;
  childArgs.parent = parent.Hwnd();
  childArgs.className = L"STATIC";
  childArgs.style = WS_CHILD | WS_VISIBLE;
  childArgs.width = childArgs.height = 20;
  childArgs.idOrMenu = kChildId;
  ASSERT_TRUE(child.Create(childArgs));

  // A menu item that happens to share the control's id is the parent's own.
  MEASUREITEMSTRUCT menu{};
  menu.CtlType = ODT_MENU;
  menu.itemID = kChildId;
  parent.Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&menu));
  parent.Send(WM_MEASUREITEM, kChildId, reinterpret_cast<LPARAM>(&menu));
  EXPECT_EQ(0u, menu.itemHeight);
  EXPECT_TRUE(child.reflected.empty());

  // What the control leaves alone reaches the parent.
  parent.Send(WM_COMMAND, MAKEWPARAM(kChildId, STN_CLICKED), reinterpret_cast<LPARAM>(child.Hwnd()));
  EXPECT_EQ(1u, child.reflected.size());
  EXPECT_EQ((std::vector<UINT>{WM_MEASUREITEM, WM_MEASUREITEM, WM_COMMAND}), parent.seen);
}

TEST(Wnd, CommandsWhoseLParamIsNoControlOfTheParentStayWithTheParent) {
  Parent parent;
  fw::CreateArgs args;
  args.style = WS_POPUP;
  args.width = args.height = 100;
  ASSERT_TRUE(parent.Create(args));
  Reflector stranger;
  ASSERT_TRUE(stranger.Create(args));

  // A window that is not the parent's, and a record's address, as some
  // controls send in place of their window.
  parent.Send(WM_COMMAND, MAKEWPARAM(0, 0x87F), reinterpret_cast<LPARAM>(stranger.Hwnd()));
  struct { HWND list; int row, column, id; } record{stranger.Hwnd(), 1, 2, 3};
  parent.Send(WM_COMMAND, MAKEWPARAM(0, 0x87F), reinterpret_cast<LPARAM>(&record));
  EXPECT_TRUE(stranger.reflected.empty());
  EXPECT_EQ((std::vector<UINT>{WM_COMMAND, WM_COMMAND}), parent.seen);
}

TEST(Wnd, DetachLeavesTheWindowAliveAndUnmapped) {
  Counter window;
  fw::CreateArgs args;
  args.style = WS_POPUP;
  args.width = args.height = 20;
  ASSERT_TRUE(window.Create(args));
  HWND hwnd = window.Detach();
  EXPECT_EQ(nullptr, window.Hwnd());
  EXPECT_EQ(nullptr, fw::Wnd::FromHandle(hwnd));
  EXPECT_TRUE(::IsWindow(hwnd));
  ::SendMessageW(hwnd, WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(0, window.clicks) << "an unmapped window's messages reach no object";
  ::DestroyWindow(hwnd);
  EXPECT_EQ(0, window.finals);
}

// Answers each reflected message with a value of its own.
class AnsweringControl : public fw::Wnd {
 public:
  std::vector<UINT> reflected;
  static LRESULT AnswerFor(UINT message) { return 0x1000 + message; }

 protected:
  bool OnReflect(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    reflected.push_back(message);
    result = AnswerFor(message);
    return true;
  }
};

class QuietDialog : public fw::Dialog {
 public:
  QuietDialog() : fw::Dialog(IDD_FRAMEWORK_TEST) {}
  std::vector<UINT> seen;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    seen.push_back(message);
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }
};

// Sends each notification about `child` to `parent` as the child would.
void SendEachNotification(HWND parent, HWND child, std::vector<LRESULT>& answers) {
  int id = ::GetDlgCtrlID(child);
  NMHDR header{child, static_cast<UINT_PTR>(id), NM_CLICK};
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_BUTTON;
  draw.CtlID = static_cast<UINT>(id);
  draw.hwndItem = child;
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_LISTBOX;
  measure.CtlID = static_cast<UINT>(id);
  fw::WindowDC dc(child);
  auto childParam = reinterpret_cast<LPARAM>(child);
  auto dcParam = reinterpret_cast<WPARAM>(dc.Get());
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } cases[] = {
      {WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), childParam},
      {WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header)},
      {WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&draw)},
      {WM_MEASUREITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&measure)},
      {WM_CTLCOLORBTN, dcParam, childParam},
      {WM_CTLCOLOREDIT, dcParam, childParam},
      {WM_CTLCOLORLISTBOX, dcParam, childParam},
      {WM_CTLCOLORSCROLLBAR, dcParam, childParam},
      {WM_CTLCOLORSTATIC, dcParam, childParam},
      {WM_HSCROLL, SB_LINERIGHT, childParam},
      {WM_VSCROLL, SB_LINEDOWN, childParam},
  };
  for (const Case& each : cases) answers.push_back(::SendMessageW(parent, each.message, each.wParam, each.lParam));
}

const std::vector<UINT> kReflected{WM_COMMAND,         WM_NOTIFY,          WM_DRAWITEM,          WM_MEASUREITEM,
                                   WM_CTLCOLORBTN,     WM_CTLCOLOREDIT,    WM_CTLCOLORLISTBOX,   WM_CTLCOLORSCROLLBAR,
                                   WM_CTLCOLORSTATIC,  WM_HSCROLL,         WM_VSCROLL};

TEST(Wnd, EveryReflectedMessageReachesTheChildControlsObjectAndItsAnswerTheSender) {
  std::vector<LRESULT> expected;
  for (UINT message : kReflected) expected.push_back(AnsweringControl::AnswerFor(message));

  Parent window;
  fw::CreateArgs args;
  args.style = WS_POPUP;
  ASSERT_TRUE(window.Create(args));
  AnsweringControl child;
  fw::CreateArgs childArgs;
  childArgs.parent = window.Hwnd();
  childArgs.className = L"BUTTON";
  childArgs.style = WS_CHILD;
  childArgs.idOrMenu = kChildId;
  ASSERT_TRUE(child.Create(childArgs));
  std::vector<LRESULT> answers;
  SendEachNotification(window.Hwnd(), child.Hwnd(), answers);
  EXPECT_EQ(kReflected, child.reflected);
  EXPECT_EQ(expected, answers);
  EXPECT_TRUE(window.seen.empty());

  // A dialog passes every answer back as it stands, colour brushes and
  // notification results alike.
  QuietDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  AnsweringControl button;
  ASSERT_TRUE(button.SubclassDlgItem(IDC_DRAWN_BUTTON, dialog.Hwnd()));
  dialog.seen.clear();
  answers.clear();
  SendEachNotification(dialog.Hwnd(), button.Hwnd(), answers);
  EXPECT_EQ(kReflected, button.reflected);
  EXPECT_EQ(expected, answers);
  for (UINT message : kReflected)
    EXPECT_EQ(dialog.seen.end(), std::find(dialog.seen.begin(), dialog.seen.end(), message)) << message;
}

}  // namespace

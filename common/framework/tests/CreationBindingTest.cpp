#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "Dialog.h"
#include "FrameworkTestResources.h"
#include "Wnd.h"

namespace {

bool Has(const std::vector<UINT>& messages, UINT message) {
  return std::find(messages.begin(), messages.end(), message) != messages.end();
}

size_t IndexOf(const std::vector<UINT>& messages, UINT message) {
  return static_cast<size_t>(std::find(messages.begin(), messages.end(), message) - messages.begin());
}

// Records every message that reaches its object, and whether the window was
// already mapped to it then.
class Recorder : public fw::Wnd {
 public:
  std::vector<UINT> messages;
  bool alwaysMapped = true;
  std::function<void()> onCreate;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    messages.push_back(message);
    if (FromHandle(Hwnd()) != this) alwaysMapped = false;
    if (message == WM_CREATE && onCreate) onCreate();
    return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
};

class RecordingDialog : public fw::Dialog {
 public:
  RecordingDialog() : fw::Dialog(IDD_FRAMEWORK_TEST) {}
  std::vector<UINT> messages;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    messages.push_back(message);
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }
};

TEST(CreationBinding, EveryWindowGetsItsOwnObjectFromItsFirstMessageAlsoWhenNested) {
  Recorder top;
  Recorder child;
  RecordingDialog dialog;
  HWND plain = nullptr;
  top.onCreate = [&] {
    fw::CreateArgs childArgs;
    childArgs.parent = top.Hwnd();
    childArgs.className = L"STATIC";
    childArgs.style = WS_CHILD | WS_VISIBLE;
    childArgs.width = childArgs.height = 20;
    ASSERT_TRUE(child.Create(childArgs));
    // A window made inside the handler without an object of its own.
    plain = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, top.Hwnd(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(dialog.CreateModeless(top.Hwnd()));
  };
  fw::CreateArgs args;
  args.style = WS_OVERLAPPEDWINDOW;
  args.width = args.height = 200;
  ASSERT_TRUE(top.Create(args));

  ASSERT_FALSE(top.messages.empty());
  EXPECT_EQ(static_cast<UINT>(WM_GETMINMAXINFO), top.messages.front()) << "an overlapped window's first message";
  EXPECT_LT(IndexOf(top.messages, WM_NCCREATE), IndexOf(top.messages, WM_CREATE));
  EXPECT_TRUE(top.alwaysMapped);

  ASSERT_FALSE(child.messages.empty());
  EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), child.messages.front()) << "a system class is ours from creation";
  EXPECT_TRUE(Has(child.messages, WM_CREATE));
  EXPECT_TRUE(child.alwaysMapped);
  EXPECT_EQ(&child, fw::Wnd::FromHandle(child.Hwnd()));

  EXPECT_EQ(nullptr, fw::Wnd::FromHandle(plain));
  EXPECT_EQ(nullptr, fw::Wnd::FromHandle(dialog.Item(IDC_NAME_EDIT))) << "a dialog's controls stay unbound";

  const auto& seen = dialog.messages;
  ASSERT_TRUE(Has(seen, WM_INITDIALOG));
  for (UINT early : {WM_NCCREATE, WM_CREATE, WM_SETFONT})
    EXPECT_LT(IndexOf(seen, early), IndexOf(seen, WM_INITDIALOG)) << "message " << early;
  EXPECT_EQ(&dialog, fw::Wnd::FromHandle(dialog.Hwnd()));

  HWND topWindow = top.Hwnd();
  top.Destroy();
  EXPECT_EQ(nullptr, fw::Wnd::FromHandle(topWindow));
  EXPECT_EQ(nullptr, child.Hwnd()) << "each object forgot its window with it";
  EXPECT_EQ(nullptr, dialog.Hwnd());
}

// A WM_CREATE that refuses the window: creation fails and nothing stays mapped.
TEST(CreationBinding, RefusedCreationLeavesTheObjectFree) {
  struct Refusing : fw::Wnd {
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
      if (message != WM_CREATE) return fw::Wnd::OnMessage(message, wParam, lParam, result);
      result = -1;
      return true;
    }
  } window;
  fw::CreateArgs args;
  args.style = WS_POPUP;
  EXPECT_FALSE(window.Create(args));
  EXPECT_EQ(nullptr, window.Hwnd());
  Recorder next;
  ASSERT_TRUE(next.Create(args)) << "the thread's next creation binds normally";
  EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), next.messages.front());
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "Pelvinaxctrl1.h"
#include "Shockwaveflash1.h"
#include "WebBrowserEmulation.h"
#include "WidgetTestSupport.h"

namespace {

constexpr UINT kControlId = 1234;

// The class each wrapper must ask for: the Flash player's is fixed, the
// program's own control's is whatever its wrapper names.
template <typename Wrapper>
std::wstring WrappedClass() {
  return ClassText(Wrapper::GetClsid());
}
template <>
std::wstring WrappedClass<CShockwaveflash1>() {
  return L"{D27CDB6E-AE6D-11CF-96B8-444553540000}";
}

fw::CreateArgs ChildArgs(HWND parent) {
  fw::CreateArgs args;
  args.parent = parent;
  args.title = L"movie";
  args.style = WS_CHILD | WS_VISIBLE;
  args.x = 10, args.y = 20, args.width = 200, args.height = 150;
  args.idOrMenu = kControlId;
  args.className = L"STATIC";  // not used: the wrapper makes its own window
  return args;
}

template <typename Wrapper>
class ControlWrapperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    fw::CreateArgs args;
    args.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    args.width = 300, args.height = 250;
    ASSERT_TRUE(parent_.Create(args));
  }
  void TearDown() override {
    parent_.Destroy();
    ::OleUninitialize();
  }
  MessageRecorder parent_{WM_HELP, WM_HELP};
};

using Wrappers = ::testing::Types<CShockwaveflash1, CPelvinaxctrl1>;
TYPED_TEST_SUITE(ControlWrapperTest, Wrappers);

TYPED_TEST(ControlWrapperTest, AnUnregisteredControlFailsAndLeavesNoWindow) {
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey(WrappedClass<TypeParam>()).c_str());
  TypeParam wrapper;
  EXPECT_EQ(FALSE, wrapper.Create(ChildArgs(this->parent_.Hwnd())));
  EXPECT_EQ(nullptr, wrapper.Hwnd());
  EXPECT_EQ(nullptr, wrapper.Control());
  EXPECT_EQ(nullptr, ::FindWindowExW(this->parent_.Hwnd(), nullptr, nullptr, nullptr));
}

TYPED_TEST(ControlWrapperTest, ARegisteredControlIsHostedInAChildWindowUntilItCloses) {
  WebBrowserEmulation emulation(WrappedClass<TypeParam>());
  ASSERT_TRUE(emulation.Registered());
  TypeParam wrapper;
  ASSERT_EQ(TRUE, wrapper.Create(ChildArgs(this->parent_.Hwnd())));
  EXPECT_EQ(this->parent_.Hwnd(), ::GetParent(wrapper.Hwnd()));
  EXPECT_EQ(static_cast<int>(kControlId), ::GetDlgCtrlID(wrapper.Hwnd()));
  EXPECT_EQ(L"movie", wrapper.GetText());
  RECT rect = wrapper.WindowRect();
  ::MapWindowPoints(nullptr, this->parent_.Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(10, rect.left);
  EXPECT_EQ(170, rect.bottom);
  IWebBrowser2* browser = nullptr;
  ASSERT_NE(nullptr, wrapper.Control());
  ASSERT_TRUE(SUCCEEDED(wrapper.Control()->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))));
  browser->Release();
  wchar_t className[64] = {};
  ::GetClassNameW(wrapper.Hwnd(), className, 64);
  EXPECT_NE(0, ::_wcsicmp(L"STATIC", className));
  HWND control = wrapper.ControlWindow();
  ASSERT_NE(nullptr, control);
  EXPECT_TRUE(::IsChild(wrapper.Hwnd(), control));
  EXPECT_TRUE(::IsWindowVisible(control));
  ::MoveWindow(wrapper.Hwnd(), 0, 0, 120, 80, TRUE);
  RECT shown{};
  ::GetWindowRect(control, &shown);
  EXPECT_EQ(120, shown.right - shown.left);
  EXPECT_EQ(80, shown.bottom - shown.top);

  wrapper.Destroy();
  EXPECT_EQ(nullptr, wrapper.Control());
}

class FlashHelpTest : public ControlWrapperTest<CShockwaveflash1> {};

void PressF1() {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof(INPUT));
}

TEST_F(FlashHelpTest, F1InsideTheControlAsksTheWrapperAndGoesNoFurther) {
  WebBrowserEmulation emulation(WrappedClass<CShockwaveflash1>());
  ASSERT_TRUE(emulation.Registered());
  CShockwaveflash1 flash;
  ASSERT_EQ(TRUE, flash.Create(ChildArgs(parent_.Hwnd())));
  ::SetForegroundWindow(parent_.Hwnd());
  ::SetFocus(flash.ControlWindow());
  PumpMessages();
  ASSERT_EQ(flash.ControlWindow(), ::GetFocus());
  PressF1();
  for (int i = 0; i < 20; ++i) {
    PumpMessages();
    ::Sleep(10);
  }
  EXPECT_TRUE(parent_.received.empty());
}

}  // namespace

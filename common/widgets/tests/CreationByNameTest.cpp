#include <gtest/gtest.h>

#include <string>

#include "CreatableClass.h"
#include "WebBrowserEmulation.h"
#include "WidgetTestSupport.h"

// Nothing here may name a widget class or include its header: that would
// link the class in whether or not the library keeps its registration.
namespace {

// The class id the program's own control wrapper asks for.
constexpr wchar_t kPelvinControl[] = L"{EED5EB2E-2BCA-4C45-9774-152109C4E02D}";
constexpr wchar_t kFlashPlayer[] = L"{D27CDB6E-AE6D-11CF-96B8-444553540000}";

class CreationByNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    fw::CreateArgs args;
    args.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    args.width = 300, args.height = 300;
    ASSERT_TRUE(parent_.Create(args));
  }
  void TearDown() override {
    parent_.Destroy();
    ::OleUninitialize();
  }
  // The folder bar makes itself a child; a wrapper is asked for one.
  fw::CreateArgs ChildArgs(DWORD style = WS_CHILD | WS_VISIBLE) const {
    fw::CreateArgs args;
    args.parent = parent_.Hwnd();
    args.style = style;
    args.x = 0, args.y = 0, args.width = 150, args.height = 200;
    args.idOrMenu = 7;
    return args;
  }
  fw::Wnd parent_;
};

TEST_F(CreationByNameTest, TheFolderBarIsMadeFromItsNameAsAChildThatPaintsItself) {
  std::unique_ptr<fw::Wnd> bar = fw::CreatableClass::Create(L"CMoveBarCtrl", ChildArgs(WS_VISIBLE));
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(parent_.Hwnd(), ::GetParent(bar->Hwnd()));
  EXPECT_EQ(WS_CHILD | WS_CLIPCHILDREN, ::GetWindowLongPtrW(bar->Hwnd(), GWL_STYLE) & (WS_CHILD | WS_CLIPCHILDREN));
  // Without folders the whole bar is its inside area, in the background colour.
  PixelCanvas canvas(150, 200, RGB(1, 2, 3));
  bar->Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
  EXPECT_EQ(::GetSysColor(COLOR_BACKGROUND), canvas.At(75, 100));
  EXPECT_EQ(nullptr, fw::CreatableClass::Create(L"cmovebarctrl", ChildArgs()));
  EXPECT_EQ(nullptr, fw::CreatableClass::Create(L"CNoSuchBar", ChildArgs()));
}

TEST_F(CreationByNameTest, EachControlWrapperMadeFromItsNameHostsItsControl) {
  struct Case {
    const wchar_t* name;
    const wchar_t* clsid;
  } cases[] = {{L"CShockwaveflash1", kFlashPlayer}, {L"CPelvinaxctrl1", kPelvinControl}};
  for (const Case& c : cases) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey(c.clsid).c_str());
    EXPECT_EQ(nullptr, fw::CreatableClass::Create(c.name, ChildArgs())) << c.name;
    EXPECT_EQ(nullptr, ::FindWindowExW(parent_.Hwnd(), nullptr, nullptr, nullptr)) << c.name;
    WebBrowserEmulation emulation(c.clsid);
    ASSERT_TRUE(emulation.Registered());
    std::unique_ptr<fw::Wnd> wrapper = fw::CreatableClass::Create(c.name, ChildArgs());
    ASSERT_NE(nullptr, wrapper) << c.name;
    EXPECT_EQ(parent_.Hwnd(), ::GetParent(wrapper->Hwnd())) << c.name;
    // The control's own window inside the wrapper's.
    EXPECT_NE(nullptr, ::FindWindowExW(wrapper->Hwnd(), nullptr, nullptr, nullptr)) << c.name;
  }
}

}  // namespace

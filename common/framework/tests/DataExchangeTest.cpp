#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "DataExchange.h"
#include "Dialog.h"
#include "FrameworkTestResources.h"

namespace {

// A control whose own set-up marks the window it was given.
class MarkingEdit : public fw::Wnd {
 public:
  int setUps = 0;

 protected:
  void PreSubclassWindow() override {
    ++setUps;
    ::SetWindowLongPtrW(Hwnd(), GWL_STYLE, ::GetWindowLongPtrW(Hwnd(), GWL_STYLE) | ES_UPPERCASE);
  }
};

class ExchangeDialog : public fw::Dialog {
 public:
  ExchangeDialog() : fw::Dialog(IDD_EXCHANGE_TEST) {}
  MarkingEdit edit;
  std::wstring name = L"乖儿子";
  int agree = BST_CHECKED;
  bool agreeFlag = false;
  int age = 1;
  std::wstring home = L"about:blank";
  bool bindMissing = false;

  void DoDataExchange(fw::DataExchange& exchange) override {
    exchange.Control(IDC_NAME_EDIT, edit);
    exchange.Text(IDC_NAME_EDIT, name);
    exchange.Check(IDC_AGREE_CHECK, agree);
    exchange.Check(IDC_AGREE_CHECK, agreeFlag);
    exchange.ComboIndex(IDC_AGE_COMBO, age);
    exchange.ComboText(IDC_HOME_COMBO, home);
    if (bindMissing) exchange.Control(IDD_MISSING, other_);
  }

  void PressOK() { SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
  void Fill(HWND combo, std::initializer_list<const wchar_t*> entries) {
    for (const wchar_t* entry : entries) ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  }

 protected:
  BOOL OnInitDialog() override {
    // Runs after the loading pass: the members are in the controls already.
    initialText = ItemText(IDC_NAME_EDIT);
    Fill(Item(IDC_AGE_COMBO), {L"04", L"05", L"06"});
    Fill(Item(IDC_HOME_COMBO), {L"空白页", L"about:blank"});
    UpdateData(false);
    return TRUE;
  }

 public:
  std::wstring initialText;

 private:
  fw::Wnd other_;
};

TEST(DataExchange, DialogLoadsMembersIntoControlsAndSavesThemBackOnOK) {
  ExchangeDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  EXPECT_EQ(L"乖儿子", dialog.initialText) << "loaded before OnInitDialog";
  EXPECT_EQ(&dialog.edit, fw::Wnd::FromHandle(dialog.Item(IDC_NAME_EDIT)));
  EXPECT_EQ(1, dialog.edit.setUps) << "bound once, through its own set-up, however often the exchange runs";
  EXPECT_TRUE(::GetWindowLongPtrW(dialog.edit.Hwnd(), GWL_STYLE) & ES_UPPERCASE);
  EXPECT_FALSE(dialog.IsChecked(IDC_AGREE_CHECK)) << "the bool member came after the int and was false";
  EXPECT_EQ(1, ::SendMessageW(dialog.Item(IDC_AGE_COMBO), CB_GETCURSEL, 0, 0));
  EXPECT_EQ(1, ::SendMessageW(dialog.Item(IDC_HOME_COMBO), CB_GETCURSEL, 0, 0)) << "the entry of exactly that text";

  // The user's changes.
  dialog.SetItemText(IDC_NAME_EDIT, L"小明");
  ::SendMessageW(dialog.Item(IDC_AGREE_CHECK), BM_SETCHECK, BST_CHECKED, 0);
  ::SendMessageW(dialog.Item(IDC_AGE_COMBO), CB_SETCURSEL, 2, 0);
  ::SendMessageW(dialog.Item(IDC_HOME_COMBO), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ::SetWindowTextW(dialog.Item(IDC_HOME_COMBO), L"http://例子.cn/");
  dialog.PressOK();
  EXPECT_EQ(nullptr, dialog.Hwnd()) << "OK ends the dialog once saved";
  EXPECT_EQ(L"小明", dialog.name);
  EXPECT_EQ(BST_CHECKED, dialog.agree);
  EXPECT_TRUE(dialog.agreeFlag);
  EXPECT_EQ(2, dialog.age);
  EXPECT_EQ(L"http://例子.cn/", dialog.home);
}

TEST(DataExchange, TextNotInTheListGoesIntoTheEditFieldAndAMissingControlFailsTheSave) {
  ExchangeDialog dialog;
  dialog.home = L"http://a.cn/";
  dialog.age = -1;
  ASSERT_TRUE(dialog.CreateModeless());
  EXPECT_EQ(L"http://a.cn/", dialog.ItemText(IDC_HOME_COMBO));
  EXPECT_EQ(CB_ERR, ::SendMessageW(dialog.Item(IDC_HOME_COMBO), CB_GETCURSEL, 0, 0));
  dialog.age = 5;
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(-1, dialog.age) << "no selection";
  EXPECT_EQ(L"http://a.cn/", dialog.home);

  dialog.bindMissing = true;
  EXPECT_FALSE(dialog.UpdateData(true));
  dialog.PressOK();
  EXPECT_NE(nullptr, dialog.Hwnd()) << "OK keeps a dialog whose save failed open";
}

}  // namespace

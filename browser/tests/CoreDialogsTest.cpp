#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "AboutDlg.h"
#include "AuthDlg.h"
#include "CheckDefaultBroswer.h"
#include "CoreResources.h"
#include "DataFolderTest.h"
#include "SkinDialogsTestSupport.h"
#include "SysConf.h"

namespace {

void PressKey(WORD key, bool shift = false) {
  std::vector<INPUT> keys;
  auto add = [&keys](WORD vk, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = flags;
    keys.push_back(input);
  };
  if (shift) add(VK_SHIFT, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (shift) add(VK_SHIFT, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  Sleep(40);
}

void TypeLetters(const char* letters) {
  for (const char* c = letters; *c; ++c) PressKey(static_cast<WORD>(toupper(*c)), isupper(*c) != 0);
}

HWND WaitForWindow(const wchar_t* title, DWORD ms = 5000) {
  for (DWORD waited = 0; waited < ms; waited += 20) {
    HWND found = FindWindowW(L"#32770", title);
    if (found && IsWindowVisible(found)) return found;
    Sleep(20);
  }
  return nullptr;
}

bool HasChildText(HWND window, const std::wstring& text) {
  struct Search {
    std::wstring text;
    bool found;
  } search{text, false};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM lParam) CALLBACK {
        auto* s = reinterpret_cast<Search*>(lParam);
        wchar_t buffer[256] = {};
        GetWindowTextW(child, buffer, 256);
        if (s->text == buffer) s->found = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Runs `script` on a thread of its own while this thread runs `modal`.
INT_PTR RunWithScript(const std::function<INT_PTR()>& modal, const std::function<void()>& script) {
  std::thread driver(script);
  INT_PTR result = modal();
  driver.join();
  return result;
}

class CoreDialogsTest : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    // The window the user works in: the dialogs below are opened without
    // a parent from it.
    active_.Create(PopupArgs(100, 100, 300, 200));
    SetForegroundWindow(active_.Hwnd());
    SetActiveWindow(active_.Hwnd());
    PumpFor(100);
  }
  void TearDown() override { active_.Destroy(); }

  fw::Wnd active_;
};

TEST_F(CoreDialogsTest, AWrongPasswordIsToldAndTheDialogStaysAnyLetterCasePasses) {
  CSysConf settings;
  settings.exit_need_pwd = 1;
  settings.password = L"SeCreT";
  CAuthDlg dialog(settings);
  EXPECT_EQ(0, dialog.IsPassed());
  HWND owner = nullptr, box = nullptr;
  bool boxOwnedByDialog = false, toldWrong = false, stayed = false;
  DWORD selection = 0;
  std::vector<std::wstring> refused;
  INT_PTR result = RunWithScript([&] { return dialog.DoModal(); }, [&] {
    HWND shown = WaitForWindow(CAuthDlg::kCaption);
    if (!shown) return;
    owner = GetWindow(shown, GW_OWNER);
    Sleep(200);
    TypeLetters("wrong");
    PressKey(VK_RETURN);
    for (int i = 0; i < 100 && !box; ++i, Sleep(30)) {
      HWND candidate = FindWindowW(L"#32770", L"提示");
      if (candidate && candidate != shown) box = candidate;
    }
    if (!box) return;
    boxOwnedByDialog = GetWindow(box, GW_OWNER) == shown;
    toldWrong = HasChildText(box, CAuthDlg::kWrongPasswordText);
    PressKey(VK_RETURN);
    for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(30);
    Sleep(200);
    stayed = IsWindowVisible(shown) != FALSE;
    selection = static_cast<DWORD>(SendMessageW(GetDlgItem(shown, IDC_PASSWORD), EM_GETSEL, 0, 0));
    // Only the whole password passes: nothing, its first letters or more
    // after it are each told wrong.
    for (const wchar_t* part : {L"", L"SeC", L"SeCreT1"}) {
      SetDlgItemTextW(shown, IDC_PASSWORD, part);
      PostMessageW(shown, WM_COMMAND, IDOK, 0);
      HWND told = nullptr;
      for (int i = 0; i < 100 && !told; ++i, Sleep(30)) {
        HWND candidate = FindWindowW(L"#32770", L"提示");
        if (candidate && candidate != shown) told = candidate;
      }
      if (told) refused.push_back(HasChildText(told, CAuthDlg::kWrongPasswordText) ? part : L"?");
      if (!told || !IsWindowVisible(shown)) return;
      PostMessageW(told, WM_COMMAND, IDOK, 0);
      for (int i = 0; i < 100 && IsWindow(told); ++i) Sleep(30);
    }
    SetDlgItemTextW(shown, IDC_PASSWORD, L"");
    TypeLetters("sEcReT");
    PressKey(VK_RETURN);
  });
  EXPECT_EQ(active_.Hwnd(), owner) << "the dialog without parent belongs to the active window";
  ASSERT_TRUE(box) << "no message box for the wrong password";
  EXPECT_TRUE(boxOwnedByDialog);
  EXPECT_TRUE(toldWrong);
  EXPECT_TRUE(stayed) << "the dialog closed on a wrong password";
  EXPECT_EQ(MAKELONG(0, 5), selection) << "the wrong entry is selected for typing over";
  EXPECT_EQ((std::vector<std::wstring>{L"", L"SeC", L"SeCreT1"}), refused) << "a part of the password passed";
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(1, dialog.IsPassed());
}

TEST_F(CoreDialogsTest, EscAndCancelLeaveThePasswordUnpassed) {
  CSysConf settings;
  settings.exit_need_pwd = 1;
  settings.password = L"x";
  for (WORD key : {static_cast<WORD>(VK_ESCAPE), static_cast<WORD>(0)}) {
    CAuthDlg dialog(settings);
    INT_PTR result = RunWithScript([&] { return dialog.DoModal(); }, [&] {
      HWND shown = WaitForWindow(CAuthDlg::kCaption);
      if (!shown) return;
      Sleep(200);
      if (key) {
        PressKey(key);
        return;
      }
      RECT cancel{};
      GetWindowRect(GetDlgItem(shown, IDCANCEL), &cancel);
      MouseInput(MOUSEEVENTF_MOVE, POINT{(cancel.left + cancel.right) / 2, (cancel.top + cancel.bottom) / 2});
      Sleep(80);
      MouseInput(MOUSEEVENTF_LEFTDOWN);
      Sleep(80);
      MouseInput(MOUSEEVENTF_LEFTUP);
    });
    EXPECT_EQ(IDCANCEL, result) << (key ? "Esc" : "Cancel");
    EXPECT_EQ(0, dialog.IsPassed());
  }

  CSysConf open;
  open.exit_need_pwd = 0;
  EXPECT_EQ(1, CAuthDlg(open).IsPassed()) << "no password asked: passed from the start";
}

TEST_F(CoreDialogsTest, TheQuestionsBoxIsSavedAtOnceKeepingWhatOthersSavedMeanwhile) {
  CSysConf settings;
  settings.Load();
  settings.start_check = 1;
  settings.first_run = 1;
  ASSERT_TRUE(settings.Save());
  CCheckDefaultBroswer dialog(settings);
  bool ticked = false;
  INT_PTR result = RunWithScript([&] { return dialog.DoModal(); }, [&] {
    HWND shown = WaitForWindow(L"Tindra儿童浏览器");
    if (!shown) return;
    HWND box = GetDlgItem(shown, IDC_ASK_AT_START);
    ticked = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    // The wizard sets the password and finishes its first run meanwhile.
    CSysConf wizard;
    wizard.Load();
    wizard.password = L"abc";
    wizard.first_run = 0;
    wizard.Save();
    RECT rect{};
    GetWindowRect(box, &rect);
    MouseInput(MOUSEEVENTF_MOVE, POINT{rect.left + 6, (rect.top + rect.bottom) / 2});
    Sleep(80);
    MouseInput(MOUSEEVENTF_LEFTDOWN);
    Sleep(80);
    MouseInput(MOUSEEVENTF_LEFTUP);
    Sleep(300);
    PressKey(VK_ESCAPE);
  });
  EXPECT_TRUE(ticked) << "the box shows start_check";
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(0, settings.start_check);
  CSysConf stored;
  stored.Load();
  EXPECT_EQ(0, stored.start_check) << "the click was not saved";
  EXPECT_EQ(L"abc", stored.password) << "the password saved meanwhile was lost";
  EXPECT_EQ(0, stored.first_run) << "the wizard's first run came back";
}

TEST_F(CoreDialogsTest, TheAboutBoxShowsTheVersionAndClosesWithOk) {
  CAboutDlg dialog;
  bool version = false;
  INT_PTR result = RunWithScript([&] { return dialog.DoModal(); }, [&] {
    HWND shown = WaitForWindow(CAboutDlg::kCaption);
    if (!shown) return;
    version = HasChildText(shown, L"Brivan Version 1.0");
    Sleep(200);
    PressKey(VK_RETURN);
  });
  EXPECT_TRUE(version);
  EXPECT_EQ(IDOK, result);
}

}  // namespace

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "App.h"
#include "Dialog.h"
#include "FrameworkTestResources.h"
#include "Handles.h"
#include "MessageLoop.h"

namespace {

const UINT_PTR kEndTimer = 1;

// A button that records the notifications its parent hands back to it.
class RecordingButton : public fw::Wnd {
 public:
  std::vector<UINT> reflected;
  bool handleClick = true;

 protected:
  bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    reflected.push_back(message);
    if (message == WM_DRAWITEM) {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      result = TRUE;
      return true;
    }
    return message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && handleClick;
  }
};

class TestDialog : public fw::Dialog {
 public:
  TestDialog() : fw::Dialog(IDD_FRAMEWORK_TEST) {}
  RecordingButton button;
  bool initialised = false;
  INT_PTR endInInit = 0;
  std::vector<UINT> commands;
  std::vector<UINT> preTranslated;

  void ClickButton() { ::SendMessageW(Item(IDC_DRAWN_BUTTON), BM_CLICK, 0, 0); }

 protected:
  BOOL OnInitDialog() override {
    initialised = true;
    button.SubclassDlgItem(IDC_DRAWN_BUTTON, Hwnd());
    SetItemText(IDC_NAME_EDIT, L"乖儿子");
    if (endInInit) EndDialog(endInInit);
    ::SetTimer(Hwnd(), kEndTimer, 50, nullptr);
    return TRUE;
  }
  bool OnCommand(UINT id, UINT code, HWND control) override {
    commands.push_back(id);
    return fw::Dialog::OnCommand(id, code, control);
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_TIMER && wParam == kEndTimer) {
      ::KillTimer(Hwnd(), kEndTimer);
      ClickButton();
      ::UpdateWindow(Hwnd());
      ::PostMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(Item(IDOK)));
      return true;
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }
  bool PreTranslateMessage(MSG& message) override {
    preTranslated.push_back(message.message);
    return false;
  }
};

TEST(Dialog, ModalDialogFromTemplateRunsAndEndsWithItsResult) {
  TestDialog dialog;
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_TRUE(dialog.initialised);
  EXPECT_EQ(nullptr, dialog.Hwnd()) << "the window is gone after DoModal";
  EXPECT_EQ(nullptr, dialog.button.Hwnd()) << "the control forgot its window with it";
}

TEST(Dialog, EndDialogDuringInitialisationSkipsTheLoop) {
  TestDialog dialog;
  dialog.endInInit = 42;
  EXPECT_EQ(42, dialog.DoModal());
  EXPECT_EQ(dialog.commands.end(), std::find(dialog.commands.begin(), dialog.commands.end(), static_cast<UINT>(IDOK)))
      << "the timer that clicks OK never ran";
}

TEST(Dialog, MissingTemplateAnswersMinusOne) {
  struct Missing : fw::Dialog {
    Missing() : fw::Dialog(IDD_MISSING) {}
  } dialog;
  EXPECT_EQ(-1, dialog.DoModal());
}

TEST(Dialog, ControlsHandleTheirOwnNotifications) {
  TestDialog dialog;
  ASSERT_EQ(IDOK, dialog.DoModal());
  const auto& reflected = dialog.button.reflected;
  EXPECT_NE(reflected.end(), std::find(reflected.begin(), reflected.end(), static_cast<UINT>(WM_DRAWITEM)));
  EXPECT_NE(reflected.end(), std::find(reflected.begin(), reflected.end(), static_cast<UINT>(WM_COMMAND)));
  // The click was handled by the button, so the dialog never saw it.
  EXPECT_EQ(dialog.commands.end(),
            std::find(dialog.commands.begin(), dialog.commands.end(), static_cast<UINT>(IDC_DRAWN_BUTTON)));
  EXPECT_NE(dialog.commands.end(), std::find(dialog.commands.begin(), dialog.commands.end(), static_cast<UINT>(IDOK)));
}

TEST(Dialog, UnhandledReflectionReachesTheParent) {
  TestDialog dialog;
  dialog.button.handleClick = false;
  ASSERT_EQ(IDOK, dialog.DoModal());
  EXPECT_NE(dialog.commands.end(),
            std::find(dialog.commands.begin(), dialog.commands.end(), static_cast<UINT>(IDC_DRAWN_BUTTON)));
}

TEST(Dialog, ModelessDialogPreTranslatesMessagesOfItsChildren) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  ::KillTimer(dialog.Hwnd(), kEndTimer);
  EXPECT_EQ(L"乖儿子", dialog.ItemText(IDC_NAME_EDIT));
  dialog.SetItemInt(IDC_NAME_EDIT, -17);
  bool valid = false;
  EXPECT_EQ(-17, dialog.ItemInt(IDC_NAME_EDIT, &valid));
  EXPECT_TRUE(valid);

  MSG message{dialog.Item(IDC_NAME_EDIT), WM_KEYDOWN, 'A', 0, 0, {}};
  fw::DispatchOne(message);
  ASSERT_FALSE(dialog.preTranslated.empty()) << "the parent dialog is asked about its child's message";
  EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), dialog.preTranslated.back());

  dialog.EndDialog(7);
  EXPECT_EQ(nullptr, dialog.Hwnd());
}

TEST(Dialog, ModalOwnerIsDisabledOnlyWhileTheDialogRuns) {
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(nullptr, owner);
  struct Probe : TestDialog {
    HWND owner = nullptr;
    bool ownerEnabledInside = true;
    BOOL OnInitDialog() override {
      ownerEnabledInside = ::IsWindowEnabled(owner) != FALSE;  // still enabled during init
      return TestDialog::OnInitDialog();
    }
    void OnOK() override {
      ownerEnabledInside = ::IsWindowEnabled(owner) != FALSE;
      TestDialog::OnOK();
    }
  } dialog;
  dialog.owner = owner;
  EXPECT_EQ(IDOK, dialog.DoModal(owner));
  EXPECT_FALSE(dialog.ownerEnabledInside);
  EXPECT_TRUE(::IsWindowEnabled(owner));
  ::DestroyWindow(owner);
}

TEST(App, ArgumentsFollowTheShellsQuotingRules) {
  struct Quiet : fw::App {
  } app;
  EXPECT_EQ(0, app.Main(::GetModuleHandleW(nullptr), L"http://a.b/ \"two words\" -startup"));
  auto arguments = app.Arguments();
  ASSERT_EQ(3u, arguments.size());
  EXPECT_EQ(L"http://a.b/", arguments[0]);
  EXPECT_EQ(L"two words", arguments[1]);
  EXPECT_EQ(L"-startup", arguments[2]);
  EXPECT_EQ(&app, fw::App::Current());
}

}  // namespace

namespace {

// Destroys itself from its timer instead of calling EndDialog, as happens
// when its owner goes away.
class SelfDestroyingDialog : public fw::Dialog {
 public:
  SelfDestroyingDialog() : fw::Dialog(IDD_FRAMEWORK_TEST) {}

 protected:
  BOOL OnInitDialog() override {
    ::SetTimer(Hwnd(), kEndTimer, 30, nullptr);
    return TRUE;
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_TIMER && wParam == kEndTimer) {
      ::KillTimer(Hwnd(), kEndTimer);
      ::DestroyWindow(Hwnd());
      return true;
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }
};

TEST(Dialog, ModalDialogDestroyedWithoutEndDialogStillReturns) {
  SelfDestroyingDialog dialog;
  EXPECT_EQ(-1, dialog.DoModal());
  EXPECT_EQ(nullptr, dialog.Hwnd());
}

TEST(Dialog, ModelessDialogGoesWithItsObject) {
  HWND hwnd = nullptr;
  HWND edit = nullptr;
  {
    TestDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless());
    ::KillTimer(dialog.Hwnd(), kEndTimer);
    hwnd = dialog.Hwnd();
    edit = dialog.Item(IDC_NAME_EDIT);
  }
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_FALSE(::IsWindow(edit));
}

// An edit that swallows the Escape key before the dialog manager sees it.
class EscapeEatingEdit : public fw::Wnd {
 public:
  bool PreTranslateMessage(MSG& message) override {
    return message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE;
  }
};

TEST(Dialog, ChildConsumingAMessageKeepsItFromTheDialog) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  ::KillTimer(dialog.Hwnd(), kEndTimer);
  EscapeEatingEdit edit;
  ASSERT_TRUE(edit.SubclassDlgItem(IDC_NAME_EDIT, dialog.Hwnd()));

  MSG escape{edit.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_TRUE(fw::PreTranslate(escape));
  EXPECT_TRUE(dialog.preTranslated.empty()) << "the parent is not asked once the child consumed it";
  EXPECT_NE(nullptr, dialog.Hwnd()) << "Escape never reached the dialog manager";

  // Escape in a control the subclass does not cover goes to the dialog manager,
  // which cancels the dialog.
  MSG cancel{dialog.Item(IDOK), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_TRUE(fw::PreTranslate(cancel));
  EXPECT_EQ(nullptr, dialog.Hwnd());
  EXPECT_NE(dialog.commands.end(),
            std::find(dialog.commands.begin(), dialog.commands.end(), static_cast<UINT>(IDCANCEL)));
}

// A program whose window ends the message loop with its own exit code.
class LoopingApp : public fw::App {
 public:
  bool startWindow = true;
  std::vector<std::string> steps;

 protected:
  bool InitInstance() override {
    steps.push_back("init");
    if (!startWindow) return false;
    fw::CreateArgs args;
    args.style = WS_POPUP;
    args.width = args.height = 10;
    if (!window_.Create(args)) return false;
    ::PostMessageW(window_.Hwnd(), WM_CLOSE, 0, 0);
    return true;
  }
  int Run() override {
    steps.push_back("run");
    return fw::App::Run();
  }
  int ExitInstance() override {
    steps.push_back("exit");
    return fw::App::ExitInstance();
  }

 private:
  class QuittingWindow : public fw::Wnd {
   protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
      if (message == WM_DESTROY) ::PostQuitMessage(23);
      return fw::Wnd::OnMessage(message, wParam, lParam, result);
    }
  } window_;
};

TEST(App, MainRunsTheLoopAndAnswersItsExitCode) {
  LoopingApp app;
  EXPECT_EQ(23, app.Main(::GetModuleHandleW(nullptr), L""));
  EXPECT_EQ((std::vector<std::string>{"init", "run", "exit"}), app.steps);
}

TEST(App, FailedInitialisationSkipsTheLoop) {
  LoopingApp app;
  app.startWindow = false;
  app.SetExitCode(3);
  EXPECT_EQ(3, app.Main(::GetModuleHandleW(nullptr), nullptr));
  EXPECT_EQ((std::vector<std::string>{"init", "exit"}), app.steps);
}

}  // namespace

namespace {

// Answers its parent's colour and notification messages with values the
// dialog manager must pass on in two different ways.
class AnsweringEdit : public fw::Wnd {
 public:
  HBRUSH brush = static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));

 protected:
  bool OnReflect(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message == WM_CTLCOLOREDIT) {
      result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    if (message == WM_NOTIFY) {
      result = 55;
      return true;
    }
    return false;
  }
};

TEST(Dialog, ReflectedAnswersReachTheSenderThroughTheDialogManager) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  ::KillTimer(dialog.Hwnd(), kEndTimer);
  AnsweringEdit edit;
  ASSERT_TRUE(edit.SubclassDlgItem(IDC_NAME_EDIT, dialog.Hwnd()));

  fw::WindowDC dc(edit.Hwnd());
  // Colour messages are answered by the dialog procedure's own return value.
  EXPECT_EQ(reinterpret_cast<LRESULT>(edit.brush),
            dialog.Send(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(edit.Hwnd())));
  // Other answers travel through DWLP_MSGRESULT.
  NMHDR header{edit.Hwnd(), IDC_NAME_EDIT, 0};
  EXPECT_EQ(55, dialog.Send(WM_NOTIFY, IDC_NAME_EDIT, reinterpret_cast<LPARAM>(&header)));
}

// Runs the dialog manager's own handling inside its handler and looks at
// what it did.
class DefaultingDialog : public fw::Dialog {
 public:
  explicit DefaultingDialog(HWND parent) : fw::Dialog(IDD_FRAMEWORK_TEST, parent) {}
  std::vector<std::wstring> textsAfterDefault;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_SETTEXT) {
      result = DefaultDialogProc(message, wParam, lParam);
      textsAfterDefault.push_back(GetText());
      return true;
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }
};

TEST(Dialog, DefaultHandlingRunsInsideTheHandlerAndOnlyOnce) {
  fw::Wnd owner;
  fw::CreateArgs args;
  args.style = WS_POPUP;
  ASSERT_TRUE(owner.Create(args));
  DefaultingDialog dialog(owner.Hwnd());
  ASSERT_TRUE(dialog.CreateModeless());
  EXPECT_EQ(owner.Hwnd(), ::GetWindow(dialog.Hwnd(), GW_OWNER)) << "the parent given at construction";
  dialog.textsAfterDefault.clear();
  dialog.SetText(L"第一");
  dialog.SetText(L"second");
  ASSERT_EQ(2u, dialog.textsAfterDefault.size());
  EXPECT_EQ(L"第一", dialog.textsAfterDefault[0]);
  EXPECT_EQ(L"second", dialog.textsAfterDefault[1]);
}

}  // namespace

namespace {

// Asks the program to quit from inside its modal loop.
class QuittingDialog : public fw::Dialog {
 public:
  QuittingDialog() : fw::Dialog(IDD_FRAMEWORK_TEST) {}

 protected:
  BOOL OnInitDialog() override {
    ::PostQuitMessage(9);
    return TRUE;
  }
};

TEST(Dialog, QuitDuringTheModalLoopEndsTheDialogAndReachesTheOuterLoop) {
  QuittingDialog dialog;
  EXPECT_EQ(-1, dialog.DoModal()) << "ended without EndDialog";
  EXPECT_EQ(nullptr, dialog.Hwnd());
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "posted again for the program's loop";
  EXPECT_EQ(9u, message.wParam);
}

const UINT kEndNow = WM_APP + 1;
const UINT kRescue = WM_APP + 2;

// Ends itself from a handler while its loop has no input waiting; a rescue
// message posted much later tells whether the loop only ended because of it.
class IdleEndingDialog : public fw::Dialog {
 public:
  enum class Trigger { Timer, Posted, SentFromAnotherThread };
  explicit IdleEndingDialog(Trigger trigger) : fw::Dialog(IDD_FRAMEWORK_TEST), trigger_(trigger) {}
  bool rescued = false;
  ULONGLONG endedAt = 0;

 protected:
  BOOL OnInitDialog() override {
    if (trigger_ == Trigger::Timer) ::SetTimer(Hwnd(), kEndTimer, 20, nullptr);
    if (trigger_ == Trigger::Posted) ::PostMessageW(Hwnd(), kEndNow, 0, 0);
    if (trigger_ == Trigger::SentFromAnotherThread) sender_ = ::CreateThread(nullptr, 0, &Send, Hwnd(), 0, nullptr);
    rescuer_ = ::CreateThread(nullptr, 0, &Rescue, Hwnd(), 0, nullptr);
    // No caret: its blinking would wake the loop.
    ::SetFocus(Item(IDOK));
    return FALSE;
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if ((message == WM_TIMER && wParam == kEndTimer) || message == kEndNow) {
      ::KillTimer(Hwnd(), kEndTimer);
      endedAt = ::GetTickCount64();
      EndDialog(5);
      return true;
    }
    if (message == kRescue) {
      rescued = true;
      EndDialog(6);
      return true;
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }

 public:
  ~IdleEndingDialog() override {
    for (HANDLE thread : {sender_, rescuer_}) {
      if (!thread) continue;
      ::WaitForSingleObject(thread, 10000);
      ::CloseHandle(thread);
    }
  }

 private:
  static DWORD WINAPI Send(void* hwnd) {
    ::Sleep(50);
    ::SendMessageW(static_cast<HWND>(hwnd), kEndNow, 0, 0);
    return 0;
  }
  static DWORD WINAPI Rescue(void* hwnd) {
    ::Sleep(1500);
    ::PostMessageW(static_cast<HWND>(hwnd), kRescue, 0, 0);  // fails harmlessly once the window is gone
    return 0;
  }
  Trigger trigger_;
  HANDLE sender_ = nullptr;
  HANDLE rescuer_ = nullptr;
};

TEST(Dialog, EndDialogFromAHandlerEndsAnIdleLoopAtOnce) {
  using Trigger = IdleEndingDialog::Trigger;
  for (Trigger trigger : {Trigger::Timer, Trigger::Posted, Trigger::SentFromAnotherThread}) {
    IdleEndingDialog dialog(trigger);
    EXPECT_EQ(5, dialog.DoModal()) << static_cast<int>(trigger);
    EXPECT_LT(::GetTickCount64() - dialog.endedAt, 250u) << static_cast<int>(trigger);
    EXPECT_FALSE(dialog.rescued) << static_cast<int>(trigger);
  }
}

}  // namespace

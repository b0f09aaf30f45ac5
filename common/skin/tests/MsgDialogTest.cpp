// The skinned message dialog run modally on the test display, driven from a
// timer inside its own modal loop: button placement for both types, the end
// codes of OK, Cancel, Esc and closing, skins that lack items or a size, the
// painted message, and the template and strings taken from this module.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "CommHelper.h"
#include "FrameDlg.h"
#include "MsgBox.h"
#include "MsgDialog.h"
#include "MsgDialogTestResources.h"
#include "SkinResources.h"
#include "SkinTestSupport.h"

namespace {

// Finds the dialog of this thread once it is visible and laid out, runs
// `drive` on it once, and destroys it when it is still open seconds later,
// so that a failing case ends instead of hanging.
class ModalDriver {
 public:
  explicit ModalDriver(std::function<void(HWND)> drive) : drive_(std::move(drive)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 50, &Tick);
  }
  ~ModalDriver() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool Drove() const { return drove_; }
  bool TimedOut() const { return timedOut_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* self = current_;
    if (!self) return;
    HWND dialog = FindDialog();
    ++self->ticks_;
    if (!dialog) return;
    if (self->drove_) {
      if (self->ticks_ > self->droveAt_ + 100) {
        self->timedOut_ = true;
        DestroyWindow(dialog);
      }
      return;
    }
    if (!IsWindowVisible(dialog) || self->ticks_ < 4) return;  // let the first layout and paint through
    self->drove_ = true;
    self->droveAt_ = self->ticks_;
    self->drive_(dialog);
  }
  static BOOL CALLBACK IsDialog(HWND hwnd, LPARAM out) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) != L"#32770") return TRUE;
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
  }
  static HWND FindDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &IsDialog, reinterpret_cast<LPARAM>(&found));
    return found;
  }

  static ModalDriver* current_;
  std::function<void(HWND)> drive_;
  UINT_PTR timer_ = 0;
  int ticks_ = 0;
  int droveAt_ = 0;
  bool drove_ = false;
  bool timedOut_ = false;
};
ModalDriver* ModalDriver::current_ = nullptr;

RECT ChildRect(HWND dialog, int id) {
  RECT r{};
  HWND child = GetDlgItem(dialog, id);
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Click(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

const int kCloseButton = CFrameDlg::kCloseButtonId;

// A theme folder beside the test program holding one skin.xml.
std::wstring WriteTheme(const std::wstring& theme, const std::string& xml) {
  std::wstring folder = GetModuleDir(nullptr) + L"\\theme\\" + theme;
  CreateDirectoryW((GetModuleDir(nullptr) + L"\\theme").c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::string bytes = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + xml;
  fw::ScopedHandle file(CreateFileW((folder + L"\\skin.xml").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return theme;
}

struct Placement {
  RECT text{}, ok{}, cancel{};
  bool cancelVisible = false;
};

Placement Observe(CMsgDialog& dialog, HWND hwnd) {
  Placement seen;
  const RECT* text = dialog.Skin().GetItemRect(L"text");
  if (text) seen.text = *text;
  seen.ok = ChildRect(hwnd, IDOK);
  seen.cancel = ChildRect(hwnd, IDCANCEL);
  seen.cancelVisible = IsWindowVisible(GetDlgItem(hwnd, IDCANCEL)) != FALSE;
  return seen;
}

TEST(MsgDialogLayout, TypeZeroHidesCancelAndCentresOkUnderTheText) {
  // An unknown type shows OK alone as well.
  for (int type : {static_cast<int>(CMsgDialog::kOkOnly), 5}) {
    CMsgDialog dialog(L"今天的上网时间用完了。", nullptr, type);
    Placement seen;
    ModalDriver driver([&](HWND hwnd) {
      seen = Observe(dialog, hwnd);
      Click(hwnd, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_TRUE(driver.Drove());
    EXPECT_FALSE(seen.cancelVisible) << type;
    const LONG textWidth = seen.text.right - seen.text.left;
    const LONG okWidth = seen.ok.right - seen.ok.left;
    ASSERT_GT(textWidth, okWidth);
    EXPECT_EQ(seen.ok.left, seen.text.left + (textWidth - okWidth) / 2) << type;
    EXPECT_GT(seen.ok.top, seen.text.top) << "under the text";
    EXPECT_EQ(dialog.GetResult(), CMsgDialog::kOk);
  }
}

TEST(MsgDialogLayout, TypeOneShowsBothFiftyPixelsApartAsACentredPair) {
  CMsgDialog dialog(L"要关闭浏览器吗？", nullptr, CMsgDialog::kOkCancel);
  Placement seen;
  ModalDriver driver([&](HWND hwnd) {
    seen = Observe(dialog, hwnd);
    Click(hwnd, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  ASSERT_TRUE(driver.Drove());
  EXPECT_TRUE(seen.cancelVisible);
  EXPECT_EQ(seen.cancel.left - seen.ok.right, CMsgDialog::kButtonGap);
  const LONG before = seen.ok.left - seen.text.left;
  const LONG after = seen.text.right - seen.cancel.right;
  EXPECT_LE(std::abs(before - after), 1) << before << " vs " << after;
  EXPECT_EQ(seen.ok.top, seen.cancel.top);
}

TEST(MsgDialogEnding, OkReturnsOne) {
  ModalDriver driver([](HWND hwnd) { Click(hwnd, IDOK); });
  EXPECT_EQ(MsgBox(L"保存好了。", nullptr, CMsgDialog::kOkCancel), IDOK);
  EXPECT_TRUE(driver.Drove());
  EXPECT_FALSE(driver.TimedOut());
}

TEST(MsgDialogEnding, EscapeAndCancelReturnTwo) {
  {
    CMsgDialog dialog(L"按 Esc 键", nullptr, CMsgDialog::kOkOnly);
    ModalDriver driver([](HWND hwnd) {
      HWND focus = GetFocus();
      PostMessageW(focus ? focus : hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(dialog.GetResult(), CMsgDialog::kCancelled);
  }
  {
    CMsgDialog dialog(L"点取消", nullptr, CMsgDialog::kOkCancel);
    ModalDriver driver([](HWND hwnd) { Click(hwnd, IDCANCEL); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(dialog.GetResult(), CMsgDialog::kCancelled);
  }
}

TEST(MsgDialogEnding, ClosingReturnsTwoAndLeavesClosedInTheResult) {
  {
    CMsgDialog dialog(L"点右上角的关闭", nullptr, CMsgDialog::kOkCancel);
    bool closeShown = false;
    ModalDriver driver([&](HWND hwnd) {
      closeShown = IsWindowVisible(GetDlgItem(hwnd, kCloseButton)) != FALSE;
      Click(hwnd, kCloseButton);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_TRUE(closeShown);
    EXPECT_EQ(dialog.GetResult(), CMsgDialog::kClosed);
  }
  {
    CMsgDialog dialog(L"窗口被关掉", nullptr, CMsgDialog::kOkOnly);
    ModalDriver driver([](HWND hwnd) { PostMessageW(hwnd, WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.GetResult(), CMsgDialog::kClosed);
  }
  ModalDriver driver([](HWND hwnd) { Click(hwnd, kCloseButton); });
  EXPECT_EQ(MsgBox(L"关闭也算取消", nullptr, CMsgDialog::kOkCancel), IDCANCEL);
}

TEST(MsgDialogEnding, OwnerIsDisabledWhileShownAndAStaleOwnerIsIgnored) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                               nullptr);
  bool ownerEnabled = true;
  HWND seenOwner = nullptr;
  {
    ModalDriver driver([&](HWND hwnd) {
      ownerEnabled = IsWindowEnabled(owner) != FALSE;
      seenOwner = GetWindow(hwnd, GW_OWNER);
      Click(hwnd, IDOK);
    });
    EXPECT_EQ(MsgBox(L"有主人的对话框", owner, CMsgDialog::kOkOnly), IDOK);
  }
  EXPECT_FALSE(ownerEnabled);
  EXPECT_EQ(seenOwner, owner);
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
  ModalDriver driver([](HWND hwnd) { Click(hwnd, IDOK); });
  EXPECT_EQ(MsgBox(L"主人已经不在了", owner, CMsgDialog::kOkOnly), IDOK);
}

TEST(MsgDialogSkin, WithoutOkTheButtonsStayWhereTheSkinPutThem) {
  std::wstring theme = WriteTheme(L"msgtest_no_ok",
      "<skin><msgdialog width=\"320\" height=\"200\">"
      "<text id=\"text\" drawtype=\"4\" left=\"20\" top=\"40\" right=\"20\" bottom=\"60\"/>"
      "<cancel id=\"cancel\" skintype=\"1\" left=\"30\" bottom=\"10\" width=\"80\" height=\"30\" caption=\"取消\"/>"
      "</msgdialog></skin>");
  CMsgDialog dialog(L"没有确定按钮的皮肤", nullptr, CMsgDialog::kOkCancel);
  dialog.SetSkinTheme(theme);
  Placement seen;
  ModalDriver driver([&](HWND hwnd) {
    seen = Observe(dialog, hwnd);
    Click(hwnd, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  ASSERT_TRUE(driver.Drove());
  EXPECT_EQ(seen.cancel.left, 30);
  EXPECT_EQ(seen.cancel.top, 200 - 10 - 30);
  EXPECT_EQ(seen.cancel.right, 110);
}

TEST(MsgDialogSkin, WithoutTextTheButtonsStayWhereTheSkinPutThem) {
  std::wstring theme = WriteTheme(L"msgtest_no_text",
      "<skin><msgdialog width=\"320\" height=\"200\">"
      "<ok id=\"ok\" skintype=\"1\" left=\"15\" bottom=\"10\" width=\"80\" height=\"30\" caption=\"确定\"/>"
      "<cancel id=\"cancel\" skintype=\"1\" left=\"150\" bottom=\"10\" width=\"80\" height=\"30\" caption=\"取消\"/>"
      "</msgdialog></skin>");
  CMsgDialog dialog(L"没有文字项的皮肤", nullptr, CMsgDialog::kOkCancel);
  dialog.SetSkinTheme(theme);
  Placement seen;
  ModalDriver driver([&](HWND hwnd) {
    seen = Observe(dialog, hwnd);
    Click(hwnd, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  ASSERT_TRUE(driver.Drove());
  EXPECT_EQ(seen.ok.left, 15);
  EXPECT_EQ(seen.ok.right, 95);
  EXPECT_EQ(seen.cancel.left, 150);
  EXPECT_EQ(seen.cancel.right, 230);
}

// A frame on the message dialog's template and skin, without the message
// dialog's own sizing.
class PlainFrame : public CFrameDlg {
 public:
  explicit PlainFrame(const std::wstring& theme) : CFrameDlg(IDD_SKIN_MSGDIALOG, nullptr) {
    m_strSkinElement = L"msgdialog";
    m_strSkinFile = L"skin.xml";
    m_strSkinTheme = theme;
  }
};

SIZE WindowSize(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

TEST(MsgDialogSkin, WithoutWidthOrHeightTheDialogKeepsTheFramesSize) {
  std::wstring theme = WriteTheme(L"msgtest_no_size",
      "<skin><msgdialog width=\"333\">"
      "<text id=\"text\" drawtype=\"4\" left=\"20\" top=\"40\" right=\"20\" bottom=\"60\"/>"
      "<ok id=\"ok\" skintype=\"1\" bottom=\"10\" width=\"80\" height=\"30\" caption=\"确定\"/>"
      "</msgdialog></skin>");
  PlainFrame frame(theme);
  ASSERT_TRUE(frame.CreateModeless());
  const SIZE frameSize = WindowSize(frame.Hwnd());
  frame.Destroy();

  CMsgDialog dialog(L"皮肤没给高度", nullptr, CMsgDialog::kOkOnly);
  dialog.SetSkinTheme(theme);
  SIZE seen{};
  ModalDriver driver([&](HWND hwnd) {
    seen = WindowSize(hwnd);
    Click(hwnd, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(seen.cx, frameSize.cx);
  EXPECT_EQ(seen.cy, frameSize.cy);
}

TEST(MsgDialogSkin, WithWidthAndHeightTheDialogTakesThem) {
  std::wstring theme = WriteTheme(L"msgtest_sized",
      "<skin><msgdialog width=\"345\" height=\"234\">"
      "<text id=\"text\" drawtype=\"4\" left=\"20\" top=\"40\" right=\"20\" bottom=\"60\"/>"
      "</msgdialog></skin>");
  CMsgDialog dialog(L"大小来自皮肤", nullptr, CMsgDialog::kOkOnly);
  dialog.SetSkinTheme(theme);
  SIZE seen{};
  LONG clientHeight = 0;
  ModalDriver driver([&](HWND hwnd) {
    seen = WindowSize(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    clientHeight = client.bottom;
    Click(hwnd, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(seen.cx, 345);
  EXPECT_EQ(seen.cy, 234);
  EXPECT_EQ(clientHeight, 234) << "no system title bar above the skin's own";
}

// The client area as shown, read back into a 32-bit DIB.
std::vector<COLORREF> Capture(HWND hwnd, int* width, int* height) {
  RECT client{};
  GetClientRect(hwnd, &client);
  *width = client.right;
  *height = client.bottom;
  DibCanvas canvas(*width, *height);
  fw::WindowDC window(hwnd);
  BitBlt(canvas.Dc(), 0, 0, *width, *height, window, 0, 0, SRCCOPY);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < *height; ++y)
    for (int x = 0; x < *width; ++x) pixels.push_back(canvas.Pixel(x, y));
  return pixels;
}

bool IsInk(COLORREF c) { return GetRValue(c) < 140 && GetGValue(c) < 140 && GetBValue(c) < 160; }

TEST(MsgDialogLook, MessageIsPaintedCentredInTheTextItemAndTheIconsAreSet) {
  CMsgDialog dialog(L"你好", nullptr, CMsgDialog::kOkOnly);
  RECT text{};
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  HICON big = nullptr, small = nullptr;
  ModalDriver driver([&](HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const RECT* item = dialog.Skin().GetItemRect(L"text");
    if (item) text = *item;
    pixels = Capture(hwnd, &width, &height);
    big = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0));
    small = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0));
    Click(hwnd, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  ASSERT_FALSE(pixels.empty());
  ASSERT_LT(text.left, text.right);
  LONG left = text.right, right = text.left;
  int ink = 0;
  for (LONG y = text.top; y < text.bottom && y < height; ++y) {
    for (LONG x = text.left; x < text.right && x < width; ++x) {
      if (!IsInk(pixels[y * width + x])) continue;
      ++ink;
      left = std::min(left, x);
      right = std::max(right, x + 1);
    }
  }
  ASSERT_GT(ink, 20) << "the message is painted, not hidden under its control";
  EXPECT_LE(std::abs((left - text.left) - (text.right - right)), 3) << "centred";
  EXPECT_NE(big, nullptr);
  EXPECT_NE(small, nullptr);
  EXPECT_EQ(big, dialog.LargeIcon());
}

TEST(MsgDialogResources, TemplateAndStringsComeFromTheModuleThatShowsTheDialog) {
  // This module has a template 129 of its own; the message dialog must not
  // pick it up.
  ASSERT_NE(FindResourceW(fw::ThisModule(), MAKEINTRESOURCEW(129), MAKEINTRESOURCEW(5)), nullptr);
  std::wstring shownText;
  bool hasOwnControl = true, hasText = false;
  ModalDriver driver([&](HWND hwnd) {
    if (auto* shown = dynamic_cast<CMsgDialog*>(fw::Wnd::FromHandle(hwnd))) shownText = shown->GetText();
    hasOwnControl = GetDlgItem(hwnd, IDC_TEST_OWN_CONTROL) != nullptr;
    hasText = GetDlgItem(hwnd, IDC_SKIN_MSGTEXT) != nullptr;
    Click(hwnd, IDOK);
  });
  EXPECT_EQ(MsgBoxResource(IDS_TEST_MESSAGE, nullptr, CMsgDialog::kOkOnly), IDOK);
  EXPECT_EQ(shownText, L"资源里的提示文字");
  EXPECT_FALSE(hasOwnControl);
  EXPECT_TRUE(hasText);
}

}  // namespace

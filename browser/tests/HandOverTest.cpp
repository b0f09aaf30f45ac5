#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "HandOver.h"
#include "SharedState.h"
#include "SkinTestSupport.h"
#include "WebUrl.h"

namespace {

// A main window on a thread of its own, as a running browser would have:
// it records each hand-over and answers with `reply` after `delayMs`.
class Receiver {
 public:
  Receiver(volatile LONG* words, LRESULT reply, DWORD delayMs = 0, bool registered = true)
      : words_(words), reply_(reply), delayMs_(delayMs) {
    thread_ = std::thread([this, registered] { Run(registered); });
    while (!ready_) Sleep(5);
  }
  ~Receiver() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }
  HWND Window() const { return window_; }
  int Count() const { return count_; }
  ULONG_PTR DwData() const { return dwData_; }
  const std::vector<char>& Bytes() const { return bytes_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Receiver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self) {
      auto* data = reinterpret_cast<COPYDATASTRUCT*>(lParam);
      self->dwData_ = data->dwData;
      self->bytes_.assign(static_cast<char*>(data->lpData), static_cast<char*>(data->lpData) + data->cbData);
      ++self->count_;
      if (self->delayMs_) Sleep(self->delayMs_);
      return self->reply_;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
  }

  void Run(bool registered) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"HandOverReceiver";
    RegisterClassW(&windowClass);
    window_ = CreateWindowW(L"HandOverReceiver", L"receiver", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (registered) CSharedState(words_).SetMainWindowIfEmpty(window_);
    ready_ = true;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  }

  volatile LONG* words_;
  LRESULT reply_;
  DWORD delayMs_;
  std::thread thread_;
  std::atomic<bool> ready_{false};
  HWND window_ = nullptr;
  std::atomic<int> count_{0};
  ULONG_PTR dwData_ = 0;
  std::vector<char> bytes_;
};

class HandOverTest : public ::testing::Test {
 protected:
  volatile LONG words_[2] = {0, 0};
};

TEST_F(HandOverTest, TheRunningBrowserTakesTheUrlInTheAnsiCodePageWithItsZero) {
  Receiver receiver(words_, 0);
  ASSERT_EQ(receiver.Window(), CSharedState(words_).GetMainWindow());
  EXPECT_EQ(0, HandOverToRunningInstance(L"http://example.org/", receiver.Window()));
  ASSERT_EQ(1, receiver.Count());
  EXPECT_EQ(COPYDATA_OPEN_URL, receiver.DwData());
  std::string ascii = "http://example.org/";
  EXPECT_EQ(ascii.size() + 1, receiver.Bytes().size()) << "cbData is the length with the zero";
  EXPECT_EQ(std::string(ascii.c_str(), ascii.size() + 1), std::string(receiver.Bytes().begin(), receiver.Bytes().end()));

  ASSERT_EQ(936u, GetACP()) << "the harness runs in code page 936";
  EXPECT_EQ(0, HandOverToRunningInstance(L"http://例子.cn/儿童", receiver.Window()));
  const char gbk[] = "http://\xc0\xfd\xd7\xd3.cn/\xb6\xf9\xcd\xaf";
  EXPECT_EQ(std::string(gbk, sizeof(gbk)), std::string(receiver.Bytes().begin(), receiver.Bytes().end()));
}

TEST_F(HandOverTest, ARefusalAnEmptyUrlOrNoWindowGoesOnStarting) {
  Receiver refusing(words_, 1);
  EXPECT_EQ(1, HandOverToRunningInstance(L"http://example.org/", refusing.Window()));
  EXPECT_EQ(1, refusing.Count());
  EXPECT_EQ(1, HandOverToRunningInstance(L"", refusing.Window()));
  EXPECT_EQ(1, refusing.Count()) << "nothing is sent without a URL";
  EXPECT_EQ(1, HandOverToRunningInstance(L"http://example.org/", nullptr));
}

TEST_F(HandOverTest, AHungBrowserCountsAsARefusalAfterTheWait) {
  Receiver hung(words_, 0, 3000);
  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(1, HandOverToRunningInstance(L"http://example.org/", hung.Window(), 300));
  EXPECT_LT(GetTickCount64() - start, 2500u) << "the start waited for the hung browser";
}

TEST_F(HandOverTest, OnlyALiveRegisteredMainWindowCountsInWordZero) {
  CSharedState state(words_);
  // An unrelated window that took the handle of a dead browser's window.
  Receiver unrelated(words_, 0, 0, /*registered=*/false);
  words_[0] = CSharedState::ToWord(unrelated.Window());
  EXPECT_EQ(1, HandOverToRunningInstance(L"http://example.org/", state.GetMainWindow()));
  EXPECT_EQ(0, unrelated.Count()) << "the URL went to a window that is no browser";

  Receiver browser(words_, 0);
  EXPECT_EQ(browser.Window(), state.GetMainWindow()) << "registration replaces the unrelated handle";
  Receiver second(words_, 0);
  EXPECT_EQ(browser.Window(), state.GetMainWindow()) << "a live registered browser keeps word 0";

  // A dead window's handle.
  HWND gone = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  words_[0] = CSharedState::ToWord(gone);
  EXPECT_EQ(1, HandOverToRunningInstance(L"http://example.org/", state.GetMainWindow()));
  state.SetMainWindowIfEmpty(second.Window());
  EXPECT_EQ(second.Window(), state.GetMainWindow());

  state.ClearMainWindowIfOwn(browser.Window());
  EXPECT_EQ(second.Window(), state.GetMainWindow()) << "only the owner clears";
  state.ClearMainWindowIfOwn(second.Window());
  EXPECT_EQ(nullptr, state.GetMainWindow());

  // 64-bit Windows sign-extends the 32 bits of a handle.
  HWND high = reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(0x80001234)));
  EXPECT_EQ(high, CSharedState::FromWord(CSharedState::ToWord(high)));
}

TEST(WebUrlTest, OnlyFtpHttpAndHttpsAddressesAreStartUrls) {
  const struct {
    const wchar_t* text;
    bool web;
  } cases[] = {
      {L"http://example.org/", true},      {L"HTTPS://example.org/a?b", true}, {L"ftp://files.example.org", true},
      {L"about:blank", false},             {L"C:\\pages\\a.html", false},      {L"file:///C:/a.html", false},
      {L"-silent", false},                 {L"", false},                       {L"example.org", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.web, IsWebUrl(c.text)) << std::string(c.text, c.text + wcslen(c.text));
}

}  // namespace

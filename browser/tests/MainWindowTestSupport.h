#pragma once
// The main window as a real window with pages that need no HTML engine, the
// password prompt and the URL history answered by the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BroswerDlg.h"
#include "DataFolderTest.h"
#include "SysConf.h"
#include "TimeLog.h"
#include "ToolInfoSizeCheck.h"

// A page that shows its address in a static window. Its title is the one the
// test gives, else its address; its snapshot is a small real file.
class FakePage : public CBrowserPage {
 public:
  ~FakePage() override { DestroyPage(); }

  bool CreatePage(HWND strip) override {
    if (!window)
      window = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 0, 0, strip,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPageId)), nullptr, nullptr);
    return window != nullptr;
  }
  void DestroyPage() override {
    if (window && ::IsWindow(window)) ::DestroyWindow(window);
    window = nullptr;
  }
  void SetLocked(bool value) override { locked = value; }
  void Navigate(const std::wstring& url) override {
    url_ = url;
    title_.clear();
  }
  void GoBack() override {}
  void GoForward() override {}
  void Refresh() override {}
  std::wstring GetTitle() const override { return title_.empty() ? url_ : title_; }
  std::wstring GetURL() const override { return url_; }
  // Only compared, never called.
  IDispatch* GetBrowserDispatch() const override {
    return reinterpret_cast<IDispatch*>(const_cast<FakePage*>(this));
  }
  int SaveSnapshot(const std::wstring& fileName) override {
    std::ofstream file(fileName.c_str(), std::ios::binary | std::ios::trunc);
    file << "BM snapshot of " << snapshots.size();
    snapshots.push_back(fileName);
    return file.good() ? 1 : 0;
  }

  // What the page shows after the control told it the title.
  void Show(const std::wstring& url, const std::wstring& title) {
    url_ = url;
    title_ = title;
  }
  std::vector<std::wstring> snapshots;
  bool locked = false;

 private:
  std::wstring url_;
  std::wstring title_;
};

class TestMainWindow : public CBroswerDlg {
 public:
  using HistoryReader = std::function<bool(std::vector<UrlHistoryEntry>&)>;

  TestMainWindow(CSysConf& settings, std::wstring& newTabUrl, HistoryReader history, UINT minuteMs)
      : CBroswerDlg(settings, newTabUrl, nullptr, minuteMs), history_(std::move(history)) {}
  bool AskPassword() override {
    if (!NeedsPassword()) return true;
    ++asks;
    return answer;
  }
  TabCtrlNotify& StripEvents() { return *this; }
  void ShowNotify(const std::wstring& text) override {
    notices.push_back({text, CTimeLog().TodayMinutes()});
    CBroswerDlg::ShowNotify(text);
  }
  int Ran(UINT_PTR timer) const { return static_cast<int>(std::count(timers.begin(), timers.end(), timer)); }
  FakePage* Selected() { return static_cast<FakePage*>(Tabs().GetSelectedTab()); }

  int asks = 0;
  bool answer = false;
  // Off: no page can be made, as when the system is out of resources.
  bool makesPages = true;
  // Layouts of the window's skin and paints of its client area.
  int layouts = 0;
  int paints = 0;
  // The timers handled, in order, each once it has run to its end, and when
  // each ended (GetTickCount).
  std::vector<UINT_PTR> timers;
  std::vector<DWORD> timerEnds;
  // The notifier's texts, each with the minutes tl.dat held when it showed.
  std::vector<std::pair<std::wstring, int>> notices;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    const bool handled = CBroswerDlg::OnMessage(message, wParam, lParam, result);
    if (message == WM_TIMER) {
      timers.push_back(wParam);
      timerEnds.push_back(::GetTickCount());
    }
    return handled;
  }
  CBrowserPage* NewPage() override { return makesPages ? new FakePage() : nullptr; }
  void OnSkinLayout() override {
    ++layouts;
    CBroswerDlg::OnSkinLayout();
  }
  void DrawSkinExtra(HDC dc) override {
    ++paints;
    CBroswerDlg::DrawSkinExtra(dc);
  }
  bool ReadUrlHistory(std::vector<UrlHistoryEntry>& entries) override {
    return history_ ? history_(entries) : false;
  }

 private:
  HistoryReader history_;
};

inline void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

class MainWindowTest : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    settings_ = CSysConf();  // read again: built with the fixture, it read the earlier test's files
  }
  void Open(bool locked) {
    settings_.fullscreen_always = locked ? 1 : 0;
    settings_.exit_need_pwd = locked ? 1 : 0;
    settings_.limited = 0;
    Start();
  }
  // The window with the settings as they are, but without the wizard, the
  // update check and the default-browser question.
  void Start() {
    settings_.first_run = 0;
    settings_.auto_update = 0;
    settings_.start_check = 0;
    settings_.Save();
    window_ = std::make_unique<TestMainWindow>(settings_, newTabUrl_, history_, minuteMs_);
    ASSERT_TRUE(window_->CreateModeless(nullptr));
    // Maximised or locked, the window shows before its delayed start has
    // made the pages, read the URL history and started the timers.
    ASSERT_TRUE(PumpUntil([this] { return window_->Ran(CBroswerDlg::kStartTimer) > 0; }, 30000))
        << "the delayed start did not run";
    Pump();
  }
  // Runs the window's messages until `done` holds; false after `bound` ms.
  static bool PumpUntil(const std::function<bool()>& done, DWORD bound) {
    const DWORD began = ::GetTickCount();
    while (!done()) {
      if (::GetTickCount() - began > bound) return false;
      Pump();
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    return true;
  }
  void TearDown() override {
    if (window_ && ::IsWindow(window_->Hwnd())) ::DestroyWindow(window_->Hwnd());
    window_.reset();
  }
  HWND Hwnd() const { return window_->Hwnd(); }
  std::wstring Caption() const {
    wchar_t text[512] = {};
    ::GetWindowTextW(Hwnd(), text, 512);
    return text;
  }

  ToolInfoSizeCheck toolInfoCheck_;
  CSysConf settings_;
  std::wstring newTabUrl_ = L"about:blank";
  UINT minuteMs_ = CNavigationPolicy::kMinuteMs;
  TestMainWindow::HistoryReader history_;
  std::unique_ptr<TestMainWindow> window_;
};

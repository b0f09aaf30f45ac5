#include "BrowserPage.h"

bool CPlainPage::CreatePage(HWND strip) {
  if (window) return true;
  window = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_CENTER, 0, 0, 0, 0, strip,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPageId)), nullptr, nullptr);
  ShowCurrent();
  return window != nullptr;
}

void CPlainPage::DestroyPage() {
  if (window && ::IsWindow(window)) ::DestroyWindow(window);
  window = nullptr;
}

void CPlainPage::Navigate(const std::wstring& url) {
  if (!visited_.empty()) visited_.resize(current_ + 1);
  visited_.push_back(url);
  current_ = visited_.size() - 1;
  ShowCurrent();
}

void CPlainPage::GoBack() {
  if (current_ == 0) return;
  --current_;
  ShowCurrent();
}

void CPlainPage::GoForward() {
  if (current_ + 1 >= visited_.size()) return;
  ++current_;
  ShowCurrent();
}

std::wstring CPlainPage::GetURL() const { return visited_.empty() ? std::wstring() : visited_[current_]; }

void CPlainPage::ShowCurrent() {
  if (window) ::SetWindowTextW(window, GetURL().c_str());
}

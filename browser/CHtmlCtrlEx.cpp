#include "CHtmlCtrlEx.h"

namespace {

const wchar_t kAppScheme[] = L"quommapp:";
const size_t kAppSchemeLength = sizeof(kAppScheme) / sizeof(kAppScheme[0]) - 1;

}  // namespace

void CHtmlCtrlEx::OnAppCommand(const std::wstring& command) {
  if (sink_ && appCommand) (sink_->*appCommand)(command);
}

void CHtmlCtrlEx::OnBeforeNavigate2(IDispatch* browser, const std::wstring& url, DWORD flags,
                                    const std::wstring& targetFrame, VARIANT* postData, const std::wstring& headers,
                                    bool& cancel) {
  if (url.size() >= kAppSchemeLength && ::_wcsnicmp(url.c_str(), kAppScheme, kAppSchemeLength) == 0) {
    OnAppCommand(url.substr(kAppSchemeLength));
    cancel = true;
    return;
  }
  if (!sink_ || !beforeNavigate2) return;
  (sink_->*beforeNavigate2)(browser, url, flags, targetFrame, postData, headers, cancel);
  if (!cancel) CHtmlCtrl::OnBeforeNavigate2(browser, url, flags, targetFrame, postData, headers, cancel);
}

void CHtmlCtrlEx::OnDocumentComplete(IDispatch* browser, const std::wstring& url) {
  if (sink_ && documentComplete) (sink_->*documentComplete)(browser, url);
}

void CHtmlCtrlEx::OnNavigateError(IDispatch* browser, const std::wstring& url, const std::wstring& targetFrame,
                                  LONG status, bool& cancel) {
  if (sink_ && navigateError) (sink_->*navigateError)(browser, url, targetFrame, status, cancel);
  CHtmlCtrl::OnNavigateError(browser, url, targetFrame, status, cancel);
}

void CHtmlCtrlEx::OnTitleChange(const std::wstring& title) {
  if (sink_ && titleChange) (sink_->*titleChange)(title);
  CHtmlCtrl::OnTitleChange(title);
}

void CHtmlCtrlEx::OnNewWindow2(IDispatch** newBrowser, VARIANT_BOOL* cancel) {
  if (sink_ && newWindow2) (sink_->*newWindow2)(newBrowser, cancel);
}

void CHtmlCtrlEx::OnProgressChange(LONG progress, LONG progressMax) {
  if (sink_ && progressChange) (sink_->*progressChange)(progress, progressMax);
  CHtmlCtrl::OnProgressChange(progress, progressMax);
}

void CHtmlCtrlEx::OnFileDownload(bool activeDocument, bool& cancel) {
  if (sink_ && fileDownload) (sink_->*fileDownload)(activeDocument, cancel);
}

void CHtmlCtrlEx::OnNavigateComplete2(IDispatch* browser, const std::wstring& url) {
  if (sink_ && navigateComplete2) (sink_->*navigateComplete2)(browser, url);
}

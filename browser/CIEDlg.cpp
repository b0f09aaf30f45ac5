#include "CIEDlg.h"

#include <algorithm>
#include <cwctype>

#include "BitmapDC.h"
#include "SnapshotBitmap.h"
#include "StringConv.h"
#include "Url.h"

namespace {

const UINT kControlId = 10050;
const wchar_t kBlankPage[] = L"about:blank";
const wchar_t kBlankTitle[] = L"空白页";
const int kCaptureMargin = 15;

bool IsBlank(const std::wstring& url) { return ::_wcsicmp(url.c_str(), kBlankPage) == 0; }

std::wstring Lower(const std::wstring& text) {
  std::wstring lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t c) { return std::towlower(c); });
  return lower;
}

// The control's own pages (its error pages) stand for an address that was
// asked before it left.
bool IsControlPage(const std::wstring& url) { return ::_wcsnicmp(url.c_str(), L"res:", 4) == 0; }

bool IsSameObject(IUnknown* a, IUnknown* b) {
  if (!a || !b) return false;
  IUnknown* first = nullptr;
  IUnknown* second = nullptr;
  a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&first));
  b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&second));
  const bool same = first && first == second;
  if (first) first->Release();
  if (second) second->Release();
  return same;
}

int Capture(HWND window, int width, int height, const std::wstring& fileName) {
  if (width <= 0 || height <= 0) return 0;
  fw::WindowDC screen(window);
  CBitmapDC picture(width, height, screen);
  if (!::BitBlt(picture, 0, 0, width, height, screen, 0, 0, SRCCOPY)) return 0;
  return WriteSnapshotBitmap(picture, width, height, fileName) ? 1 : 0;
}

}  // namespace

CIEDlg::CIEDlg(UINT templateId, HWND parent) : fw::Dialog(templateId, parent), resourceId_(templateId), owner_(parent) {}

CIEDlg::~CIEDlg() {
  // While this class is whole, so the control and OLE end in their order.
  Destroy();
}

BOOL CIEDlg::CreatePageWindow(HWND parent) { return CreateModeless(parent) ? TRUE : FALSE; }

BOOL CIEDlg::OnInitDialog() {
  background_.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
  oleStarted_ = SUCCEEDED(::OleInitialize(nullptr));
  const RECT place{50, 50, 200, 300};
  if (!control_.CreateView(Hwnd(), place, kControlId)) {
    ::MessageBoxW(Hwnd(), L"无法加载IE控件", L"", MB_OK | MB_ICONWARNING);
  } else {
    ConnectEvents();
    control_.Browser()->put_Silent(VARIANT_TRUE);
    const RECT client = ClientRect();
    ::MoveWindow(control_, 0, 0, client.right, client.bottom, TRUE);
  }
  return fw::Dialog::OnInitDialog();
}

void CIEDlg::ConnectEvents() {
  control_.SetEventSink(this);
  control_.beforeNavigate2 = static_cast<CHtmlCtrlEx::BeforeNavigate2Slot>(&CIEDlg::OnBeforeNavigate2);
  control_.documentComplete = static_cast<CHtmlCtrlEx::DocumentCompleteSlot>(&CIEDlg::OnDocumentComplete);
  control_.navigateError = static_cast<CHtmlCtrlEx::NavigateErrorSlot>(&CIEDlg::OnNavigateError);
  control_.titleChange = static_cast<CHtmlCtrlEx::TitleChangeSlot>(&CIEDlg::OnTitleChange);
  control_.newWindow2 = static_cast<CHtmlCtrlEx::NewWindow2Slot>(&CIEDlg::OnNewWindow2);
  control_.progressChange = static_cast<CHtmlCtrlEx::ProgressChangeSlot>(&CIEDlg::OnProgressChange);
  control_.fileDownload = static_cast<CHtmlCtrlEx::FileDownloadSlot>(&CIEDlg::OnFileDownload);
  control_.navigateComplete2 = static_cast<CHtmlCtrlEx::NavigateComplete2Slot>(&CIEDlg::OnNavigateComplete2);
}

bool CIEDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SIZE:
      if (control_.Hwnd()) ::MoveWindow(control_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      result = 0;
      return true;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      result = reinterpret_cast<LRESULT>(background_.Get());
      return true;
    default:
      return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }
}

// The control is gone before its page, whatever order the owner destroys in.
void CIEDlg::OnFinalMessage() {
  if (!oleStarted_) return;
  oleStarted_ = false;
  ::OleUninitialize();
}

bool CIEDlg::PreTranslateMessage(MSG& message) {
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) return true;
  try {
    return fw::Dialog::PreTranslateMessage(message);
  } catch (...) {
    return false;
  }
}

LRESULT CIEDlg::Tell(UINT message, WPARAM wParam) {
  return ::SendMessageW(owner_, message, wParam, reinterpret_cast<LPARAM>(this));
}

// The policy is given the address lower-cased.
bool CIEDlg::IsRefused(const std::wstring& lower) {
  return Tell(WM_IE_BEFORENAVIGATE, reinterpret_cast<WPARAM>(lower.c_str())) != 0;
}

void CIEDlg::OnBeforeNavigate2(IDispatch*, const std::wstring& url, DWORD, const std::wstring&, VARIANT*,
                               const std::wstring&, bool& cancel) {
  const std::wstring lower = Lower(url);
  if (IsRefused(lower)) {
    Stop();
    cancel = true;
    return;
  }
  if (lower.find(L".swf") != std::wstring::npos) {
    cancel = true;
    return;
  }
  loaded_ = 0;
}

// A server's redirect raises no BeforeNavigate2, so where a navigation of the
// page or of one of its frames arrived is asked again, as reported and as the
// frame's location. True when it is refused.
bool CIEDlg::CheckArrival(IDispatch* frame, const std::wstring& url) {
  IWebBrowser2* browser = nullptr;
  if (!frame || FAILED(frame->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) || !browser)
    return false;
  const bool topLevel = IsSameObject(browser, control_.Browser());
  const std::wstring location = fw::HtmlView::LocationURL(browser);
  const std::wstring arrived[] = {url, fw::EqualsNoCase(location, url) ? std::wstring() : location};
  bool refused = false;
  for (const std::wstring& address : arrived) {
    if (address.empty() || IsControlPage(address)) continue;
    // Already turned away: its later events are not told again.
    if (topLevel && !refused_.empty() && fw::EqualsNoCase(address, refused_)) {
      refused = true;
      break;
    }
    if (IsRefused(Lower(address))) {
      TurnAway(browser, address, topLevel);
      refused = true;
      break;
    }
  }
  if (!refused && topLevel) refused_.clear();
  browser->Release();
  return refused;
}

// The frame is stopped and goes blank; the page then shows the blank page,
// never the refused address.
void CIEDlg::TurnAway(IWebBrowser2* frame, const std::wstring& address, bool topLevel) {
  if (topLevel) {
    refused_ = address;
    url_ = kBlankPage;
  }
  frame->Stop();
  fw::HtmlView::Navigate(frame, kBlankPage);
  if (topLevel) OnTitleChange(kBlankPage);
}

void CIEDlg::OnDocumentComplete(IDispatch* browser, const std::wstring& url) {
  loaded_ = 1;
  if (CheckArrival(browser, url)) return;
  // Only the top-level document carries the location; frames tell nothing.
  if (::_wcsicmp(url.c_str(), control_.LocationURL().c_str()) == 0) Tell(WM_IE_DOCCOMPLETE);
}

void CIEDlg::OnNavigateError(IDispatch* browser, const std::wstring& url, const std::wstring&, LONG, bool&) {
  loaded_ = 1;
  Tell(WM_IE_NAVERROR);
  CheckArrival(browser, url);
}

void CIEDlg::OnNavigateComplete2(IDispatch* browser, const std::wstring& url) { CheckArrival(browser, url); }

void CIEDlg::OnTitleChange(const std::wstring& title) {
  title_ = title;
  Tell(WM_IE_TITLECHANGE);
}

LRESULT CIEDlg::OnNewWindow2(IDispatch** newBrowser, VARIANT_BOOL* cancel) {
  return ::SendMessageW(owner_, WM_IE_NEWWINDOW, reinterpret_cast<WPARAM>(newBrowser),
                        reinterpret_cast<LPARAM>(cancel));
}

LRESULT CIEDlg::OnProgressChange(LONG, LONG) { return Tell(WM_IE_PROGRESS); }

// A locked page downloads nothing: the download dialog's Open starts the
// file and its Save opens a file dialog. Pages the browser shows itself load.
void CIEDlg::OnFileDownload(bool activeDocument, bool& cancel) {
  if (control_.IsLocked() && !activeDocument) cancel = true;
}

void CIEDlg::SetLocked(bool locked) {
  control_.SetContextMenuMode(locked ? 0 : 1);
  control_.SetLocked(locked);
}

void CIEDlg::Navigate(const std::wstring& url) {
  title_ = url;
  url_ = url;
  if (IsBlank(url))
    title_ = kBlankTitle;
  else if (!fw::Url::Parse(url))
    return;
  control_.Navigate(url);
}

void CIEDlg::GoBack() {
  if (control_.Browser()) control_.Browser()->GoBack();
}

void CIEDlg::GoForward() {
  if (control_.Browser()) control_.Browser()->GoForward();
}

void CIEDlg::Refresh() {
  if (control_.Browser()) control_.Browser()->Refresh();
}

void CIEDlg::Stop() {
  if (control_.Browser()) control_.Browser()->Stop();
}

std::wstring CIEDlg::GetTitle() const { return IsBlank(GetURL()) ? kBlankTitle : title_; }

std::wstring CIEDlg::GetURL() const {
  const std::wstring location = control_.LocationURL();
  if (location.empty() || (!refused_.empty() && fw::EqualsNoCase(location, refused_))) return url_;
  return location;
}

IDispatch* CIEDlg::GetBrowserDispatch() const {
  IDispatch* application = nullptr;
  if (!control_.Browser() || FAILED(control_.Browser()->get_Application(&application))) return nullptr;
  return application;
}

int CIEDlg::SaveSnapshot(const std::wstring& fileName) {
  if (!loaded_) return 0;
  IHTMLDocument2* document = control_.GetHtmlDocument2();
  if (!document) return 0;
  IHTMLElement* body = nullptr;
  IHTMLElementRender* render = nullptr;
  if (SUCCEEDED(document->get_body(&body)) && body)
    body->QueryInterface(__uuidof(IHTMLElementRender), reinterpret_cast<void**>(&render));
  int written = 0;
  const RECT client = ClientRect();
  if (render && client.right > 0 && client.bottom > 0) {
    CBitmapDC picture(client.right, client.bottom);
    // Drawn twice: the first pass may leave parts of the page unpainted.
    render->DrawToDC(picture);
    render->DrawToDC(picture);
    written = WriteSnapshotBitmap(picture, client.right, client.bottom, fileName) ? 1 : 0;
  }
  if (render) render->Release();
  if (body) body->Release();
  document->Release();
  return written;
}

int CIEDlg::CaptureControl(const std::wstring& fileName) {
  const RECT client = control_.ClientRect();
  return Capture(control_, client.right - kCaptureMargin, client.bottom - kCaptureMargin, fileName);
}

int CIEDlg::CaptureWindow(HWND window, const std::wstring& fileName) {
  RECT client{};
  ::GetClientRect(window, &client);
  return Capture(window, client.right - kCaptureMargin, client.bottom - kCaptureMargin, fileName);
}

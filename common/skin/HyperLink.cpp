#include "HyperLink.h"

#include <commctrl.h>
#include <shellapi.h>

#include "StringConv.h"
#include "ToolInfo.h"

namespace {

std::wstring ClassesRootDefault(const std::wstring& subkey) {
  wchar_t value[MAX_PATH] = {};
  LONG size = sizeof(value);
  if (::RegQueryValueW(HKEY_CLASSES_ROOT, subkey.c_str(), value, &size) != ERROR_SUCCESS) return {};
  value[MAX_PATH - 1] = L'\0';
  return value;
}

bool IsWebAddress(const std::wstring& url) {
  std::wstring lower = fw::ToLower(url);
  return lower.rfind(L"http://", 0) == 0 || lower.rfind(L"https://", 0) == 0 || lower.rfind(L"ftp://", 0) == 0;
}

// The program of a registered command line: its first, possibly quoted, word.
std::wstring CommandProgram(const std::wstring& command) {
  size_t start = command.find_first_not_of(L' ');
  if (start == std::wstring::npos) return {};
  if (command[start] == L'"') {
    size_t end = command.find(L'"', start + 1);
    return end == std::wstring::npos ? std::wstring() : command.substr(start + 1, end - start - 1);
  }
  size_t end = command.find(L' ', start);
  return command.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

}  // namespace

CHyperLink::~CHyperLink() {
  if (toolTip_) ::DestroyWindow(toolTip_);
  if (ownsCursor_ && cursor_) ::DestroyCursor(cursor_);
}

void CHyperLink::PreSubclassWindow() {
  HWND control = Hwnd();
  ::SetWindowLongPtrW(control, GWL_STYLE, ::GetWindowLongPtrW(control, GWL_STYLE) | SS_NOTIFY);
  if (GetText().empty()) SetText(url_);
  MakeFont();
  FitToText();
  if (!cursor_) LoadDefaultCursor();
  toolTip_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr, fw::ThisModule(), nullptr);
  if (toolTip_) {
    TOOLINFOW tool = fw::ToolInfo(control, kToolId);
    tool.rect = ClientRect();
    std::wstring text = tipText_.empty() ? url_ : tipText_;
    tool.lpszText = text.data();
    ::SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void CHyperLink::UpdateTip() {
  if (!toolTip_) return;
  TOOLINFOW tool = fw::ToolInfo(Hwnd(), kToolId);
  std::wstring text = tipText_.empty() ? url_ : tipText_;
  tool.lpszText = text.data();
  ::SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CHyperLink::SetURL(const std::wstring& url) {
  url_ = url;
  if (!Hwnd()) return;
  FitToText();
  UpdateTip();
}

void CHyperLink::SetTipText(const std::wstring& text) {
  tipText_ = text;
  UpdateTip();
}

void CHyperLink::SetColours(COLORREF link, COLORREF visited, COLORREF hover) {
  linkColour_ = link;
  visitedColour_ = visited;
  hoverColour_ = hover == CLR_INVALID ? ::GetSysColor(COLOR_HIGHLIGHT) : hover;
  Redraw();
}

void CHyperLink::SetVisited(bool visited) {
  visited_ = visited;
  Redraw();
}

void CHyperLink::SetLinkCursor(HCURSOR cursor) {
  if (ownsCursor_ && cursor_) ::DestroyCursor(cursor_);
  cursor_ = cursor;
  ownsCursor_ = false;
  if (!cursor_) LoadDefaultCursor();
}

void CHyperLink::SetUnderline(bool underline) {
  underline_ = underline;
  if (!Hwnd()) return;
  MakeFont();
  Redraw();
}

void CHyperLink::SetAutoSize(bool fit) {
  fitToText_ = fit;
  FitToText();
}

COLORREF CHyperLink::CurrentColour() const {
  if (over_) return hoverColour_;
  return visited_ ? visitedColour_ : linkColour_;
}

void CHyperLink::Redraw() {
  if (!Hwnd()) return;
  ::InvalidateRect(Hwnd(), nullptr, TRUE);
  ::UpdateWindow(Hwnd());
}

void CHyperLink::MakeFont() {
  HFONT current = reinterpret_cast<HFONT>(Send(WM_GETFONT));
  LOGFONTW description{};
  ::GetObjectW(current ? static_cast<HGDIOBJ>(current) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(description),
               &description);
  description.lfUnderline = underline_ ? TRUE : FALSE;
  fw::ScopedFont font(::CreateFontIndirectW(&description));
  if (!font) return;
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  font_ = std::move(font);  // the old one is deleted only after the control let go of it
}

void CHyperLink::FitToText() {
  if (!fitToText_ || !Hwnd()) return;
  HWND parent = ::GetParent(Hwnd());
  RECT rect = WindowRect();
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  std::wstring text = GetText();
  fw::WindowDC dc(Hwnd());
  fw::ScopedSelectObject select(dc, font_.Get());
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  LONG_PTR style = ::GetWindowLongPtrW(Hwnd(), GWL_STYLE);
  if (style & SS_CENTERIMAGE) {
    LONG spare = (rect.bottom - rect.top - extent.cy) / 2;
    rect.top += spare;
    rect.bottom = rect.top + extent.cy;
  } else {
    rect.bottom = rect.top + extent.cy;
  }
  if ((style & SS_TYPEMASK) == SS_CENTER) {
    LONG spare = (rect.right - rect.left - extent.cx) / 2;
    rect.left += spare;
    rect.right = rect.left + extent.cx;
  } else if ((style & SS_TYPEMASK) == SS_RIGHT) {
    rect.left = rect.right - extent.cx;
  } else {
    rect.right = rect.left + extent.cx;
  }
  ::SetWindowPos(Hwnd(), nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER);
}

void CHyperLink::LoadDefaultCursor() {
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  std::wstring helper = std::wstring(windows) + L"\\winhlp32.exe";
  HMODULE module = ::LoadLibraryExW(helper.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return;
  HCURSOR hand = ::LoadCursorW(module, MAKEINTRESOURCEW(106));
  if (hand) {
    cursor_ = static_cast<HCURSOR>(::CopyImage(hand, IMAGE_CURSOR, 0, 0, 0));
    ownsCursor_ = cursor_ != nullptr;
  }
  ::FreeLibrary(module);
}

INT_PTR CHyperLink::GotoURL(const std::wstring& url, int showCommand) {
  INT_PTR result =
      reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, showCommand));
  if (result > 32 || !IsWebAddress(url)) return result;
  std::wstring pageClass = ClassesRootDefault(L".htm");
  if (pageClass.empty()) return result;
  std::wstring command = ClassesRootDefault(pageClass + L"\\shell\\open\\command");
  std::wstring program = CommandProgram(command);
  if (program.empty()) return result;
  // The address is one argument of its own, quoted, never part of the command.
  std::wstring argument = L"\"" + url + L"\"";
  return reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", program.c_str(), argument.c_str(), nullptr, showCommand));
}

std::wstring CHyperLink::ErrorText(INT_PTR code) {
  switch (code) {
    case 0: return L"The operating system is out\nof memory or resources.";
    case 2: return L"The specified file was not found.";
    case 3: return L"The specified path was not found.";
    case 5: return L"The operating system denied\naccess to the specified file.";
    case 8: return L"There was not enough memory to complete the operation.";
    case 11: return L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26: return L"A sharing violation occurred. ";
    case 27: return L"The filename association is\nincomplete or invalid.";
    case 28: return L"The DDE transaction could not\nbe completed because the request timed out.";
    case 29: return L"The DDE transaction failed.";
    case 30: return L"The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case 31: return L"There is no application associated\nwith the given filename extension.";
    case 32: return L"The specified dynamic-link library was not found.";
    default: return fw::Format(L"Unknown Error (%d) occurred.", static_cast<int>(code));
  }
}

void CHyperLink::ReportError(INT_PTR code) {
  std::wstring text = L"Unable to open hyperlink:\n\n" + ErrorText(code);
  ::MessageBoxW(Hwnd(), text.c_str(), nullptr, MB_ICONEXCLAMATION | MB_OK);
}

void CHyperLink::Click() {
  std::wstring url = url_;
  HWND parent = ::GetParent(Hwnd());
  if (parent && ::SendMessageW(parent, WM_LINK_CLICKED, reinterpret_cast<WPARAM>(url.c_str()), 0) == 1) return;
  INT_PTR result = OpenURL(url_);
  if (result > 32) {
    SetVisited(true);
    return;
  }
  ::MessageBeep(MB_ICONEXCLAMATION);
  ReportError(result);
}

bool CHyperLink::OnReflect(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
    Click();
    return true;
  }
  if (message == WM_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, CurrentColour());
    ::SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    return true;
  }
  return false;
}

bool CHyperLink::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (toolTip_ && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    MSG relayed{Hwnd(), message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::SendMessageW(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  if (message == WM_SETCURSOR) {
    if (!cursor_) return false;
    ::SetCursor(cursor_);
    result = TRUE;
    return true;
  }
  if (message == WM_MOUSEMOVE) {
    result = DefaultProc(message, wParam, lParam);
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client = ClientRect();
    if (!over_) {
      over_ = true;
      Redraw();
      ::SetCapture(Hwnd());
    } else if (!::PtInRect(&client, at)) {
      over_ = false;
      ::ReleaseCapture();
      Redraw();
    }
    return true;
  }
  if (message == WM_CAPTURECHANGED && over_) {
    // Another window took the mouse (a program came forward after a
    // click): no move outside will come to end the hover.
    over_ = false;
    Redraw();
    return false;
  }
  return fw::Wnd::OnMessage(message, wParam, lParam, result);
}

#include "FrameDlg.h"

#include <windowsx.h>

#include <algorithm>

namespace {

const UINT kProgramIconId = 128;

HICON LoadProgramIcon(HINSTANCE module, int size) {
  return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, size, size, 0));
}

bool InRect(const RECT& rect, POINT point) { return ::PtInRect(&rect, point) != FALSE; }

HCURSOR SizingCursor(UINT code) {
  switch (code) {
    case HTLEFT:
    case HTRIGHT:
      return ::LoadCursorW(nullptr, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM:
      return ::LoadCursorW(nullptr, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
      return ::LoadCursorW(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      return ::LoadCursorW(nullptr, IDC_SIZENESW);
    default:
      return nullptr;
  }
}

// Centred on the visible owner, or on the work area.
void CentreWindow(HWND window) {
  RECT area{};
  HWND owner = ::GetWindow(window, GW_OWNER);
  if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
    ::GetWindowRect(owner, &area);
  else
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT own{};
  ::GetWindowRect(window, &own);
  int x = area.left + ((area.right - area.left) - (own.right - own.left)) / 2;
  int y = area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2;
  ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CFrameDlg::CFrameDlg(UINT templateId, HWND parent, HINSTANCE module) : CSkinDlg(templateId, parent, module) {
  m_strSkinElement = L"framedialog";
  m_strSkinFile = L"commonskin.xml";
  if (m_largeIcon) return;
  m_largeIcon.Reset(LoadProgramIcon(module, 32));
  m_smallIcon.Reset(LoadProgramIcon(module, 16));
}

void CFrameDlg::SetCaptionButtons(bool hasMin, bool hasUp, bool hasMax, bool hasClose) {
  hasMin_ = hasMin;
  hasUp_ = hasUp;
  hasMax_ = hasMax;
  hasClose_ = hasClose;
}

void CFrameDlg::SetChildWnd(HWND child, int preferredWidth, int preferredHeight) {
  child_ = child;
  preferredWidth_ = preferredWidth;
  preferredHeight_ = preferredHeight;
}

CButtonST& CFrameDlg::CaptionButton(UINT id) {
  switch (id) {
    case kMinButtonId:
      return minButton_;
    case kMaxButtonId:
      return maxButton_;
    case kRestoreButtonId:
      return restoreButton_;
    case kUpButtonId:
      return upButton_;
    default:
      return closeButton_;
  }
}

void CFrameDlg::OnFrameInit() {}
bool CFrameDlg::CanMinimize() { return true; }
bool CFrameDlg::CanMaximize() { return true; }

BOOL CFrameDlg::OnInitDialog() {
  CSkinDlg::OnInitDialog();
  SetMovable(TRUE);
  if (m_largeIcon) Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_largeIcon.Get()));
  if (m_smallIcon) Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
  CreateCaptionButtons();
  OnFrameInit();
  bool preferred = preferredWidth_ && preferredHeight_;
  int width = preferred ? preferredWidth_ : m_skin.Width();
  int height = preferred ? preferredHeight_ : m_skin.Height();
  // Without any size the template's stays: a 0 x 0 frame could never be seen
  // or grabbed.
  if (width > 0 && height > 0) ::SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  if (hasMin_) style |= WS_MINIMIZEBOX;
  if (hasMax_) style |= WS_MAXIMIZEBOX;
  ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
  CentreWindow(hwnd_);
  ::SetForegroundWindow(hwnd_);
  if (child_ && ::IsWindow(child_)) ::SetFocus(child_);
  return FALSE;
}

void CFrameDlg::CreateCaptionButton(CButtonST& button, UINT id, const wchar_t* item, bool visible) {
  DWORD style = WS_CHILD | BS_PUSHBUTTON | (visible ? WS_VISIBLE : 0);
  HWND window = ::CreateWindowExW(0, L"Button", L"", style, 0, 0, 0, 0, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), Module(), nullptr);
  if (!window) return;
  button.SubclassButton(window);
  SetButtonSkin(item, &button);
  SetSkinItemWnd(item, window);
}

void CFrameDlg::CreateCaptionButtons() {
  if (hasMax_) {
    CreateCaptionButton(maxButton_, kMaxButtonId, L"max", true);
    CreateCaptionButton(restoreButton_, kRestoreButtonId, L"restore", false);
  }
  if (hasMin_) CreateCaptionButton(minButton_, kMinButtonId, L"min", true);
  if (hasClose_) CreateCaptionButton(closeButton_, kCloseButtonId, L"close", true);
  if (hasUp_) CreateCaptionButton(upButton_, kUpButtonId, L"up", true);
}

void CFrameDlg::BindSkinItems() {
  if (!child_ || !::IsWindow(child_)) return;
  // A top-level window must turn into a child before it is given a parent.
  LONG_PTR style = ::GetWindowLongPtrW(child_, GWL_STYLE);
  if (!(style & WS_CHILD))
    ::SetWindowLongPtrW(child_, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
  ::SetParent(child_, hwnd_);
  ::ShowWindow(child_, SW_SHOW);
  SetSkinItemWnd(L"childwnd", child_);
  int length = ::GetWindowTextLengthW(child_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(0, ::GetWindowTextW(child_, &text[0], length + 1))));
  if (text.empty()) text = GetText();
  SetText(text);
  m_skin.SetItemText(L"title", text, 0, false);
}

void CFrameDlg::OnSkinLayout() {
  if (hasMax_) return;
  tagSkinItem* max = m_skin.FindItem(L"max");
  tagSkinItem* min = m_skin.FindItem(L"min");
  tagSkinItem* up = m_skin.FindItem(L"up");
  if (!max || !min || !up) return;
  // The remaining buttons close up to the right.
  if (hasUp_) up->rect = hasMin_ ? min->rect : max->rect;
  if (hasMin_) min->rect = max->rect;
}

void CFrameDlg::OnSkinPrePaint() { caption_ = CaptionRect(); }

RECT CFrameDlg::CaptionRect() const {
  RECT window = WindowRect();
  const RECT* topLeft = m_skin.GetItemRect(L"topleft");
  if (!topLeft) return window;
  // An item not laid out yet, or a window lower than its caption, must not
  // give an inverted rectangle.
  LONG bottom = window.top + std::max<LONG>(topLeft->bottom, 0);
  window.bottom = std::min(window.bottom, bottom);
  return window;
}

UINT CFrameDlg::HitTest(POINT screen) {
  caption_ = CaptionRect();
  UINT code = InRect(caption_, screen) ? HTCAPTION : HTNOWHERE;
  if (!HasMaximizeBox()) return code;
  RECT w = WindowRect();
  const int b = kBorder;
  // Later matches win, so the corner squares beat the strips.
  const struct {
    RECT area;
    UINT code;
  } zones[] = {
      {{w.left, w.top, w.left + b, w.bottom}, HTLEFT},
      {{w.left, w.top, w.right, w.top + b}, HTTOP},
      {{w.right - b, w.top, w.right, w.bottom}, HTRIGHT},
      {{w.left, w.bottom - b, w.right, w.bottom}, HTBOTTOM},
      {{w.left, w.top, w.left + b, w.top + b}, HTTOPLEFT},
      {{w.right - b, w.top, w.right, w.top + b}, HTTOPRIGHT},
      {{w.left, w.bottom - b, w.left + b, w.bottom}, HTBOTTOMLEFT},
      {{w.right - b, w.bottom - b, w.right, w.bottom}, HTBOTTOMRIGHT},
  };
  for (const auto& zone : zones) {
    if (InRect(zone.area, screen)) code = zone.code;
  }
  return code;
}

void CFrameDlg::SendSysCommand(UINT command, LPARAM position) {
  ::SendMessageW(hwnd_, WM_SYSCOMMAND, command, position);
}

// Mouse-chosen system commands carry the cursor in screen coordinates.
void CFrameDlg::OnMinButton() {
  if (CanMinimize()) SendSysCommand(SC_MINIMIZE, static_cast<LPARAM>(::GetMessagePos()));
}

void CFrameDlg::OnMaxButton() {
  if (CanMaximize()) SendSysCommand(SC_MAXIMIZE, static_cast<LPARAM>(::GetMessagePos()));
}

void CFrameDlg::OnCloseButton() { SendSysCommand(SC_CLOSE, static_cast<LPARAM>(::GetMessagePos())); }

void CFrameDlg::OnRestoreButton() { SendSysCommand(SC_RESTORE, static_cast<LPARAM>(::GetMessagePos())); }

void CFrameDlg::OnUpButton() {
  // The window menu opens below the button (or at the caption's corner
  // without one); HTSYSMENU tells the system it is the window menu that is
  // meant, not a menu bar.
  RECT anchor = upButton_.Hwnd() ? upButton_.WindowRect() : CaptionRect();
  SendSysCommand(SC_MOUSEMENU | HTSYSMENU, MAKELPARAM(anchor.left, anchor.bottom));
}

LRESULT CFrameDlg::NotifyChild(UINT command) {
  if (!child_) return 0;
  NMHDR header{};
  header.hwndFrom = hwnd_;
  header.idFrom = command;
  header.code = 0;
  return ::SendMessageW(child_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

void CFrameDlg::UpdateSysMenuSize(HMENU menu) {
  if (!menu) menu = ::GetSystemMenu(hwnd_, FALSE);
  if (!menu) return;
  bool fixed = IsMaximizedOrMinimized() || !HasMaximizeBox();
  ::EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | (fixed ? MF_GRAYED | MF_DISABLED : MF_ENABLED));
}

void CFrameDlg::ShowMaximizedButtons(bool maximized) {
  if (maxButton_.Hwnd()) ::ShowWindow(maxButton_.Hwnd(), maximized ? SW_HIDE : SW_SHOW);
  if (restoreButton_.Hwnd()) ::ShowWindow(restoreButton_.Hwnd(), maximized ? SW_SHOW : SW_HIDE);
}

bool CFrameDlg::OnSysCommand(WPARAM wParam, LPARAM) {
  // The low four bits are the system's own (the sizing edge, HTSYSMENU of
  // the window menu); the command is what is left.
  const UINT command = static_cast<UINT>(wParam & 0xFFF0);
  if (command == SC_MAXIMIZE) ShowMaximizedButtons(true);
  if (command == SC_RESTORE && hasMax_) ShowMaximizedButtons(false);
  // Whatever the edge, a frame that cannot be sized by its borders is not
  // sized from its menu.
  if (command == SC_SIZE && (!HasMaximizeBox() || IsMaximizedOrMinimized())) return true;
  return NotifyChild(command) != 0;
}

bool CFrameDlg::OnSetCursor() {
  if (IsMaximizedOrMinimized()) return false;
  POINT cursor{};
  ::GetCursorPos(&cursor);
  HCURSOR shape = SizingCursor(HitTest(cursor));
  if (!shape) return false;
  ::SetCursor(shape);
  return true;
}

void CFrameDlg::OnFrameLButtonDown(LPARAM lParam) {
  if (!IsMaximizedOrMinimized()) {
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ClientToScreen(hwnd_, &at);
    UINT code = HitTest(at);
    if (code != HTNOWHERE) {
      LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
      ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
      ::PostMessageW(hwnd_, WM_NCLBUTTONDOWN, code, MAKELPARAM(at.x, at.y));
      // One loop per press: the background drag below would post a second
      // one that fights this.
      return;
    }
  }
  CSkinDlg::OnLButtonDown(lParam);
}

bool CFrameDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (code != BN_CLICKED) return CSkinDlg::OnCommand(id, code, control);
  switch (id) {
    case kMinButtonId:
      OnMinButton();
      return true;
    case kMaxButtonId:
      OnMaxButton();
      return true;
    case kCloseButtonId:
      OnCloseButton();
      return true;
    case kRestoreButtonId:
      OnRestoreButton();
      return true;
    case kUpButtonId:
      OnUpButton();
      return true;
    default:
      return CSkinDlg::OnCommand(id, code, control);
  }
}

bool CFrameDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam, lParam);
    case WM_INITMENU: {
      CSkinDlg::OnMessage(message, wParam, lParam, result);
      DefaultDialogProc(message, wParam, lParam);
      HMENU menu = reinterpret_cast<HMENU>(wParam);
      HMENU system = ::GetSystemMenu(hwnd_, FALSE);
      if (system && ::GetSubMenu(menu, 0) == system) UpdateSysMenuSize(system);
      result = 0;
      return true;
    }
    case WM_LBUTTONDBLCLK:
      if (!HasMaximizeBox()) return false;
      if (::IsZoomed(hwnd_))
        OnRestoreButton();
      else
        OnMaxButton();
      return false;
    case WM_SETCURSOR:
      if (!OnSetCursor()) return false;
      result = TRUE;
      return true;
    case WM_LBUTTONDOWN:
      OnFrameLButtonDown(lParam);
      return false;
    case WM_CAPTURECHANGED: {
      LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
      ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style | WS_SYSMENU);
      return false;
    }
    case WM_GETMINMAXINFO:
      if ((m_skin.MinWidth() && m_skin.MinHeight()) || !child_) break;
      result = ::SendMessageW(child_, WM_GETMINMAXINFO, wParam, lParam);
      return true;
    case WM_SIZE:
      CSkinDlg::OnMessage(message, wParam, lParam, result);
      if (wParam == SIZE_MAXIMIZED) ShowMaximizedButtons(true);
      // Restored by any other way than the restore button: the max button
      // comes back all the same.
      if (wParam == SIZE_RESTORED && hasMax_) ShowMaximizedButtons(false);
      return true;
    default:
      break;
  }
  return CSkinDlg::OnMessage(message, wParam, lParam, result);
}

// The owner-drawn button's window side: subclassing, messages, hover
// tracking, the tooltip, the click and the drop-down menu.
#include "ButtonST.h"

#include <commctrl.h>
#include <windowsx.h>

#include "BCMenu.h"
#include "ToolInfo.h"

namespace {

const UINT kTypeMask = 0x0F;
const UINT kToolId = 1;
const UINT kMenuTrackFlags = TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD;  // 0x182

// The button's one tool in its tooltip.
TOOLINFOW ToolOf(HWND button) { return fw::ToolInfo(button, kToolId); }

}  // namespace

// ---------------------------------------------------------------------------
// Subclassing

void CButtonST::PreSubclassWindow() {
  HWND button = Hwnd();
  LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
  buttonType_ = static_cast<int>(style & kTypeMask);
  switch (buttonType_) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
      isCheckBox_ = true;
      alignment_ = ST_ALIGN_HORIZ;
      break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      isRadio_ = true;
      alignment_ = ST_ALIGN_HORIZ;
      break;
    case BS_DEFPUSHBUTTON:
      isDefault_ = true;
      buttonType_ = BS_PUSHBUTTON;
      break;
    default:
      break;
  }
  // A button created disabled never sees WM_ENABLE.
  disabled_ = !::IsWindowEnabled(button);
  ::SetWindowLongPtrW(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(kTypeMask)) | BS_OWNERDRAW);
  ::SetWindowPos(button, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(button, nullptr, TRUE);
}

// ---------------------------------------------------------------------------
// Messages

bool CButtonST::PreTranslateMessage(MSG& message) {
  // A double click acts as a second click.
  if (message.hwnd == Hwnd() && message.message == WM_LBUTTONDBLCLK) message.message = WM_LBUTTONDOWN;
  return fw::Wnd::PreTranslateMessage(message);
}

bool CButtonST::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_MENUCHAR:
      return OnMenuChar(wParam, lParam, result);
    case WM_MEASUREITEM:
      return OnMeasureMenuItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), result);
    case WM_DRAWITEM:
      return OnDrawMenuItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), result);
    default:
      break;
  }
  return OnPointerMessage(message, wParam, lParam, result) || OnWindowStateMessage(message, wParam, lParam, result) ||
         OnButtonMessage(message, wParam, lParam, result);
}

bool CButtonST::OnPointerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETCURSOR:
      if (!cursor_) return false;
      ::SetCursor(cursor_);
      result = TRUE;
      return true;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      result = 0;
      return true;
    case WM_MOUSELEAVE:
      CancelHover();
      OnHoverLeave();
      mouseOver_ = false;
      DestroyTooltip();
      result = 0;
      return true;
    case WM_LBUTTONDBLCLK:
      // Also when no framework loop translated it: a double click is a click.
      result = DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
      return true;
    case WM_SIZE:
      result = DefaultProc(message, wParam, lParam);
      ResizeTool(LOWORD(lParam), HIWORD(lParam));
      return true;
    default:
      return false;
  }
}

bool CButtonST::OnWindowStateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
      result = DefaultProc(message, wParam, lParam);
      CancelHover();
      return true;
    case WM_ACTIVATE:
      result = DefaultProc(message, wParam, lParam);
      if (LOWORD(wParam) == WA_INACTIVE) CancelHover();
      return true;
    case WM_ENABLE:
      result = DefaultProc(message, wParam, lParam);
      if (!wParam) CancelHover();
      disabled_ = wParam == FALSE;
      Repaint();
      return true;
    case WM_SYSCOLORCHANGE:
      result = DefaultProc(message, wParam, lParam);
      DropSnapshot();
      ResetColorsToSystem(TRUE);
      return true;
    default:
      return false;
  }
}

bool CButtonST::OnButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_GETDLGCODE:
      result = DefaultProc(message, wParam, lParam) | (isDefault_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      return true;
    case BM_SETSTYLE: {
      UINT type = static_cast<UINT>(wParam) & kTypeMask;
      if (type == BS_DEFPUSHBUTTON) isDefault_ = true;
      else if (type == BS_PUSHBUTTON) isDefault_ = false;
      // Whatever kind is asked for, the button stays owner-drawn.
      result = DefaultProc(message, (wParam & ~static_cast<WPARAM>(kTypeMask)) | BS_OWNERDRAW, lParam);
      return true;
    }
    case BM_SETCHECK:
      SetCheckState(wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? 1 : 0, TRUE);
      result = 0;
      return true;
    case BM_GETCHECK:
      result = GetCheckState();
      return true;
    default:
      return false;
  }
}

bool CButtonST::OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_COMMAND:
      // The parent still receives the click.
      if (HIWORD(wParam) == BN_CLICKED) OnClicked();
      return false;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// Hover

void CButtonST::OnMouseMove(WPARAM flags, POINT point) {
  BuildTooltip();
  RelayToTooltip(flags, point);
  DefaultProc(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
  POINT screen = point;
  ::ClientToScreen(Hwnd(), &screen);
  HWND under = ::WindowFromPoint(screen);
  if ((flags & MK_LBUTTON) && !mouseOver_) return;
  HWND active = trackWhenInactive_ ? Hwnd() : ::GetActiveWindow();
  if (under != Hwnd() || !active) {
    CancelHover();
    return;
  }
  if (!mouseOver_) EnterHover();
}

void CButtonST::EnterHover() {
  mouseOver_ = true;
  if (flat_) Repaint();
  if (!OnHoverEnter()) {
    mouseOver_ = false;
    if (flat_) Repaint();
    return;
  }
  PlaySlot(0);
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Hwnd(), 0};
  ::TrackMouseEvent(&track);
}

void CButtonST::CancelHover() {
  // A 3-D button keeps its hover flag until the pointer really leaves.
  if (flat_ && mouseOver_) {
    mouseOver_ = false;
    Repaint();
  }
}

// ---------------------------------------------------------------------------
// Tooltip

void CButtonST::SetTooltipText(const std::wstring& text) {
  tooltipText_ = text;
  if (!tooltip_) return;
  TOOLINFOW tool = ToolOf(Hwnd());
  tool.lpszText = const_cast<wchar_t*>(tooltipText_.c_str());
  ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CButtonST::SetTooltipTextResource(UINT stringId) {
  const wchar_t* text = nullptr;
  int length = ::LoadStringW(fw::ThisModule(), stringId, reinterpret_cast<wchar_t*>(&text), 0);
  if (length > 0 && text) SetTooltipText(std::wstring(text, static_cast<size_t>(length)));
}

void CButtonST::EnableTooltip(BOOL on) {
  if (tooltip_ && ::SendMessageW(tooltip_, TTM_GETTOOLCOUNT, 0, 0) > 0)
    ::SendMessageW(tooltip_, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

void CButtonST::BuildTooltip() {
  if (tooltip_ || tooltipText_.empty() || !Hwnd()) return;
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&init);
  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | tooltipStyle_, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, nullptr, nullptr);
  if (!tooltip_) return;
  ::SendMessageW(tooltip_, TTM_ACTIVATE, TRUE, 0);
  ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
  if (::SendMessageW(tooltip_, TTM_GETTOOLCOUNT, 0, 0) > 0) return;
  TOOLINFOW tool = ToolOf(Hwnd());
  tool.rect = ClientRect();
  tool.lpszText = const_cast<wchar_t*>(tooltipText_.c_str());
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CButtonST::DestroyTooltip() {
  if (tooltip_) ::DestroyWindow(tooltip_);
  tooltip_ = nullptr;
}

void CButtonST::RelayToTooltip(WPARAM flags, POINT point) const {
  if (!tooltip_) return;
  // A relayed mouse message carries its point in lParam, as a real one does.
  MSG relayed{};
  relayed.hwnd = Hwnd();
  relayed.message = WM_MOUSEMOVE;
  relayed.wParam = flags;
  relayed.lParam = MAKELPARAM(point.x, point.y);
  relayed.time = static_cast<DWORD>(::GetMessageTime());
  ::GetCursorPos(&relayed.pt);
  ::SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void CButtonST::ResizeTool(int width, int height) {
  if (!tooltip_) return;
  TOOLINFOW tool = ToolOf(Hwnd());
  tool.rect = RECT{0, 0, width, height};
  ::SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// ---------------------------------------------------------------------------
// Click and drop-down menu

void CButtonST::OnClicked() {
  ::SetFocus(Hwnd());
  PlaySlot(1);
  if (isCheckBox_ || isRadio_) {
    checked_ = !checked_;
    Repaint();
    return;
  }
  if (HasMenu()) {
    ShowMenu();
    return;
  }
  OpenLink();
}

void CButtonST::OpenLink() const {
  if (url_.empty() || !shellExecute) return;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = Hwnd();
  info.lpVerb = L"open";
  info.lpFile = url_.c_str();
  info.nShow = SW_SHOWMAXIMIZED;
  shellExecute(&info);
}

void CButtonST::ShowMenu() {
  HWND self = Hwnd();
  RECT rect = WindowRect();
  menuShown_ = true;
  Repaint();
  ::UpdateWindow(self);
  BCMenu* sub = menu_->GetSubMenu(0);
  HMENU popup = sub ? sub->GetSafeHmenu() : nullptr;
  if (notifyWindow_) ::SendMessageW(notifyWindow_, notifyMessage_, reinterpret_cast<WPARAM>(popup), notifyLParam_);
  UINT command = 0;
  if (popup)
    command = static_cast<UINT>(::TrackPopupMenu(popup, kMenuTrackFlags, rect.left, rect.bottom, 0, self, nullptr));
  // The owner may have closed the window while the menu was up.
  if (!::IsWindow(self) || Hwnd() != self) return;
  menuShown_ = false;
  Repaint();
  if (command && menuOwner_) ::PostMessageW(menuOwner_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

bool CButtonST::OnMenuChar(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HMENU menu = reinterpret_cast<HMENU>(lParam);
  if (!BCMenu::IsKnownMenu(menu)) return false;
  result = BCMenu::FindMnemonicItem(LOWORD(wParam), HIWORD(wParam), menu);
  return true;
}

// Every item of the drop-down menu is owner-drawn, not only its sub-menus
// (whose id is a menu handle): the button's menu measures whatever item
// record it holds; an item of any other menu gets the default.
bool CButtonST::OnMeasureMenuItem(MEASUREITEMSTRUCT* measure, LRESULT& result) {
  if (!measure || measure->CtlType != ODT_MENU || !menu_) return false;
  if (!menu_->MeasureItem(measure)) return false;
  result = TRUE;
  return true;
}

bool CButtonST::OnDrawMenuItem(const DRAWITEMSTRUCT* draw, LRESULT& result) {
  if (!draw || draw->CtlType != ODT_MENU) return false;
  BCMenu* menu = BCMenu::FromHandle(reinterpret_cast<HMENU>(draw->hwndItem));
  if (!menu) menu = menu_.get();
  if (!menu || !menu->DrawItem(draw)) return false;
  result = TRUE;
  return true;
}

#include "ComboBoxExEx.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "StringConv.h"

namespace {

HBITMAP CopyOf(HBITMAP bitmap) {
  return bitmap ? static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
}

SIZE SizeOf(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, std::abs(info.bmHeight)};
}

std::wstring ItemText(HWND combo, int index) {
  LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
  ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

// Items as high as the combo's font: -1 is the selection field, 0 every
// entry of a fixed-height list.
void FitItemsToFont(HWND combo) {
  auto font = reinterpret_cast<HFONT>(::SendMessageW(combo, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  if (!font || !::GetObjectW(font, sizeof(description), &description) || !description.lfHeight) return;
  int height = std::abs(description.lfHeight);
  ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
  ::SendMessageW(combo, CB_SETITEMHEIGHT, 0, height);
}

// The combo made again in the old one's place: same class, id, position,
// height with its list open, tab order, font, entries and text, with
// `addedStyles` as well. The caller destroys the old one.
HWND RemakeWithStyles(HWND old, DWORD addedStyles) {
  HWND parent = ::GetParent(old);
  wchar_t className[64] = {};
  ::GetClassNameW(old, className, 64);
  RECT bounds{};
  ::GetWindowRect(old, &bounds);
  RECT dropped{};
  // Made as high as its open list reaches (CB_OKAY is 0, so the rectangle
  // tells whether the answer came).
  ::SendMessageW(old, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  if (dropped.bottom > bounds.bottom) bounds.bottom = dropped.bottom;
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
  auto style = static_cast<DWORD>(::GetWindowLongPtrW(old, GWL_STYLE)) | addedStyles;
  auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(old, GWL_EXSTYLE));
  auto module = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(old, GWLP_HINSTANCE));
  HWND made = ::CreateWindowExW(exStyle, className, L"", style, bounds.left, bounds.top, bounds.right - bounds.left,
                                bounds.bottom - bounds.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(::GetDlgCtrlID(old))), module, nullptr);
  if (!made) return nullptr;
  ::SendMessageW(made, WM_SETFONT, ::SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
  FitItemsToFont(made);
  int count = static_cast<int>(::SendMessageW(old, CB_GETCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    std::wstring entry = ItemText(old, index);
    ::SendMessageW(made, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
    ::SendMessageW(made, CB_SETITEMDATA, static_cast<WPARAM>(index), ::SendMessageW(old, CB_GETITEMDATA, index, 0));
  }
  ::SendMessageW(made, CB_SETCURSEL, ::SendMessageW(old, CB_GETCURSEL, 0, 0), 0);
  int length = ::GetWindowTextLengthW(old);
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
  ::GetWindowTextW(old, text.data(), length + 1);
  ::SetWindowTextW(made, text.data());
  // Right after the old one, so the tab order stays.
  ::SetWindowPos(made, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Systems differ in whether the open list's rectangle holds the selection
  // field, whose height changed: stretch the new list to end where the old
  // one did (to a whole item).
  RECT madeList{};
  ::SendMessageW(made, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&madeList));
  if (!::IsRectEmpty(&dropped) && madeList.bottom != dropped.bottom) {
    int height = bounds.bottom - bounds.top + dropped.bottom - madeList.bottom;
    ::SetWindowPos(made, nullptr, 0, 0, bounds.right - bounds.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return made;
}

}  // namespace

CComboBoxExEx::CComboBoxExEx()
    : editBrush_(::CreateSolidBrush(0xFFFFE3)), disabledBrush_(::CreateSolidBrush(0xF0F0F0)) {}

void CComboBoxExEx::PreSubclassWindow() {
  HWND bound = Hwnd();
  if ((::GetWindowLongPtrW(bound, GWL_STYLE) & kOwnStyles) != kOwnStyles) {
    HWND made = RemakeWithStyles(bound, kOwnStyles);
    if (made) {
      Rebind(made);
      ::DestroyWindow(bound);
    }
  }
  FitItemsToFont();
}

void CComboBoxExEx::FitItemsToFont() { ::FitItemsToFont(Hwnd()); }

int CComboBoxExEx::FontHeight() const {
  auto font = reinterpret_cast<HFONT>(Send(WM_GETFONT));
  LOGFONTW description{};
  if (!font || !::GetObjectW(font, sizeof(description), &description)) return 0;
  return std::abs(description.lfHeight);
}


void CComboBoxExEx::SetBitmaps(HBITMAP normal, HBITMAP hover, HBITMAP pressed) {
  normal_.Reset(CopyOf(normal));
  hoverBitmap_.Reset(CopyOf(hover));
  pressedBitmap_.Reset(CopyOf(pressed));
}

void CComboBoxExEx::SetColors(COLORREF frame, COLORREF background, int frameWidth) {
  frameColour_ = frame;
  backgroundColour_ = background;
  frameWidth_ = frameWidth;
  editBrush_.Reset(::CreateSolidBrush(background));
}

void CComboBoxExEx::SetTextFont(int height, const wchar_t* face) {
  LOGFONTW description{};
  description.lfHeight = height;
  description.lfPitchAndFamily = 66;
  if (face) ::lstrcpynW(description.lfFaceName, face, LF_FACESIZE);
  fw::ScopedFont font(::CreateFontIndirectW(&description));
  if (!font) return;
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  font_ = std::move(font);
}

bool CComboBoxExEx::PreTranslateMessage(MSG& message) {
  if (message.message == WM_KEYDOWN)
    autoComplete_ = !(message.wParam == VK_DELETE || message.wParam == VK_BACK);
  return false;
}

void CComboBoxExEx::Complete() {
  if (!autoComplete_ || completing_) return;
  // Opened now rather than posted: opening selects the whole edit text, which
  // must happen before the completion sets its own selection, or the next key
  // would replace everything typed so far.
  completing_ = true;
  typedText_ = GetText();
  if (!Send(CB_GETDROPPEDSTATE)) Send(CB_SHOWDROPDOWN, TRUE);
  if (GetText() != typedText_) SetText(typedText_);
  completing_ = false;
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  completedIndex_ = -1;
  Send(CB_SETEDITSEL, 0, MAKELPARAM(typedText_.size(), typedText_.size()));
  std::wstring typedLower = fw::ToLower(typedText_);
  if (typedText_.empty()) return;
  int count = static_cast<int>(Send(CB_GETCOUNT));
  for (int index = 0; index < count; ++index) {
    std::wstring entry = fw::ToLower(ItemText(Hwnd(), index));
    size_t found = entry.find(typedLower);
    if (found == std::wstring::npos) continue;
    completing_ = true;
    Send(CB_SETCURSEL, static_cast<WPARAM>(index));
    SetText(typedText_ + entry.substr(found + typedLower.size()));
    completing_ = false;
    // Select the completed tail: from what was typed to the end of the text.
    int end = static_cast<int>(GetText().size());
    Send(CB_SETEDITSEL, 0, MAKELPARAM(typedText_.size(), end));
    completedIndex_ = index;
    return;
  }
}

void CComboBoxExEx::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  int left = item.rcItem.left + 1;
  if (itemIcon_) {
    ::DrawIconEx(item.hDC, left, item.rcItem.top + 1, itemIcon_, 16, 16, 0, nullptr, DI_NORMAL);
    left += 18;
  }
  // The entry's text beside its icon, so the list is readable.
  std::wstring text = ItemText(Hwnd(), static_cast<int>(item.itemID));
  RECT textRect = item.rcItem;
  textRect.left = left + 2;
  ::SetBkMode(item.hDC, TRANSPARENT);
  ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ::DrawTextW(item.hDC, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void CComboBoxExEx::Paint() {
  fw::PaintDC paint(Hwnd());
  RECT client = ClientRect();
  fw::MemoryDC dc(paint, client.right, client.bottom);
  bool enabled = ::IsWindowEnabled(Hwnd()) != FALSE;
  fw::ScopedPen pen(::CreatePen(PS_SOLID, frameWidth_, frameColour_));
  fw::ScopedBrush fill(::CreateSolidBrush(enabled ? backgroundColour_ : disabledColour_));
  {
    fw::ScopedSelectObject selectPen(dc, pen.Get());
    fw::ScopedSelectObject selectBrush(dc, fill.Get());
    ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
  }
  HBITMAP picture = hover_ && hoverBitmap_ ? hoverBitmap_.Get() : pressed_ && pressedBitmap_ ? pressedBitmap_.Get() : normal_.Get();
  if (picture) {
    SIZE size = SizeOf(picture);
    int left = client.right - size.cx - 2;
    fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
    fw::ScopedSelectObject select(source.Get(), picture);
    ::BitBlt(dc, left, client.top + 7, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    buttonRect_ = RECT{left, client.top, client.right, client.bottom};
  }
  if ((::GetWindowLongPtrW(Hwnd(), GWL_STYLE) & 3) == CBS_DROPDOWNLIST) {
    std::wstring text = GetText().substr(0, 260);
    fw::ScopedSelectObject selectFont(dc, font_ ? static_cast<HGDIOBJ>(font_.Get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    RECT textRect{client.left + 4, client.top, client.right, client.bottom};
    ::DrawTextW(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER);
  }
  ::BitBlt(paint, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

bool CComboBoxExEx::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return true;
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, Hwnd(), 0};
      ::TrackMouseEvent(&track);
      return false;
    }
    case WM_LBUTTONDOWN: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (::PtInRect(&buttonRect_, at)) pressed_ = true;
      return false;
    }
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
      result = 0;
      return true;
    case WM_KEYDOWN:
      Send(CB_SHOWDROPDOWN, TRUE);
      return false;
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      bool enabled = ::IsWindowEnabled(Hwnd()) != FALSE;
      ::SetTextColor(dc, enabled ? 0x3C3C3C : ::GetSysColor(COLOR_GRAYTEXT));
      ::SetBkColor(dc, enabled ? backgroundColour_ : disabledColour_);
      result = reinterpret_cast<LRESULT>(enabled ? editBrush_.Get() : disabledBrush_.Get());
      return true;
    }
    case WM_DRAWITEM:
      // The list's items arrive here when the combo is its own owner.
      return false;
    case WM_SETFONT:
      result = DefaultProc(message, wParam, lParam);
      FitItemsToFont();
      return true;
    default:
      return fw::Wnd::OnMessage(message, wParam, lParam, result);
  }
}

bool CComboBoxExEx::OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DRAWITEM) {
    DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
  }
  if (message == WM_MEASUREITEM) {
    int height = FontHeight();
    if (height <= 0) return false;
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(height);
    result = TRUE;
    return true;
  }
  if (message != WM_COMMAND) return false;
  switch (HIWORD(wParam)) {
    case CBN_CLOSEUP:
      pressed_ = false;
      Invalidate();
      return true;
    case CBN_EDITUPDATE:
      Complete();
      return true;
    case CBN_DROPDOWN:
      // Nothing here; the owner may refill the list before it opens.
      return false;
    default:
      return false;
  }
}

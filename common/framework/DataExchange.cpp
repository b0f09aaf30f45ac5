#include "DataExchange.h"

#include <vector>

#include "Wnd.h"

namespace fw {
namespace {

std::wstring TextOf(HWND window) {
  int length = ::GetWindowTextLengthW(window);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
  return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

bool IsDropDownList(HWND combo) { return (::GetWindowLongPtrW(combo, GWL_STYLE) & 3) == CBS_DROPDOWNLIST; }

}  // namespace

HWND DataExchange::Item(int id) {
  HWND item = ::GetDlgItem(dialog_, id);
  if (!item) failed_ = true;
  return item;
}

void DataExchange::Control(int id, Wnd& control) {
  HWND item = Item(id);
  if (!item || control.Hwnd()) return;
  if (!control.Subclass(item)) failed_ = true;
}

void DataExchange::Text(int id, std::wstring& text) {
  HWND item = Item(id);
  if (!item) return;
  if (save_)
    text = TextOf(item);
  else
    ::SetWindowTextW(item, text.c_str());
}

void DataExchange::Check(int id, int& state) {
  HWND item = Item(id);
  if (!item) return;
  if (save_)
    state = static_cast<int>(::SendMessageW(item, BM_GETCHECK, 0, 0));
  else
    ::SendMessageW(item, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void DataExchange::Check(int id, bool& checked) {
  int state = checked ? BST_CHECKED : BST_UNCHECKED;
  Check(id, state);
  if (save_) checked = state == BST_CHECKED;
}

void DataExchange::ComboIndex(int id, int& index) {
  HWND item = Item(id);
  if (!item) return;
  if (save_) {
    LRESULT selected = ::SendMessageW(item, CB_GETCURSEL, 0, 0);
    index = selected == CB_ERR ? -1 : static_cast<int>(selected);
  } else {
    ::SendMessageW(item, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void DataExchange::ComboText(int id, std::wstring& text) {
  HWND item = Item(id);
  if (!item) return;
  if (save_) {
    text = TextOf(item);
    return;
  }
  LRESULT found = ::SendMessageW(item, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(text.c_str()));
  if (found != CB_ERR) {
    ::SendMessageW(item, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    return;
  }
  ::SendMessageW(item, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  if (!IsDropDownList(item)) ::SetWindowTextW(item, text.c_str());
}

}  // namespace fw

#include "Dialog.h"

#include <vector>

#include "CreationBinding.h"
#include "DataExchange.h"
#include "DialogItems.h"
#include "MessageLoop.h"
#include "ModalOwner.h"

namespace fw {

Dialog::Dialog(UINT templateId, HINSTANCE module) : templateId_(templateId), module_(module) {}

Dialog::Dialog(UINT templateId, HWND parent, HINSTANCE module)
    : templateId_(templateId), module_(module), parent_(parent) {}

HWND Dialog::Open(HWND parent) {
  ended_ = false;
  result_ = 0;
  HWND hwnd = nullptr;
  {
    CreationBinding binding(*this);
    hwnd = ::CreateDialogParamW(module_, MAKEINTRESOURCEW(templateId_), parent, &StaticDialogProc,
                                reinterpret_cast<LPARAM>(this));
  }
  if (hwnd && hwnd_ != hwnd) {
    // Never bound: its messages would reach nobody.
    ::DestroyWindow(hwnd);
    return nullptr;
  }
  return hwnd;
}

INT_PTR Dialog::DoModal(HWND parent) {
  if (hwnd_) return -1;
  if (!parent) parent = parent_;
  if (!parent) parent = DefaultModalOwner();
  HWND owner = parent ? ::GetAncestor(parent, GA_ROOT) : nullptr;
  modal_ = true;
  if (!Open(owner)) {
    modal_ = false;
    return -1;
  }
  bool disabledOwner = owner && ::IsWindowEnabled(owner);
  if (disabledOwner) ::EnableWindow(owner, FALSE);
  if (!ended_ && hwnd_) {
    ::ShowWindow(hwnd_, SW_SHOW);
    // A WM_QUIT ends the loop without EndDialog: the window is destroyed
    // below and the answer is -1.
    RunModalLoop(ended_);
  }
  // Enable the owner before the dialog goes, so activation returns to it.
  if (disabledOwner) ::EnableWindow(owner, TRUE);
  if (hwnd_) ::DestroyWindow(hwnd_);
  modal_ = false;
  return result_;
}

bool Dialog::CreateModeless(HWND parent) {
  if (hwnd_) return false;
  if (!parent) parent = parent_;
  modal_ = false;
  if (!Open(parent)) return false;
  return hwnd_ != nullptr;
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (!hwnd_) return;
  if (modal_)
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes a loop waiting for input
  else
    ::DestroyWindow(hwnd_);
}

bool Dialog::UpdateData(bool save) {
  if (!hwnd_) return false;
  DataExchange exchange(hwnd_, save);
  DoDataExchange(exchange);
  return !exchange.Failed();
}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

std::wstring Dialog::ItemText(int id) const {
  HWND item = Item(id);
  int length = item ? ::GetWindowTextLengthW(item) : 0;
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  int copied = ::GetDlgItemTextW(hwnd_, id, buffer.data(), length + 1);
  return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

int Dialog::ItemInt(int id, bool* valid) const {
  BOOL translated = FALSE;
  int value = static_cast<int>(::GetDlgItemInt(hwnd_, id, &translated, TRUE));
  if (valid) *valid = translated != FALSE;
  return value;
}

LRESULT Dialog::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Destroyed from outside while modal (its owner went, say): end the loop
  // instead of waiting forever for an EndDialog that cannot come.
  if (message == WM_NCDESTROY && modal_ && !ended_) {
    ended_ = true;
    result_ = -1;
  }
  // The template's list items, before any initialisation looks at the lists.
  if (message == WM_INITDIALOG) AddTemplateComboItems(hwnd_, module_, templateId_);
  return Wnd::WndProc(message, wParam, lParam);
}

bool Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_INITDIALOG) {
    UpdateData(false);
    result = OnInitDialog();
    return true;
  }
  return Wnd::OnMessage(message, wParam, lParam, result);
}

bool Dialog::OnCommand(UINT id, UINT code, HWND control) {
  if (code != BN_CLICKED && control) return false;
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

// The window procedure is the object's own from creation on (WndProc, then
// the dialog manager for what it leaves), so the dialog procedure that the
// dialog manager calls back has nothing left to do.
INT_PTR CALLBACK Dialog::StaticDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace fw

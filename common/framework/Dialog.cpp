#include "Dialog.h"

#include <vector>

#include "DialogItems.h"
#include "MessageLoop.h"

namespace fw {
namespace {

// Messages whose answer a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

}  // namespace

Dialog::Dialog(UINT templateId, HINSTANCE module) : templateId_(templateId), module_(module) { isDialog_ = true; }

Dialog::Dialog(UINT templateId, HWND parent, HINSTANCE module)
    : templateId_(templateId), module_(module), parent_(parent) {
  isDialog_ = true;
}

HWND Dialog::Open(HWND parent) {
  ended_ = false;
  result_ = 0;
  return ::CreateDialogParamW(module_, MAKEINTRESOURCEW(templateId_), parent, &StaticDialogProc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::DoModal(HWND parent) {
  if (hwnd_) return -1;
  if (!parent) parent = parent_;
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
  ownsWindow_ = hwnd_ != nullptr;
  return ownsWindow_;
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (!hwnd_) return;
  if (modal_)
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the modal loop
  else
    ::DestroyWindow(hwnd_);
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

bool Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_INITDIALOG) {
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

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<Dialog*>(FromHandle(hwnd));
  if (!self && message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->Attach(hwnd);
    AddTemplateComboItems(hwnd, self->module_, self->templateId_);
  }
  if (!self) return FALSE;
  INT_PTR answer = self->DialogMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Destroyed from outside while modal (its owner went, say): end the loop
    // instead of waiting forever for an EndDialog that cannot come.
    if (self->modal_ && !self->ended_) {
      self->ended_ = true;
      self->result_ = -1;
    }
    self->Forget();
    self->OnFinalMessage();
  }
  return answer;
}

LRESULT Dialog::DefaultDialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!hwnd_) return 0;
  defaultPending_ = message;
  defaultPendingSet_ = true;
  LRESULT result = ::DefDlgProcW(hwnd_, message, wParam, lParam);
  defaultPendingSet_ = false;
  return result;
}

INT_PTR Dialog::DialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (defaultPendingSet_ && defaultPending_ == message) {
    defaultPendingSet_ = false;
    return FALSE;
  }
  LRESULT result = 0;
  bool handled = ReflectToChild(message, wParam, lParam, result) || OnMessage(message, wParam, lParam, result);
  if (!handled) return FALSE;
  if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
  ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace fw

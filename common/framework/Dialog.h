#pragma once
#include <string>

#include "Wnd.h"

namespace fw {

// A dialog from a template of the module that holds the calling code (the
// default argument is evaluated at the call site, so code inside a DLL gets
// the DLL's templates). Modal dialogs run the framework's own loop, so their
// windows get PreTranslateMessage like every other window.
class Dialog : public Wnd {
 public:
  explicit Dialog(UINT templateId, HINSTANCE module = ThisModule());
  // With the parent used when DoModal/CreateModeless are given none.
  Dialog(UINT templateId, HWND parent, HINSTANCE module = ThisModule());

  // Runs the dialog modally and returns what EndDialog was given, or -1 when
  // the template could not be loaded or the window was destroyed without
  // EndDialog.
  INT_PTR DoModal(HWND parent = nullptr);
  // Creates the dialog modeless; it lives until destroyed, EndDialog, or the
  // end of this object.
  bool CreateModeless(HWND parent = nullptr);
  void EndDialog(INT_PTR result);
  bool IsModal() const { return modal_; }
  UINT TemplateId() const { return templateId_; }
  HINSTANCE Module() const { return module_; }

  HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
  std::wstring ItemText(int id) const;
  void SetItemText(int id, const std::wstring& text) { ::SetDlgItemTextW(hwnd_, id, text.c_str()); }
  int ItemInt(int id, bool* valid = nullptr) const;
  void SetItemInt(int id, int value) { ::SetDlgItemInt(hwnd_, id, static_cast<UINT>(value), TRUE); }
  bool IsChecked(int id) const { return ::IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
  void SetChecked(int id, bool checked) { ::CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED); }

 protected:
  // Return FALSE when the focus was set here.
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  // The dialog manager's own handling of the message being handled now, for
  // handlers that must run code after it.
  LRESULT DefaultDialogProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend class PropertyPage;  // pages share the message routing
  static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR DialogMessage(UINT message, WPARAM wParam, LPARAM lParam);
  HWND Open(HWND parent);

  UINT templateId_;
  HINSTANCE module_;
  HWND parent_ = nullptr;
  // DefDlgProc calls the dialog procedure first: that nested call must answer
  // "not handled" so the default work runs.
  UINT defaultPending_ = 0;
  bool defaultPendingSet_ = false;
  bool modal_ = false;
  bool ended_ = false;
  INT_PTR result_ = 0;
};

}  // namespace fw

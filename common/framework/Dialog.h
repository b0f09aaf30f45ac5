#pragma once
#include <string>

#include "Wnd.h"

namespace fw {

class DataExchange;

// A dialog from a template of the module that holds the calling code (the
// default argument is evaluated at the call site, so code inside a DLL gets
// the DLL's templates). Modal dialogs run the framework's own loop, so their
// windows get PreTranslateMessage like every other window.
//
// A page shown inside another window is the same class made with
// CreateModeless(parent) from a WS_CHILD template.
//
// The dialog is bound to its object when its window is created, so WM_NCCREATE,
// WM_CREATE, WM_SETFONT and WM_INITDIALOG all reach WndProc/OnMessage; what a
// handler leaves goes to the dialog manager. At WM_INITDIALOG the dialog runs
// DoDataExchange (loading), then OnInitDialog; the default OnOK runs it again
// (saving) and ends the dialog with IDOK only when that succeeded:
//
//   class CAuthDlg : public fw::Dialog {
//    public:
//     CAuthDlg() : fw::Dialog(IDD_AUTH) {}
//     std::wstring password;
//    protected:
//     CEditEx edit_;
//     CButtonST ok_;
//     bool OnMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override {
//       if (message == WM_CREATE) { ... }  // reaches the object like any other
//       return fw::Dialog::OnMessage(message, w, l, result);
//     }
//     void DoDataExchange(fw::DataExchange& exchange) override {
//       exchange.Control(IDC_PASSWORD, edit_);  // bound once, its own set-up runs
//       exchange.Control(IDOK, ok_);
//       exchange.Text(IDC_PASSWORD, password);   // both directions
//     }
//   };
class Dialog : public Wnd {
 public:
  explicit Dialog(UINT templateId, HINSTANCE module = ThisModule());
  // With the parent used when DoModal/CreateModeless are given none.
  Dialog(UINT templateId, HWND parent, HINSTANCE module = ThisModule());

  // Runs the dialog modally and returns what EndDialog was given, or -1 when
  // the template could not be loaded, or the window was destroyed or the
  // program asked to quit before EndDialog.
  INT_PTR DoModal(HWND parent = nullptr);
  // Creates the dialog modeless; it lives until destroyed, EndDialog, or the
  // end of this object.
  bool CreateModeless(HWND parent = nullptr);
  void EndDialog(INT_PTR result);
  bool IsModal() const { return modal_; }
  UINT TemplateId() const { return templateId_; }
  HINSTANCE Module() const { return module_; }

  // Runs DoDataExchange: saving moves the controls' values into the members,
  // loading the members' into the controls. False when a control to bind is
  // missing.
  bool UpdateData(bool save = true);

  HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
  std::wstring ItemText(int id) const;
  void SetItemText(int id, const std::wstring& text) { ::SetDlgItemTextW(hwnd_, id, text.c_str()); }
  int ItemInt(int id, bool* valid = nullptr) const;
  void SetItemInt(int id, int value) { ::SetDlgItemInt(hwnd_, id, static_cast<UINT>(value), TRUE); }
  bool IsChecked(int id) const { return ::IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
  void SetChecked(int id, bool checked) { ::CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED); }

 protected:
  // Binds member controls and exchanges their values; the default has none.
  virtual void DoDataExchange(DataExchange&) {}
  // Return FALSE when the focus was set here.
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK();
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  // The dialog manager's own handling of a message, for handlers that must
  // run code after it.
  LRESULT DefaultDialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return hwnd_ ? DefaultProc(message, wParam, lParam) : 0;
  }

 private:
  static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND Open(HWND parent);

  UINT templateId_;
  HINSTANCE module_;
  HWND parent_ = nullptr;
  bool modal_ = false;
  bool ended_ = false;
  INT_PTR result_ = 0;
};

}  // namespace fw

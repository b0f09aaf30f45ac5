#pragma once
#include <windows.h>

#include <string>

namespace fw {

class Wnd;

// One pass of a dialog's data exchange (Dialog::DoDataExchange): binds member
// controls to the dialog's controls by id and moves values between controls
// and members, loading (members to controls) or saving (controls to members).
class DataExchange {
 public:
  DataExchange(HWND dialog, bool save) : dialog_(dialog), save_(save) {}

  bool Saving() const { return save_; }
  // True once a control to bind was missing.
  bool Failed() const { return failed_; }

  // Binds `control` to the dialog's control `id` on the first pass, through
  // Subclass, so its own pre-subclass step runs.
  void Control(int id, Wnd& control);
  // An edit's (or any control's) window text.
  void Text(int id, std::wstring& text);
  // A check box: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE, matching
  // the 0/1 flags of the settings record.
  void Check(int id, int& state);
  void Check(int id, bool& checked);
  // A combo box's selected entry, -1 for none.
  void ComboIndex(int id, int& index);
  // A combo box's text: loading selects the entry of exactly that text when
  // there is one, else puts the text into the edit field (a drop-down list,
  // having none, is left without a selection); saving reads what it shows.
  void ComboText(int id, std::wstring& text);

 private:
  HWND Item(int id);

  HWND dialog_;
  bool save_;
  bool failed_ = false;
};

}  // namespace fw

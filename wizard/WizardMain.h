#pragma once
#include <windows.h>

#include <string>

#include "CtrlPage.h"
#include "DonePage.h"
#include "Handles.h"
#include "KidInfoPage.h"
#include "PropertySheet.h"
#include "PwdPage.h"
#include "SysConf.h"

// The wizard's sheet: four steps, two buttons of its own, and the settings
// record it alone saves. Every way out asks at most one question, and a "Yes"
// saves exactly as Finish does.
class CWizardMain : public fw::PropertySheet {
 public:
  // Starts a program of the system; tests replace it to record the starts.
  using StartFunction = bool (*)(const std::wstring& program, const std::wstring& arguments);
  static StartFunction startProgram;
  // The wizard's own folder, then `name`, started with `arguments`.
  static void StartProgram(const std::wstring& name, const std::wstring& arguments);

  static constexpr int kWidth = 575;
  static constexpr int kHeight = 424;

  CWizardMain();
  ~CWizardMain() override;

  CSysConf& Settings() { return settings_; }
  bool IsModified() const { return modified_ != 0; }
  // Decides whether the wizard may be left: at once when nothing changed,
  // else by the save question (Yes saves first). Once decided, later calls
  // pass without asking; while the question is open they refuse.
  bool ConfirmLeave();
  // Ends the sheet through its own Cancel, which asks no more.
  void EndWizard();

 protected:
  void OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  LRESULT OnWizardSave();
  LRESULT OnQuerySave() { return ConfirmLeave() ? 0 : 1; }
  void OnClose();
  void OnSize(WPARAM type, LPARAM size);
  void OnSwitchToControlPanel();
  void OnOneClickSetup();
  void WinHelp();
  void CreateExtraButtons();
  void ArrangeSheetButtons();
  void CenterOnWorkArea();

  CPwdPage pwdPage_;
  CKidInfoPage kidInfoPage_;
  CCtrlPage ctrlPage_;
  CDonePage donePage_;
  fw::ScopedBrush whiteBrush_;
  CSysConf settings_;
  int modified_ = 0;
  bool leaving_ = false;
  bool asking_ = false;
  // The page that refused the last save, shown after a refused "Yes".
  fw::PropertyPage* refusedPage_ = nullptr;
};

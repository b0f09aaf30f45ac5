#pragma once
#include "Dialog.h"
#include "Handles.h"

class CSysConf;

// Asks at start whether the browser should become the default one. The
// "ask at every start" box is saved the moment it is clicked, whichever
// button then closes the question.
class CCheckDefaultBroswer : public fw::Dialog {
 public:
  explicit CCheckDefaultBroswer(CSysConf& settings, HWND parent = nullptr);

 protected:
  void DoDataExchange(fw::DataExchange& exchange) override;
  BOOL OnInitDialog() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void OnAskAtStartClicked();

  CSysConf& settings_;
  int askAtStart_;
  fw::ScopedIcon largeIcon_;
  fw::ScopedIcon smallIcon_;
};

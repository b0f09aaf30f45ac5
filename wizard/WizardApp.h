#pragma once
#include "App.h"

// The wizard program: the sheet once, then the end.
class CWizardApp : public fw::App {
 protected:
  bool InitInstance() override;
};

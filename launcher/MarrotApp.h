#pragma once
#include "App.h"

// The launcher: its start-up opens the parent's control panel and ends.
class CMarrotApp : public fw::App {
 protected:
  bool InitInstance() override;
};

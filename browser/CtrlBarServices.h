#pragma once
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "GammaSlider.h"

class IVolumeCtrl;

// Everything the control bar reaches outside its window: the master volume,
// the control panel, the display's gamma ramp, the clock and the program
// folder. Defaults() gives the real ones.
struct CtrlBarServices {
  std::function<IVolumeCtrl*()> makeVolume;
  std::function<void(IVolumeCtrl*)> freeVolume;
  // ShowDashBoard: 1 when the parent saved, 2 otherwise.
  std::function<int(int mode)> showDashBoard;
  std::function<std::time_t()> now;
  std::function<std::unique_ptr<IGammaDisplay>()> makeGammaDisplay;
  // Where Brivan.exe lies; F1 starts it with the help address.
  std::wstring programFolder;

  static CtrlBarServices Defaults();
};

// The control panel's export, from Dashboard.dll beside the program; 2 (as
// a cancel) when the library or its export cannot be had.
int ShowDashBoardFromLibrary(int mode);

// Starts Brivan.exe of `programFolder` with the address book's help page; a
// running browser takes it as a new tab.
bool StartHelp(const std::wstring& programFolder);

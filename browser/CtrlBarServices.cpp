#include "CtrlBarServices.h"

#include <windows.h>

#include "CommHelper.h"
#include "ProgramStarter.h"
#include "UrlsConf.h"
#include "VolumeCtrl.h"
#include "VolumeFactory.h"

int ShowDashBoardFromLibrary(int mode) {
  using ShowDashBoard = int (*)(int);
  // Loaded once and kept: the panel's window classes and skin state live as
  // long as the program.
  static HMODULE library = ::LoadLibraryW((GetThisModuleDir(true) + L"Dashboard.dll").c_str());
  if (!library) return IDCANCEL;
  auto show = reinterpret_cast<ShowDashBoard>(reinterpret_cast<void*>(::GetProcAddress(library, "ShowDashBoard")));
  return show ? show(mode) : IDCANCEL;
}

bool StartHelp(const std::wstring& programFolder) {
  return CProgramStarter::Start(programFolder + L"\\Brivan.exe", GetHelpUrl());
}

CtrlBarServices CtrlBarServices::Defaults() {
  CtrlBarServices services;
  services.makeVolume = [] { return CVolumeCtrl::GetInstance(CVolumeFactory::GetVolumeCtrl()); };
  services.freeVolume = [](IVolumeCtrl* volume) { CVolumeCtrl::DestoryInstance(volume); };
  services.showDashBoard = &ShowDashBoardFromLibrary;
  services.now = [] { return std::time(nullptr); };
  services.makeGammaDisplay = [] { return std::make_unique<CScreenGamma>(); };
  services.programFolder = GetThisModuleDir();
  return services;
}

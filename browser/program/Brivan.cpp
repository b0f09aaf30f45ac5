// The browser program's global objects, in the order they must be built:
// the application object, the new-tab URL, the settings record (which loads
// its files as it is built, before start-up), then the GDI+ start-up block.
// They are destroyed in the reverse order after start-up returns. The
// owner-drawn menu's class-wide objects live with the menu in the toolkit.
#include <windows.h>
#include <gdiplus.h>

#include <string>

#include "BroswerApp.h"
#include "BrivanGlobals.h"
#include "SysConf.h"

CBroswerApp theApp;
std::wstring g_newTabUrl = L"about:blank";
CSysConf g_sysConf;
// Version 1, no debug callback, background thread and external codecs on.
Gdiplus::GdiplusStartupInput g_gdiplusStartupInput;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  return theApp.Main(instance, commandLine);
}

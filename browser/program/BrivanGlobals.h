#pragma once
#include <windows.h>
#include <gdiplus.h>

#include <string>

class CBroswerApp;
class CSysConf;

// The program-wide objects of Brivan.exe (program/Brivan.cpp).
extern CBroswerApp theApp;
// What new tabs the user opens show: "about:blank" until the main window
// sets the address book's "navhome".
extern std::wstring g_newTabUrl;
extern CSysConf g_sysConf;
extern Gdiplus::GdiplusStartupInput g_gdiplusStartupInput;

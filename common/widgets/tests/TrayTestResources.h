#pragma once
#define IDR_TRAY_MENU 7
#define ID_TRAY_OPEN 101
#define ID_TRAY_QUIT 102

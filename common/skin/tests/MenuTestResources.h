#pragma once
// Resources of the menu tests and gallery.
#define IDR_TEST_MENU 300
#define IDR_MENU_TOOLBAR 301
#define IDB_MENU_SINGLE 302
#define IDB_MENU_CHECKS 303
#define IDI_MENU_ICON 304

#define ID_FILE_OPEN 101
#define ID_FILE_SAVE 102
#define ID_FILE_PRINT 103
#define ID_FILE_EXIT 104
#define ID_RECENT_FIRST 201
#define ID_RECENT_SECOND 202
#define ID_EDIT_CUT 105
#define ID_HELP_ABOUT 106

#pragma once
// Resource ids of the browser's main window. The numbers are the browser's
// own and stay fixed.

#define IDD_BROSWER_DIALOG 102
#define IDB_TAB_IMAGES 180
#define IDB_TAB_IMAGES_DISABLED 181

#define IDC_GO 1008
#define IDC_GOFORWARD 1011
#define IDC_GOBACK 1012
#define IDC_REFRESH 1013
#define IDC_FAVORITES 1021
#define IDC_HOME 1022
#define IDC_ADDFAVORITE 1023
#define IDC_URLBOX 1031
#define IDC_TABCTRL 3001

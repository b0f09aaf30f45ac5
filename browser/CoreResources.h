#pragma once
// Resource ids of the browser's control bar and small dialogs. The numbers
// are the browser's own and stay fixed.

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDD_CTRLBAR 137
#define IDD_AUTHDLG 138
#define IDD_CHECKDEFAULT 176

#define IDC_SETUP 1020
#define IDC_KIDSCTRL 1021
#define IDC_VOLUME_SLIDER 1027
#define IDC_BRIGHTNESS_SLIDER 1028
#define IDC_ASK_AT_START 1032
#define IDC_PASSWORD 1042
#define IDC_AUTH_TIP 1043
#define IDC_AUTH_LABEL 1044
#define IDC_ABOUT_VERSION 1045
#define IDC_ABOUT_COPYRIGHT 1046
#define IDC_CHECKDEFAULT_TEXT 1047

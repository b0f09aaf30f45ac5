#pragma once

// Page templates.
#define IDD_PWD_PAGE 129
#define IDD_CTRL_PAGE 130
#define IDD_KIDINFO_PAGE 131
#define IDD_DONE_PAGE 132
#define IDD_WIZARD_AUTH 133

// Page pictures and the last page's picture buttons (pointer over, normal).
#define IDB_PWD_PAGE 131
#define IDB_KIDINFO_PAGE 132
#define IDB_CTRL_PAGE 133
#define IDB_DONE_PAGE 134
#define IDB_CONTROL_PANEL_OVER 135
#define IDB_CONTROL_PANEL 136
#define IDB_BROWSER_OVER 137
#define IDB_BROWSER 138

// Start-with-Windows value: name, key and argument.
#define IDS_AUTOSTART_VALUE_NAME 102
#define IDS_AUTOSTART_KEY 103
#define IDS_AUTOSTART_ARGUMENT 104

// Password page.
#define IDC_PWD_PICTURE 1002
#define IDC_PWD_EXIT_NEEDS 1004
#define IDC_PWD_LOGIN_NEEDS 1006
#define IDC_PWD_FIRST 1010
#define IDC_PWD_SECOND 1011

// Child page.
#define IDC_KID_LIMITED 1000
#define IDC_KID_UNLIMITED 1002
#define IDC_KID_MINUTES 1003
#define IDC_KID_NICK 1019
#define IDC_KID_SEX 1020
#define IDC_KID_AGE 1021

// Control page.
#define IDC_CTRL_FILTER 1034
#define IDC_CTRL_AUTOSTART 1046
#define IDC_CTRL_FULLSCREEN 1047

// Last page.
#define IDC_DONE_CONTROL_PANEL 1000
#define IDC_DONE_BROWSER 1001

// Sheet buttons of its own.
#define IDC_SWITCH_TO_PANEL 1110
#define IDC_ONE_CLICK_SETUP 1111

// Password prompt.
#define IDC_AUTH_PASSWORD 1042

#pragma once
// Resource ids of the control panel. Templates and controls keep the numbers
// the pages and the panel are known by; the toolkit's own templates sit from
// 30100 up (SkinResources.h), so the two never meet.

#define IDD_ABOUTBOX 100
#define IDD_MARROT_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_KIDINFO 129
#define IDD_PASSWORDCTRL 130
#define IDD_PARENTRECOMMAND 131
#define IDD_KIDSLOG 132
#define IDD_GENERALCTRL 133
#define IDD_PARENTCTRL 134
#define IDD_PASSLIST 135
#define IDD_PARENTAUTH 137
#define IDD_WORDSCONF 138

// Run-at-start value name, its key and the browser's argument.
#define IDS_AUTOSTART_NAME 102
#define IDS_AUTOSTART_KEY 103
#define IDS_AUTOSTART_ARG 104
// Entries of the child page's sex list.
#define IDS_SEX_BOY 201
#define IDS_SEX_GIRL 202
// Entries of the messages page's interval list, in list order.
#define IDS_INTERVAL_5 2100
#define IDS_INTERVAL_8 2101
#define IDS_INTERVAL_10 2102
#define IDS_INTERVAL_12 2103
#define IDS_INTERVAL_15 2104
#define IDS_INTERVAL_18 2105
#define IDS_INTERVAL_20 2106
#define IDS_INTERVAL_25 2107

// Panel (102).
#define IDC_TAB_GENERAL 1009
#define IDC_TAB_SECURITY 1013
#define IDC_TAB_RECOMMEND 1014
#define IDC_TAB_LOG 1015
#define IDC_TAB_KIDINFO 1016
#define IDC_TAB_CONTROL 1017
#define IDC_TAB_WORDS 1044
#define IDC_APPLY 1021
#define IDC_PANEL_OK 1022
#define IDC_PANEL_CANCEL 1023
#define IDC_LINK_BROWSER 9001
#define IDC_LINK_WIZARD 9006

// About box (100).
#define IDC_ABOUT_ICON 1050
#define IDC_ABOUT_VERSION 1051
#define IDC_ABOUT_NOTE 1052

// Password prompt (137).
#define IDC_AUTH_PASSWORD 1042
#define IDC_AUTH_NOTE 1053
#define IDC_AUTH_LABEL 1054

// General page (133).
#define IDC_AUTO_UPDATE 1007
#define IDC_HOME_URL 1035
#define IDC_INET_OPTIONS 1036
#define IDC_DBCLOSE 1038
#define IDC_DBNEWTAB 1039
#define IDC_BTN_SOUND 1040
#define IDC_HIDE_SINGLE_TAB 1041
#define IDC_SHOW_TAB_TOP 1042

// Child page (129).
#define IDC_LIMITED 1000
#define IDC_UNLIMITED 1002
#define IDC_MINUTES 1003
#define IDC_NICK 1019
#define IDC_SEX 1020
#define IDC_AGE 1021

// Security page (130).
#define IDC_EXIT_NEED_PWD 1004
#define IDC_LOGIN_NEED_PWD 1006
#define IDC_PASSWORD 1010
#define IDC_PASSWORD_AGAIN 1011
#define IDC_DEFAULT_BROWSER 1037
#define IDC_BLOCK_KEY 1043
#define IDC_AUTOSTART 1046
#define IDC_FULLSCREEN 1047
#define IDC_CAN_CHANGE_MP 1048
#define IDC_START_CHECK 1049

// Site pages (134, 131) and the add-site dialog (135).
#define IDC_SITE_LIST 1018
#define IDC_SITE_ADDRESS 1028
#define IDC_SITE_NAME 1029
#define IDC_ADD_SITE 1030
#define IDC_RECOMMENDED_LIST 1031
#define IDC_REFETCH 1032
#define IDC_CUSTOM_LIST 1033
#define IDC_RECOMMEND_ADD 1033
#define IDC_ENABLE_FILTER 1034
#define IDC_DELETE_ALL 1035
// Log page (132).
#define IDC_LOG_LIST 1018
#define IDC_CLEAR_LOG 1025
#define IDC_ENABLE_LOG 1034

// Messages page (138).
#define IDC_WORDS_LIST 1018
#define IDC_INTERVAL 1020
#define IDC_ADD_WORD 1030
#define IDC_DELETE_WORD 1045

// Section headings and labels without a role of their own.
#define IDC_STATIC_TEXT -1

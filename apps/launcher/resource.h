// Resource ids of the sample menu launcher.
#pragma once

#define IDD_LAUNCHER 100

#define IDC_NET 1001
#define IDC_BATTERY 1002
#define IDC_IME 1003
#define IDC_KEYMODE 1004
#define IDC_CLOCK 1005
#define IDC_TITLE 1010
#define IDC_ENTRY1 1011
#define IDC_ENTRY2 1012
#define IDC_ENTRY3 1013
#define IDC_ENTRY4 1014
#define IDC_ENTRY5 1015
#define IDC_ENTRY6 1016
#define IDC_PAGE_PREV 1020
#define IDC_PAGE 1021
#define IDC_PAGE_NEXT 1022
#define IDC_WAIT 1030
#define IDC_TOP 1040
#define IDC_UP 1041

#define IDS_WAITING 1
#define IDS_READY 2
#define IDS_TIMED_OUT 3
#define IDS_RESUMED 4
#define IDS_BAD_OPTION 5
#define IDS_MAIN_TITLE 6
#define IDS_UNREADABLE 7

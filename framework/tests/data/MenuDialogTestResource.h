// Ids of the framework tests' resources.
#pragma once

#define IDD_MENU 100
#define IDC_ENTRY1 1001
#define IDC_ENTRY2 1002
#define IDC_ENTRY3 1003
#define IDC_ENTRY4 1004
#define IDC_ENTRY5 1005
#define IDC_TOP 1010
#define IDC_UP 1011

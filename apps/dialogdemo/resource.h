// Resource numbers of the dialog demo, shared by DialogDemo.rc and the code.
#pragma once

#define IDD_DIALOGDEMO 100

#define IDC_GREETING 1001
#define IDC_COUNTER 1002
#define IDC_SWATCH 1003
#define IDC_COLOR 1004
#define IDC_LOCK 1005

// Resource ids of the sample data-entry program.
#pragma once

#define IDD_DATAENTRY 100

#define IDC_PROMPT 1001
#define IDC_CODE 1002
#define IDC_IME 1003
#define IDC_KEYMODE 1004

#define IDS_JOB_NAME 1
#define IDS_ENTERED 2
#define IDS_CANCELLED 3

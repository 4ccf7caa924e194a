// Resource ids of the class-library tests and of their extension library.
#pragma once

#define IDD_NAME 100
#define IDD_CLOSES_AT_ONCE 101
#define IDD_EXTENSION_ONLY 200
#define IDC_NAME 1001
#define IDC_NOTE 1002
#define IDS_SHARED 300
#define IDS_EXTENSION_ONLY 320  // another string block than IDS_SHARED

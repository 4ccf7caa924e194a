// Resource ids of the desktop launcher.
#pragma once

#define IDR_MAINFRAME 128
#define IDS_APPMGR_NOT_FOUND 1000
#define IDS_BAD_PARAMETER 1001

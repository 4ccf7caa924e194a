// Device broadcasts: WM_DEVICECHANGE, sent to every top-level window when a storage volume of
// the terminal arrives or goes, with a DEV_BROADCAST_PORT naming the volume in lParam.
#pragma once

#include "wintypes.h"

#ifndef WM_DEVICECHANGE
#define WM_DEVICECHANGE 0x0219
#endif

// wParam of WM_DEVICECHANGE
#define DBT_DEVICEARRIVAL 0x8000
#define DBT_DEVICEQUERYREMOVE 0x8001
#define DBT_DEVICEQUERYREMOVEFAILED 0x8002
#define DBT_DEVICEREMOVEPENDING 0x8003
#define DBT_DEVICEREMOVECOMPLETE 0x8004
#define DBT_DEVICETYPESPECIFIC 0x8005

// dbch_devicetype
#define DBT_DEVTYP_OEM 0x00000000
#define DBT_DEVTYP_DEVNODE 0x00000001
#define DBT_DEVTYP_VOLUME 0x00000002
#define DBT_DEVTYP_PORT 0x00000003
#define DBT_DEVTYP_NET 0x00000004

typedef struct _DEV_BROADCAST_HDR {
  DWORD dbch_size;  // bytes of the whole record, the name's terminating NUL included
  DWORD dbch_devicetype;
  DWORD dbch_reserved;
} DEV_BROADCAST_HDR, *PDEV_BROADCAST_HDR;

// The volume's name ("Storage Card", without the leading backslash), NUL-terminated, at byte
// offset 12; the record is as long as dbcp_size says.
typedef struct _DEV_BROADCAST_PORT_W {
  DWORD dbcp_size;
  DWORD dbcp_devicetype;  // DBT_DEVTYP_PORT
  DWORD dbcp_reserved;
  WCHAR dbcp_name[1];
} DEV_BROADCAST_PORT_W, *PDEV_BROADCAST_PORT_W;
typedef DEV_BROADCAST_PORT_W DEV_BROADCAST_PORT;
typedef PDEV_BROADCAST_PORT_W PDEV_BROADCAST_PORT;

static_assert(sizeof(DEV_BROADCAST_HDR) == 12, "three 32-bit fields");

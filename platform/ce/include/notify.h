// The notification database: registrations that start a program, or set a named event, at a
// system event (wake-up ...) or a time. Kept in \Windows\Notifications.txt under the terminal's
// root, so a registration outlives the process that made it and other processes see it.
#pragma once

#include "wintypes.h"
#include "winerror.h"
#include "minwinbase.h"

// dwType of CE_NOTIFICATION_TRIGGER
#define CNT_EVENT 1        // at the system event dwEvent
#define CNT_TIME 2         // at stStartTime
#define CNT_PERIOD 3       // between stStartTime and stEndTime
#define CNT_CLASSICTIME 4  // at stStartTime, as CeSetUserNotification does

// dwEvent of a CNT_EVENT trigger
#define NOTIFICATION_EVENT_NONE 0
#define NOTIFICATION_EVENT_TIME_CHANGE 1
#define NOTIFICATION_EVENT_SYNC_END 2
#define NOTIFICATION_EVENT_ON_AC_POWER 3
#define NOTIFICATION_EVENT_OFF_AC_POWER 4
#define NOTIFICATION_EVENT_NET_CONNECT 5
#define NOTIFICATION_EVENT_NET_DISCONNECT 6
#define NOTIFICATION_EVENT_DEVICE_CHANGE 7
#define NOTIFICATION_EVENT_IR_DISCOVERED 8
#define NOTIFICATION_EVENT_RS232_DETECTED 9
#define NOTIFICATION_EVENT_RESTORE_END 10
#define NOTIFICATION_EVENT_WAKEUP 11
#define NOTIFICATION_EVENT_TZ_CHANGE 12
#define NOTIFICATION_EVENT_MACHINE_NAME_CHANGE 13
#define NOTIFICATION_EVENT_RNDIS_FN_DETECTED 14
#define NOTIFICATION_EVENT_INTERNET_PROXY_CHANGE 15
#define NOTIFICATION_EVENT_LAST NOTIFICATION_EVENT_INTERNET_PROXY_CHANGE

// An application string with this prefix names an event to set instead of a program to start.
#define NAMED_EVENT_PREFIX_TEXT u"\\\\.\\Notifications\\NamedEvents\\"

// ActionFlags of CE_USER_NOTIFICATION
#define PUN_LED 1
#define PUN_VIBRATE 2
#define PUN_DIALOG 4
#define PUN_SOUND 8
#define PUN_REPEAT 16

// dwStatus of CE_NOTIFICATION_INFO_HEADER
#define CNS_SIGNALLED 1

// On the 32-bit terminal this record is 52 bytes; here its pointers are 8 bytes wide, so it is
// sizeof(CE_NOTIFICATION_TRIGGER) (64). dwSize may be either value: the fields are the same.
typedef struct UserNotificationTrigger {
  DWORD dwSize;
  DWORD dwType;   // CNT_*
  DWORD dwEvent;  // NOTIFICATION_EVENT_* of a CNT_EVENT trigger
  WCHAR* lpszApplication;
  WCHAR* lpszArguments;
  SYSTEMTIME stStartTime;
  SYSTEMTIME stEndTime;
} CE_NOTIFICATION_TRIGGER, *PCE_NOTIFICATION_TRIGGER;

#define CE_NOTIFICATION_TRIGGER_SIZE_32 52

typedef struct UserNotificationType {
  DWORD ActionFlags;  // PUN_*
  WCHAR* pwszDialogTitle;
  WCHAR* pwszDialogText;
  WCHAR* pwszSound;
  DWORD nMaxSound;
  DWORD dwReserved;
} CE_USER_NOTIFICATION, *PCE_USER_NOTIFICATION;

// What CeGetUserNotification writes first; pcent and pceun point into the same buffer (pceun
// is NULL for a registration without a user part), followed by the strings they point to.
typedef struct UserNotificationInfoHeader {
  HANDLE hNotification;
  DWORD dwStatus;
  CE_NOTIFICATION_TRIGGER* pcent;
  CE_USER_NOTIFICATION* pceun;
} CE_NOTIFICATION_INFO_HEADER, *PCE_NOTIFICATION_INFO_HEADER;

// hNotification 0 adds a registration, an existing handle replaces that one. Returns the
// handle, or NULL with ERROR_INVALID_PARAMETER (bad size, type, event or missing application)
// or ERROR_INVALID_HANDLE (an unknown handle to replace). Handles are small stable numbers,
// the same in every process on the same root; CloseHandle is not needed for them.
HANDLE CeSetUserNotificationEx(HANDLE hNotification, CE_NOTIFICATION_TRIGGER* pcnt, CE_USER_NOTIFICATION* pceun);
// cHandles 0 (rghNotifications may be NULL) asks only for the count in *pcHandlesNeeded.
// A buffer too small for all fails with ERROR_INSUFFICIENT_BUFFER, *pcHandlesNeeded set.
BOOL CeGetUserNotificationHandles(HANDLE* rghNotifications, DWORD cHandles, LPDWORD pcHandlesNeeded);
// A buffer smaller than the information (or NULL) fails with ERROR_INSUFFICIENT_BUFFER and
// *pcBytesNeeded set; an unknown handle fails with ERROR_INVALID_HANDLE.
BOOL CeGetUserNotification(HANDLE hNotification, DWORD cBufferSize, LPDWORD pcBytesNeeded, LPBYTE pBuffer);
// Removes the registration; an unknown handle fails with ERROR_INVALID_HANDLE.
BOOL CeClearUserNotification(HANDLE hNotification);

// Power status and power notifications. The status is read from the terminal's battery and
// external power; a registered point-to-point message queue receives a POWER_BROADCAST record
// whenever they change, and on suspend and wake-up when asked.
#pragma once

#include "wintypes.h"
#include "winerror.h"

// ACLineStatus
#define AC_LINE_OFFLINE 0x00
#define AC_LINE_ONLINE 0x01
#define AC_LINE_BACKUP_POWER 0x02
#define AC_LINE_UNKNOWN 0xFF

// BatteryFlag
#define BATTERY_FLAG_HIGH 0x01
#define BATTERY_FLAG_LOW 0x02
#define BATTERY_FLAG_CRITICAL 0x04
#define BATTERY_FLAG_CHARGING 0x08
#define BATTERY_FLAG_NO_BATTERY 0x80
#define BATTERY_FLAG_UNKNOWN 0xFF

#define BATTERY_PERCENTAGE_UNKNOWN 0xFF
#define BATTERY_LIFE_UNKNOWN 0xFFFFFFFF

// BatteryChemistry of SYSTEM_POWER_STATUS_EX2
#define BATTERY_CHEMISTRY_ALKALINE 0x01
#define BATTERY_CHEMISTRY_NICD 0x02
#define BATTERY_CHEMISTRY_NIMH 0x03
#define BATTERY_CHEMISTRY_LION 0x04
#define BATTERY_CHEMISTRY_LIPOLY 0x05
#define BATTERY_CHEMISTRY_UNKNOWN 0xFF

typedef struct _SYSTEM_POWER_STATUS_EX {
  BYTE ACLineStatus;
  BYTE BatteryFlag;
  BYTE BatteryLifePercent;
  BYTE Reserved1;
  DWORD BatteryLifeTime;      // seconds, BATTERY_LIFE_UNKNOWN when not known
  DWORD BatteryFullLifeTime;  // seconds, BATTERY_LIFE_UNKNOWN when not known
  BYTE Reserved2;
  BYTE BackupBatteryFlag;
  BYTE BackupBatteryLifePercent;
  BYTE Reserved3;
  DWORD BackupBatteryLifeTime;
  DWORD BackupBatteryFullLifeTime;
} SYSTEM_POWER_STATUS_EX, *PSYSTEM_POWER_STATUS_EX, *LPSYSTEM_POWER_STATUS_EX;

typedef struct _SYSTEM_POWER_STATUS_EX2 {
  BYTE ACLineStatus;
  BYTE BatteryFlag;
  BYTE BatteryLifePercent;
  BYTE Reserved1;
  DWORD BatteryLifeTime;
  DWORD BatteryFullLifeTime;
  BYTE Reserved2;
  BYTE BackupBatteryFlag;
  BYTE BackupBatteryLifePercent;
  BYTE Reserved3;
  DWORD BackupBatteryLifeTime;
  DWORD BackupBatteryFullLifeTime;
  DWORD BatteryVoltage;         // millivolts
  DWORD BatteryCurrent;         // milliamperes, negative (as a signed value) while discharging
  DWORD BatteryAverageCurrent;
  DWORD BatteryAverageInterval;
  DWORD BatterymAHourConsumed;
  DWORD BatteryTemperature;     // tenths of a degree Celsius
  DWORD BackupBatteryVoltage;
  BYTE BatteryChemistry;
} SYSTEM_POWER_STATUS_EX2, *PSYSTEM_POWER_STATUS_EX2, *LPSYSTEM_POWER_STATUS_EX2;

// fUpdate asks for a fresh reading; here every call reads the terminal as it is now.
BOOL GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX pSystemPowerStatusEx, BOOL fUpdate);
// Fills min(dwLen, sizeof(SYSTEM_POWER_STATUS_EX2)) bytes and returns how many; 0 with
// ERROR_INVALID_PARAMETER for a null buffer or a zero length.
DWORD GetSystemPowerStatusEx2(PSYSTEM_POWER_STATUS_EX2 pSystemPowerStatusEx2, DWORD dwLen, BOOL fUpdate);

// Message types of POWER_BROADCAST, also the flags of RequestPowerNotifications.
#define PBT_TRANSITION 0x00000001     // the system power state changes (suspend, on)
#define PBT_RESUME 0x00000002         // the terminal woke from suspend
#define PBT_POWERSTATUSCHANGE 0x00000004  // external power came or went
#define PBT_POWERINFOCHANGE 0x00000008    // battery or external power changed
#define POWER_NOTIFY_ALL 0xFFFFFFFF

// System power states named in PBT_TRANSITION messages.
#define POWER_STATE_ON 0x00010000
#define POWER_STATE_SUSPEND 0x00200000

// What the queue receives. PBT_POWERINFOCHANGE carries a POWER_BROADCAST_POWER_INFO as
// SystemPowerState (44 bytes in all); PBT_TRANSITION the new state's NUL-terminated name ("on",
// "suspend"); PBT_RESUME and PBT_POWERSTATUSCHANGE the 12-byte head only.
typedef struct _POWER_BROADCAST {
  DWORD Message;  // PBT_*
  DWORD Flags;    // PBT_TRANSITION: the POWER_STATE_* of the new state
  DWORD Length;   // bytes of SystemPowerState that follow
  WCHAR SystemPowerState[1];
} POWER_BROADCAST, *PPOWER_BROADCAST;

// SystemPowerState of a PBT_POWERINFOCHANGE message, at byte 12 of the message.
typedef struct _POWER_BROADCAST_POWER_INFO {
  DWORD dwNumLevels;               // battery levels the driver reports (12 from the message start)
  DWORD dwBatteryLifeTime;         // 16
  DWORD dwBatteryFullLifeTime;     // 20
  DWORD dwBackupBatteryLifeTime;   // 24
  DWORD dwBackupBatteryFullLifeTime;  // 28
  BYTE bACLineStatus;              // 32
  BYTE bBatteryFlag;               // 33
  BYTE bBatteryLifePercent;        // 34
  BYTE bBackupBatteryFlag;         // 35
  BYTE bBackupBatteryLifePercent;  // 36
  BYTE Reserved[3];
} POWER_BROADCAST_POWER_INFO, *PPOWER_BROADCAST_POWER_INFO;

static_assert(sizeof(POWER_BROADCAST_POWER_INFO) == 28, "read at fixed offsets by queue readers");

// The largest message the power manager writes; a queue for these needs cbMaxMessage >= this.
// A PBT_POWERINFOCHANGE message is sizeof(POWER_BROADCAST) + sizeof(POWER_BROADCAST_POWER_INFO)
// bytes (16 + 28), the last four zero; Length says 28.
#define POWER_BROADCAST_MAX_SIZE 44

// hMsgQ is the caller's queue (any end); Flags a PBT_* mask or POWER_NOTIFY_ALL. Returns the
// registration, or NULL with ERROR_INVALID_PARAMETER (no queue, zero flags) or
// ERROR_INVALID_HANDLE. The registration ends with StopPowerNotifications or when the queue's
// reader goes away.
HANDLE RequestPowerNotifications(HANDLE hMsgQ, DWORD Flags);
BOOL StopPowerNotifications(HANDLE h);

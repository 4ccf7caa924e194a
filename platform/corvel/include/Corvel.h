// Corvel, the terminal's platform library: backlight, power, buzzer, key input mode, WLAN
// radio and the device name. Loaded as "Corvel.dll"; every function is exported under its
// plain name, so GetProcAddress finds it too. Acts on the simulated terminal.
#pragma once

#include <wintypes.h>

#ifdef __cplusplus
extern "C" {
#endif

// Backlight levels on battery and on external power. The setters store any level as given
// and return it; the getters return 1 and write the level, or another value on failure
// (then nothing is written).
DWORD SysSetBLBattery(DWORD level);
DWORD SysSetBLExpower(DWORD level);
DWORD SysGetBLBattery(DWORD* level);
DWORD SysGetBLExpower(DWORD* level);
DWORD SysGetBLMaximum(DWORD* battery, DWORD* expower);

// Suspends the terminal; returns 1 after the wake-up.
DWORD SysPowerOff(void);
// Restarts the terminal (recorded by the simulator, the process goes on); returns 1.
DWORD SysSoftReset(void);

// Power-off and automatic power-off switches; the getters return 1 while forbidden.
DWORD SysDisablePowerOff(void);
DWORD SysEnablePowerOff(void);
DWORD SysGetPowerOff(void);
DWORD SysDisableAPO(void);
DWORD SysEnableAPO(void);
DWORD SysGetAPO(void);

// Volume per buzzer kind, stored as given; the setter returns 1.
DWORD SysSetBuzzerVolume(DWORD kind, DWORD volume);
DWORD SysGetBuzzerVolume(DWORD kind);

// The key input mode; -6 when the terminal has none. The setter stores any mode and returns 1.
int SysGetInputMode(void);
DWORD SysSetInputMode(DWORD mode);

// WLAN radio; SysGetWLAN returns 1 while the radio is off (disabled), 0 while on.
DWORD SysEnableWLAN(void);
DWORD SysDisableWLAN(void);
DWORD SysGetWLAN(void);

// kind 4: the storage volume (device) name, NUL-terminated, at most 128 characters with the
// NUL (longer names are cut). Returns 1; other kinds write an empty string and return 0.
DWORD SysGetSystemName(DWORD kind, LPWSTR buffer);

#ifdef __cplusplus
}
#endif

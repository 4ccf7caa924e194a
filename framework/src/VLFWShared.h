// What the units of VelaFW share inside the library: the numbers of the registered window
// messages, the module-wide device-name table and VelaFW's own module handle.
#pragma once

#include <windows.h>

// Registered when the library is loaded; equal names give equal numbers in every module and
// process. Message maps take the variables' addresses (ON_REGISTERED_MESSAGE and
// ON_REGISTERED_THREAD_MESSAGE read them at dispatch time).
extern UINT g_nVLFWSelectMenuMessage;     // "WM_VELAFW_SELECTMENU"
extern UINT g_nVLFWMenuTopMessage;        // "WM_VELAFW_MENU_TOP"
extern UINT g_nVLFWMenuPrevMessage;       // "WM_VELAFW_MENU_PREV"
extern UINT g_nVLFWWaitStartMessage;      // "WM_VELAFW_WAITSTART"
extern UINT g_nVLFWSyncImeStatusMessage;  // "WM_VELASYS_SYNCIMESTATUS"
extern UINT g_nVLFWLogoutMessage;         // "WM_VELAFW_LOGOUT", registered only
extern UINT g_nVLFWNdisNotifyMessage;     // "VELA_NDIS_NOTIFOCATION", registered only

inline UINT VLFWSelectMenuMessage() { return g_nVLFWSelectMenuMessage; }
inline UINT VLFWMenuTopMessage() { return g_nVLFWMenuTopMessage; }
inline UINT VLFWMenuPrevMessage() { return g_nVLFWMenuPrevMessage; }
inline UINT VLFWWaitStartMessage() { return g_nVLFWWaitStartMessage; }
inline UINT VLFWSyncImeStatusMessage() { return g_nVLFWSyncImeStatusMessage; }

// Characters of one slot of the device-name table, the terminating zero included.
constexpr int VLFW_DEVICE_NAME_LENGTH = 128;

// Slot 1 (VelaDevVolume1) or 2 (VelaDevVolume2) of the device-name table: a buffer of
// VLFW_DEVICE_NAME_LENGTH characters shared by every object of the library; null for any
// other slot. Written without a lock by the device wait and by framework window constructors.
WCHAR* VLFWDeviceName(int slot);

// VelaFW's own module, which holds its string table.
HINSTANCE VLFWResourceHandle();

// Kernel services of the platform used by the kit.
#pragma once

#include "wintypes.h"
#include "winerror.h"
#include "minwinbase.h"
#include "synchapi.h"

// Debug output. Goes to the channel named by VELA_DEBUG: unset or "off" discards it,
// "stderr" writes to standard error, anything else is a file path to append to (UTF-8).
void OutputDebugStringW(LPCWSTR lpOutputString);
#define OutputDebugString OutputDebugStringW

// Waiting on kernel objects. Time-outs run on the platform clock (manual in tests).
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED 0xFFFFFFFF

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

// Sends a control code to a device opened with CreateFile ("UIO1:"). lpOverlapped must be
// NULL. A code the device does not know fails with ERROR_NOT_SUPPORTED.
BOOL DeviceIoControl(HANDLE hDevice, DWORD dwIoControlCode, LPVOID lpInBuffer, DWORD nInBufferSize,
                     LPVOID lpOutBuffer, DWORD nOutBufferSize, LPDWORD lpBytesReturned,
                     LPOVERLAPPED lpOverlapped);

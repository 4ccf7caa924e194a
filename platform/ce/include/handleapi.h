// Kernel object handles: one table for files, searches and, later, events, threads and processes.
#pragma once

#include "wintypes.h"
#include "winerror.h"

#define DUPLICATE_CLOSE_SOURCE 0x00000001
#define DUPLICATE_SAME_ACCESS 0x00000002

// Fails with ERROR_INVALID_HANDLE for a handle that is not open (never opened, or closed).
BOOL CloseHandle(HANDLE hObject);

// Within the calling process only (both process handles GetCurrentProcess()); the new handle
// refers to the same object, which lives until its last handle is closed.
BOOL DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle,
                     HANDLE hTargetProcessHandle, LPHANDLE lpTargetHandle,
                     DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions);

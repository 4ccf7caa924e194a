// Synchronisation objects: critical sections, events and waits on several objects.
// Time-outs run on the platform clock (manual in tests), like WaitForSingleObject's.
#pragma once

#include "wintypes.h"
#include "winerror.h"
#include "minwinbase.h"

// A recursive lock owned by one thread at a time. The storage is opaque: the platform keeps
// its lock object behind LockObject, created by InitializeCriticalSection.
typedef struct _CRITICAL_SECTION {
  void* LockObject;
  DWORD OwnerThread;
  DWORD LockCount;
} CRITICAL_SECTION, *LPCRITICAL_SECTION, *PCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);

// Events. A name makes the event findable by CreateEvent/OpenEvent of the same name within
// the process (names compared without regard to case); creating an existing name returns a new
// handle to it with ERROR_ALREADY_EXISTS as the last error and ignores the other arguments.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                    LPCWSTR lpName);
#define CreateEvent CreateEventW
// dwDesiredAccess is EVENT_ALL_ACCESS; NULL with ERROR_FILE_NOT_FOUND when no such event lives.
HANDLE OpenEventW(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCWSTR lpName);
#define OpenEvent OpenEventW
#define EVENT_ALL_ACCESS 0x001F0003
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);
// Releases the waiters present now (all of a manual-reset event, one of an auto-reset event)
// and leaves the event not signalled.
BOOL PulseEvent(HANDLE hEvent);

#define MAXIMUM_WAIT_OBJECTS 64
// WAIT_OBJECT_0 + i for the lowest signalled index i (fWaitAll FALSE), WAIT_OBJECT_0 when all
// are signalled at once (fWaitAll TRUE), WAIT_TIMEOUT, or WAIT_FAILED with the last error set
// (an invalid handle, nCount 0 or above MAXIMUM_WAIT_OBJECTS).
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL fWaitAll, DWORD dwMilliseconds);

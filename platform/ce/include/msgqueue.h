// Point-to-point message queues: one end writes whole messages, the other reads them in order.
// A handle opened for reading is signalled (WaitForSingleObject/WaitForMultipleObjects) while
// the queue holds a message; one opened for writing while there is room for one.
#pragma once

#include "wintypes.h"
#include "winerror.h"

typedef struct MSGQUEUEOPTIONS_OS {
  DWORD dwSize;         // sizeof(MSGQUEUEOPTIONS)
  DWORD dwFlags;        // MSGQUEUE_NOPRECOMMIT, MSGQUEUE_ALLOW_BROKEN
  DWORD dwMaxMessages;  // 0: no limit
  DWORD cbMaxMessage;   // largest message in bytes
  BOOL bReadAccess;     // TRUE: this handle reads, FALSE: it writes
} MSGQUEUEOPTIONS, *LPMSGQUEUEOPTIONS, *PMSGQUEUEOPTIONS;

typedef struct MSGQUEUEINFO {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwMaxMessages;
  DWORD cbMaxMessage;
  DWORD dwCurrentMessages;
  DWORD dwMaxQueueMessages;
  WORD wNumReaders;
  WORD wNumWriters;
} MSGQUEUEINFO, *LPMSGQUEUEINFO, *PMSGQUEUEINFO;

#define MSGQUEUE_NOPRECOMMIT 0x00000001
#define MSGQUEUE_ALLOW_BROKEN 0x00000002
// Flag of a message written (and read back) as an alert.
#define MSGQUEUE_MSGALERT 0x00000001

// lpszName NULL makes an unnamed queue; a named one is shared within the process by name.
HANDLE CreateMsgQueue(LPCWSTR lpszName, LPMSGQUEUEOPTIONS lpOptions);
// Another end of the queue that hSrcProc's handle names (hSrcProc is the current process).
HANDLE OpenMsgQueue(HANDLE hSrcProc, HANDLE hMsgQ, LPMSGQUEUEOPTIONS lpOptions);
// Waits up to dwTimeout ms for a message. A message longer than cbBufferSize fails with
// ERROR_INSUFFICIENT_BUFFER and stays queued (*lpNumberOfBytesRead gives its size); a time-out
// fails with ERROR_TIMEOUT. Once nothing is queued and no writing end is open
// (MSGQUEUE_ALLOW_BROKEN not set), the read fails at once with ERROR_PIPE_NOT_CONNECTED;
// messages written before the last writer closed are read first. A writing handle fails with
// ERROR_ACCESS_DENIED; a handle closed by another thread during the wait ends it with
// ERROR_INVALID_HANDLE.
BOOL ReadMsgQueue(HANDLE hMsgQ, LPVOID lpBuffer, DWORD cbBufferSize, LPDWORD lpNumberOfBytesRead,
                  DWORD dwTimeout, DWORD* pdwFlags);
// A message longer than cbMaxMessage fails with ERROR_INSUFFICIENT_BUFFER; a full queue waits
// up to dwTimeout ms, then fails with ERROR_TIMEOUT (ERROR_OUTOFMEMORY when dwTimeout is 0).
// With no reading end open (MSGQUEUE_ALLOW_BROKEN not set) it fails with
// ERROR_PIPE_NOT_CONNECTED. MSGQUEUE_MSGALERT messages are read before ordinary ones.
BOOL WriteMsgQueue(HANDLE hMsgQ, LPVOID lpBuffer, DWORD cbDataSize, DWORD dwTimeout, DWORD dwFlags);
BOOL GetMsgQueueInfo(HANDLE hMsgQ, LPMSGQUEUEINFO lpInfo);
BOOL CloseMsgQueue(HANDLE hMsgQ);

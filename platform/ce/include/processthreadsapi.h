// Identities of the calling process and thread.
#pragma once

#include "wintypes.h"
#include "winerror.h"

// The host's process id.
DWORD GetCurrentProcessId();
// A number unique among the live threads of all processes (the host's thread id).
DWORD GetCurrentThreadId();
// Pseudo-handles that stand for the caller; closing them does nothing.
HANDLE GetCurrentProcess();
HANDLE GetCurrentThread();

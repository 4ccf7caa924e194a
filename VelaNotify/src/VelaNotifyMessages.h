// The numbers the library registers with the platform when it is loaded: the input-method
// resynchronisation message and the identifiers of the network and clock window timers.
#pragma once

#include <windows.h>

// Registered at load and kept; the accessors register on first use should a caller run
// before the library's own start-up has.
UINT VelaNotifySyncImeStatusMessage();
UINT VelaNotifyNetIconTimer();
UINT VelaNotifyTimeIconTimer();

// The same numbers as variables, for ON_REGISTERED_MESSAGE, which reads them at dispatch.
extern const UINT& g_nVelaNotifySyncImeStatusMessage;

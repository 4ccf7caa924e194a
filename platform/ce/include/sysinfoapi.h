// Time of the terminal, from the platform clock (vela/Clock.h).
#pragma once

#include "wintypes.h"
#include "winerror.h"
#include "minwinbase.h"

void GetSystemTime(LPSYSTEMTIME lpSystemTime);
void GetLocalTime(LPSYSTEMTIME lpSystemTime);
// Move the terminal's clock (never the host's). wDayOfWeek is ignored; other fields out of
// range fail with ERROR_INVALID_PARAMETER.
BOOL SetSystemTime(const SYSTEMTIME* lpSystemTime);
BOOL SetLocalTime(const SYSTEMTIME* lpSystemTime);

// Milliseconds since an arbitrary start; wraps after about 49.7 days.
DWORD GetTickCount();

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime);

// Suspends the calling thread. On the manual clock (tests) it advances that clock by
// dwMilliseconds and returns at once, so code that sleeps in a loop sees time pass without
// waiting; INFINITE still suspends for good.
void Sleep(DWORD dwMilliseconds);

// The time functions of the platform over the platform clock.
#include <sysinfoapi.h>
#include <vela/Clock.h>

#include <sched.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr int64_t kTicksPerMs = 10000;  // FILETIME counts 100 ns

vela::clock::Milliseconds FromFileTime(const FILETIME& ft) {
  const uint64_t ticks = (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
  return static_cast<int64_t>(ticks / kTicksPerMs);
}

// Keeps the sub-millisecond part of the input, which the platform does too.
FILETIME ShiftFileTime(const FILETIME& ft, int64_t byMs) {
  const uint64_t ticks = (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
  const uint64_t shifted = ticks + static_cast<uint64_t>(byMs * kTicksPerMs);
  return FILETIME{static_cast<DWORD>(shifted), static_cast<DWORD>(shifted >> 32)};
}

bool FileTimeInRange(const FILETIME& ft) { return (ft.dwHighDateTime & 0x80000000u) == 0; }

}  // namespace

void GetSystemTime(LPSYSTEMTIME lpSystemTime) {
  *lpSystemTime = vela::clock::ToSystemTime(vela::clock::UtcNow());
}

void GetLocalTime(LPSYSTEMTIME lpSystemTime) {
  *lpSystemTime = vela::clock::ToSystemTime(vela::clock::LocalFromUtc(vela::clock::UtcNow()));
}

BOOL SetSystemTime(const SYSTEMTIME* lpSystemTime) {
  vela::clock::Milliseconds utc;
  if (!lpSystemTime || !vela::clock::FromSystemTime(*lpSystemTime, utc)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  vela::clock::SetUtcNow(utc);
  return TRUE;
}

BOOL SetLocalTime(const SYSTEMTIME* lpSystemTime) {
  vela::clock::Milliseconds local;
  if (!lpSystemTime || !vela::clock::FromSystemTime(*lpSystemTime, local)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // A local time near either end of the calendar can lie outside it in UTC.
  const vela::clock::Milliseconds utc = vela::clock::UtcFromLocal(local);
  vela::clock::Milliseconds last = 0;
  vela::clock::FromSystemTime(SYSTEMTIME{30827, 12, 0, 31, 23, 59, 59, 999}, last);
  if (utc < 0 || utc > last) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  vela::clock::SetUtcNow(utc);
  return TRUE;
}

DWORD GetTickCount() { return static_cast<DWORD>(vela::clock::Tick()); }

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime) {
  vela::clock::Milliseconds point;
  if (!lpSystemTime || !lpFileTime || !vela::clock::FromSystemTime(*lpSystemTime, point)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const uint64_t ticks = static_cast<uint64_t>(point) * kTicksPerMs;
  *lpFileTime = FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime) {
  if (!lpFileTime || !lpSystemTime || !FileTimeInRange(*lpFileTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpSystemTime = vela::clock::ToSystemTime(FromFileTime(*lpFileTime));
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime) {
  if (!lpFileTime || !lpLocalFileTime || !FileTimeInRange(*lpFileTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const vela::clock::Milliseconds utc = FromFileTime(*lpFileTime);
  *lpLocalFileTime = ShiftFileTime(*lpFileTime, vela::clock::LocalFromUtc(utc) - utc);
  return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime) {
  if (!lpLocalFileTime || !lpFileTime || !FileTimeInRange(*lpLocalFileTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const vela::clock::Milliseconds local = FromFileTime(*lpLocalFileTime);
  *lpFileTime = ShiftFileTime(*lpLocalFileTime, vela::clock::UtcFromLocal(local) - local);
  return TRUE;
}

void Sleep(DWORD dwMilliseconds) {
  if (dwMilliseconds == INFINITE) {
    for (;;) {
      pause();
    }
  }
  if (vela::clock::IsManual()) {
    vela::clock::Advance(std::chrono::milliseconds(dwMilliseconds));
    return;
  }
  if (dwMilliseconds == 0) {
    sched_yield();
    return;
  }
  timespec left{static_cast<time_t>(dwMilliseconds / 1000),
                static_cast<long>(dwMilliseconds % 1000) * 1000000};
  while (nanosleep(&left, &left) != 0) {
  }
}

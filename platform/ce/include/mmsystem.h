// Multimedia services: wave-output volume and multimedia timers.
#pragma once

#include "wintypes.h"
#include "windef.h"
#include "winerror.h"

typedef UINT MMRESULT;
DECLARE_HANDLE(HWAVEOUT);
typedef HWAVEOUT* LPHWAVEOUT;

#define MMSYSERR_BASE 0
#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR (MMSYSERR_BASE + 1)
#define MMSYSERR_BADDEVICEID (MMSYSERR_BASE + 2)
#define MMSYSERR_NOTENABLED (MMSYSERR_BASE + 3)
#define MMSYSERR_ALLOCATED (MMSYSERR_BASE + 4)
#define MMSYSERR_INVALHANDLE (MMSYSERR_BASE + 5)
#define MMSYSERR_NODRIVER (MMSYSERR_BASE + 6)
#define MMSYSERR_NOMEM (MMSYSERR_BASE + 7)
#define MMSYSERR_NOTSUPPORTED (MMSYSERR_BASE + 8)
#define MMSYSERR_INVALFLAG (MMSYSERR_BASE + 10)
#define MMSYSERR_INVALPARAM (MMSYSERR_BASE + 11)

// The volume: low word left channel, high word right channel (0xFFFF = full). hwo is a device
// number cast to HWAVEOUT (device 0 is the terminal's speaker); this platform opens no wave
// handles, so any other value is MMSYSERR_INVALHANDLE.
MMRESULT waveOutSetVolume(HWAVEOUT hwo, DWORD dwVolume);
MMRESULT waveOutGetVolume(HWAVEOUT hwo, LPDWORD pdwVolume);

// Multimedia timers run on the platform clock (manual in tests: they fire as the clock is
// advanced, a periodic timer once for every period passed). Callbacks run on the platform's
// timer thread, one at a time; timeKillEvent from inside a callback (its own timer or another)
// is safe, and once timeKillEvent has returned on another thread, the timer's callback is not
// running and does not start again. The user value is pointer-wide, so it carries an object
// pointer.
typedef void (*LPTIMECALLBACK)(UINT uTimerID, UINT uMsg, DWORD_PTR dwUser, DWORD_PTR dw1, DWORD_PTR dw2);
#define TIME_ONESHOT 0x0000
#define TIME_PERIODIC 0x0001
#define TIME_CALLBACK_FUNCTION 0x0000
#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97
// A timer id above 0, or 0 when the timer could not be set (uDelay 0, no callback, or a
// kind other than TIME_CALLBACK_FUNCTION). Ids are not reused soon.
MMRESULT timeSetEvent(UINT uDelay, UINT uResolution, LPTIMECALLBACK lpTimeProc, DWORD_PTR dwUser,
                      UINT fuEvent);
// TIMERR_NOERROR, or MMSYSERR_INVALPARAM for an unknown id.
MMRESULT timeKillEvent(UINT uTimerID);
// Milliseconds of the platform clock (as GetTickCount).
DWORD timeGetTime();

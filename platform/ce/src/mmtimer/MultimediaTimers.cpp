// timeSetEvent, timeKillEvent and timeGetTime over the timer queue.
#include <mmsystem.h>
#include <vela/Clock.h>

#include "debug/DebugChannel.h"
#include "mmtimer/TimerQueue.h"

MMRESULT timeSetEvent(UINT uDelay, UINT /*uResolution*/, LPTIMECALLBACK lpTimeProc, DWORD_PTR dwUser,
                      UINT fuEvent) {
  if (uDelay == 0 || lpTimeProc == nullptr) {
    return 0;
  }
  if ((fuEvent & ~UINT{TIME_PERIODIC}) != 0) {
    // Event-setting and pulsing timers are not offered: say so rather than fire nothing.
    vela::debug::WriteDebugChannel("timeSetEvent: only callback-function timers are supported\n");
    return 0;
  }
  return vela::mmtimer::Add(uDelay, lpTimeProc, dwUser, (fuEvent & TIME_PERIODIC) != 0);
}

MMRESULT timeKillEvent(UINT uTimerID) {
  return vela::mmtimer::Remove(uTimerID) ? TIMERR_NOERROR : MMSYSERR_INVALPARAM;
}

DWORD timeGetTime() { return static_cast<DWORD>(vela::clock::Tick()); }

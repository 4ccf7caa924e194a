// The multimedia timers: one timer thread runs every callback, one at a time, in the order
// their due times come, on the platform clock. A periodic timer is due at each multiple of its
// period; when the clock jumps (the manual clock in tests), it fires once for every multiple
// passed, each callback finished before the next starts.
#pragma once

#include <mmsystem.h>

namespace vela::mmtimer {

UINT Add(UINT delay, LPTIMECALLBACK proc, DWORD_PTR user, bool periodic);
// False for an unknown id. From another thread than the timer thread it returns only once a
// running callback of the timer has returned; from a callback it returns at once.
bool Remove(UINT id);
// Until no callback is due at the clock's current time or running (for tests: advance the
// manual clock, then call this to see the callbacks it caused).
void WaitUntilIdle();
// The same look without waiting.
bool IsIdle();

}  // namespace vela::mmtimer

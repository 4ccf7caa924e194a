#include "kernel/Waitable.h"

#include <minwinbase.h>
#include <winbase.h>
#include <vela/Clock.h>

#include <algorithm>
#include <limits>

namespace vela::kernel {

DWORD Waitable::Wait(DWORD milliseconds) {
  clock::Alarm alarm;
  const std::uint64_t deadline = milliseconds == INFINITE ? std::numeric_limits<std::uint64_t>::max()
                                                          : clock::Tick() + milliseconds;
  {
    std::lock_guard lock(mutex_);
    if (TakeSignalLocked()) {
      return WAIT_OBJECT_0;
    }
    if (milliseconds == 0) {
      return WAIT_TIMEOUT;
    }
    waiters_.push_back(&alarm);
  }
  for (;;) {
    // A Signal between the look above and this wait is kept by the alarm as an interrupt.
    const bool timedOut = alarm.WaitUntil(deadline);
    std::lock_guard lock(mutex_);
    const bool go = TakeSignalLocked();
    if (go || timedOut) {
      waiters_.erase(std::find(waiters_.begin(), waiters_.end(), &alarm));
      return go ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    }
  }
}

void Waitable::Signal() {
  std::lock_guard lock(mutex_);
  signalled_ = true;
  for (clock::Alarm* waiter : waiters_) {
    waiter->Interrupt();
  }
}

void Waitable::Reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

}  // namespace vela::kernel

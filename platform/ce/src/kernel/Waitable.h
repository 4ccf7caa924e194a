// The base of every kernel object WaitForSingleObject can wait on (processes now; events and
// threads join it). Time-outs run on the platform clock, so a test on the manual clock sees a
// wait time out when it advances the clock, never by sleeping.
#pragma once

#include <wintypes.h>

#include <mutex>
#include <vector>

#include "kernel/KernelObject.h"

namespace vela::clock {
class Alarm;
}

namespace vela::kernel {

class Waitable : public KernelObject {
 public:
  // WAIT_OBJECT_0 once the object is signalled (consuming the signal where the kind does),
  // WAIT_TIMEOUT when milliseconds pass first; INFINITE waits for good.
  DWORD Wait(DWORD milliseconds);

 protected:
  // Signalled until Reset; every waiter is woken to look.
  void Signal();
  void Reset();
  // Under the lock: whether a waiter may go now. An auto-reset kind clears its signal here.
  virtual bool TakeSignalLocked() { return signalled_; }

  bool signalled_ = false;

 private:
  std::mutex mutex_;
  std::vector<clock::Alarm*> waiters_;
};

}  // namespace vela::kernel

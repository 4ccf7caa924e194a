// The base of every kernel object a wait can name: events, threads, processes and message
// queue ends. All of them share one lock, so a wait on several objects sees their states at one
// instant and takes all signals of a wait-all together. A signal is handed to the waiters in
// the order they began to wait: an auto-reset event released by SetEvent wakes exactly one.
// Time-outs run on the platform clock, so on the manual clock a wait ends by time-out only when
// a test advances the clock.
#pragma once

#include <wintypes.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>

#include "kernel/KernelObject.h"

namespace vela::clock {
class Alarm;
}

namespace vela::kernel {

class Waitable;
struct WaitBlock;

// The one lock of all waitable state.
std::mutex& WaitLock();

class Waitable : public KernelObject {
 public:
  // Under WaitLock: whether a waiter may go now, and taking the signal for it.
  virtual bool IsSignalledLocked() const { return signalled_; }
  virtual void ConsumeLocked() {}

  // Under WaitLock: how many waits are registered here (for tests and diagnostics).
  std::size_t WaiterCountLocked() const { return waiters_.size(); }

  // Under WaitLock: hands the current signal to waiters, oldest first, while it lasts.
  void ReleaseWaitersLocked();
  // Under WaitLock: wakes every waiter without a signal, so each looks at the object again.
  void InterruptWaitersLocked();

 protected:
  // Signalled until Reset (both take the lock).
  void Signal();
  void Reset();

  bool signalled_ = false;

 private:
  friend struct WaitBlock;
  std::deque<WaitBlock*> waiters_;
};

// Value of WaitOnObjects when the alarm was interrupted before any object was signalled.
constexpr DWORD kWaitWoken = 0xFFFFFFFE;

// One round of waiting: WAIT_OBJECT_0 + i (the lowest index that may go, or 0 when waitAll and
// all went together), WAIT_TIMEOUT once the tick count reaches deadline, kWaitWoken when the
// alarm was interrupted first. The objects must not repeat when waitAll. giveUp, when given, is
// asked under WaitLock before the wait begins; true makes the round end with kWaitWoken.
DWORD WaitOnObjects(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll, std::uint64_t deadline,
                    clock::Alarm& alarm, const std::function<bool()>& giveUp = {});

// The full wait of WaitForSingleObject/WaitForMultipleObjects: rounds until an object goes or
// the time passes; a thread cancelled by TerminateThread ends here.
DWORD WaitForObjects(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll, DWORD milliseconds);

// Number of threads blocked on the object of a handle (0 for a handle that names none).
std::size_t WaitersOf(HANDLE handle);

// The tick count at which a wait of milliseconds from now ends (never for INFINITE).
std::uint64_t DeadlineAfter(DWORD milliseconds);

}  // namespace vela::kernel

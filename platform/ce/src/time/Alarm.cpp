// Waiting for a tick count on the host or the manual clock.
#include <vela/Clock.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "kernel/ThreadActivity.h"
#include "time/AlarmRegistry.h"

namespace vela::clock {

struct Alarm::State {
  std::mutex mutex;
  std::condition_variable wake;
  bool interrupted = false;
  // A counted thread blocked here has no work until it is woken: it is taken off the busy
  // count while it waits, and put back by whoever wakes it, at that moment, so no one sees
  // the threads settled between a wake-up and the woken thread's running.
  bool parked = false;
  std::uint64_t deadline = 0;

  void ParkLocked(std::uint64_t until) {
    deadline = until;
    if (!parked && kernel::activity::IsCurrentThreadCounted()) {
      parked = true;
      kernel::activity::Idle();
    }
  }
  void UnparkLocked() {
    if (parked) {
      parked = false;
      kernel::activity::Busy();
    }
  }
};

namespace {

// Lock order: registry, then an alarm's mutex; the clock's own mutex is never held while
// either is taken from the clock's side.
struct Registry {
  std::mutex mutex;
  std::vector<Alarm::State*> alarms;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

}  // namespace

void WakeAllAlarms() {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  for (Alarm::State* alarm : r.alarms) {
    // Taking the alarm's mutex orders this after a waiter's look at the clock, so a waiter
    // either saw the new time or is already waiting when notified.
    std::lock_guard alarmLock(alarm->mutex);
    if (alarm->parked && Tick() >= alarm->deadline) alarm->UnparkLocked();
    alarm->wake.notify_all();
  }
}

Alarm::Alarm() : state_(std::make_shared<State>()) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.alarms.push_back(state_.get());
}

Alarm::~Alarm() {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.alarms.erase(std::find(r.alarms.begin(), r.alarms.end(), state_.get()));
}

bool Alarm::WaitUntil(std::uint64_t deadline) {
  std::unique_lock lock(state_->mutex);
  for (;;) {
    if (state_->interrupted) {
      state_->interrupted = false;
      state_->UnparkLocked();
      return false;
    }
    const std::uint64_t now = Tick();
    if (now >= deadline) {
      state_->UnparkLocked();
      return true;
    }
    state_->ParkLocked(deadline);
    if (IsManual()) {
      state_->wake.wait(lock);
    } else {
      // In slices, so a far deadline cannot overflow the host clock's arithmetic.
      state_->wake.wait_for(lock, std::chrono::milliseconds(std::min<std::uint64_t>(deadline - now, 3600000)));
    }
  }
}

void Alarm::Interrupt() {
  std::lock_guard lock(state_->mutex);
  state_->interrupted = true;
  state_->UnparkLocked();
  state_->wake.notify_all();
}

}  // namespace vela::clock

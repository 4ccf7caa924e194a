// Waiting for a tick count on the host or the manual clock.
#include <vela/Clock.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "time/AlarmRegistry.h"

namespace vela::clock {

struct Alarm::State {
  std::mutex mutex;
  std::condition_variable wake;
  bool interrupted = false;
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
      return false;
    }
    const std::uint64_t now = Tick();
    if (now >= deadline) {
      return true;
    }
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
  state_->wake.notify_all();
}

}  // namespace vela::clock

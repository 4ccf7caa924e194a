// The platform clock: the host clock or a manual one, plus the terminal's own offset.
#include <vela/Clock.h>

#include <time.h>

#include <algorithm>
#include <mutex>

#include "time/AlarmRegistry.h"

namespace vela::clock {
namespace {

constexpr Milliseconds kUnixEpoch = 11644473600000;  // 1970-01-01 in milliseconds since 1601

Milliseconds HostUtc() {
  timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  return kUnixEpoch + Milliseconds{ts.tv_sec} * 1000 + ts.tv_nsec / 1000000;
}

uint64_t HostTick() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1000 + uint64_t(ts.tv_nsec) / 1000000;
}

struct State {
  std::mutex mutex;
  bool manual = false;
  Milliseconds manualUtc = 0;
  uint64_t manualTick = 0;
  // Added to the host's monotonic count so the tick count never goes back after a manual spell.
  uint64_t tickBase = 0;
  // Terminal time minus the underlying clock's, set by SetSystemTime and SetLocalTime.
  Milliseconds offset = 0;
};

State& TheState() {
  static State* state = new State;  // used until the very end of the process
  return *state;
}

uint64_t TickLocked(const State& s) { return s.manual ? s.manualTick : HostTick() + s.tickBase; }

}  // namespace

Milliseconds UtcNow() {
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  return (s.manual ? s.manualUtc : HostUtc()) + s.offset;
}

void SetUtcNow(Milliseconds utc) {
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  s.offset = utc - (s.manual ? s.manualUtc : HostUtc());
}

uint64_t Tick() {
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  return TickLocked(s);
}

void UseManual(const SYSTEMTIME& utcStart) {
  Milliseconds start = 0;
  if (!FromSystemTime(utcStart, start)) {
    start = HostUtc();
  }
  State& s = TheState();
  {
    std::lock_guard lock(s.mutex);
    s.manualTick = TickLocked(s);
    s.manualUtc = start;
    s.offset = 0;
    s.manual = true;
  }
  WakeAllAlarms();
}

void Advance(std::chrono::milliseconds by) {
  if (by.count() <= 0) {
    return;
  }
  State& s = TheState();
  {
    std::lock_guard lock(s.mutex);
    if (!s.manual) {
      return;
    }
    s.manualUtc += by.count();
    s.manualTick += uint64_t(by.count());
  }
  WakeAllAlarms();
}

void UseHost() {
  State& s = TheState();
  {
    std::lock_guard lock(s.mutex);
    if (s.manual) {
      const uint64_t host = HostTick();
      s.tickBase = std::max(s.tickBase, s.manualTick > host ? s.manualTick - host : 0);
    }
    s.manual = false;
    s.offset = 0;
  }
  WakeAllAlarms();
}

bool IsManual() {
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  return s.manual;
}

}  // namespace vela::clock

// The platform clock. It feeds GetSystemTime, GetLocalTime, GetTickCount and the timers.
// By default it follows the host clock, moved by the terminal's own offset once SetSystemTime
// or SetLocalTime has been called (the host's clock is never changed). Tests switch it to a
// manual clock that only moves when told, so time-outs are tested without waiting.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include <minwinbase.h>

namespace vela::clock {

// Points of time are milliseconds since 1601-01-01 00:00 UTC, the epoch of FILETIME.
using Milliseconds = std::int64_t;

// The terminal's UTC time now.
Milliseconds UtcNow();
// Sets the terminal's UTC time: the offset from the underlying (host or manual) clock changes.
void SetUtcNow(Milliseconds utc);

// Milliseconds since an arbitrary start; never goes back, also when the mode changes.
std::uint64_t Tick();

// Manual mode: the clock stands at utcStart (the terminal's offset is cleared) until Advance.
void UseManual(const SYSTEMTIME& utcStart);
// Moves the manual clock (and the tick count) forward and wakes every Alarm. Ignored in host mode.
void Advance(std::chrono::milliseconds by);
// Back to the host clock, with no terminal offset.
void UseHost();
bool IsManual();

// The terminal's time zone as the platform's bias: UTC = local time + bias minutes, so
// UTC+9 is -540. nullopt follows the host's zone (read once).
void SetZoneBias(std::optional<int> minutes);
Milliseconds LocalFromUtc(Milliseconds utc);
Milliseconds UtcFromLocal(Milliseconds local);

// Calendar fields of a point (wDayOfWeek filled). Valid from 1601 to 30827.
SYSTEMTIME ToSystemTime(Milliseconds point);
// False when a field is out of range (wDayOfWeek is ignored).
bool FromSystemTime(const SYSTEMTIME& fields, Milliseconds& point);

// Lets one thread wait for a tick count on whichever clock is in use: on the host clock it
// sleeps until then, on the manual clock it wakes when Advance reaches the deadline.
class Alarm {
 public:
  Alarm();
  ~Alarm();
  Alarm(const Alarm&) = delete;
  Alarm& operator=(const Alarm&) = delete;

  // True when Tick() reached deadline, false when Interrupt() ended the wait first.
  bool WaitUntil(std::uint64_t deadline);
  // Ends the current wait, or the next one if none is running (for example: an earlier
  // deadline was added, or the timer thread is to stop).
  void Interrupt();

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace vela::clock

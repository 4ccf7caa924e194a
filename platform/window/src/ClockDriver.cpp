#include "ClockDriver.h"

#include <windows.h>
#include <vela/Clock.h>

#include <ctime>

namespace vela::window {

void ClockDriver::TakeOverPlatformClock() {
  if (vela::clock::IsManual()) return;
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  const SYSTEMTIME start{static_cast<WORD>(utc.tm_year + 1900), static_cast<WORD>(utc.tm_mon + 1), 0,
                         static_cast<WORD>(utc.tm_mday), static_cast<WORD>(utc.tm_hour),
                         static_cast<WORD>(utc.tm_min), static_cast<WORD>(utc.tm_sec), 0};
  vela::clock::UseManual(start);
}

void ClockDriver::Begin(RealClock::time_point now) {
  base_ = now;
  stepsDone_ = 0;
}

int ClockDriver::StepsDue(RealClock::time_point now) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - base_);
  std::int64_t due = elapsed / kStep - stepsDone_;
  if (due > kMostStepsBehind) {
    stepsDone_ += due - kMostStepsBehind;
    due = kMostStepsBehind;
  }
  return due > 0 ? static_cast<int>(due) : 0;
}

void ClockDriver::Step() {
  vela::clock::Advance(kStep);
  ++stepsDone_;
}

std::chrono::milliseconds ClockDriver::UntilNextStep(RealClock::time_point now) const {
  const auto next = base_ + kStep * (stepsDone_ + 1);
  if (next <= now) return std::chrono::milliseconds{0};
  return std::chrono::ceil<std::chrono::milliseconds>(next - now);
}

}  // namespace vela::window

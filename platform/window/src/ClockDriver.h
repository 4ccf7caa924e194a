// Real time for a person in front of the window, on the manual clock: the window thread moves
// the platform clock on by the real time passed, in steps of the timers' resolution, so every
// event goes in at a known virtual time and a recording repeats exactly.
#pragma once

#include <chrono>
#include <cstdint>

namespace vela::window {

class ClockDriver {
 public:
  static constexpr std::chrono::milliseconds kStep{10};
  // More behind than this (the host slept, the application was busy for long) is dropped rather
  // than caught up in a burst.
  static constexpr int kMostStepsBehind = 50;

  using RealClock = std::chrono::steady_clock;

  // Switches the platform clock to manual at the host's UTC time cut to the second, unless it is
  // manual already (a program started by another keeps the time it was handed).
  static void TakeOverPlatformClock();

  // Real time counts from here.
  void Begin(RealClock::time_point now);
  // Steps due by now (at most kMostStepsBehind; anything more is forgiven).
  int StepsDue(RealClock::time_point now);
  // One step of the platform clock.
  void Step();
  // Real time until the next step falls due (zero when one is due).
  std::chrono::milliseconds UntilNextStep(RealClock::time_point now) const;

 private:
  RealClock::time_point base_{};
  std::int64_t stepsDone_ = 0;
};

}  // namespace vela::window

// The live Alarms, woken whenever the manual clock moves or the clock changes mode.
#pragma once

namespace vela::clock {

void WakeAllAlarms();

}  // namespace vela::clock

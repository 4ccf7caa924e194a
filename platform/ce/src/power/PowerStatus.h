// The power status as the battery driver reports the terminal's battery and external power.
#pragma once

#include <pm.h>
#include <vela/Terminal.h>

namespace vela::power {

SYSTEM_POWER_STATUS_EX2 StatusOf(const terminal::Power& power);

// The 44-byte PBT_POWERINFOCHANGE message of a status.
struct PowerInfoMessage {
  unsigned char bytes[POWER_BROADCAST_MAX_SIZE];
};
PowerInfoMessage PowerInfoMessageOf(const SYSTEM_POWER_STATUS_EX2& status);

}  // namespace vela::power

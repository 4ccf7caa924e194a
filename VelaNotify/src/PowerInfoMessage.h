// The power manager's power-information message as the battery notifier reads it from its
// queue: the type at 0, the battery life times at 16 and 20, the AC line status, battery flag
// and battery percentage at 32, 33 and 34 (little-endian, at most 44 bytes).
#pragma once

#include <windows.h>
#include <pm.h>

namespace vela_notify {

constexpr DWORD kPowerInfoMessageSize = 44;

// A status record (zero-filled, backup battery fields 0) from a power-information message
// (type 8); false for any other type and for a message too short to hold the fields.
bool ReadPowerInfoMessage(const BYTE* message, DWORD length, SYSTEM_POWER_STATUS_EX& status);

}  // namespace vela_notify

#include "PowerInfoMessage.h"

#include <cstring>

namespace vela_notify {

namespace {

DWORD Read32(const BYTE* at) {
    return static_cast<DWORD>(at[0]) | static_cast<DWORD>(at[1]) << 8 | static_cast<DWORD>(at[2]) << 16 |
           static_cast<DWORD>(at[3]) << 24;
}

// The last byte read is the percentage at 34.
constexpr DWORD kFieldsEnd = 35;

}  // namespace

bool ReadPowerInfoMessage(const BYTE* message, DWORD length, SYSTEM_POWER_STATUS_EX& status) {
    if (message == nullptr || length < kFieldsEnd || Read32(message) != PBT_POWERINFOCHANGE) {
        return false;
    }
    std::memset(&status, 0, sizeof status);
    status.BatteryLifeTime = Read32(message + 16);
    status.BatteryFullLifeTime = Read32(message + 20);
    status.ACLineStatus = message[32];
    status.BatteryFlag = message[33];
    status.BatteryLifePercent = message[34];
    return true;
}

}  // namespace vela_notify

#include "power/PowerStatus.h"

#include <cstddef>
#include <cstring>

namespace vela::power {

SYSTEM_POWER_STATUS_EX2 StatusOf(const terminal::Power& power) {
  SYSTEM_POWER_STATUS_EX2 status{};
  status.ACLineStatus = power.externalPower ? AC_LINE_ONLINE : AC_LINE_OFFLINE;
  status.BatteryFlag = power.batteryFlag;
  const bool noBattery = power.batteryFlag == BATTERY_FLAG_NO_BATTERY;
  status.BatteryLifePercent = noBattery ? BATTERY_PERCENTAGE_UNKNOWN : power.batteryPercent;
  status.BatteryLifeTime = noBattery ? BATTERY_LIFE_UNKNOWN : power.batteryLifeTime;
  status.BatteryFullLifeTime = noBattery ? BATTERY_LIFE_UNKNOWN : power.batteryFullLifeTime;
  // The terminal has no backup battery the driver reports on.
  status.BackupBatteryFlag = BATTERY_FLAG_UNKNOWN;
  status.BackupBatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
  status.BackupBatteryLifeTime = BATTERY_LIFE_UNKNOWN;
  status.BackupBatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
  if (!noBattery) {
    status.BatteryVoltage = power.batteryVoltage;
    status.BatteryCurrent = static_cast<DWORD>(power.batteryCurrent);
    status.BatteryAverageCurrent = static_cast<DWORD>(power.batteryCurrent);
    status.BatteryTemperature = power.batteryTemperature;
    status.BatteryChemistry = power.batteryChemistry;
  } else {
    status.BatteryChemistry = BATTERY_CHEMISTRY_UNKNOWN;
  }
  return status;
}

PowerInfoMessage PowerInfoMessageOf(const SYSTEM_POWER_STATUS_EX2& status) {
  POWER_BROADCAST_POWER_INFO info{};
  info.dwNumLevels = 3;  // high, low, critical
  info.dwBatteryLifeTime = status.BatteryLifeTime;
  info.dwBatteryFullLifeTime = status.BatteryFullLifeTime;
  info.dwBackupBatteryLifeTime = status.BackupBatteryLifeTime;
  info.dwBackupBatteryFullLifeTime = status.BackupBatteryFullLifeTime;
  info.bACLineStatus = status.ACLineStatus;
  info.bBatteryFlag = status.BatteryFlag;
  info.bBatteryLifePercent = status.BatteryLifePercent;
  info.bBackupBatteryFlag = status.BackupBatteryFlag;
  info.bBackupBatteryLifePercent = status.BackupBatteryLifePercent;

  PowerInfoMessage message{};
  const DWORD head[3] = {PBT_POWERINFOCHANGE, 0, sizeof info};
  std::memcpy(message.bytes, head, sizeof head);
  std::memcpy(message.bytes + offsetof(POWER_BROADCAST, SystemPowerState), &info, sizeof info);
  return message;
}

}  // namespace vela::power

namespace {

// GetSystemPowerStatusEx copies the head of the longer record.
static_assert(offsetof(SYSTEM_POWER_STATUS_EX2, BackupBatteryFullLifeTime) ==
              offsetof(SYSTEM_POWER_STATUS_EX, BackupBatteryFullLifeTime));

SYSTEM_POWER_STATUS_EX2 ReadStatus() { return vela::power::StatusOf(vela::terminal::Get().Get().power); }

}  // namespace

BOOL GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX pSystemPowerStatusEx, BOOL) {
  if (!pSystemPowerStatusEx) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const SYSTEM_POWER_STATUS_EX2 status = ReadStatus();
  std::memcpy(pSystemPowerStatusEx, &status, sizeof *pSystemPowerStatusEx);
  return TRUE;
}

DWORD GetSystemPowerStatusEx2(PSYSTEM_POWER_STATUS_EX2 pSystemPowerStatusEx2, DWORD dwLen, BOOL) {
  if (!pSystemPowerStatusEx2 || dwLen == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const SYSTEM_POWER_STATUS_EX2 status = ReadStatus();
  const DWORD size = dwLen < sizeof status ? dwLen : static_cast<DWORD>(sizeof status);
  std::memcpy(pSystemPowerStatusEx2, &status, size);
  return size;
}

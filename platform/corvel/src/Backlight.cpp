// Corvel backlight functions over the simulated terminal.
#include <Corvel.h>
#include <vela/Terminal.h>

namespace {

using vela::terminal::Backlight;

DWORD SetLevel(std::uint32_t Backlight::*level, DWORD value) {
  vela::terminal::Get().Update([&](vela::terminal::State& s) { s.backlight.*level = value; });
  return value;
}

DWORD GetLevel(std::uint32_t Backlight::*level, DWORD* out) {
  const Backlight backlight = vela::terminal::Get().Get().backlight;
  if (backlight.readResult != 1) {
    return backlight.readResult;
  }
  if (!out) {
    return 0;
  }
  *out = backlight.*level;
  return 1;
}

}  // namespace

extern "C" {

DWORD SysSetBLBattery(DWORD level) { return SetLevel(&Backlight::battery, level); }
DWORD SysSetBLExpower(DWORD level) { return SetLevel(&Backlight::externalPower, level); }
DWORD SysGetBLBattery(DWORD* level) { return GetLevel(&Backlight::battery, level); }
DWORD SysGetBLExpower(DWORD* level) { return GetLevel(&Backlight::externalPower, level); }

DWORD SysGetBLMaximum(DWORD* battery, DWORD* expower) {
  const Backlight backlight = vela::terminal::Get().Get().backlight;
  if (backlight.readResult != 1) {
    return backlight.readResult;
  }
  if (!battery || !expower) {
    return 0;
  }
  *battery = backlight.batteryMaximum;
  *expower = backlight.externalPowerMaximum;
  return 1;
}

}  // extern "C"

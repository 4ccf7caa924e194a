// Corvel power functions: suspend, soft reset and the two power-off switches.
#include <Corvel.h>
#include <vela/Terminal.h>

namespace {

using vela::terminal::Power;

DWORD SetSwitch(bool Power::*forbidden, bool value) {
  vela::terminal::Get().Update([&](vela::terminal::State& s) { s.power.*forbidden = value; });
  return 1;
}

DWORD GetSwitch(bool Power::*forbidden) { return vela::terminal::Get().Get().power.*forbidden ? 1 : 0; }

}  // namespace

extern "C" {

DWORD SysPowerOff(void) {
  vela::terminal::Get().Suspend();
  return 1;
}

DWORD SysSoftReset(void) {
  vela::terminal::Get().SoftReset();
  return 1;
}

DWORD SysDisablePowerOff(void) { return SetSwitch(&Power::powerOffForbidden, true); }
DWORD SysEnablePowerOff(void) { return SetSwitch(&Power::powerOffForbidden, false); }
DWORD SysGetPowerOff(void) { return GetSwitch(&Power::powerOffForbidden); }
DWORD SysDisableAPO(void) { return SetSwitch(&Power::autoPowerOffForbidden, true); }
DWORD SysEnableAPO(void) { return SetSwitch(&Power::autoPowerOffForbidden, false); }
DWORD SysGetAPO(void) { return GetSwitch(&Power::autoPowerOffForbidden); }

}  // extern "C"

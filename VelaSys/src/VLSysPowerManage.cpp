#include "VLSysPowerManage.h"

#include <Corvel.h>

namespace {

// Sets a switch, and with verify 1 sets it again until the read-back state matches. The
// platform is expected to take the setting at once; the bound keeps a device that never does
// from hanging the caller.
template <typename Set, typename Get>
void SetSwitch(BOOL disable, BOOL verify, Set set, Get get) {
    const BOOL wanted = disable ? TRUE : FALSE;
    for (int attempt = 0; attempt < CVLSysPowerManage::kMaxVerifyAttempts; ++attempt) {
        set(wanted);
        if (verify != TRUE) return;
        if (get() == wanted) return;
    }
}

}  // namespace

CVLSysPowerManage::CVLSysPowerManage() { m_nAppletIndex = 5; }

void CVLSysPowerManage::PowerOff(BOOL reset) {
    SysPowerOff();
    if (reset) SysSoftReset();
}

void CVLSysPowerManage::DisablePowerOff(BOOL disable, BOOL verify) {
    SetSwitch(
        disable, verify, [](BOOL forbid) { forbid ? SysDisablePowerOff() : SysEnablePowerOff(); },
        [this] { return GetPowerOffDisable(); });
}

BOOL CVLSysPowerManage::GetPowerOffDisable() { return static_cast<BOOL>(SysGetPowerOff()); }

void CVLSysPowerManage::DisableAutoPowerOff(BOOL disable, BOOL verify) {
    SetSwitch(
        disable, verify, [](BOOL forbid) { forbid ? SysDisableAPO() : SysEnableAPO(); },
        [this] { return GetAutoPowerOffDisable(); });
}

BOOL CVLSysPowerManage::GetAutoPowerOffDisable() { return static_cast<BOOL>(SysGetAPO()); }

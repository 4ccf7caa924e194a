// CVLSysPowerManage: suspending the terminal, and the switches that forbid power-off and
// automatic power-off.
#pragma once

#include "VelaSysBase.h"

class AFX_EXT_CLASS CVLSysPowerManage : public CVelaSysBase {
public:
    // DisablePowerOff and DisableAutoPowerOff with verify 1 set the switch again until the
    // platform reports the requested state, at most this many times.
    static constexpr int kMaxVerifyAttempts = 300;

    CVLSysPowerManage();

    // Suspends the terminal and returns once it has resumed; with reset nonzero the terminal
    // then restarts.
    void PowerOff(BOOL reset);

    // disable nonzero forbids, 0 allows. verify exactly 1: read the state back and repeat
    // until it matches.
    void DisablePowerOff(BOOL disable, BOOL verify);
    BOOL GetPowerOffDisable();

    void DisableAutoPowerOff(BOOL disable, BOOL verify);
    BOOL GetAutoPowerOffDisable();
};

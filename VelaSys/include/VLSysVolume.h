// CVLSysVolume: the wave-output volume and the buzzer volumes.
#pragma once

#include <mmsystem.h>

#include "VelaSysBase.h"

class AFX_EXT_CLASS CVLSysVolume : public CVelaSysBase {
public:
    CVLSysVolume();

    // Low 16 bits the left channel, high 16 bits the right one.
    void SetWaveVolume(DWORD volume, HWAVEOUT device);
    // 0 when the platform cannot tell.
    DWORD GetWaveVolume(HWAVEOUT device);

    void SetBuzzerVolume(DWORD volume, DWORD kind);
    DWORD GetBuzzerVolume(DWORD kind);
};

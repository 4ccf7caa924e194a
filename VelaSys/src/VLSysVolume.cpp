#include "VLSysVolume.h"

#include <Corvel.h>

CVLSysVolume::CVLSysVolume() { m_nAppletIndex = 10; }

void CVLSysVolume::SetWaveVolume(DWORD volume, HWAVEOUT device) { waveOutSetVolume(device, volume); }

DWORD CVLSysVolume::GetWaveVolume(HWAVEOUT device) {
    DWORD volume = 0;
    if (waveOutGetVolume(device, &volume) != MMSYSERR_NOERROR) return 0;
    return volume;
}

// Corvel takes the kind first.
void CVLSysVolume::SetBuzzerVolume(DWORD volume, DWORD kind) { SysSetBuzzerVolume(kind, volume); }

DWORD CVLSysVolume::GetBuzzerVolume(DWORD kind) { return SysGetBuzzerVolume(kind); }

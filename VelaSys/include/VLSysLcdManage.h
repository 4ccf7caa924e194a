// CVLSysLcdManage: the backlight levels, on battery and on external power.
#pragma once

#include "VelaSysBase.h"

class AFX_EXT_CLASS CVLSysLcdManage : public CVelaSysBase {
public:
    CVLSysLcdManage();

    // battery nonzero: the level used on battery, else the one on external power. Returns the
    // platform's result unchanged.
    DWORD SetBright(DWORD level, BOOL battery);
    // Returns 1 on success with the level in level; any other result is a failure and is also
    // left in level.
    DWORD GetBright(DWORD& level, BOOL battery);
    // The highest level, in the same way as GetBright.
    DWORD GetBrightMaximun(DWORD& level, BOOL battery);

    // Opens the backlight settings program "\Windows\Contrast.exe".
    void ShowProperty(HWND parent);
};

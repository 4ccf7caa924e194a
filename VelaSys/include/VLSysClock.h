// CVLSysClock: the terminal's system time.
#pragma once

#include "VelaSysBase.h"

class AFX_EXT_CLASS CVLSysClock : public CVelaSysBase {
public:
    CVLSysClock();

    // time is coordinated universal time; returns the platform's result.
    BOOL SetSystemTime(SYSTEMTIME& time);
};

#include "VLSysClock.h"

CVLSysClock::CVLSysClock() { m_nAppletIndex = 13; }

BOOL CVLSysClock::SetSystemTime(SYSTEMTIME& time) { return ::SetSystemTime(&time); }

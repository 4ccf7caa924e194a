// CVLSysImeManage: the terminal's key input mode and the state of its input method.
//
// Conversion status numbers of SetConversionStatus / GetConversionStatus:
//   0 input method closed, 1 full-width hiragana, 2 full-width katakana,
//   3 full-width alphanumeric, 4 half-width katakana, 5 half-width alphanumeric.
#pragma once

#include "VelaSysBase.h"

class AFX_EXT_CLASS CVLSysImeManage : public CVelaSysBase {
public:
    CVLSysImeManage();

    // Zero only when the terminal has no key input mode.
    BOOL IsEnableKeyInputMode();
    void SetKeyInputMode(DWORD mode);
    DWORD GetKeyInputMode();

    // Status 0 closes the input method; any other opens it, and 1 to 5 also choose the
    // character kind, keeping the conversion flags that do not describe it.
    void SetConversionStatus(DWORD status);
    DWORD GetConversionStatus();
};

#include "VLSysImeManage.h"

#include <Corvel.h>
#include <imm.h>

#include <iterator>

namespace {

// Corvel's answer for a terminal without a key input mode.
constexpr int kNoKeyInputMode = -6;

// The conversion flags that say which characters the input method produces.
constexpr DWORD kKindFlags = IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN;

// Flags for statuses 1 to 5.
constexpr DWORD kStatusFlags[] = {
    IME_CMODE_ROMAN | IME_CMODE_FULLSHAPE | IME_CMODE_NATIVE,                      // full hiragana
    IME_CMODE_ROMAN | IME_CMODE_FULLSHAPE | IME_CMODE_NATIVE | IME_CMODE_KATAKANA,  // full katakana
    IME_CMODE_ROMAN | IME_CMODE_FULLSHAPE,                                          // full alphanumeric
    IME_CMODE_ROMAN | IME_CMODE_NATIVE | IME_CMODE_KATAKANA,                        // half katakana
    IME_CMODE_ROMAN,                                                                // half alphanumeric
};

}  // namespace

CVLSysImeManage::CVLSysImeManage() = default;

BOOL CVLSysImeManage::IsEnableKeyInputMode() { return SysGetInputMode() != kNoKeyInputMode; }

void CVLSysImeManage::SetKeyInputMode(DWORD mode) { SysSetInputMode(mode); }

DWORD CVLSysImeManage::GetKeyInputMode() { return static_cast<DWORD>(SysGetInputMode()); }

void CVLSysImeManage::SetConversionStatus(DWORD status) {
    // A null context stands for the terminal's one input method.
    if (status == 0) {
        ImmSetOpenStatus(nullptr, FALSE);
        return;
    }
    ImmSetOpenStatus(nullptr, TRUE);
    DWORD conversion = 0;
    DWORD sentence = 0;
    ImmGetConversionStatus(nullptr, &conversion, &sentence);
    if (status <= std::size(kStatusFlags)) {
        conversion = (conversion & ~kKindFlags) | kStatusFlags[status - 1];
    }
    ImmSetConversionStatus(nullptr, conversion, 0);
}

DWORD CVLSysImeManage::GetConversionStatus() {
    if (!ImmGetOpenStatus(nullptr)) return 0;
    DWORD conversion = 0;
    DWORD sentence = 0;
    ImmGetConversionStatus(nullptr, &conversion, &sentence);
    if (conversion & IME_CMODE_FULLSHAPE) {
        if (!(conversion & IME_CMODE_NATIVE)) return 3;
        return (conversion & IME_CMODE_KATAKANA) ? 2 : 1;
    }
    return (conversion & IME_CMODE_KATAKANA) ? 4 : 5;
}

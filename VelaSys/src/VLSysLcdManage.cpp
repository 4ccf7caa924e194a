#include "VLSysLcdManage.h"

#include <Corvel.h>

#include "ShellStart.h"

namespace {
constexpr DWORD kCorvelSuccess = 1;
}

CVLSysLcdManage::CVLSysLcdManage() { m_nAppletIndex = 100; }

DWORD CVLSysLcdManage::SetBright(DWORD level, BOOL battery) {
    return battery ? SysSetBLBattery(level) : SysSetBLExpower(level);
}

DWORD CVLSysLcdManage::GetBright(DWORD& level, BOOL battery) {
    const DWORD result = battery ? SysGetBLBattery(&level) : SysGetBLExpower(&level);
    if (result != kCorvelSuccess) level = result;
    return result;
}

DWORD CVLSysLcdManage::GetBrightMaximun(DWORD& level, BOOL battery) {
    DWORD batteryMaximum = 0;
    DWORD expowerMaximum = 0;
    const DWORD result = SysGetBLMaximum(&batteryMaximum, &expowerMaximum);
    if (result != kCorvelSuccess) {
        level = result;
    } else {
        level = battery ? batteryMaximum : expowerMaximum;
    }
    return result;
}

void CVLSysLcdManage::ShowProperty(HWND parent) {
    if (!CanShowProperty()) return;
    velasys::StartShellProgram(parent, u"\\Windows\\Contrast.exe", nullptr);
}

#include "OrelClog.h"

extern "C" DWORD WINAPI OrelClog_IsMLSMode() {
    DWORD mode = 1;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Vela\\OrelClog", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return mode;
    }
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key, u"MLSMode", nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value) {
        mode = value;
    }
    RegCloseKey(key);
    return mode;
}

#include "OrelClog.h"

#include <mutex>

#include "AppLogStore.h"

namespace {

// The base information of the last OrelClog_SetLogInfo; records from any thread use it.
std::mutex g_lock;
orelclog::LogInfo g_info;

void Keep(std::u16string& field, bool& present, LPCWSTR text) {
    present = text != nullptr;
    field = present ? std::u16string(text) : std::u16string();
}

}  // namespace

extern "C" BOOL WINAPI OrelClog_SetLogInfo(LPCWSTR pAddress, LPCWSTR pDevice, LPCWSTR pUser, DWORD dwLogID) {
    std::lock_guard<std::mutex> hold(g_lock);
    Keep(g_info.address, g_info.hasAddress, pAddress);
    Keep(g_info.device, g_info.hasDevice, pDevice);
    Keep(g_info.user, g_info.hasUser, pUser);
    g_info.logId = dwLogID;
    return TRUE;
}

extern "C" BOOL WINAPI OrelClog_PutAppLog(DWORD dwKind, LPCWSTR pCmd, LPCWSTR pInfo, LPCWSTR pMsg) {
    orelclog::LogInfo info;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        info = g_info;
    }
    return orelclog::StoreRecord(info, dwKind, pCmd, pInfo, pMsg) ? TRUE : FALSE;
}

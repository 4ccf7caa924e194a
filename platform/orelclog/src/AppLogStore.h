// The record table of the collector's database.
#pragma once

#include <windows.h>

#include <string>

namespace orelclog {

// The host path of \Windows\OrelClog.db.
std::string DatabasePath();

struct LogInfo {
    std::u16string address, device, user;
    bool hasAddress = false, hasDevice = false, hasUser = false;
    DWORD logId = 0;
};

// Appends one row; false when the database cannot be opened or written.
bool StoreRecord(const LogInfo& info, DWORD kind, LPCWSTR cmd, LPCWSTR pinfo, LPCWSTR msg);

}  // namespace orelclog

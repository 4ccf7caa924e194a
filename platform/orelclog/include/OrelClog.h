// The collector stand-in "OrelClog.dll": keeps the operation-log records it is handed in an
// SQLite database under the terminal's root (\Windows\OrelClog.db) for a person to look at.
// Whether it asks for the records comes from the registry value
// HKEY_LOCAL_MACHINE\Software\Vela\OrelClog "MLSMode" (DWORD); without it the answer is 1,
// so the records go to the log file.
#pragma once

#include <windows.h>

#define ORELCLOG_API extern "C" __attribute__((visibility("default")))

// 1: the logging library writes its own log file; anything else: the records come here.
ORELCLOG_API DWORD WINAPI OrelClog_IsMLSMode();

// The base information for the records that follow. Returns nonzero on success.
ORELCLOG_API BOOL WINAPI OrelClog_SetLogInfo(LPCWSTR pAddress, LPCWSTR pDevice, LPCWSTR pUser, DWORD dwLogID);

// Stores one record; NULL strings are kept as NULL. Returns nonzero on success.
ORELCLOG_API BOOL WINAPI OrelClog_PutAppLog(DWORD dwKind, LPCWSTR pCmd, LPCWSTR pInfo, LPCWSTR pMsg);

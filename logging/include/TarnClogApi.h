// The operation log's exported functions. Each record becomes one quoted, comma-separated line
// of 17 fields appended to the log file in the ANSI code page, or is handed to the collector
// "OrelClog.dll" when that library asks for it.
#pragma once

#include <windows.h>

// Error numbers kept for TarnClog_GetErrno; the last failure stays until the process ends.
#define TARNCLOG_ERR_NULL_ARGUMENT 0x00780002UL   // a required string was NULL
#define TARNCLOG_ERR_NOT_INITIALIZED 0x00780003UL // no TarnClog_SetBaseInfo yet
#define TARNCLOG_ERR_OPEN 0x00780004UL            // the log file could not be opened or created
#define TARNCLOG_ERR_WRITE 0x00780005UL           // the record could not be written

// Record kinds, as written into field 5 and passed to the collector.
#define TARNCLOG_KIND_START 1
#define TARNCLOG_KIND_END 2
#define TARNCLOG_KIND_ABORT 4
#define TARNCLOG_KIND_MESSAGE 8

// The library exports these six names and nothing else, undecorated, as the terminal's does.
#define TARNCLOG_API extern "C" __attribute__((visibility("default")))

// Gathers the base information afresh (trace folder, companion mode, process id, owner name,
// program identification, host name), then applies the arguments that are given.
TARNCLOG_API void WINAPI TarnClog_SetBaseInfo(LPCWSTR pLogFile, LPCWSTR pAddress, LPCWSTR pDevice,
                                              LPCWSTR pUser, DWORD dwLogID);

// Each returns 0 when the record was written (or accepted by the collector), -1 otherwise.
TARNCLOG_API LONG WINAPI TarnClog_Start(LPCWSTR pCmd, LPCWSTR pInfo);
TARNCLOG_API LONG WINAPI TarnClog_End(LPCWSTR pCmd, LPCWSTR pInfo, LPCWSTR pMsg);
TARNCLOG_API LONG WINAPI TarnClog_Abort(LPCWSTR pCmd, LPCWSTR pInfo, LPCWSTR pMsg);
TARNCLOG_API LONG WINAPI TarnClog_Message(LPCWSTR pCmd, LPCWSTR pInfo, LPCWSTR pMsg);

TARNCLOG_API DWORD WINAPI TarnClog_GetErrno();

// Companion mode: the outside collector "OrelClog.dll" takes the records instead of the log file.
#pragma once

#include <windows.h>

#include "RecordLine.h"

namespace tarn {

typedef DWORD(WINAPI* IsMLSModeProc)();
typedef BOOL(WINAPI* SetLogInfoProc)(LPCWSTR address, LPCWSTR device, LPCWSTR user, DWORD logId);
typedef BOOL(WINAPI* PutAppLogProc)(DWORD kind, LPCWSTR cmd, LPCWSTR info, LPCWSTR msg);

// Asks the collector, when it is installed, whether it wants the records: any answer but 1.
bool CollectorWantsRecords();

// Hands one record to the collector. Returns false when the collector does not load, so the
// record goes to the log file; otherwise true with *result 0, or -1 when a call failed.
bool PutToCollector(const RecordFields& record, LONG* result);

}  // namespace tarn

// The process-wide state of the operation log: one set of base information and one error number.
#pragma once

#include <windows.h>

#include <atomic>

namespace tarn {

// Capacity of every text field, terminator included.
constexpr size_t kFieldCapacity = 260;

struct BaseInfo {
    WCHAR logFile[kFieldCapacity];
    WCHAR address[kFieldCapacity];
    WCHAR device[kFieldCapacity];
    WCHAR user[kFieldCapacity];
    WCHAR exeName[kFieldCapacity];
    WCHAR programId[kFieldCapacity];
    WCHAR traceFolder[kFieldCapacity];
    DWORD processId;
    DWORD logId;
    DWORD traceMainThread;  // 0: tracing off
    bool initialised;
    bool companion;
};

// Written only by TarnClog_SetBaseInfo; the record operations read it.
extern BaseInfo g_base;

// Records may fail on several threads at once; the last failure wins.
extern std::atomic<DWORD> g_errno;

// Copies text into a field, cutting it to the field's capacity without splitting a surrogate
// pair. NULL gives an empty field. Returns false when the text had to be cut.
bool CopyField(WCHAR (&field)[kFieldCapacity], LPCWSTR text);

}  // namespace tarn

// The 17-field line of one record, composed as UTF-16.
#pragma once

#include <windows.h>

#include "BaseInfo.h"

namespace tarn {

// Capacity of the composed line in UTF-16 units (terminator included) and of the line after
// conversion to the ANSI code page in bytes.
constexpr size_t kLineCapacity = 8192;
constexpr size_t kBytesCapacity = 8192;

struct RecordFields {
    DWORD kind;
    LPCWSTR cmd;
    LPCWSTR info;
    LPCWSTR msg;
};

// The process field is the log ID for "ptbox" commands (any case) when a log ID is set, else
// the process id; the ID field is the log ID when set, else the process id.
DWORD ProcessField(const BaseInfo& base, LPCWSTR cmd);
DWORD IdField(const BaseInfo& base);

// Composes the line into line[kLineCapacity]. Returns false, with nothing usable in the buffer,
// when the line does not fit: a cut line would lose its closing quotes and line end.
bool ComposeRecordLine(WCHAR (&line)[kLineCapacity], const SYSTEMTIME& now, const BaseInfo& base,
                       const RecordFields& record);

}  // namespace tarn

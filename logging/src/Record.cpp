#include "BaseInfo.h"
#include "Companion.h"
#include "RecordLine.h"
#include "TarnClogApi.h"

using namespace tarn;

namespace {

LONG Fail(DWORD error) {
    g_errno.store(error, std::memory_order_relaxed);
    return -1;
}

bool HasRequiredStrings(const RecordFields& r) {
    switch (r.kind) {
    case TARNCLOG_KIND_START: return r.cmd != nullptr && r.info != nullptr;
    case TARNCLOG_KIND_MESSAGE: return r.cmd != nullptr && r.info != nullptr && r.msg != nullptr;
    default: return r.msg != nullptr;
    }
}

LONG WriteRecord(const RecordFields& record) {
    if (g_base.companion) {
        LONG result = -1;
        if (PutToCollector(record, &result)) return result;
    }
    if (!g_base.initialised) return Fail(TARNCLOG_ERR_NOT_INITIALIZED);
    if (!HasRequiredStrings(record)) return Fail(TARNCLOG_ERR_NULL_ARGUMENT);

    SYSTEMTIME now;
    GetLocalTime(&now);
    // A record that does not fit whole is refused rather than cut: a cut could leave half a
    // double-byte character or an open quote, and the next line would be misread.
    WCHAR line[kLineCapacity];
    if (!ComposeRecordLine(line, now, g_base, record)) return Fail(TARNCLOG_ERR_WRITE);
    char bytes[kBytesCapacity];
    int converted = WideCharToMultiByte(CP_ACP, 0, line, -1, bytes, static_cast<int>(kBytesCapacity), nullptr, nullptr);
    if (converted <= 1) return Fail(TARNCLOG_ERR_WRITE);
    DWORD length = static_cast<DWORD>(converted - 1);

    // No sharing: nobody else appends while this line goes out.
    HANDLE file = CreateFileW(g_base.logFile, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(TARNCLOG_ERR_OPEN);
    LONG high = 0;  // the log has no size limit, so it may pass 4 GB
    SetLastError(NO_ERROR);
    DWORD end = SetFilePointer(file, 0, &high, FILE_END);
    if (end == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
        CloseHandle(file);
        return Fail(TARNCLOG_ERR_WRITE);
    }
    DWORD written = 0;
    if (!WriteFile(file, bytes, length, &written, nullptr) || written != length) {
        // Part of the line may have reached the file (a disk that filled up mid-write): cut it
        // off again, or the next record would continue a torn line.
        if (written != 0 && SetFilePointer(file, static_cast<LONG>(end), &high, FILE_BEGIN) == end) {
            SetEndOfFile(file);
        }
        CloseHandle(file);
        return Fail(TARNCLOG_ERR_WRITE);
    }
    CloseHandle(file);
    return 0;
}

}  // namespace

extern "C" LONG WINAPI TarnClog_Start(LPCWSTR pCmd, LPCWSTR pInfo) {
    return WriteRecord({TARNCLOG_KIND_START, pCmd, pInfo, u""});
}

extern "C" LONG WINAPI TarnClog_End(LPCWSTR pCmd, LPCWSTR pInfo, LPCWSTR pMsg) {
    return WriteRecord({TARNCLOG_KIND_END, pCmd, pInfo, pMsg});
}

extern "C" LONG WINAPI TarnClog_Abort(LPCWSTR pCmd, LPCWSTR pInfo, LPCWSTR pMsg) {
    return WriteRecord({TARNCLOG_KIND_ABORT, pCmd, pInfo, pMsg});
}

extern "C" LONG WINAPI TarnClog_Message(LPCWSTR pCmd, LPCWSTR pInfo, LPCWSTR pMsg) {
    return WriteRecord({TARNCLOG_KIND_MESSAGE, pCmd, pInfo, pMsg});
}

extern "C" DWORD WINAPI TarnClog_GetErrno() { return g_errno.load(std::memory_order_relaxed); }

#include "Companion.h"

#include "BaseInfo.h"
#include "ProcAddress.h"
#include "Trace.h"

namespace tarn {

namespace {

constexpr WCHAR kCollector[] = u"OrelClog.dll";

}  // namespace

bool CollectorWantsRecords() {
    HMODULE module = LoadLibraryW(kCollector);
    if (module == nullptr) return false;
    bool wants = false;
    auto isMLSMode = ProcAddress<IsMLSModeProc>(module, u"OrelClog_IsMLSMode");
    if (isMLSMode != nullptr) wants = isMLSMode() != 1;
    FreeLibrary(module);
    return wants;
}

bool PutToCollector(const RecordFields& record, LONG* result) {
    if (record.cmd != nullptr) {
        Trace(u"CommonLogPut dwID=%u, dwPID=%u, pCmd=%s", {record.kind, g_base.processId, record.cmd});
    } else {
        Trace(u"CommonLogPut dwID=%u, dwPID=%u, pCmd=NULL", {record.kind, g_base.processId});
    }
    HMODULE module = LoadLibraryW(kCollector);
    if (module == nullptr) return false;

    bool failed = false;
    auto setLogInfo = ProcAddress<SetLogInfoProc>(module, u"OrelClog_SetLogInfo");
    if (setLogInfo == nullptr || !setLogInfo(g_base.address, g_base.device, g_base.user, g_base.logId)) {
        failed = true;
    }
    auto putAppLog = ProcAddress<PutAppLogProc>(module, u"OrelClog_PutAppLog");
    if (putAppLog == nullptr) {
        failed = true;
    } else {
        if (record.info != nullptr && record.msg != nullptr) {
            Trace(u"PutAppLog pInfo=%s, pMsg=%s", {record.info, record.msg});
        } else {
            Trace(u"[NULL] PutAppLog pInfo=%x, pMsg=%x",
                  {static_cast<const void*>(record.info), static_cast<const void*>(record.msg)});
        }
        if (!putAppLog(record.kind, record.cmd, record.info, record.msg)) failed = true;
    }
    FreeLibrary(module);
    *result = failed ? -1 : 0;
    return true;
}

}  // namespace tarn

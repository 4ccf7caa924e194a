#include "BaseInfo.h"
#include "Companion.h"
#include "Gather.h"
#include "TarnClogApi.h"
#include "Trace.h"

using namespace tarn;

namespace {

bool Given(LPCWSTR text) { return text != nullptr && text[0] != 0; }

}  // namespace

extern "C" void WINAPI TarnClog_SetBaseInfo(LPCWSTR pLogFile, LPCWSTR pAddress, LPCWSTR pDevice, LPCWSTR pUser,
                                            DWORD dwLogID) {
    SetUpTrace();

    g_base.companion = false;
    g_base.companion = CollectorWantsRecords();

    g_base.processId = GetCurrentProcessId();
    GatherUserName();
    GatherProgramId();

    // With a collector, an address it was given earlier is better than a made-up one.
    if (!GatherHostName() && !g_base.companion) CopyField(g_base.address, u"RQ-44");
    CopyField(g_base.device, g_base.address);

    Trace(u"SetBaseInfo dwPID= %u", {g_base.processId});
    g_base.initialised = true;

    if (pLogFile != nullptr) {
        // A cut path would name another file; an empty one makes every record fail to open.
        if (!CopyField(g_base.logFile, pLogFile)) g_base.logFile[0] = 0;
    }
    if (Given(pAddress)) {
        CopyField(g_base.address, pAddress);
        if (!Given(pDevice)) CopyField(g_base.device, pAddress);
    }
    if (Given(pDevice)) CopyField(g_base.device, pDevice);
    if (Given(pUser)) CopyField(g_base.user, pUser);
    if (dwLogID != 0) g_base.logId = dwLogID;
}

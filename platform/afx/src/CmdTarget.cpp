// Message maps: finding the entry for a message along a class's chain of maps, and routing
// commands to it.
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

// The root of every chain: an empty map without a base.
const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

bool EntryMatches(const AFX_MSGMAP_ENTRY& entry, UINT nMessage, UINT nCode, UINT nID) {
    if (entry.pnRegistered != nullptr) {
        // A registered message: its number is known only once the name has been registered.
        return *entry.pnRegistered != 0 && *entry.pnRegistered == nMessage && entry.nCode == nCode;
    }
    return entry.nMessage == nMessage && entry.nCode == nCode && entry.nID <= nID && nID <= entry.nLastID;
}

}  // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID) {
    for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nSig != AfxSig_end; ++pEntry) {
            if (EntryMatches(*pEntry, nMessage, nCode, nID)) {
                return pEntry;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // A reflected notification travels as MAKELONG(code, WM_REFLECT_BASE + WM_COMMAND).
    UINT nMsg = HIWORD(static_cast<DWORD>(nCode));
    UINT nNotify = LOWORD(static_cast<DWORD>(nCode));
    if (nMsg == 0) {
        nMsg = WM_COMMAND;
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), nMsg, nNotify, nID);
    if (pEntry == nullptr) {
        return FALSE;
    }
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = pEntry->pfn;
        return TRUE;
    }
    AFX_MSGCALL call{nMsg, 0, 0, nID};
    LRESULT lResult = pEntry->pfn(this, call);
    return pEntry->nSig == AfxSig_cmdEx ? lResult != 0 : TRUE;
}

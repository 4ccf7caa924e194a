// How a window object handles a message: its message map first (commands routed, colour
// messages folded into WM_CTLCOLOR), notifications reflected to the child that sent them, and
// otherwise the window's own procedure.
#include <afxwin.h>

#include "AfxThreadState.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DRAWITEM()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

namespace {

bool IsCtlColorMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// The entry of pTarget's map for a window message, and its call.
BOOL DispatchToMap(CCmdTarget* pTarget, const AFX_MSGMAP* pMap, UINT nMsgForMap, WPARAM wParam, LPARAM lParam,
                   UINT nExtra, LRESULT* pResult) {
    const AFX_MSGMAP_ENTRY* pEntry = CCmdTarget::FindMessageEntry(pMap, nMsgForMap, 0, 0);
    if (pEntry == nullptr || pEntry->nSig != AfxSig_msg) {
        return FALSE;
    }
    AFX_MSGCALL call{nMsgForMap, wParam, lParam, nExtra};
    LRESULT lResult = pEntry->pfn(pTarget, call);
    if (pResult != nullptr) {
        *pResult = lResult;
    }
    return TRUE;
}

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            if (pResult != nullptr) *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    if (IsCtlColorMessage(message)) {
        // One handler serves every control kind; it learns which from nCtlColor.
        return DispatchToMap(this, GetMessageMap(), WM_CTLCOLOR, wParam, lParam, message - WM_CTLCOLORMSGBOX,
                             pResult);
    }
    if (message == WM_REFLECT_BASE + WM_CTLCOLOR) {
        return FALSE;  // reflected colour messages come through ReflectChildNotify with their kind
    }
    return DispatchToMap(this, GetMessageMap(), message, wParam, lParam, 0, pResult);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    if (hWndCtrl != nullptr) {
        if (afx::CurrentThreadState().hLockoutNotifyWindow == m_hWnd) {
            return TRUE;  // UpdateData is filling the controls: their echoes are not news
        }
        if (ReflectLastMsg(hWndCtrl)) {
            return TRUE;  // the control's own object took its notification
        }
    } else {
        nCode = 0;  // a menu command or accelerator (CN_COMMAND)
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (pWnd == nullptr) {
        return FALSE;
    }
    return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
    const MSG& msg = afx::CurrentThreadState().lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        int nCode = HIWORD(wParam);
        if (CWnd::OnCmdMsg(0, static_cast<int>(MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND)), nullptr, nullptr)) {
            if (pResult != nullptr) *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    if (IsCtlColorMessage(message)) {
        LRESULT lResult = 0;
        if (!DispatchToMap(this, GetMessageMap(), WM_REFLECT_BASE + WM_CTLCOLOR, wParam, lParam,
                           message - WM_CTLCOLORMSGBOX, &lResult) ||
            lResult == 0) {
            return FALSE;  // a null brush leaves the colours to the parent
        }
        if (pResult != nullptr) *pResult = lResult;
        return TRUE;
    }
    switch (message) {
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_DELETEITEM:
        case WM_COMPAREITEM:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_PARENTNOTIFY:
        case WM_NOTIFY:
            return DispatchToMap(this, GetMessageMap(), WM_REFLECT_BASE + message, wParam, lParam, 0, pResult);
        default:
            return FALSE;
    }
}

namespace {

void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    for (HWND hWndChild = ::GetWindow(hWnd, GW_CHILD); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            if (CWnd* pWnd = CWnd::FromHandlePermanent(hWndChild)) {
                AfxCallWndProc(pWnd, hWndChild, message, wParam, lParam);
            }
        } else {
            ::SendMessageW(hWndChild, message, wParam, lParam);
        }
        if (bDeep) {
            SendToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
        }
    }
}

}  // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

// ---------------------------------------------------------------------------------------
// Default handlers: what the window would have done without the object.

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
BOOL CWnd::OnDeviceChange(UINT, DWORD_PTR) { return static_cast<BOOL>(Default()); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
    // The control's own object may choose its colours (ON_WM_CTLCOLOR_REFLECT).
    LRESULT lResult = 0;
    if (pWnd != nullptr && ReflectLastMsg(pWnd->m_hWnd, &lResult)) {
        return reinterpret_cast<HBRUSH>(lResult);
    }
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    // An owner-drawn control draws itself when its object can (CButton::DrawItem).
    if (lpDrawItemStruct != nullptr && ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

// CWnd's life: creation with the creation hook that ties a new window to its object,
// subclassing, the window procedure every object's window runs through, and the end of a window.
#include <afxwin.h>

#include "AfxThreadState.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr) {
        // The object let go of the window (destroyed, or detached) while the window lived on.
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

// Ties the window being created to the object that waits for it, before the window gets its
// first message, and sends the window's messages through the object from then on.
LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    afx::ThreadState& state = afx::CurrentThreadState();
    if (code == HCBT_CREATEWND && state.pWndInit != nullptr) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        CWnd* pWndInit = state.pWndInit;
        state.pWndInit = nullptr;
        if (pWndInit->Attach(hWnd)) {
            state.hWndLastCreated = hWnd;
            pWndInit->PreSubclassWindow();
            auto oldProc = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
            if (oldProc != &AfxWndProc) {
                *pWndInit->GetSuperWndProcAddr() = oldProc;
            }
        }
    }
    return ::CallNextHookEx(state.hHookCbt, code, wParam, lParam);
}

}  // namespace

WNDPROC AfxGetAfxWndProc() { return &AfxWndProc; }

LRESULT CALLBACK CWnd::AfxWndProcBase(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    return AfxWndProc(hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    afx::ThreadState& state = afx::CurrentThreadState();
    MSG oldMsg = state.lastSentMsg;
    state.lastSentMsg.hwnd = hWnd;
    state.lastSentMsg.message = nMsg;
    state.lastSentMsg.wParam = wParam;
    state.lastSentMsg.lParam = lParam;

    RECT rectBeforeInit{};
    DWORD dwStyleBeforeInit = 0;
    if (nMsg == WM_INITDIALOG) {
        ::GetWindowRect(hWnd, &rectBeforeInit);
        dwStyleBeforeInit = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
    }

    LRESULT lResult = pWnd->WindowProc(nMsg, wParam, lParam);

    if (nMsg == WM_INITDIALOG && ::IsWindow(hWnd)) {
        // A dialog that OnInitDialog neither showed nor moved comes up centred over its owner.
        RECT rectAfter;
        ::GetWindowRect(hWnd, &rectAfter);
        DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
        if ((dwStyleBeforeInit & WS_VISIBLE) == 0 && (dwStyle & (WS_VISIBLE | WS_CHILD)) == 0 &&
            ::EqualRect(&rectBeforeInit, &rectAfter)) {
            pWnd->CenterWindow();
        }
    }

    // This platform sends nothing after WM_DESTROY, so that is where the object lets go.
    if (nMsg == WM_DESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        pWnd->OnNcDestroy();
    }
    state.lastSentMsg = oldMsg;
    return lResult;
}

void CWnd::HookWindowCreate(CWnd* pWnd) {
    afx::ThreadState& state = afx::CurrentThreadState();
    if (state.hHookCbt == nullptr) {
        state.hHookCbt = ::SetWindowsHookExW(WH_CBT, &CbtFilterHook, nullptr, ::GetCurrentThreadId());
    }
    ++state.nHookDepth;
    state.pWndInit = pWnd;
    state.hWndLastCreated = nullptr;
}

BOOL CWnd::UnhookWindowCreate() {
    afx::ThreadState& state = afx::CurrentThreadState();
    if (--state.nHookDepth <= 0) {
        state.nHookDepth = 0;
        if (state.hHookCbt != nullptr) {
            ::UnhookWindowsHookEx(state.hHookCbt);
            state.hHookCbt = nullptr;
        }
    }
    if (state.pWndInit != nullptr) {
        state.pWndInit = nullptr;
        return FALSE;  // the hook never saw the window
    }
    return TRUE;
}

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr), m_nFlags(0), m_nModalResult(0) {}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd), m_pfnSuper(nullptr), m_nFlags(0), m_nModalResult(0) {}

CWnd::~CWnd() {
    if (m_hWnd != nullptr && (m_nFlags & WF_TEMPORARY) == 0 && FromHandlePermanent(m_hWnd) == this) {
        // An object that dies before its window takes the window with it.
        DestroyWindow();
        if (m_hWnd != nullptr) {
            Detach();
        }
    }
    // Nothing may keep pointing at an object that is gone.
    for (CWinThread* pThread : {static_cast<CWinThread*>(AfxGetApp()), AfxGetThread()}) {
        if (pThread != nullptr) {
            if (pThread->m_pMainWnd == this) pThread->m_pMainWnd = nullptr;
            if (pThread->m_pActiveWnd == this) pThread->m_pActiveWnd = nullptr;
        }
    }
}

WNDPROC* CWnd::GetSuperWndProcAddr() { return &m_pfnSuper; }

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(0);
    }
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void* pContext) {
    // A child window carries its control id where a top-level window has its menu.
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd != nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;  // one object, one window
    }
    CREATESTRUCT cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;

    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    HookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    HWND hWndHooked = afx::CurrentThreadState().hWndLastCreated;
    if (!UnhookWindowCreate()) {
        // The window never came to be: the object is told as if it had been destroyed.
        PostNcDestroy();
        return FALSE;
    }
    if (hWnd == nullptr) {
        // Creation was refused after the hook (OnCreate returned -1). If the object still holds
        // the dead window, let go of it; if PostNcDestroy already ran, the object may be gone.
        if (CWnd* pStale = FromHandlePermanent(hWndHooked)) {
            pStale->Detach();
        }
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    HWND hWnd = m_hWnd;
    bool bPermanent = FromHandlePermanent(hWnd) == this;
    BOOL bResult = ::DestroyWindow(hWnd);
    if (bPermanent) {
        // WM_DESTROY let the object go and PostNcDestroy may have deleted it: 'this' is not
        // to be touched unless the map still holds it (its window procedure was taken away).
        if (FromHandlePermanent(hWnd) == this && !::IsWindow(hWnd)) {
            Detach();
        }
    } else if (!::IsWindow(hWnd)) {
        m_hWnd = nullptr;  // a temporary object
    }
    return bResult;
}

void CWnd::OnNcDestroy() {
    // The application ends with its main window.
    CWinThread* pThread = AfxGetThread();
    if (pThread != nullptr) {
        if (pThread->m_pMainWnd == this) {
            ::PostQuitMessage(0);
            pThread->m_pMainWnd = nullptr;
        }
        if (pThread->m_pActiveWnd == this) {
            pThread->m_pActiveWnd = nullptr;
        }
    }
    // Give the window its own procedure back in case it lives on for someone else.
    if (m_pfnSuper != nullptr &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == AfxGetAfxWndProc()) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) {
        return FALSE;
    }
    PreSubclassWindow();
    auto oldProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc())));
    if (oldProc == nullptr) {
        Detach();
        return FALSE;
    }
    if (oldProc != AfxGetAfxWndProc()) {
        *GetSuperWndProcAddr() = oldProc;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == nullptr) {
        return FALSE;
    }
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    if (hWndControl == nullptr) {
        return FALSE;
    }
    return SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    if (*lplpfn != nullptr) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*lplpfn));
        *lplpfn = nullptr;
    }
    return Detach();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult)) {
        lResult = DefWindowProc(message, wParam, lParam);
    }
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) {
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = afx::CurrentThreadState().lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() {
    afx::ThreadState& state = afx::CurrentThreadState();
    state.lastSentMsg.time = static_cast<DWORD>(::GetMessageTime());
    DWORD pos = ::GetMessagePos();
    state.lastSentMsg.pt.x = static_cast<short>(LOWORD(pos));
    state.lastSentMsg.pt.y = static_cast<short>(HIWORD(pos));
    return &state.lastSentMsg;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
        if (hWnd == hWndStop) {
            break;
        }
    }
    return FALSE;
}

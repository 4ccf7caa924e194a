// CWinThread: the message loop with idle time, message pre-translation through the window
// objects, and thread messages handed to the thread's message map.
#include <afxwin.h>

#include "AfxThreadState.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

CWinThread::CWinThread()
    : m_pMainWnd(nullptr),
      m_pActiveWnd(nullptr),
      m_bAutoDelete(TRUE),
      m_hThread(nullptr),
      m_nThreadID(0),
      m_msgCur{} {}

CWinThread::~CWinThread() {
    afx::ThreadState& state = afx::CurrentThreadState();
    if (state.pThread == this) {
        state.pThread = nullptr;
    }
}

CWinThread* AfxGetThread() {
    afx::ThreadState& state = afx::CurrentThreadState();
    if (state.pThread != nullptr) {
        return state.pThread;
    }
    // The application object is the thread object of the thread that made it.
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_nThreadID == ::GetCurrentThreadId()) {
        return pApp;
    }
    return nullptr;
}

void AfxSetThread(CWinThread* pThread) { afx::CurrentThreadState().pThread = pThread; }

CWnd* CWinThread::GetMainWnd() {
    if (m_pActiveWnd != nullptr) {
        return m_pActiveWnd;
    }
    return m_pMainWnd;
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

void CWinThread::Delete() {
    if (m_bAutoDelete) {
        delete this;
    }
}

BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        return TRUE;  // one more round: the temporary objects go in the next
    }
    // Temporary objects live only until the thread has nothing left to do.
    CWnd::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CDC::DeleteTempMap();
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
    // A paint, or a mouse move to where the stylus already was, changes nothing worth an idle round.
    static thread_local POINT ptCursorLast{-1, -1};
    static thread_local UINT nMsgLast = 0;
    if (pMsg->message == WM_MOUSEMOVE) {
        if (nMsgLast == pMsg->message && pMsg->pt.x == ptCursorLast.x && pMsg->pt.y == ptCursorLast.y) {
            return FALSE;
        }
        ptCursorLast = pMsg->pt;
        nMsgLast = pMsg->message;
        return TRUE;
    }
    nMsgLast = pMsg->message;
    return pMsg->message != WM_PAINT;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg) {
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), pMsg->message, 0, 0);
    if (pEntry == nullptr || pEntry->nSig != AfxSig_msg) {
        return FALSE;
    }
    AFX_MSGCALL call{pMsg->message, pMsg->wParam, pMsg->lParam, 0};
    pEntry->pfn(this, call);
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->hwnd == nullptr && DispatchThreadMessageEx(pMsg)) {
        return TRUE;
    }
    CWnd* pMainWnd = GetMainWnd();
    HWND hWndMain = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(hWndMain, pMsg)) {
        return TRUE;
    }
    // A message for another top-level window still gets the main window's look at it.
    if (pMainWnd != nullptr && hWndMain != nullptr && pMsg->hwnd != nullptr) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        CWnd* pTop = pWnd != nullptr ? pWnd->GetTopLevelParent() : nullptr;
        if (pTop == nullptr || pTop->m_hWnd != hWndMain) {
            return pMainWnd->PreTranslateMessage(pMsg);
        }
    }
    return FALSE;
}

BOOL AfxPreTranslateMessage(MSG* pMsg) {
    if (CWinThread* pThread = AfxGetThread()) {
        return pThread->PreTranslateMessage(pMsg);
    }
    return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

BOOL CWinThread::PumpMessage() {
    if (!::GetMessageW(&m_msgCur, nullptr, 0, 0)) {
        return FALSE;  // WM_QUIT
    }
    if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL AfxPumpMessage() {
    if (CWinThread* pThread = AfxGetThread()) {
        return pThread->PumpMessage();
    }
    MSG msg;
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
        // Whoever runs the outer loop must see the quit too.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return FALSE;
    }
    if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

int CWinThread::Run() {
    // Idle rounds while the queue is empty, then block in GetMessage: an idle thread uses no time.
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++)) {
                bIdle = FALSE;
            }
        }
        do {
            if (!PumpMessage()) {
                return ExitInstance();
            }
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

int CWnd::RunModalLoop(DWORD dwFlags) {
    // Shown once the loop first has nothing to do, so the first paint sees the finished dialog.
    constexpr DWORD kShowOnIdle = 0x0001;
    m_nFlags |= WF_MODALLOOP;
    BOOL bShowIdle = (dwFlags & kShowOnIdle) != 0 && (GetStyle() & WS_VISIBLE) == 0;
    HWND hWndSelf = m_hWnd;
    MSG msg{};
    for (;;) {
        if (!ContinueModal()) {
            break;
        }
        if (bShowIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            ShowWindow(SW_SHOWNORMAL);
            UpdateWindow();
            bShowIdle = FALSE;
        }
        CWinThread* pThread = AfxGetThread();
        BOOL bGot = pThread != nullptr ? pThread->PumpMessage() : AfxPumpMessage();
        if (!bGot) {
            // WM_QUIT: end the dialog and hand the quit, with its code, to the outer loop.
            int nExitCode = pThread != nullptr ? static_cast<int>(pThread->m_msgCur.wParam) : 0;
            if (pThread != nullptr) {
                ::PostQuitMessage(nExitCode);
            }
            m_nModalResult = -1;
            break;
        }
        if (!::IsWindow(hWndSelf)) {
            break;  // the dialog was destroyed from inside its own loop
        }
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

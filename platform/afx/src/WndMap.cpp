// Which C++ object stands for which window: the permanent objects (attached, process-wide) and
// the temporary ones FromHandle makes for windows without an object (per thread, until idle).
#include <afxwin.h>

#include <mutex>
#include <unordered_map>

#include "AfxThreadState.h"

namespace {

std::mutex& PermanentLock() {
    static std::mutex lock;
    return lock;
}

std::unordered_map<HWND, CWnd*>& PermanentWindows() {
    static auto* windows = new std::unordered_map<HWND, CWnd*>;  // outlives every static object
    return *windows;
}

}  // namespace

namespace afx {

ThreadState::~ThreadState() {
    for (auto& [hWnd, pWnd] : tempWindows) {
        pWnd->m_hWnd = nullptr;
        delete pWnd;
    }
    tempWindows.clear();
    if (hHookCbt != nullptr) {
        ::UnhookWindowsHookEx(hHookCbt);
    }
}

namespace {

// Plain pointers, so they stay readable while the thread's objects are torn down: the global
// application object, for one, is destroyed after the main thread's thread-local objects.
thread_local ThreadState* t_pState = nullptr;
thread_local bool t_bStateGone = false;

struct ThreadStateOwner {
    ~ThreadStateOwner() {
        ThreadState* pState = t_pState;
        t_bStateGone = true;
        t_pState = nullptr;
        delete pState;
    }
};
thread_local ThreadStateOwner t_owner;

}  // namespace

ThreadState& CurrentThreadState() {
    if (t_pState != nullptr) {
        return *t_pState;
    }
    if (t_bStateGone) {
        // Whatever runs after the thread's end (static destructors) shares a state that is never freed.
        static ThreadState* pAfterEnd = new ThreadState;
        return *pAfterEnd;
    }
    t_pState = new ThreadState;
    (void)&t_owner;  // makes the owner exist for this thread, so it frees the state at the end
    return *t_pState;
}

}  // namespace afx

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(PermanentLock());
    auto found = PermanentWindows().find(hWnd);
    return found != PermanentWindows().end() ? found->second : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    if (CWnd* pWnd = FromHandlePermanent(hWnd)) {
        return pWnd;
    }
    auto& temps = afx::CurrentThreadState().tempWindows;
    auto found = temps.find(hWnd);
    if (found != temps.end()) {
        return found->second;
    }
    auto* pWnd = new CWnd;
    pWnd->m_hWnd = hWnd;
    pWnd->m_nFlags |= WF_TEMPORARY;
    temps.emplace(hWnd, pWnd);
    return pWnd;
}

void CWnd::DeleteTempMap() {
    auto& temps = afx::CurrentThreadState().tempWindows;
    auto doomed = std::move(temps);
    temps.clear();
    for (auto& [hWnd, pWnd] : doomed) {
        pWnd->m_hWnd = nullptr;  // a temporary object never destroys the window it stood for
        delete pWnd;
    }
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (hWndNew == nullptr || m_hWnd != nullptr) {
        return FALSE;
    }
    {
        std::lock_guard<std::mutex> guard(PermanentLock());
        if (!PermanentWindows().emplace(hWndNew, this).second) {
            return FALSE;  // another object already stands for this window
        }
    }
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        std::lock_guard<std::mutex> guard(PermanentLock());
        auto found = PermanentWindows().find(hWnd);
        if (found != PermanentWindows().end() && found->second == this) {
            PermanentWindows().erase(found);
        }
    }
    m_hWnd = nullptr;
    return hWnd;
}

// CVLNfNotifyWnd: the buddy hook. The record sits in the buddy's user-data slot while its
// window procedure is NotifyWindowProc, and removes itself when the buddy is destroyed.
#include "VLNfNotifyWnd.h"

#include <new>

#include "VelaNotifyMessages.h"

namespace {

LONG_PTR HookProcedure(WNDPROC proc) { return reinterpret_cast<LONG_PTR>(proc); }

BOOL CALLBACK SendSyncImeStatus(HWND hWnd, LPARAM) {
    ::SendMessage(hWnd, VelaNotifySyncImeStatusMessage(), 1, 0);
    return TRUE;
}

}  // namespace

void CVLNfNotifyWnd::SetBuddy(CWnd* pWnd) {
    if (pWnd == nullptr || !::IsWindow(pWnd->m_hWnd)) {
        return;
    }
    const HWND hWnd = pWnd->m_hWnd;
    // A second hook would save NotifyWindowProc as its own predecessor and call itself forever.
    if (::GetWindowLong(hWnd, GWL_WNDPROC) == HookProcedure(&CVLNfNotifyWnd::NotifyWindowProc)) {
        return;
    }
    // The slot holds the record; overwriting someone else's value would lose it.
    if (::GetWindowLong(hWnd, GWL_USERDATA) != 0) {
        return;
    }
    CVLNfNotifyWnd* record = new (std::nothrow) CVLNfNotifyWnd(pWnd);
    if (record != nullptr && record->m_pfnOldWndProc == nullptr) {
        delete record;  // nothing was installed, so the window will never free it
    }
}

CVLNfNotifyWnd::CVLNfNotifyWnd(CWnd* pWnd) : m_pfnOldWndProc(nullptr) {
    const HWND hWnd = pWnd->m_hWnd;
    // The record goes in first, so the hook never runs without it.
    ::SetWindowLong(hWnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pfnOldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLong(hWnd, GWL_WNDPROC, HookProcedure(&CVLNfNotifyWnd::NotifyWindowProc)));
    if (m_pfnOldWndProc == nullptr) {
        ::SetWindowLong(hWnd, GWL_USERDATA, 0);
    }
}

CVLNfNotifyWnd::CVLNfNotifyWnd(const CVLNfNotifyWnd& other) : m_pfnOldWndProc(other.m_pfnOldWndProc) {}

CVLNfNotifyWnd& CVLNfNotifyWnd::operator=(const CVLNfNotifyWnd& other) {
    m_pfnOldWndProc = other.m_pfnOldWndProc;
    return *this;
}

CVLNfNotifyWnd::~CVLNfNotifyWnd() = default;

LRESULT CALLBACK CVLNfNotifyWnd::NotifyWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* record = reinterpret_cast<CVLNfNotifyWnd*>(::GetWindowLong(hWnd, GWL_USERDATA));
    ASSERT(record != nullptr && record->m_pfnOldWndProc != nullptr);
    if (record == nullptr || record->m_pfnOldWndProc == nullptr) {
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
    const WNDPROC oldWndProc = record->m_pfnOldWndProc;
    if (message == WM_DESTROY) {
        ::SetWindowLong(hWnd, GWL_USERDATA, 0);
        ::SetWindowLong(hWnd, GWL_WNDPROC, HookProcedure(oldWndProc));
        delete record;
    } else if (message == WM_IME_NOTIFY) {
        // Icons first, so they show the new state before the buddy's own procedure runs.
        const HWND parent = ::GetParent(hWnd);
        if (parent != nullptr && ::IsWindow(parent)) {
            ::EnumChildWindows(parent, &SendSyncImeStatus, 0);
        }
    }
    return ::CallWindowProc(oldWndProc, hWnd, message, wParam, lParam);
}

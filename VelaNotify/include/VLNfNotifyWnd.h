// CVLNfNotifyWnd: hooks an input window (the buddy, typically an edit of a dialog) so that each
// input-method notification it receives first tells every window of the buddy's parent to
// resynchronise ("WM_VELASYS_SYNCIMESTATUS"). Not a window: a record that replaces the
// buddy's window procedure, kept in its user-data slot and deleted with the window.
#pragma once

#include <afxwin.h>

class AFX_EXT_CLASS CVLNfNotifyWnd {
public:
    // Installs the hook; a window that already carries it, has no window or whose user-data
    // slot is taken is left as it was.
    static void SetBuddy(CWnd* pWnd);

    CVLNfNotifyWnd(const CVLNfNotifyWnd& other);
    CVLNfNotifyWnd& operator=(const CVLNfNotifyWnd& other);

private:
    explicit CVLNfNotifyWnd(CWnd* pWnd);
    virtual ~CVLNfNotifyWnd();

    static LRESULT CALLBACK NotifyWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnOldWndProc;
};

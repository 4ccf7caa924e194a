// CVLNfNetNotify: follows the terminal's network connection. It remembers whether the terminal
// was connected and can run a thread that receives the NDIS user-mode I/O driver's
// notifications and calls the virtual OnConnectionChanged for each, on that thread.
//
// Classes derive from it and override OnConnectionChanged (the network icon window, the
// framework's window base).
//
// A class that launches the thread and overrides OnConnectionChanged calls
// CleanupNdisNotificationThread in its own destructor, for the same reason: the base
// destructor runs only after the derived part is gone.
//
// Copies: copying copies the network object and every field as it is, handles included, and
// starts nothing. Only the object that launched a thread owns it: clean-up (and so the
// destructor) of a copy forgets the copied handles and releases nothing, so a running thread is
// stopped and its handles are closed exactly once, by its launcher. Assigning onto a notifier
// whose own thread runs stops that thread first.
#pragma once

#include <windows.h>
#include <afx.h>

#include <VLSysNetwork.h>

class AFX_EXT_CLASS CVLNfNetNotify {
public:
    CVLNfNetNotify();
    CVLNfNetNotify(const CVLNfNetNotify& other);
    CVLNfNetNotify& operator=(const CVLNfNetNotify& other);
    virtual ~CVLNfNetNotify();

protected:
    // Called on the notification thread when the NDIS path runs, on the window thread from the
    // icon's poll; the base version does nothing.
    virtual void OnConnectionChanged();

    // TRUE when the thread runs (also when it ran already).
    BOOL LaunchNdisNotificationThread();
    // Stops and releases what this object's launch created; safe at any time and more than
    // once. Waits for the thread, so never call it from the notification thread itself.
    void CleanupNdisNotificationThread();
    // The notification thread; the argument is the notifier. Always returns 0.
    static DWORD NdisNotificationThreadProc(void* notifier);

private:
    // Tests drive the poll path the way an armed timer would.
    friend class CVLNfNetNotifyPollTest;

    // Poll path: a multimedia timer with NetTimerProc as callback and the notifier as user
    // value. No operation of this library arms it; ResetNetTimer cancels one that is armed.
    void OnNetTimerCallback();
    static void NetTimerProc(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR reserved1, DWORD_PTR reserved2);
    void ResetNetTimer();

protected:
    CVLSysNetwork m_network;
    BOOL m_bConnected;        // connection state last seen
    UINT m_nTimerID;          // multimedia poll timer, 0 when none
    HANDLE m_hMsgQueue;       // queue of the NDIS notifications
    HANDLE m_hThread;         // notification thread
    HANDLE m_hStopEvent;      // manual-reset event that ends the thread
    BOOL m_bConnectOnly;      // poll path reports only changes of the connection state

private:
    // The object whose launch created the handles above; a copy holds them without owning.
    const CVLNfNetNotify* m_pLauncher;
};

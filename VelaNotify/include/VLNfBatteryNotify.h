// CVLNfBatteryNotify: runs a thread that receives the platform's power-information
// notifications and calls the virtual OnBatteryChanged with a SYSTEM_POWER_STATUS_EX for each,
// on that thread.
//
// A class that overrides OnBatteryChanged calls CleanupBatteryNotificationThread in its own
// destructor: the thread may be inside the override until then, and a base destructor runs
// only after the derived part is gone.
//
// Copies: copying copies the power object and the four handles as they are and starts nothing.
// Only the object that launched a thread owns it: clean-up (and so the destructor) of a copy
// forgets the copied handles and releases nothing, so a running thread is stopped and its
// handles are closed exactly once, by its launcher. Assigning onto a notifier whose own thread
// runs stops that thread first.
#pragma once

#include <windows.h>
#include <afx.h>
#include <pm.h>

#include <VLSysPowerManage.h>

class AFX_EXT_CLASS CVLNfBatteryNotify {
public:
    CVLNfBatteryNotify();
    CVLNfBatteryNotify(const CVLNfBatteryNotify& other);
    CVLNfBatteryNotify& operator=(const CVLNfBatteryNotify& other);
    virtual ~CVLNfBatteryNotify();

protected:
    // Called on the notification thread; the record lives only for the call. The base version
    // does nothing.
    virtual void OnBatteryChanged(SYSTEM_POWER_STATUS_EX* pStatus);

    // TRUE when the thread runs (also when it ran already).
    BOOL LaunchBatteryNotificationThread();
    // Stops and releases what this object's launch created; safe at any time and more than
    // once. Waits for the thread, so never call it from the notification thread itself.
    void CleanupBatteryNotificationThread();
    // The notification thread; the argument is the notifier. Always returns 0.
    static DWORD BatteryNotificationThreadProc(void* notifier);

    CVLSysPowerManage m_power;
    HANDLE m_hMsgQueue;     // queue of the power notifications
    HANDLE m_hPowerNotify;  // registration of the power notifications
    HANDLE m_hThread;       // notification thread
    HANDLE m_hStopEvent;    // manual-reset event that ends the thread

private:
    // The object whose launch created the handles above; a copy holds them without owning.
    const CVLNfBatteryNotify* m_pLauncher;
};

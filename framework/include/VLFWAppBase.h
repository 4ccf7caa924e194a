// CVLFWAppBase: the application object every framework application derives from. It waits
// for the devices the application needs and reports the outcome once (OnJobStart), watches
// for the terminal's wake-up through a named event and runs the resume job, and can power the
// terminal off at exit.
#pragma once

#include <windows.h>
#include <afxwin.h>

// Device bits, combined with | into one set. VelaDevTimeOut is no device: it is what
// OnJobStart reports when the wait timed out.
enum VelaDevType : int {
    VelaDevTimeOut = 1,
    VelaDevVolume1 = 2,  // the storage volume Corvel names as system name kind 4
    VelaDevVolume2 = 4,  // a second volume; nothing fills its name, so it is never waited for
    VelaDevNetwork = 8,
};

constexpr VelaDevType operator|(VelaDevType a, VelaDevType b) {
    return static_cast<VelaDevType>(static_cast<int>(a) | static_cast<int>(b));
}
constexpr VelaDevType operator&(VelaDevType a, VelaDevType b) {
    return static_cast<VelaDevType>(static_cast<int>(a) & static_cast<int>(b));
}
constexpr VelaDevType operator~(VelaDevType a) { return static_cast<VelaDevType>(~static_cast<int>(a)); }
constexpr VelaDevType& operator|=(VelaDevType& a, VelaDevType b) { return a = a | b; }
constexpr VelaDevType& operator&=(VelaDevType& a, VelaDevType b) { return a = a & b; }

// What a wake-up of the terminal does. Any other value does nothing.
enum VelaResumeType : int {
    VelaResumeNone = 0,
    VelaResumeExitPowerOff = 1,  // close the main window; power off with restart at exit
    VelaResumeExit = 2,          // close the main window
    VelaResumeRestartWait = 4,   // OnPowerResumed, then wait for the devices again
};

class AFX_EXT_CLASS CVLFWAppBase : public CWinApp {
    DECLARE_DYNCREATE(CVLFWAppBase)

public:
    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    CVLFWAppBase();
    ~CVLFWAppBase() override;

    // The wait time-out: seconds x 1000 milliseconds, compared without sign (-1 waits about
    // 49.7 days, 0 times out at the first tick).
    void SetTimeoutTime(int seconds);
    // Adds devices to wait for; there is no way to remove one.
    void AddWaitTarget(VelaDevType dev);
    void SetResumeJobType(VelaResumeType type);

    // "WM_VELAFW_WAITSTART", posted by a framework window coming up: starts a device wait.
    afx_msg LRESULT OnWaitStart(WPARAM wParam, LPARAM lParam);

    // The outcome of a device wait, once per wait: VelaDevTimeOut, or the ready wait targets.
    // Runs on the multimedia timer's thread: hand window work to the application's thread.
    virtual void OnJobStart(VelaDevType devices, BOOL bResumed);
    // A wake-up with VelaResumeRestartWait, before the wait starts again (watcher thread).
    virtual void OnPowerResumed();
    // Trace hook: "+Step()" on entering a step, "-Step()" on leaving it; called on the
    // application's, the watcher's and the timer's thread.
    virtual void Logout(LPCWSTR text);

    CRITICAL_SECTION m_cs;     // serialises the start of a device wait
    BOOL m_bResumed;           // TRUE from the first wake-up with VelaResumeRestartWait on
    UINT m_nTimerID;           // multimedia timer of the running wait, 0 when none
    UINT m_nTick;              // seconds of the running wait
    UINT m_nTimeoutTime;       // milliseconds
    VelaDevType m_devWaitTarget;
    VelaDevType m_devReady;    // found ready in the running wait; never cleared during it
    VelaResumeType m_resumeJobType;
    HANDLE m_hNotify;          // the wake-up registration in the notification database
    HANDLE m_hWakeupEvent;     // named after the application, set by the system at wake-up
    HANDLE m_hNotifyThread;    // the watcher thread
    HANDLE m_hExitEvent;       // stops the watcher thread

private:
    void DetectDevice();
    void WaitForDeviceReady();
    BOOL IsDeviceReady();
    BOOL IsTimeOut();
    void ResetTimer();
    void AddDevice(VelaDevType& set, VelaDevType dev);
    void RemoveDevice(VelaDevType& set, VelaDevType dev);
    void TimerCallback();
    // The user value is pointer-wide (DWORD_PTR) here, so it carries the application object.
    static void WaitTimerProc(UINT id, UINT msg, DWORD_PTR user, DWORD_PTR dw1, DWORD_PTR dw2);
    BOOL StartWakeupNotify();
    void ExitWakeupNotify();
    CString GetEventFullName(LPCWSTR name);
    static DWORD NotifyProc(LPVOID param);
    void ClearNotifyEvent();
    void OnWakeup();

    DECLARE_MESSAGE_MAP()
};

// CVLFWAppBase: device wait, wake-up watch and power-off at exit.
#include "VLFWAppBase.h"

#include <mmsystem.h>
#include <notify.h>

#include <vector>

#include <VLSysNetwork.h>
#include <VLSysPowerManage.h>

#include "VLFWShared.h"

namespace {

// Bits of VelaDevType that stand for devices (not VelaDevTimeOut).
constexpr int kDeviceMask = 0x0E;
constexpr UINT kTickMilliseconds = 1000;
constexpr UINT kDefaultTimeoutMilliseconds = 10000;
constexpr int kEventNameLength = 1024;
// What SysGetSystemName is asked for: the storage volume's name.
constexpr DWORD kSystemNameVolume = 4;

using SysGetSystemNameProc = DWORD(DWORD kind, LPWSTR buffer);

// Everything the notification database holds now; a registration added between the two calls
// only makes the buffer too small, so the count is asked again.
std::vector<HANDLE> NotificationHandles() {
    std::vector<HANDLE> handles;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD nNeeded = 0;
        if (!::CeGetUserNotificationHandles(nullptr, 0, &nNeeded) || nNeeded == 0) return {};
        handles.assign(nNeeded, nullptr);
        DWORD nGot = 0;
        if (::CeGetUserNotificationHandles(handles.data(), nNeeded, &nGot)) {
            handles.resize(nGot < nNeeded ? nGot : nNeeded);
            return handles;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    }
    return {};
}

// The application string of a registration's trigger; empty when it cannot be read (the
// registration went away meanwhile, or it has none).
CString NotificationApplication(HANDLE hNotification) {
    DWORD nNeeded = 0;
    ::CeGetUserNotification(hNotification, 0, &nNeeded, nullptr);
    if (nNeeded < sizeof(CE_NOTIFICATION_INFO_HEADER)) return CString();
    // Whole 64-bit words, so the header's pointers lie aligned.
    std::vector<ULONGLONG> buffer((nNeeded + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG));
    auto* pBytes = reinterpret_cast<LPBYTE>(buffer.data());
    if (!::CeGetUserNotification(hNotification, nNeeded, &nNeeded, pBytes)) return CString();
    const auto* pHeader = reinterpret_cast<const CE_NOTIFICATION_INFO_HEADER*>(pBytes);
    if (pHeader->pcent == nullptr || pHeader->pcent->lpszApplication == nullptr) return CString();
    return CString(pHeader->pcent->lpszApplication);
}

}  // namespace

IMPLEMENT_DYNCREATE(CVLFWAppBase, CWinApp)

BEGIN_MESSAGE_MAP(CVLFWAppBase, CWinApp)
    ON_REGISTERED_THREAD_MESSAGE(g_nVLFWWaitStartMessage, OnWaitStart)
END_MESSAGE_MAP()

CVLFWAppBase::CVLFWAppBase()
    : m_cs{},
      m_bResumed(FALSE),
      m_nTimerID(0),
      m_nTick(0),
      m_nTimeoutTime(kDefaultTimeoutMilliseconds),
      m_devWaitTarget(static_cast<VelaDevType>(0)),
      m_devReady(static_cast<VelaDevType>(0)),
      m_resumeJobType(VelaResumeNone),
      m_hNotify(nullptr),
      m_hWakeupEvent(nullptr),
      m_hNotifyThread(nullptr),
      m_hExitEvent(nullptr) {
    // Alive for the whole object, not only from InitInstance to ExitInstance, so a device wait
    // started outside that span never enters a critical section that does not exist.
    ::InitializeCriticalSection(&m_cs);
}

CVLFWAppBase::~CVLFWAppBase() {
    // An application object that never reached ExitInstance must not leave a watcher or a
    // timer behind that would call into the destroyed object.
    if (m_hNotifyThread != nullptr || m_hWakeupEvent != nullptr || m_hNotify != nullptr) ExitWakeupNotify();
    ResetTimer();
    ::DeleteCriticalSection(&m_cs);
}

BOOL CVLFWAppBase::InitInstance() {
    if (!StartWakeupNotify()) return FALSE;
    return CWinApp::InitInstance();
}

int CVLFWAppBase::ExitInstance() {
    ExitWakeupNotify();
    // No OnJobStart may come once the application has ended (the watcher, which could start
    // another wait, is gone now).
    ResetTimer();
    int nResult = CWinApp::ExitInstance();
    if (m_resumeJobType == VelaResumeExitPowerOff) {
        CVLSysPowerManage power;
        power.PowerOff(TRUE);  // returns after the terminal has been woken again
    }
    return nResult;
}

void CVLFWAppBase::SetTimeoutTime(int seconds) { m_nTimeoutTime = static_cast<UINT>(seconds) * 1000u; }

void CVLFWAppBase::AddWaitTarget(VelaDevType dev) { AddDevice(m_devWaitTarget, dev); }

void CVLFWAppBase::SetResumeJobType(VelaResumeType type) { m_resumeJobType = type; }

LRESULT CVLFWAppBase::OnWaitStart(WPARAM, LPARAM) {
    WaitForDeviceReady();
    return 0;
}

void CVLFWAppBase::OnJobStart(VelaDevType, BOOL) {}

void CVLFWAppBase::OnPowerResumed() {}

void CVLFWAppBase::Logout(LPCWSTR) {}

// ---------------------------------------------------------------------------------------
// Device wait

void CVLFWAppBase::AddDevice(VelaDevType& set, VelaDevType dev) { set |= dev; }

void CVLFWAppBase::RemoveDevice(VelaDevType& set, VelaDevType dev) { set &= ~dev; }

void CVLFWAppBase::WaitForDeviceReady() {
    Logout(u"+WaitDeviceReady()");
    ::EnterCriticalSection(&m_cs);
    ResetTimer();
    m_devReady = static_cast<VelaDevType>(0);

    WCHAR* pszVolume1 = VLFWDeviceName(1);
    HMODULE hCorvel = ::LoadLibraryW(u"Corvel.dll");
    SysGetSystemNameProc* pGetSystemName = nullptr;
    if (hCorvel != nullptr) {
        pGetSystemName = reinterpret_cast<SysGetSystemNameProc*>(
            reinterpret_cast<void (*)()>(::GetProcAddressW(hCorvel, u"SysGetSystemName")));
    }
    if (pGetSystemName == nullptr) {
        RemoveDevice(m_devWaitTarget, VelaDevVolume1);
    } else {
        pGetSystemName(kSystemNameVolume, pszVolume1);
        // The library promises a terminated name; a longer one must not run past the slot.
        pszVolume1[VLFW_DEVICE_NAME_LENGTH - 1] = 0;
        if (pszVolume1[0] == 0) RemoveDevice(m_devWaitTarget, VelaDevVolume1);
    }
    if (hCorvel != nullptr) ::FreeLibrary(hCorvel);
    RemoveDevice(m_devWaitTarget, VelaDevVolume2);

    if (m_devWaitTarget != 0) {
        m_nTimerID = ::timeSetEvent(kTickMilliseconds, kTickMilliseconds, &CVLFWAppBase::WaitTimerProc,
                                    reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC);
    }
    ::LeaveCriticalSection(&m_cs);
    Logout(u"-WaitDeviceReady()");
}

void CVLFWAppBase::WaitTimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    reinterpret_cast<CVLFWAppBase*>(user)->TimerCallback();
}

void CVLFWAppBase::TimerCallback() {
    ++m_nTick;
    // Time-out first: a device that turns ready in the last tick still counts as timed out.
    if (IsTimeOut()) {
        ResetTimer();
        OnJobStart(VelaDevTimeOut, m_bResumed);
        return;
    }
    if (IsDeviceReady()) {
        ResetTimer();
        OnJobStart(m_devReady & m_devWaitTarget, m_bResumed);
    }
}

BOOL CVLFWAppBase::IsTimeOut() { return m_nTick * kTickMilliseconds >= m_nTimeoutTime; }

BOOL CVLFWAppBase::IsDeviceReady() {
    DetectDevice();
    const int nWanted = m_devWaitTarget & kDeviceMask;
    return (m_devReady & nWanted) == nWanted;
}

void CVLFWAppBase::DetectDevice() {
    Logout(u"+DetectDevice()");
    const VelaDevType volumes[] = {VelaDevVolume1, VelaDevVolume2};
    for (int slot = 1; slot <= 2; ++slot) {
        const WCHAR* pszName = VLFWDeviceName(slot);
        if (pszName[0] == 0) continue;
        WIN32_FIND_DATAW found;
        HANDLE hFind = ::FindFirstFileW(pszName, &found);
        if (hFind != INVALID_HANDLE_VALUE) {
            AddDevice(m_devReady, volumes[slot - 1]);
            ::FindClose(hFind);
        }
    }
    CVLSysNetwork network;
    if (network.IsConnected()) AddDevice(m_devReady, VelaDevNetwork);
    Logout(u"-DetectDevice()");
}

void CVLFWAppBase::ResetTimer() {
    if (m_nTimerID != 0) {
        ::timeKillEvent(m_nTimerID);
        m_nTimerID = 0;
    }
    m_nTick = 0;
}

// ---------------------------------------------------------------------------------------
// Wake-up watch

BOOL CVLFWAppBase::StartWakeupNotify() {
    ClearNotifyEvent();
    m_hWakeupEvent = ::CreateEventW(nullptr, TRUE, FALSE, m_pszAppName);
    if (m_hWakeupEvent != nullptr) {
        CString strApplication = GetEventFullName(m_pszAppName);
        CE_NOTIFICATION_TRIGGER trigger{};
        // The terminal's record is 52 bytes; the database takes this platform's size as well.
        trigger.dwSize = sizeof(trigger);
        trigger.dwType = CNT_EVENT;
        trigger.dwEvent = NOTIFICATION_EVENT_WAKEUP;
        trigger.lpszApplication = strApplication.GetBuffer();
        m_hNotify = ::CeSetUserNotificationEx(nullptr, &trigger, nullptr);
        strApplication.ReleaseBuffer();
        if (m_hNotify != nullptr) {
            m_hExitEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
            m_hNotifyThread = ::CreateThread(nullptr, 0, &CVLFWAppBase::NotifyProc, this, 0, nullptr);
            return TRUE;
        }
    }
    ExitWakeupNotify();
    return FALSE;
}

void CVLFWAppBase::ExitWakeupNotify() {
    ClearNotifyEvent();
    if (m_hNotifyThread != nullptr) {
        if (m_hExitEvent != nullptr) {
            ::SetEvent(m_hExitEvent);
            ::WaitForSingleObject(m_hNotifyThread, INFINITE);
            ::CloseHandle(m_hExitEvent);
            m_hExitEvent = nullptr;
        } else {
            ::TerminateThread(m_hNotifyThread, 0xFFFFFFFF);
        }
        ::CloseHandle(m_hNotifyThread);
        m_hNotifyThread = nullptr;
    }
    if (m_hExitEvent != nullptr) {
        // Made, but the thread could not be started.
        ::CloseHandle(m_hExitEvent);
        m_hExitEvent = nullptr;
    }
    if (m_hWakeupEvent != nullptr) {
        ::CloseHandle(m_hWakeupEvent);
        m_hWakeupEvent = nullptr;
    }
    // A registration handle is a number of the notification database, not a kernel handle:
    // closing it could close an unrelated object. ClearNotifyEvent has removed it already.
    m_hNotify = nullptr;
}

CString CVLFWAppBase::GetEventFullName(LPCWSTR name) {
    CString strFullName(NAMED_EVENT_PREFIX_TEXT);
    if (name != nullptr) strFullName += name;
    // The name is made in a buffer of kEventNameLength characters, terminator included.
    if (strFullName.GetLength() > kEventNameLength - 1) strFullName = strFullName.Left(kEventNameLength - 1);
    return strFullName;
}

void CVLFWAppBase::ClearNotifyEvent() {
    // Only this application's own registrations: the exact application string, compared
    // without regard to case as the terminal compares names. A mere substring test would also
    // remove other applications' registrations ("Scan" those of "Scanner").
    const CString strOwn = GetEventFullName(m_pszAppName);
    for (HANDLE hNotification : NotificationHandles()) {
        const CString strApplication = NotificationApplication(hNotification);
        if (!strApplication.IsEmpty() && strApplication.CompareNoCase(strOwn) == 0) {
            ::CeClearUserNotification(hNotification);
        }
    }
}

DWORD CVLFWAppBase::NotifyProc(LPVOID param) {
    auto* pApp = static_cast<CVLFWAppBase*>(param);
    const HANDLE handles[] = {pApp->m_hExitEvent, pApp->m_hWakeupEvent};
    for (;;) {
        DWORD nWait = ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (nWait != WAIT_OBJECT_0 + 1) return 0;  // the exit event, or a failed wait
        ::ResetEvent(pApp->m_hWakeupEvent);
        pApp->OnWakeup();
        ::ResetEvent(pApp->m_hWakeupEvent);
    }
}

void CVLFWAppBase::OnWakeup() {
    Logout(u"+OnWakeup()");
    ResetTimer();
    switch (m_resumeJobType) {
    case VelaResumeExitPowerOff:
    case VelaResumeExit:
        if (m_pMainWnd != nullptr && ::IsWindow(m_pMainWnd->m_hWnd)) {
            ::PostMessageW(m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
        }
        break;
    case VelaResumeRestartWait:
        m_bResumed = TRUE;
        OnPowerResumed();
        WaitForDeviceReady();
        break;
    default:
        break;
    }
    Logout(u"-OnWakeup()");
}

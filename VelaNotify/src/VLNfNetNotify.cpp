// The network notifier: the NDIS notification thread and the (never armed here) poll path.
#include "VLNfNetNotify.h"

#include <mmsystem.h>
#include <winioctl.h>

#include <atomic>

#include "NotifierThread.h"

namespace {

// The largest NDIS notification the driver writes into the queue.
constexpr DWORD kNdisMessageSize = 532;

// Cancels the poll timer once: the notification thread and the timer thread may both reset it.
void KillPollTimer(UINT& timerId) {
    const UINT id = std::atomic_ref<UINT>(timerId).exchange(0);
    if (id != 0) {
        timeKillEvent(id);
    }
}

}  // namespace

CVLNfNetNotify::CVLNfNetNotify()
    : m_bConnected(m_network.IsConnected()),
      m_nTimerID(0),
      m_hMsgQueue(nullptr),
      m_hThread(nullptr),
      m_hStopEvent(nullptr),
      m_bConnectOnly(TRUE),
      m_pLauncher(nullptr) {}

CVLNfNetNotify::CVLNfNetNotify(const CVLNfNetNotify& other)
    : m_network(other.m_network),
      m_bConnected(other.m_bConnected),
      m_nTimerID(std::atomic_ref<UINT>(const_cast<UINT&>(other.m_nTimerID)).load()),
      m_hMsgQueue(other.m_hMsgQueue),
      m_hThread(other.m_hThread),
      m_hStopEvent(other.m_hStopEvent),
      m_bConnectOnly(other.m_bConnectOnly),
      m_pLauncher(other.m_pLauncher) {}

CVLNfNetNotify& CVLNfNetNotify::operator=(const CVLNfNetNotify& other) {
    if (this == &other) {
        return *this;
    }
    // Overwriting the handles of a thread this object runs would leave it running unowned.
    CleanupNdisNotificationThread();
    m_network = other.m_network;
    m_bConnected = other.m_bConnected;
    std::atomic_ref<UINT>(m_nTimerID).store(std::atomic_ref<UINT>(const_cast<UINT&>(other.m_nTimerID)).load());
    m_hMsgQueue = other.m_hMsgQueue;
    m_hThread = other.m_hThread;
    m_hStopEvent = other.m_hStopEvent;
    m_bConnectOnly = other.m_bConnectOnly;
    m_pLauncher = other.m_pLauncher;
    return *this;
}

CVLNfNetNotify::~CVLNfNetNotify() {
    CleanupNdisNotificationThread();
}

void CVLNfNetNotify::OnConnectionChanged() {}

BOOL CVLNfNetNotify::LaunchNdisNotificationThread() {
    TRACE(u"CVLNfNetNotify::LaunchNdisNotificationThread()\n");
    if (m_hMsgQueue != nullptr) {
        return TRUE;
    }
    ResetNetTimer();

    // The device handle is closed when the launch returns; the registration stays with the queue.
    CVLNdisHandle ndis;
    if (static_cast<HANDLE>(ndis) == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    m_pLauncher = this;

    m_hMsgQueue = vela_notify::CreateNotificationQueue(kNdisMessageSize);
    if (m_hMsgQueue == nullptr) {
        CleanupNdisNotificationThread();
        return FALSE;
    }

    // The platform's request: a pointer-wide queue handle and the mask.
    NDISUIO_REQUEST_NOTIFICATION request{};
    request.hMsgQueue = m_hMsgQueue;
    request.dwNotificationTypes = 0x0000FFFF;
    DWORD returned = 0;
    if (!DeviceIoControl(ndis, IOCTL_NDISUIO_REQUEST_NOTIFICATION, &request, sizeof request, nullptr, 0,
                         &returned, nullptr)) {
        CleanupNdisNotificationThread();
        return FALSE;
    }

    m_hStopEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    if (m_hStopEvent == nullptr) {
        CleanupNdisNotificationThread();
        return FALSE;
    }

    m_hThread = CreateThread(nullptr, 0, &CVLNfNetNotify::NdisNotificationThreadProc, this, 0, nullptr);
    if (m_hThread == nullptr) {
        CleanupNdisNotificationThread();
        return FALSE;
    }
    return TRUE;
}

void CVLNfNetNotify::CleanupNdisNotificationThread() {
    if (m_pLauncher != nullptr && m_pLauncher != this) {
        // A copy: the handles belong to the object that launched them.
        m_hMsgQueue = nullptr;
        m_hThread = nullptr;
        m_hStopEvent = nullptr;
        std::atomic_ref<UINT>(m_nTimerID).store(0);
        return;
    }
    // The thread is stopped before the queue is closed: it must never wait on or read a handle
    // that is gone (or already stands for another object).
    vela_notify::StopNotifierThread(m_hThread, m_hStopEvent);
    KillPollTimer(m_nTimerID);
    if (m_hMsgQueue != nullptr) {
        CloseMsgQueue(m_hMsgQueue);
        m_hMsgQueue = nullptr;
    }
    m_pLauncher = nullptr;
}

DWORD CVLNfNetNotify::NdisNotificationThreadProc(void* notifier) {
    auto* self = static_cast<CVLNfNetNotify*>(notifier);
    const HANDLE handles[2] = {self->m_hMsgQueue, self->m_hStopEvent};
    for (;;) {
        if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) {
            return 0;  // the stop event, or a failed wait
        }
        // The content is not examined: any notification means "look again". The reads do not
        // wait: a message that comes later signals the queue again, and a waiting read would
        // keep the stop event unseen for as long as it waits.
        BYTE message[kNdisMessageSize];
        DWORD read = 0;
        DWORD flags = 0;
        while (ReadMsgQueue(handles[0], message, sizeof message, &read, 0, &flags)) {
            if (vela_notify::StopRequested(handles[1])) {
                return 0;
            }
            self->OnConnectionChanged();
            self->ResetNetTimer();
        }
    }
}

void CVLNfNetNotify::OnNetTimerCallback() {
    const BOOL bConnected = m_network.IsConnected();
    TRACE(u"CVLNfNetNotify::OnNetTimerCallback( bConnected=%d, m_bConnected=%d, m_bConnectOnly=%d )\n", bConnected,
          m_bConnected, m_bConnectOnly);
    if (bConnected != m_bConnected || !m_bConnectOnly) {
        m_bConnected = bConnected;
        OnConnectionChanged();
    }
}

void CVLNfNetNotify::NetTimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    TRACE(u"CVLNfNetNotify::NetTimerProc()\n");
    auto* self = reinterpret_cast<CVLNfNetNotify*>(user);
    self->OnNetTimerCallback();
    self->ResetNetTimer();
}

void CVLNfNetNotify::ResetNetTimer() {
    [[maybe_unused]] const UINT id = std::atomic_ref<UINT>(m_nTimerID).load();  // only traced
    KillPollTimer(m_nTimerID);
    TRACE(u"CVLNfNetNotify::ResetNetTimer( %d )\n", id);
}

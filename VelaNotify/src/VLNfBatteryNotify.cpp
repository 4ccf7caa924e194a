// The battery notifier: a thread that turns power-information messages into status records.
#include "VLNfBatteryNotify.h"


#include "NotifierThread.h"
#include "PowerInfoMessage.h"

CVLNfBatteryNotify::CVLNfBatteryNotify()
    : m_hMsgQueue(nullptr), m_hPowerNotify(nullptr), m_hThread(nullptr), m_hStopEvent(nullptr), m_pLauncher(nullptr) {}

CVLNfBatteryNotify::CVLNfBatteryNotify(const CVLNfBatteryNotify& other)
    : m_power(other.m_power),
      m_hMsgQueue(other.m_hMsgQueue),
      m_hPowerNotify(other.m_hPowerNotify),
      m_hThread(other.m_hThread),
      m_hStopEvent(other.m_hStopEvent),
      m_pLauncher(other.m_pLauncher) {}

CVLNfBatteryNotify& CVLNfBatteryNotify::operator=(const CVLNfBatteryNotify& other) {
    if (this == &other) {
        return *this;
    }
    // Overwriting the handles of a thread this object runs would leave it running unowned.
    CleanupBatteryNotificationThread();
    m_power = other.m_power;
    m_hMsgQueue = other.m_hMsgQueue;
    m_hPowerNotify = other.m_hPowerNotify;
    m_hThread = other.m_hThread;
    m_hStopEvent = other.m_hStopEvent;
    m_pLauncher = other.m_pLauncher;
    return *this;
}

CVLNfBatteryNotify::~CVLNfBatteryNotify() {
    CleanupBatteryNotificationThread();
}

void CVLNfBatteryNotify::OnBatteryChanged(SYSTEM_POWER_STATUS_EX*) {}

BOOL CVLNfBatteryNotify::LaunchBatteryNotificationThread() {
    if (m_hMsgQueue != nullptr) {
        return TRUE;
    }
    m_pLauncher = this;

    m_hMsgQueue = vela_notify::CreateNotificationQueue(vela_notify::kPowerInfoMessageSize);
    if (m_hMsgQueue != nullptr) {
        m_hPowerNotify = RequestPowerNotifications(m_hMsgQueue, PBT_POWERINFOCHANGE);
    }
    if (m_hPowerNotify != nullptr) {
        m_hStopEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    }
    if (m_hStopEvent != nullptr) {
        m_hThread = CreateThread(nullptr, 0, &CVLNfBatteryNotify::BatteryNotificationThreadProc, this, 0, nullptr);
    }
    if (m_hThread == nullptr) {
        CleanupBatteryNotificationThread();
        return FALSE;
    }
    return TRUE;
}

void CVLNfBatteryNotify::CleanupBatteryNotificationThread() {
    if (m_pLauncher != nullptr && m_pLauncher != this) {
        // A copy: the handles belong to the object that launched them.
        m_hMsgQueue = nullptr;
        m_hPowerNotify = nullptr;
        m_hThread = nullptr;
        m_hStopEvent = nullptr;
        return;
    }
    // The thread is stopped before the queue is closed: it must never wait on or read a handle
    // that is gone (or already stands for another object).
    vela_notify::StopNotifierThread(m_hThread, m_hStopEvent);
    if (m_hPowerNotify != nullptr) {
        StopPowerNotifications(m_hPowerNotify);
        m_hPowerNotify = nullptr;
    }
    if (m_hMsgQueue != nullptr) {
        CloseMsgQueue(m_hMsgQueue);
        m_hMsgQueue = nullptr;
    }
    m_pLauncher = nullptr;
}

DWORD CVLNfBatteryNotify::BatteryNotificationThreadProc(void* notifier) {
    auto* self = static_cast<CVLNfBatteryNotify*>(notifier);
    const HANDLE handles[2] = {self->m_hMsgQueue, self->m_hStopEvent};
    for (;;) {
        if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) {
            return 0;  // the stop event, or a failed wait
        }
        // The reads do not wait: a message that comes later signals the queue again, and a
        // waiting read would keep the stop event unseen for as long as it waits.
        BYTE message[vela_notify::kPowerInfoMessageSize];
        DWORD read = 0;
        DWORD flags = 0;
        while (ReadMsgQueue(handles[0], message, sizeof message, &read, 0, &flags)) {
            if (vela_notify::StopRequested(handles[1])) {
                return 0;
            }
            SYSTEM_POWER_STATUS_EX status;
            if (vela_notify::ReadPowerInfoMessage(message, read, status)) {
                self->OnBatteryChanged(&status);
            }
        }
    }
}

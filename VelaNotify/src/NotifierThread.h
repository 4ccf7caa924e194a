// What the network and battery notifiers share about their threads: the queue they read, the
// stop check between messages, and the stop itself.
#pragma once

#include <windows.h>
#include <msgqueue.h>

namespace vela_notify {

// An unnamed queue opened for reading, with no limit on the number of messages.
inline HANDLE CreateNotificationQueue(DWORD maxMessage) {
    MSGQUEUEOPTIONS options{};
    options.dwSize = sizeof options;
    options.dwFlags = 0;
    options.dwMaxMessages = 0;
    options.cbMaxMessage = maxMessage;
    options.bReadAccess = TRUE;
    return CreateMsgQueue(nullptr, &options);
}

// The wait gives the queue precedence over the stop event, so a thread that keeps finding
// messages asks for the stop between them: a busy queue must not keep the clean-up waiting.
inline bool StopRequested(HANDLE stopEvent) {
    return WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
}

// Signals the stop, waits for the thread to end and closes both handles; a stop event without
// a thread is closed as well. Both are cleared. Never call it from the thread itself.
inline void StopNotifierThread(HANDLE& thread, HANDLE& stopEvent) {
    if (thread != nullptr) {
        SetEvent(stopEvent);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
    if (stopEvent != nullptr) {
        CloseHandle(stopEvent);
        stopEvent = nullptr;
    }
}

}  // namespace vela_notify

// Shared by the notifier threads: the wait gives the queue precedence over the stop event, so a
// thread that keeps finding messages asks for the stop between them; a busy queue must not keep
// the clean-up waiting.
#pragma once

#include <windows.h>

namespace vela_notify {

inline bool StopRequested(HANDLE stopEvent) {
    return WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
}

}  // namespace vela_notify

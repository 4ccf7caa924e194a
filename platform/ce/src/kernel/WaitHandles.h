// The handle side of the waits: from handles to waitable objects, with the platform's checks,
// and the wait on objects or the calling thread's message input (MsgWaitForMultipleObjects).
#pragma once

#include <wintypes.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kernel/Waitable.h"

namespace vela::kernel {

// The objects of nCount handles; false with the last error set (ERROR_INVALID_PARAMETER for a
// bad count or an object named twice in a wait-all, ERROR_INVALID_HANDLE for a handle that is
// not waitable). nCount 0 is allowed only when allowNone.
bool LookupForWait(DWORD nCount, const HANDLE* handles, bool waitAll, bool allowNone,
                   std::vector<std::shared_ptr<Waitable>>& objects);

// WAIT_OBJECT_0 + i as WaitForMultipleObjects, WAIT_OBJECT_0 + objects.size() when input is
// there (objects come first), or WAIT_TIMEOUT. Before each round inputReady is asked (no lock
// held); it tells whether input is there, and may move wakeAt earlier (a window timer falls
// due then). alarm is the one the thread's message queue interrupts when input arrives.
DWORD WaitForObjectsOrInput(const std::vector<std::shared_ptr<Waitable>>& objects, bool waitAll, DWORD milliseconds,
                            clock::Alarm& alarm, const std::function<bool(std::uint64_t& wakeAt)>& inputReady);

}  // namespace vela::kernel

#include "kernel/WaitHandles.h"

#include <synchapi.h>
#include <winbase.h>
#include <vela/Clock.h>

#include <algorithm>

#include "kernel/HandleTable.h"
#include "kernel/ThreadObject.h"

namespace vela::kernel {

bool LookupForWait(DWORD nCount, const HANDLE* handles, bool waitAll, bool allowNone,
                   std::vector<std::shared_ptr<Waitable>>& objects) {
  if ((nCount == 0 && !allowNone) || nCount > MAXIMUM_WAIT_OBJECTS || (nCount > 0 && handles == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  objects.clear();
  objects.reserve(nCount);
  for (DWORD i = 0; i < nCount; ++i) {
    // The shared pointer keeps the object alive while another thread closes its handle.
    objects.push_back(std::dynamic_pointer_cast<Waitable>(LookupHandle(handles[i])));
    if (!objects.back()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return false;
    }
  }
  if (waitAll) {
    // Taking all signals at once has no meaning for an object named twice.
    for (DWORD i = 1; i < nCount; ++i) {
      if (std::find(objects.begin(), objects.begin() + i, objects[i]) != objects.begin() + i) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
      }
    }
  }
  return true;
}

DWORD WaitForObjectsOrInput(const std::vector<std::shared_ptr<Waitable>>& objects, bool waitAll, DWORD milliseconds,
                            clock::Alarm& alarm, const std::function<bool(std::uint64_t& wakeAt)>& inputReady) {
  const std::uint64_t deadline = DeadlineAfter(milliseconds);
  // No objects: only input ends the wait (an empty wait-all would be satisfied at once).
  waitAll = waitAll && !objects.empty();
  for (;;) {
    CancellationPoint();
    std::uint64_t wakeAt = deadline;
    const bool input = inputReady(wakeAt);
    const DWORD result = WaitOnObjects(objects, waitAll, input ? 0 : std::min(wakeAt, deadline), alarm);
    if (result < objects.size()) {
      return result;
    }
    if (input) {
      return static_cast<DWORD>(WAIT_OBJECT_0 + objects.size());
    }
    if (result == WAIT_TIMEOUT && clock::Tick() >= deadline) {
      return WAIT_TIMEOUT;
    }
  }
}

}  // namespace vela::kernel

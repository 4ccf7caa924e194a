// WaitForSingleObject and WaitForMultipleObjects over the waitable kernel objects.
#include <synchapi.h>
#include <winbase.h>

#include "kernel/WaitHandles.h"

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL fWaitAll, DWORD dwMilliseconds) {
  std::vector<std::shared_ptr<vela::kernel::Waitable>> objects;
  if (!vela::kernel::LookupForWait(nCount, lpHandles, fWaitAll != FALSE, false, objects)) {
    return WAIT_FAILED;
  }
  return vela::kernel::WaitForObjects(objects, fWaitAll != FALSE, dwMilliseconds);
}

// WaitForSingleObject over the waitable kernel objects.
#include <winbase.h>

#include "kernel/HandleTable.h"
#include "kernel/Waitable.h"

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  std::shared_ptr<vela::kernel::KernelObject> object = vela::kernel::LookupHandle(hHandle);
  auto* waitable = dynamic_cast<vela::kernel::Waitable*>(object.get());
  if (!waitable) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  // The shared pointer keeps the object alive while another thread closes its handle.
  return waitable->Wait(dwMilliseconds);
}

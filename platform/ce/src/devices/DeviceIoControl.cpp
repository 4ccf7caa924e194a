#include <winbase.h>

#include "devices/DeviceObject.h"
#include "kernel/HandleTable.h"

BOOL DeviceIoControl(HANDLE hDevice, DWORD dwIoControlCode, LPVOID lpInBuffer, DWORD nInBufferSize,
                     LPVOID lpOutBuffer, DWORD nOutBufferSize, LPDWORD lpBytesReturned,
                     LPOVERLAPPED lpOverlapped) {
  std::shared_ptr<vela::kernel::KernelObject> object = vela::kernel::LookupHandle(hDevice);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (object->Kind() != vela::devices::DeviceObject::kKind) {
    SetLastError(ERROR_NOT_SUPPORTED);  // files and other objects take no control codes
    return FALSE;
  }
  if (lpOverlapped) {
    SetLastError(ERROR_INVALID_PARAMETER);  // no overlapped I/O on the terminal
    return FALSE;
  }
  DWORD returned = 0;
  const BOOL ok = static_cast<vela::devices::DeviceObject&>(*object).IoControl(
      dwIoControlCode, lpInBuffer, nInBufferSize, lpOutBuffer, nOutBufferSize, returned);
  if (lpBytesReturned) {
    *lpBytesReturned = ok ? returned : 0;
  }
  return ok;
}

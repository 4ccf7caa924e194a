// CloseHandle and DuplicateHandle over the one handle table.
#include <handleapi.h>
#include <processthreadsapi.h>

#include "kernel/HandleTable.h"

BOOL CloseHandle(HANDLE hObject) {
  if (hObject == GetCurrentProcess() || hObject == GetCurrentThread()) {
    return TRUE;  // pseudo-handles are never really open
  }
  std::shared_ptr<vela::kernel::KernelObject> object = vela::kernel::RemoveHandle(hObject);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  object->HandleClosed();
  return TRUE;
}

BOOL DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle,
                     HANDLE hTargetProcessHandle, LPHANDLE lpTargetHandle,
                     DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions) {
  if (hSourceProcessHandle != GetCurrentProcess() || hTargetProcessHandle != GetCurrentProcess()) {
    SetLastError(ERROR_INVALID_HANDLE);  // only handles of the calling process can be copied
    return FALSE;
  }
  if (!lpTargetHandle || (dwOptions & ~(DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS)) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::shared_ptr<vela::kernel::KernelObject> object =
      (dwOptions & DUPLICATE_CLOSE_SOURCE) ? vela::kernel::RemoveHandle(hSourceHandle)
                                           : vela::kernel::LookupHandle(hSourceHandle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  HANDLE copy = vela::kernel::InsertHandle(std::move(object));
  if (!copy) {
    SetLastError(ERROR_TOO_MANY_OPEN_FILES);
    return FALSE;
  }
  *lpTargetHandle = copy;
  return TRUE;
}

// Events, unnamed and named within the process.
#include <synchapi.h>
#include <winbase.h>

#include "kernel/EventObject.h"
#include "kernel/HandleTable.h"
#include "kernel/NamedObjects.h"

using vela::kernel::EventObject;

namespace {

vela::kernel::NameSpace<EventObject>& EventNames() {
  static auto* names = new vela::kernel::NameSpace<EventObject>;
  return *names;
}

HANDLE NewHandle(std::shared_ptr<EventObject> event) {
  HANDLE handle = vela::kernel::InsertHandle(std::move(event));
  if (handle == nullptr) {
    SetLastError(ERROR_TOO_MANY_OPEN_FILES);
  }
  return handle;
}

template <class Action>
BOOL OnEvent(HANDLE hEvent, Action action) {
  auto event = vela::kernel::LookupHandleAs<EventObject>(hEvent);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  action(*event);
  return TRUE;
}

}  // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                    LPCWSTR lpName) {
  if (lpEventAttributes != nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto make = [&] { return std::make_shared<EventObject>(bManualReset != FALSE, bInitialState != FALSE); };
  if (lpName == nullptr || *lpName == 0) {
    HANDLE handle = NewHandle(make());
    if (handle != nullptr) {
      SetLastError(ERROR_SUCCESS);
    }
    return handle;
  }
  auto [event, existed] = EventNames().FindOrAdd(lpName, make);
  HANDLE handle = NewHandle(std::move(event));
  if (handle != nullptr) {
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  }
  return handle;
}

HANDLE OpenEventW(DWORD /*dwDesiredAccess*/, BOOL bInheritHandle, LPCWSTR lpName) {
  if (bInheritHandle || lpName == nullptr || *lpName == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto event = EventNames().Find(lpName);
  if (!event) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  return NewHandle(std::move(event));
}

BOOL SetEvent(HANDLE hEvent) {
  return OnEvent(hEvent, [](EventObject& e) { e.Set(); });
}

BOOL ResetEvent(HANDLE hEvent) {
  return OnEvent(hEvent, [](EventObject& e) { e.Clear(); });
}

BOOL PulseEvent(HANDLE hEvent) {
  return OnEvent(hEvent, [](EventObject& e) { e.Pulse(); });
}

// The process's one table of kernel handles. A handle is a slot number and a generation
// packed into a small value; freed slots go to the back of a queue and their generation
// moves on, so a closed handle's value does not come back for a long time and using it
// fails instead of reaching a newer object. Thread-safe.
#pragma once

#include <wintypes.h>

#include <memory>

#include "kernel/KernelObject.h"

namespace vela::kernel {

// A new handle for the object, or NULL when the table is full.
HANDLE InsertHandle(std::shared_ptr<KernelObject> object);

// The object of an open handle, or null.
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);

// Whether the handle is open and names the object. Takes no reference, so it is safe under
// locks that an object's destructor takes.
bool HandleNames(HANDLE handle, const KernelObject* object);

// The object of an open handle of the given kind, or null.
template <class T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle) {
  std::shared_ptr<KernelObject> object = LookupHandle(handle);
  if (!object || object->Kind() != T::kKind) {
    return nullptr;
  }
  return std::static_pointer_cast<T>(object);
}

// Takes the object out of the table; null when the handle was not open. The object ends
// when the returned pointer and any call still using it let go.
std::shared_ptr<KernelObject> RemoveHandle(HANDLE handle);

}  // namespace vela::kernel

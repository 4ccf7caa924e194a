// The base of every object a handle can name. Each kind (file, search, and later event,
// thread, message queue, process) derives from it; the object lives while a handle or a
// running call holds it, so CloseHandle on one thread never pulls it from under another.
#pragma once

namespace vela::kernel {

enum class ObjectKind { File, Search, Event, Thread, Process, MessageQueue, Device };

class KernelObject {
 public:
  virtual ~KernelObject() = default;
  virtual ObjectKind Kind() const = 0;
  // One of the object's handles was closed (the object may live on through others).
  virtual void HandleClosed() {}
};

}  // namespace vela::kernel

// The platform's services write their notifications straight into a caller's point-to-point
// message queue, without an end of their own (so a reader still sees its queue broken when its
// writers go); once the queue has no reader left the service drops the registration.
#pragma once

#include <windows.h>

#include <memory>

namespace vela::kernel {
class MessageQueue;
}

namespace vela::notify {

class QueueWriter {
 public:
  // The queue that callerQueue (either end) names, or null with ERROR_INVALID_HANDLE.
  static std::unique_ptr<QueueWriter> Open(HANDLE callerQueue);

  // Writes without waiting; a full queue or a message too long for it loses this message only.
  // False when nobody reads the queue any more.
  bool Write(const void* bytes, DWORD size);

  // The same for every handle of one queue.
  const void* Identity() const { return queue_.get(); }

 private:
  explicit QueueWriter(std::shared_ptr<kernel::MessageQueue> queue) : queue_(std::move(queue)) {}
  std::shared_ptr<kernel::MessageQueue> queue_;
};

}  // namespace vela::notify

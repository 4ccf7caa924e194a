#include "notify/QueueWriter.h"

#include "kernel/MessageQueueObject.h"

namespace vela::notify {

std::unique_ptr<QueueWriter> QueueWriter::Open(HANDLE callerQueue) {
  std::shared_ptr<kernel::MessageQueue> queue = kernel::QueueOfHandle(callerQueue);
  if (!queue) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return std::unique_ptr<QueueWriter>(new QueueWriter(std::move(queue)));
}

bool QueueWriter::Write(const void* bytes, DWORD size) {
  if (!kernel::QueueHasReaders(queue_)) {
    return false;
  }
  kernel::WriteToQueue(queue_, bytes, size);
  return true;
}

}  // namespace vela::notify

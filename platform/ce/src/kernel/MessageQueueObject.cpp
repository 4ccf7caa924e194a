#include "kernel/MessageQueueObject.h"

#include <algorithm>
#include <cstring>

#include "kernel/HandleTable.h"

namespace vela::kernel {

void MessageQueue::PushLocked(const void* data, DWORD size, DWORD flags) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  Message message{std::vector<unsigned char>(bytes, bytes + size), flags};
  if (flags & MSGQUEUE_MSGALERT) {
    messages_.insert(messages_.begin() + static_cast<std::ptrdiff_t>(alerts_), std::move(message));
    ++alerts_;
  } else {
    messages_.push_back(std::move(message));
  }
  highWater_ = std::max(highWater_, static_cast<DWORD>(messages_.size()));
  ChangedLocked();
}

void MessageQueue::PopLocked() {
  messages_.pop_front();
  if (alerts_ > 0) {
    --alerts_;
  }
  ChangedLocked();
}

void MessageQueue::FillInfoLocked(MSGQUEUEINFO& info) const {
  info.dwFlags = flags_;
  info.dwMaxMessages = maxMessages_;
  info.cbMaxMessage = maxMessageBytes_;
  info.dwCurrentMessages = static_cast<DWORD>(messages_.size());
  info.dwMaxQueueMessages = highWater_;
  info.wNumReaders = readers_;
  info.wNumWriters = writers_;
}

void MessageQueue::AttachLocked(MessageQueueEnd* end) {
  ends_.push_back(end);
  ++(end->Reads() ? readers_ : writers_);
}

void MessageQueue::DetachLocked(MessageQueueEnd* end) {
  std::erase(ends_, end);
  --(end->Reads() ? readers_ : writers_);
  // The other side may now be broken: its waits look again.
  for (MessageQueueEnd* other : ends_) {
    other->InterruptWaitersLocked();
  }
}

void MessageQueue::ChangedLocked() {
  for (MessageQueueEnd* end : ends_) {
    end->ReleaseWaitersLocked();
  }
}

MessageQueueEnd::MessageQueueEnd(std::shared_ptr<MessageQueue> queue, bool reads)
    : queue_(std::move(queue)), reads_(reads) {
  std::lock_guard lock(WaitLock());
  queue_->AttachLocked(this);
}

MessageQueueEnd::~MessageQueueEnd() {
  std::lock_guard lock(WaitLock());
  queue_->DetachLocked(this);
}

bool MessageQueueEnd::IsSignalledLocked() const {
  return reads_ ? queue_->HasMessagesLocked() : queue_->HasRoomLocked();
}

void MessageQueueEnd::HandleClosed() {
  // A read or write blocked on the closed handle fails instead of waiting on.
  std::lock_guard lock(WaitLock());
  InterruptWaitersLocked();
}

std::shared_ptr<MessageQueue> QueueOfHandle(HANDLE handle) {
  auto end = LookupHandleAs<MessageQueueEnd>(handle);
  return end ? end->Queue() : nullptr;
}

bool WriteToQueue(const std::shared_ptr<MessageQueue>& queue, const void* data, DWORD size, DWORD flags) {
  if (!queue || size > queue->MaxMessageBytes() || (size > 0 && data == nullptr)) {
    return false;
  }
  std::lock_guard lock(WaitLock());
  if (queue->NoReadersLocked() || !queue->HasRoomLocked()) {
    return false;
  }
  queue->PushLocked(data, size, flags);
  return true;
}

bool QueueHasReaders(const std::shared_ptr<MessageQueue>& queue) {
  if (!queue) {
    return false;
  }
  std::lock_guard lock(WaitLock());
  MSGQUEUEINFO info{};
  queue->FillInfoLocked(info);
  return info.wNumReaders > 0;
}

}  // namespace vela::kernel

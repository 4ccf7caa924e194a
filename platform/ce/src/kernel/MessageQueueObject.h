// Point-to-point message queues. The queue itself is shared by its ends; each handle of
// CreateMsgQueue/OpenMsgQueue names one end, a reader or a writer. A reading end is signalled
// while a message is queued, a writing end while there is room. Queue state lives under the
// kernel's one wait lock, so waits on several objects see it consistently.
//
// Platform code that posts notifications into an application's queue (power, network) keeps a
// MessageQueue pointer: it stays valid after the application closes its handles, and writes
// through it fail once no reader is left.
#pragma once

#include <msgqueue.h>

#include <deque>
#include <memory>
#include <vector>

#include "kernel/Waitable.h"

namespace vela::kernel {

class MessageQueue;

// The queue an end's handle belongs to (either end), or null for any other handle.
std::shared_ptr<MessageQueue> QueueOfHandle(HANDLE handle);

// Writes one message without waiting, as a writer handle would; wakes the readers. False (and
// nothing written) when the message is longer than cbMaxMessage, the queue is full or it has no
// reader left. A platform writer is not a writer end: it never keeps a reader from seeing a
// broken queue.
bool WriteToQueue(const std::shared_ptr<MessageQueue>& queue, const void* data, DWORD size, DWORD flags = 0);

// Whether a reading end of the queue is still open.
bool QueueHasReaders(const std::shared_ptr<MessageQueue>& queue);

class MessageQueueEnd;

class MessageQueue {
 public:
  struct Message {
    std::vector<unsigned char> data;
    DWORD flags;
  };

  MessageQueue(DWORD flags, DWORD maxMessages, DWORD maxMessageBytes)
      : flags_(flags), maxMessages_(maxMessages), maxMessageBytes_(maxMessageBytes) {}

  // All below under WaitLock.
  bool HasMessagesLocked() const { return !messages_.empty(); }
  bool HasRoomLocked() const { return maxMessages_ == 0 || messages_.size() < maxMessages_; }
  bool AllowsBroken() const { return (flags_ & MSGQUEUE_ALLOW_BROKEN) != 0; }
  bool NoReadersLocked() const { return readers_ == 0 && !AllowsBroken(); }
  bool NoWritersLocked() const { return writers_ == 0 && !AllowsBroken(); }
  // Alerts are read before ordinary messages, in their own order.
  void PushLocked(const void* data, DWORD size, DWORD flags);
  std::deque<Message>& MessagesLocked() { return messages_; }
  void PopLocked();
  void FillInfoLocked(MSGQUEUEINFO& info) const;
  void AttachLocked(MessageQueueEnd* end);
  void DetachLocked(MessageQueueEnd* end);

  DWORD MaxMessageBytes() const { return maxMessageBytes_; }

 private:
  // Every end looks again: readers for a message or a lost writer, writers for room.
  void ChangedLocked();

  const DWORD flags_;
  const DWORD maxMessages_;
  const DWORD maxMessageBytes_;
  std::deque<Message> messages_;
  std::size_t alerts_ = 0;  // messages at the front that are alerts
  DWORD highWater_ = 0;
  WORD readers_ = 0;
  WORD writers_ = 0;
  std::vector<MessageQueueEnd*> ends_;
};

class MessageQueueEnd : public Waitable {
 public:
  static constexpr ObjectKind kKind = ObjectKind::MessageQueue;
  ObjectKind Kind() const override { return kKind; }

  MessageQueueEnd(std::shared_ptr<MessageQueue> queue, bool reads);
  ~MessageQueueEnd() override;

  bool IsSignalledLocked() const override;
  void HandleClosed() override;

  const std::shared_ptr<MessageQueue>& Queue() const { return queue_; }
  bool Reads() const { return reads_; }

 private:
  const std::shared_ptr<MessageQueue> queue_;
  const bool reads_;
};

}  // namespace vela::kernel

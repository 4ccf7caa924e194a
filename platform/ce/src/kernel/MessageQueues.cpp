// The message queue functions over MessageQueue and its ends.
#include <handleapi.h>
#include <msgqueue.h>
#include <processthreadsapi.h>
#include <winbase.h>
#include <vela/Clock.h>

#include <cstring>

#include "kernel/HandleTable.h"
#include "kernel/MessageQueueObject.h"
#include "kernel/NamedObjects.h"
#include "kernel/ThreadObject.h"

using vela::kernel::MessageQueue;
using vela::kernel::MessageQueueEnd;

namespace {

vela::kernel::NameSpace<MessageQueue>& QueueNames() {
  static auto* names = new vela::kernel::NameSpace<MessageQueue>;
  return *names;
}

HANDLE NewEnd(std::shared_ptr<MessageQueue> queue, bool reads) {
  HANDLE handle = vela::kernel::InsertHandle(std::make_shared<MessageQueueEnd>(std::move(queue), reads));
  if (handle == nullptr) {
    SetLastError(ERROR_TOO_MANY_OPEN_FILES);
  }
  return handle;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Waits on the end until the queue changes, the time passes, or the handle is closed.
enum class Waited { Changed, TimedOut, HandleClosed };

template <class GiveUp>
Waited WaitOnEnd(HANDLE handle, const std::shared_ptr<MessageQueueEnd>& end, std::uint64_t deadline,
                 GiveUp giveUp) {
  vela::kernel::CancellationPoint();
  const std::shared_ptr<vela::kernel::Waitable> objects[1] = {end};
  auto handleGone = [&] { return !vela::kernel::HandleNames(handle, end.get()); };
  const DWORD result = vela::kernel::WaitOnObjects(objects, false, deadline, vela::kernel::CurrentThreadAlarm(),
                                                   [&] { return giveUp() || handleGone(); });
  if (handleGone()) {
    return Waited::HandleClosed;
  }
  return result == WAIT_TIMEOUT ? Waited::TimedOut : Waited::Changed;
}

}  // namespace

HANDLE CreateMsgQueue(LPCWSTR lpszName, LPMSGQUEUEOPTIONS lpOptions) {
  if (lpOptions == nullptr || lpOptions->dwSize != sizeof(MSGQUEUEOPTIONS) ||
      (lpOptions->dwFlags & ~DWORD{MSGQUEUE_NOPRECOMMIT | MSGQUEUE_ALLOW_BROKEN}) != 0 ||
      lpOptions->cbMaxMessage == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto make = [&] {
    return std::make_shared<MessageQueue>(lpOptions->dwFlags, lpOptions->dwMaxMessages, lpOptions->cbMaxMessage);
  };
  const bool reads = lpOptions->bReadAccess != FALSE;
  if (lpszName == nullptr || *lpszName == 0) {
    HANDLE handle = NewEnd(make(), reads);
    if (handle != nullptr) {
      SetLastError(ERROR_SUCCESS);
    }
    return handle;
  }
  auto [queue, existed] = QueueNames().FindOrAdd(lpszName, make);
  HANDLE handle = NewEnd(std::move(queue), reads);
  if (handle != nullptr) {
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  }
  return handle;
}

HANDLE OpenMsgQueue(HANDLE hSrcProc, HANDLE hMsgQ, LPMSGQUEUEOPTIONS lpOptions) {
  if (lpOptions == nullptr || lpOptions->dwSize != sizeof(MSGQUEUEOPTIONS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::shared_ptr<MessageQueue> queue = vela::kernel::QueueOfHandle(hMsgQ);
  if (!queue || (hSrcProc != GetCurrentProcess() && hSrcProc != reinterpret_cast<HANDLE>(
                                                                     static_cast<uintptr_t>(GetCurrentProcessId())))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return NewEnd(std::move(queue), lpOptions->bReadAccess != FALSE);
}

BOOL ReadMsgQueue(HANDLE hMsgQ, LPVOID lpBuffer, DWORD cbBufferSize, LPDWORD lpNumberOfBytesRead, DWORD dwTimeout,
                  DWORD* pdwFlags) {
  auto end = vela::kernel::LookupHandleAs<MessageQueueEnd>(hMsgQ);
  if (!end) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  if (!end->Reads()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  if ((lpBuffer == nullptr && cbBufferSize > 0) || lpNumberOfBytesRead == nullptr) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  MessageQueue& queue = *end->Queue();
  const std::uint64_t deadline = vela::kernel::DeadlineAfter(dwTimeout);
  for (;;) {
    {
      std::lock_guard lock(vela::kernel::WaitLock());
      if (queue.HasMessagesLocked()) {
        MessageQueue::Message& front = queue.MessagesLocked().front();
        const DWORD size = static_cast<DWORD>(front.data.size());
        if (size > cbBufferSize) {
          *lpNumberOfBytesRead = size;  // what a buffer must hold; the message stays queued
          return Fail(ERROR_INSUFFICIENT_BUFFER);
        }
        if (size > 0) {
          std::memcpy(lpBuffer, front.data.data(), size);
        }
        *lpNumberOfBytesRead = size;
        if (pdwFlags != nullptr) {
          *pdwFlags = front.flags;
        }
        queue.PopLocked();
        return TRUE;
      }
      // Nothing left and nobody to write more: the queue is broken.
      if (queue.NoWritersLocked()) {
        return Fail(ERROR_PIPE_NOT_CONNECTED);
      }
    }
    switch (WaitOnEnd(hMsgQ, end, deadline, [&] { return queue.NoWritersLocked(); })) {
      case Waited::HandleClosed:
        return Fail(ERROR_INVALID_HANDLE);
      case Waited::TimedOut: {
        std::lock_guard lock(vela::kernel::WaitLock());
        if (!queue.HasMessagesLocked()) {
          return Fail(ERROR_TIMEOUT);
        }
        break;
      }
      case Waited::Changed:
        break;
    }
  }
}

BOOL WriteMsgQueue(HANDLE hMsgQ, LPVOID lpBuffer, DWORD cbDataSize, DWORD dwTimeout, DWORD dwFlags) {
  auto end = vela::kernel::LookupHandleAs<MessageQueueEnd>(hMsgQ);
  if (!end) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  if (end->Reads()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  if ((lpBuffer == nullptr && cbDataSize > 0) || (dwFlags & ~DWORD{MSGQUEUE_MSGALERT}) != 0) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  MessageQueue& queue = *end->Queue();
  if (cbDataSize > queue.MaxMessageBytes()) {
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  const std::uint64_t deadline = vela::kernel::DeadlineAfter(dwTimeout);
  for (;;) {
    {
      std::lock_guard lock(vela::kernel::WaitLock());
      if (queue.NoReadersLocked()) {
        return Fail(ERROR_PIPE_NOT_CONNECTED);
      }
      if (queue.HasRoomLocked()) {
        queue.PushLocked(lpBuffer, cbDataSize, dwFlags);
        return TRUE;
      }
      if (dwTimeout == 0) {
        return Fail(ERROR_OUTOFMEMORY);
      }
    }
    switch (WaitOnEnd(hMsgQ, end, deadline, [&] { return queue.NoReadersLocked(); })) {
      case Waited::HandleClosed:
        return Fail(ERROR_INVALID_HANDLE);
      case Waited::TimedOut: {
        std::lock_guard lock(vela::kernel::WaitLock());
        if (!queue.HasRoomLocked()) {
          return Fail(ERROR_TIMEOUT);
        }
        break;
      }
      case Waited::Changed:
        break;
    }
  }
}

BOOL GetMsgQueueInfo(HANDLE hMsgQ, LPMSGQUEUEINFO lpInfo) {
  std::shared_ptr<MessageQueue> queue = vela::kernel::QueueOfHandle(hMsgQ);
  if (!queue) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  if (lpInfo == nullptr || lpInfo->dwSize != sizeof(MSGQUEUEINFO)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  std::lock_guard lock(vela::kernel::WaitLock());
  queue->FillInfoLocked(*lpInfo);
  return TRUE;
}

BOOL CloseMsgQueue(HANDLE hMsgQ) {
  if (!vela::kernel::LookupHandleAs<MessageQueueEnd>(hMsgQ)) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  return CloseHandle(hMsgQ);
}

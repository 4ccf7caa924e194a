#include "kernel/Waitable.h"

#include <minwinbase.h>
#include <winbase.h>
#include <vela/Clock.h>

#include <algorithm>
#include <limits>

#include "kernel/HandleTable.h"
#include "kernel/ThreadObject.h"

namespace vela::kernel {

std::mutex& WaitLock() {
  static auto* lock = new std::mutex;  // used by threads that outlive static destruction
  return *lock;
}

// A thread's wait, on its stack while it waits; registered with each object it names.
struct WaitBlock {
  std::span<const std::shared_ptr<Waitable>> objects;
  bool waitAll;
  clock::Alarm* alarm;
  DWORD result = WAIT_TIMEOUT;
  bool done = false;

  bool TrySatisfyLocked() {
    if (waitAll) {
      for (const auto& object : objects) {
        if (!object->IsSignalledLocked()) {
          return false;
        }
      }
      for (const auto& object : objects) {
        object->ConsumeLocked();
      }
      result = WAIT_OBJECT_0;
      return true;
    }
    for (size_t i = 0; i < objects.size(); ++i) {
      if (objects[i]->IsSignalledLocked()) {
        objects[i]->ConsumeLocked();
        result = static_cast<DWORD>(WAIT_OBJECT_0 + i);
        return true;
      }
    }
    return false;
  }

  // An object named twice (wait-any) is registered once.
  bool FirstMention(size_t i) const {
    return std::find(objects.begin(), objects.begin() + static_cast<std::ptrdiff_t>(i), objects[i]) ==
           objects.begin() + static_cast<std::ptrdiff_t>(i);
  }

  void AttachLocked() {
    for (size_t i = 0; i < objects.size(); ++i) {
      if (FirstMention(i)) {
        objects[i]->waiters_.push_back(this);
      }
    }
  }

  void DetachLocked() {
    for (size_t i = 0; i < objects.size(); ++i) {
      if (FirstMention(i)) {
        auto& waiters = objects[i]->waiters_;
        waiters.erase(std::find(waiters.begin(), waiters.end(), this));
      }
    }
  }
};

void Waitable::ReleaseWaitersLocked() {
  size_t i = 0;
  while (i < waiters_.size() && IsSignalledLocked()) {
    WaitBlock* block = waiters_[i];
    if (!block->TrySatisfyLocked()) {
      ++i;
      continue;
    }
    block->DetachLocked();  // also from this object: index i now names the next waiter
    block->done = true;
    // The waiter cannot leave before this lock is free, so the block and its alarm stay valid.
    block->alarm->Interrupt();
  }
}

void Waitable::InterruptWaitersLocked() {
  for (WaitBlock* block : waiters_) {
    block->alarm->Interrupt();
  }
}

void Waitable::Signal() {
  std::lock_guard lock(WaitLock());
  signalled_ = true;
  ReleaseWaitersLocked();
}

void Waitable::Reset() {
  std::lock_guard lock(WaitLock());
  signalled_ = false;
}

std::size_t WaitersOf(HANDLE handle) {
  auto object = std::dynamic_pointer_cast<Waitable>(LookupHandle(handle));
  if (!object) {
    return 0;
  }
  std::lock_guard lock(WaitLock());
  return object->WaiterCountLocked();
}

std::uint64_t DeadlineAfter(DWORD milliseconds) {
  return milliseconds == INFINITE ? std::numeric_limits<std::uint64_t>::max() : clock::Tick() + milliseconds;
}

DWORD WaitOnObjects(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll, std::uint64_t deadline,
                    clock::Alarm& alarm, const std::function<bool()>& giveUp) {
  WaitBlock block{objects, waitAll, &alarm};
  {
    std::lock_guard lock(WaitLock());
    if (block.TrySatisfyLocked()) {
      return block.result;
    }
    if (clock::Tick() >= deadline) {
      return WAIT_TIMEOUT;
    }
    if (giveUp && giveUp()) {
      return kWaitWoken;
    }
    block.AttachLocked();
  }
  // A hand-off between the look above and this wait is kept by the alarm as an interrupt.
  const bool timedOut = alarm.WaitUntil(deadline);
  std::lock_guard lock(WaitLock());
  if (block.done) {
    return block.result;
  }
  block.DetachLocked();
  return timedOut ? WAIT_TIMEOUT : kWaitWoken;
}

DWORD WaitForObjects(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll, DWORD milliseconds) {
  const std::uint64_t deadline = DeadlineAfter(milliseconds);
  clock::Alarm& alarm = CurrentThreadAlarm();
  for (;;) {
    CancellationPoint();
    const DWORD result = WaitOnObjects(objects, waitAll, deadline, alarm);
    if (result != kWaitWoken) {
      return result;
    }
  }
}

}  // namespace vela::kernel

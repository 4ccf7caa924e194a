#include "mmtimer/TimerQueue.h"

#include <vela/Clock.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <map>
#include <mutex>
#include <thread>

namespace vela::mmtimer {
namespace {

struct Timer {
  std::uint64_t due;
  std::uint64_t period;  // 0: one-shot
  LPTIMECALLBACK proc;
  DWORD_PTR user;
  std::uint64_t order;  // timers due at the same tick fire in the order they were set
};

class TimerQueue {
 public:
  UINT Add(UINT delay, LPTIMECALLBACK proc, DWORD_PTR user, bool periodic) {
    std::unique_lock lock(mutex_);
    StartThreadLocked();
    const UINT id = NextIdLocked();
    timers_[id] = Timer{clock::Tick() + delay, periodic ? delay : 0, proc, user, ++order_};
    lock.unlock();
    alarm_.Interrupt();  // the thread may sleep towards a later deadline
    return id;
  }

  bool Remove(UINT id) {
    std::unique_lock lock(mutex_);
    if (timers_.erase(id) == 0) {
      return false;
    }
    // A callback (on the timer thread) never waits for itself or another.
    if (std::this_thread::get_id() != threadId_) {
      changed_.wait(lock, [&] { return running_ != id; });
    }
    return true;
  }

  void WaitUntilIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return IdleLocked(); });
  }

  bool IsIdle() {
    std::lock_guard lock(mutex_);
    return IdleLocked();
  }

 private:
  bool IdleLocked() { return running_ == 0 && NextDueLocked(clock::Tick()) == timers_.end(); }

  // Ids are never 0 and come back only after the counter went round.
  UINT NextIdLocked() {
    do {
      ++lastId_;
    } while (lastId_ == 0 || lastId_ == running_ || timers_.count(lastId_) != 0);
    return lastId_;
  }

  // The timer due first at or before now, or end().
  std::map<UINT, Timer>::iterator NextDueLocked(std::uint64_t now) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      const Timer& t = it->second;
      if (t.due <= now && (next == timers_.end() || t.due < next->second.due ||
                           (t.due == next->second.due && t.order < next->second.order))) {
        next = it;
      }
    }
    return next;
  }

  std::uint64_t EarliestLocked() const {
    std::uint64_t earliest = std::numeric_limits<std::uint64_t>::max();
    for (const auto& [id, timer] : timers_) {
      earliest = std::min(earliest, timer.due);
    }
    return earliest;
  }

  void StartThreadLocked() {
    if (started_) {
      return;
    }
    started_ = true;
    // Detached and never stopped: a timer may still be set while the process exits.
    std::thread thread([this] { Run(); });
    threadId_ = thread.get_id();
    thread.detach();
  }

  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (auto next = NextDueLocked(clock::Tick()); next != timers_.end()) {
        const UINT id = next->first;
        Timer& timer = next->second;
        const LPTIMECALLBACK proc = timer.proc;
        const DWORD_PTR user = timer.user;
        const bool periodic = timer.period != 0;
        if (periodic) {
          timer.due += timer.period;  // the next multiple, however late this one is
        }
        running_ = id;
        lock.unlock();
        proc(id, 0, user, 0, 0);
        lock.lock();
        running_ = 0;
        if (!periodic) {
          timers_.erase(id);  // kept while its callback ran, so a kill from there is valid
        }
        changed_.notify_all();
        continue;
      }
      changed_.notify_all();  // idle now
      const std::uint64_t deadline = EarliestLocked();
      lock.unlock();
      alarm_.WaitUntil(deadline);
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<UINT, Timer> timers_;
  UINT lastId_ = 0;
  std::uint64_t order_ = 0;
  UINT running_ = 0;
  bool started_ = false;
  std::thread::id threadId_;
  clock::Alarm alarm_;
};

TimerQueue& TheQueue() {
  static auto* queue = new TimerQueue;  // the timer thread uses it until the process ends
  return *queue;
}

}  // namespace

UINT Add(UINT delay, LPTIMECALLBACK proc, DWORD_PTR user, bool periodic) {
  return TheQueue().Add(delay, proc, user, periodic);
}

bool Remove(UINT id) { return TheQueue().Remove(id); }

void WaitUntilIdle() { TheQueue().WaitUntilIdle(); }
bool IsIdle() { return TheQueue().IsIdle(); }

}  // namespace vela::mmtimer

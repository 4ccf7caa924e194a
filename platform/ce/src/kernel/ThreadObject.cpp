#include "kernel/ThreadObject.h"

#include <pthread.h>

#include "kernel/ThreadActivity.h"

namespace vela::kernel {
namespace {

// Registered first on a thread of CreateThread, so it is destroyed last: the handle is
// signalled after the thread's other thread-local clean-up (its message queue, its windows).
struct ThreadEnd {
  std::shared_ptr<ThreadObject> self;
  ~ThreadEnd() {
    if (self) {
      self->Finish();
    }
  }
};

thread_local ThreadEnd t_end;

}  // namespace

ThreadObject::ThreadObject(LPTHREAD_START_ROUTINE start, LPVOID parameter, bool suspended)
    : start_(start), parameter_(parameter), suspendCount_(suspended ? 1 : 0) {
  // Counted from now, before the host thread exists, so no look sees it settled before it ran.
  if (!suspended) {
    counted_.store(true);
    activity::Busy();
  }
}

void ThreadObject::Uncount() {
  if (counted_.exchange(false)) {
    activity::Idle();
  }
}

void StartThreadObject(std::shared_ptr<ThreadObject> self) {
  activity::CountCurrentThread();
  t_end.self = std::move(self);
  t_end.self->Run();
}

void ThreadObject::Run() {
  {
    std::unique_lock lock(mutex_);
    id_ = GetCurrentThreadId();
    changed_.notify_all();
    changed_.wait(lock, [&] { return suspendCount_ == 0 || terminate_.load(); });
  }
  if (terminate_.load()) {
    return;  // terminated before it was resumed: the routine never runs
  }
  pendingCode_.store(start_(parameter_));
}

DWORD ThreadObject::WaitForId() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return id_ != 0; });
  return id_;
}

DWORD ThreadObject::Resume() {
  std::lock_guard lock(mutex_);
  const DWORD previous = suspendCount_;
  if (suspendCount_ > 0 && --suspendCount_ == 0) {
    if (!counted_.exchange(true)) {
      activity::Busy();
    }
    changed_.notify_all();
  }
  return previous;
}

bool ThreadObject::RequestTermination(DWORD code) {
  if (finished_.load()) {
    return false;
  }
  {
    std::lock_guard lock(mutex_);
    if (!terminate_.load()) {
      terminateCode_.store(code);
      terminate_.store(true);
    }
    changed_.notify_all();  // a suspended thread ends without running
  }
  alarm_.Interrupt();  // a thread blocked in a platform wait ends at once
  return true;
}

void ThreadObject::Finish() {
  Uncount();
  exitCode_.store(terminate_.load() ? terminateCode_.load() : pendingCode_.load());
  finished_.store(true);
  Signal();
}

clock::Alarm& CurrentThreadAlarm() {
  if (t_end.self) {
    return t_end.self->WaitAlarm();
  }
  thread_local clock::Alarm alarm;
  return alarm;
}

ThreadObject* CurrentThreadObject() { return t_end.self.get(); }

std::shared_ptr<ThreadObject> CurrentThreadObjectShared() { return t_end.self; }

void CancellationPoint() {
  ThreadObject* self = t_end.self.get();
  if (self && self->TerminationRequested()) {
    pthread_exit(nullptr);  // unwinds the stack; ThreadEnd then signals the handle
  }
}

}  // namespace vela::kernel

// A thread made by CreateThread. Its handle is signalled once the thread has ended, after the
// thread's own clean-up (its message queue and windows) has run. TerminateThread cannot stop a
// host thread from outside; it marks the thread, which ends at its next platform wait (or at
// once if it is blocked in one).
#pragma once

#include <processthreadsapi.h>
#include <vela/Clock.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "kernel/Waitable.h"

namespace vela::kernel {

class ThreadObject : public Waitable {
 public:
  static constexpr ObjectKind kKind = ObjectKind::Thread;
  ObjectKind Kind() const override { return kKind; }

  ThreadObject(LPTHREAD_START_ROUTINE start, LPVOID parameter, bool suspended);

  // Runs on the new thread: publishes the id, waits while suspended, runs the routine.
  void Run();
  // The id, once the new thread has published it (CreateThread waits for that).
  DWORD WaitForId();
  // Previous suspend count.
  DWORD Resume();
  // Marks the thread for ending with code; false when it has ended already.
  bool RequestTermination(DWORD code);
  // Called once the thread's clean-up is done: the handle becomes signalled.
  void Finish();
  // Takes the thread off the count of threads with work (it ended, or never started).
  void Uncount();

  // STILL_ACTIVE until the handle is signalled.
  DWORD ExitCode() const { return exitCode_.load(); }
  // The code the thread ends with (ExitThread; TerminateThread's code wins).
  void SetPendingExitCode(DWORD code) { pendingCode_.store(code); }
  bool TerminationRequested() const { return terminate_.load(); }
  DWORD TerminationCode() const { return terminateCode_.load(); }
  int Priority() const { return priority_.load(); }
  void SetPriority(int priority) { priority_.store(priority); }
  // The thread's waits sleep on this alarm, so TerminateThread can wake them.
  clock::Alarm& WaitAlarm() { return alarm_; }

 private:
  const LPTHREAD_START_ROUTINE start_;
  const LPVOID parameter_;
  std::mutex mutex_;
  std::condition_variable changed_;
  DWORD id_ = 0;
  DWORD suspendCount_;
  std::atomic<DWORD> exitCode_{STILL_ACTIVE};
  std::atomic<DWORD> pendingCode_{0};
  std::atomic<bool> terminate_{false};
  std::atomic<DWORD> terminateCode_{0};
  std::atomic<bool> finished_{false};
  std::atomic<bool> counted_{false};  // on the count of threads with work (kernel/ThreadActivity.h)
  std::atomic<int> priority_{THREAD_PRIORITY_NORMAL};
  clock::Alarm alarm_;
};

// Runs on the new host thread: makes it the thread of self, then runs it.
void StartThreadObject(std::shared_ptr<ThreadObject> self);
// The alarm the calling thread's platform waits sleep on.
clock::Alarm& CurrentThreadAlarm();
// The calling thread's object when CreateThread made it, else null.
ThreadObject* CurrentThreadObject();
std::shared_ptr<ThreadObject> CurrentThreadObjectShared();
// Ends the calling thread here if TerminateThread marked it (never holding a lock).
void CancellationPoint();

}  // namespace vela::kernel

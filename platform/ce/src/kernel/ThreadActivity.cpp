#include "kernel/ThreadActivity.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace vela::kernel::activity {
namespace {

struct Activity {
  std::mutex mutex;
  std::condition_variable settled;
  long busy = 0;
  bool lastWaitTimedOut = false;
};

Activity& TheActivity() {
  static auto* activity = new Activity;  // never destroyed: threads may end during exit
  return *activity;
}

thread_local bool t_counted = false;

// A thread that stays busy outside the platform's waits still lets a step go on this soon.
constexpr std::chrono::milliseconds kShortWaitAfterTimeOut{10};

}  // namespace

void Busy() {
  Activity& a = TheActivity();
  std::lock_guard lock(a.mutex);
  ++a.busy;
}

void Idle() {
  Activity& a = TheActivity();
  std::lock_guard lock(a.mutex);
  if (--a.busy == 0) a.settled.notify_all();
}

void CountCurrentThread() { t_counted = true; }
bool IsCurrentThreadCounted() { return t_counted; }

bool WaitUntilSettled(std::chrono::milliseconds timeout) {
  Activity& a = TheActivity();
  std::unique_lock lock(a.mutex);
  const auto bound = a.lastWaitTimedOut ? std::min(timeout, kShortWaitAfterTimeOut) : timeout;
  const bool settled = a.settled.wait_for(lock, bound, [&] { return a.busy <= 0; });
  a.lastWaitTimedOut = !settled;
  return settled;
}

bool IsSettled() {
  Activity& a = TheActivity();
  std::lock_guard lock(a.mutex);
  return a.busy <= 0;
}

}  // namespace vela::kernel::activity

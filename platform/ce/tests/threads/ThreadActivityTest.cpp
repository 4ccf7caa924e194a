// The count of application threads with work: a look that finds them settled must come after
// everything a wake-up gave them to do, however slowly the host schedules them.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "Watchdog.h"
#include "kernel/ThreadActivity.h"

namespace {

using namespace std::chrono_literals;
using vela::kernel::activity::IsSettled;
using vela::kernel::activity::WaitUntilSettled;

struct Worker {
  HANDLE go = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  std::atomic<int> rounds{0};

  // Each wake-up is work that takes a while before the thread waits again.
  static DWORD WINAPI Run(LPVOID p) {
    auto* self = static_cast<Worker*>(p);
    for (;;) {
      std::this_thread::sleep_for(20ms);
      if (self->rounds.fetch_add(1) == 2) return 0;
      WaitForSingleObject(self->go, INFINITE);
    }
  }
};

TEST(ThreadActivity, SettledComesAfterTheWorkEachWakeUpGave) {
  vela::test::Watchdog dog("settling");
  ASSERT_TRUE(WaitUntilSettled(5s));
  Worker worker;
  HANDLE thread = CreateThread(nullptr, 0, Worker::Run, &worker, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  // Counted from its creation: its first round is done before it counts as settled.
  ASSERT_TRUE(WaitUntilSettled(5s));
  EXPECT_EQ(worker.rounds.load(), 1);
  // Counted again from the moment of the signal, not from when the host runs it.
  SetEvent(worker.go);
  EXPECT_FALSE(IsSettled());
  ASSERT_TRUE(WaitUntilSettled(5s));
  EXPECT_EQ(worker.rounds.load(), 2);
  SetEvent(worker.go);
  ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(IsSettled());  // an ended thread has no work
  CloseHandle(thread);
  CloseHandle(worker.go);
}

TEST(ThreadActivity, ASuspendedThreadCountsOnlyOnceResumed) {
  vela::test::Watchdog dog("suspended");
  Worker worker;
  HANDLE thread = CreateThread(nullptr, 0, Worker::Run, &worker, CREATE_SUSPENDED, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(WaitUntilSettled(5s));
  ResumeThread(thread);
  ASSERT_TRUE(WaitUntilSettled(5s));
  EXPECT_EQ(worker.rounds.load(), 1);
  // Terminated in its wait: it ends and leaves the count as it found it.
  TerminateThread(thread, 7);
  ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(WaitUntilSettled(5s));
  CloseHandle(thread);
  CloseHandle(worker.go);
}

}  // namespace

// Threads, and events and waits with threads against each other.
#include <windows.h>
#include <vela/Clock.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Watchdog.h"
#include "kernel/Waitable.h"

namespace {

using namespace std::chrono_literals;
using vela::test::Watchdog;

constexpr DWORD kMarker = 0xdeadbeef;

// Until n threads block on the handle (they register before they sleep).
void AwaitWaiters(HANDLE h, std::size_t n) {
  while (vela::kernel::WaitersOf(h) < n) {
    std::this_thread::yield();
  }
}

struct Shared {
  HANDLE event = nullptr;
  std::atomic<int> passed{0};
  std::atomic<DWORD> id{0};
};

DWORD WaitThenCount(LPVOID p) {
  auto* s = static_cast<Shared*>(p);
  if (WaitForSingleObject(s->event, INFINITE) == WAIT_OBJECT_0) {
    ++s->passed;
  }
  return 0;
}

std::vector<HANDLE> StartWaiters(Shared& s, int n) {
  std::vector<HANDLE> threads;
  for (int i = 0; i < n; ++i) {
    threads.push_back(CreateThread(nullptr, 0, WaitThenCount, &s, 0, nullptr));
  }
  AwaitWaiters(s.event, static_cast<std::size_t>(n));
  return threads;
}

void JoinAll(std::vector<HANDLE>& threads) {
  for (HANDLE t : threads) {
    EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
    CloseHandle(t);
  }
  threads.clear();
}

TEST(KernelThread, RunsWithItsIdAndEndsWithItsCode) {
  Watchdog dog("thread start");
  Shared s;
  DWORD id = 0;
  HANDLE t = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        static_cast<Shared*>(p)->id = GetCurrentThreadId();
        return 42;
      },
      &s, 0, &id);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(s.id.load(), id);
  EXPECT_NE(id, GetCurrentThreadId());
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(t, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_EQ(WaitForSingleObject(t, 0), WAIT_OBJECT_0) << "an ended thread stays signalled";
  EXPECT_TRUE(CloseHandle(t));
}

TEST(KernelThread, SuspendedThreadRunsOnResume) {
  Watchdog dog("suspended thread");
  Shared s;
  HANDLE t = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        ++static_cast<Shared*>(p)->passed;
        return 7;
      },
      &s, CREATE_SUSPENDED, nullptr);
  ASSERT_NE(t, nullptr);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(t, &code));
  EXPECT_EQ(code, DWORD{STILL_ACTIVE});
  EXPECT_EQ(WaitForSingleObject(t, 0), DWORD{WAIT_TIMEOUT});
  EXPECT_EQ(s.passed.load(), 0);
  EXPECT_EQ(ResumeThread(t), 1u);
  EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(s.passed.load(), 1);
  EXPECT_EQ(ResumeThread(t), 0u);
  CloseHandle(t);
}

TEST(KernelThread, BadArgumentsAndHandles) {
  SetLastError(kMarker);
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
  HANDLE e = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  DWORD code = kMarker;
  SetLastError(kMarker);
  EXPECT_FALSE(GetExitCodeThread(e, &code));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
  SetLastError(kMarker);
  EXPECT_FALSE(TerminateThread(e, 1));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
  EXPECT_EQ(ResumeThread(e), 0xFFFFFFFFu);
  CloseHandle(e);
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
  SetLastError(kMarker);
  EXPECT_FALSE(SetThreadPriority(GetCurrentThread(), 8));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

struct Unwound {
  std::atomic<bool>* flag;
  ~Unwound() { *flag = true; }
};

struct ExitShared {
  std::atomic<bool> unwound{false};
  HANDLE never = nullptr;
};

TEST(KernelThread, ExitThreadUnwindsAndSetsTheCode) {
  Watchdog dog("ExitThread");
  ExitShared s;
  HANDLE t = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        Unwound guard{&static_cast<ExitShared*>(p)->unwound};
        ExitThread(5);
      },
      &s, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(t, &code);
  EXPECT_EQ(code, 5u);
  EXPECT_TRUE(s.unwound.load());
  CloseHandle(t);
}

// The kit stops a notifier thread that is blocked in a wait: it ends there, its stack unwound.
TEST(KernelThread, TerminateEndsThreadBlockedInWait) {
  Watchdog dog("TerminateThread");
  ExitShared s;
  s.never = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE t = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* shared = static_cast<ExitShared*>(p);
        Unwound guard{&shared->unwound};
        WaitForMultipleObjects(1, &shared->never, FALSE, INFINITE);
        return 1;
      },
      &s, 0, nullptr);
  AwaitWaiters(s.never, 1);
  EXPECT_TRUE(TerminateThread(t, 99));
  ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(t, &code);
  EXPECT_EQ(code, 99u);
  EXPECT_TRUE(s.unwound.load());
  EXPECT_EQ(vela::kernel::WaitersOf(s.never), 0u) << "the ended wait left the event";
  // Terminating an ended thread succeeds and leaves its code alone.
  EXPECT_TRUE(TerminateThread(t, 100));
  GetExitCodeThread(t, &code);
  EXPECT_EQ(code, 99u);
  CloseHandle(t);
  CloseHandle(s.never);
}

TEST(KernelThread, TerminatedSuspendedThreadNeverRuns) {
  Watchdog dog("terminate suspended");
  Shared s;
  HANDLE t = CreateThread(nullptr, 0, WaitThenCount, &s, CREATE_SUSPENDED, nullptr);
  EXPECT_TRUE(TerminateThread(t, 3));
  ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(t, &code);
  EXPECT_EQ(code, 3u);
  CloseHandle(t);
}

// The window layer's queue works on a thread of CreateThread: a message sent from here is
// answered there, and its windows go when it ends.
TEST(KernelThread, WindowThreadAnswersSentMessages) {
  Watchdog dog("window thread");
  struct Ctx {
    HANDLE ready;
    std::atomic<HWND> hwnd{nullptr};
  } ctx{CreateEvent(nullptr, TRUE, FALSE, nullptr)};
  HANDLE t = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* c = static_cast<Ctx*>(p);
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
          if (m == WM_APP) {
            return static_cast<LRESULT>(GetCurrentThreadId());
          }
          if (m == WM_DESTROY) {
            PostQuitMessage(0);
          }
          return DefWindowProcW(h, m, w, l);
        };
        wc.lpszClassName = u"KernelThreadTestWindow";
        RegisterClassW(&wc);
        c->hwnd = CreateWindowExW(0, wc.lpszClassName, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
        SetEvent(c->ready);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
          DispatchMessageW(&msg);
        }
        return 0;
      },
      &ctx, 0, nullptr);
  DWORD id = 0;
  ASSERT_EQ(WaitForSingleObject(ctx.ready, INFINITE), WAIT_OBJECT_0);
  HWND hwnd = ctx.hwnd.load();
  ASSERT_NE(hwnd, nullptr);
  id = GetWindowThreadProcessId(hwnd, nullptr);
  EXPECT_EQ(static_cast<DWORD>(SendMessageW(hwnd, WM_APP, 0, 0)), id);
  EXPECT_NE(id, GetCurrentThreadId());
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  EXPECT_FALSE(IsWindow(hwnd));
  CloseHandle(t);
  CloseHandle(ctx.ready);
}

TEST(KernelEventThreads, AutoResetReleasesExactlyOneWaiter) {
  Watchdog dog("auto-reset release");
  Shared s;
  s.event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  auto threads = StartWaiters(s, 3);
  for (int released = 1; released <= 3; ++released) {
    SetEvent(s.event);
    AwaitWaiters(s.event, static_cast<std::size_t>(3 - released));
    while (s.passed.load() < released) {
      std::this_thread::yield();
    }
    EXPECT_EQ(vela::kernel::WaitersOf(s.event), static_cast<std::size_t>(3 - released));
    EXPECT_EQ(WaitForSingleObject(s.event, 0), DWORD{WAIT_TIMEOUT}) << "the waiter took the signal";
  }
  JoinAll(threads);
  CloseHandle(s.event);
}

TEST(KernelEventThreads, ManualResetAndPulseReleaseEveryWaiterPresent) {
  Watchdog dog("manual release");
  for (BOOL pulse : {FALSE, TRUE}) {
    Shared s;
    s.event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    auto threads = StartWaiters(s, 4);
    pulse ? PulseEvent(s.event) : SetEvent(s.event);
    JoinAll(threads);
    EXPECT_EQ(s.passed.load(), 4);
    EXPECT_EQ(WaitForSingleObject(s.event, 0), pulse ? DWORD{WAIT_TIMEOUT} : WAIT_OBJECT_0);
    CloseHandle(s.event);
  }
}

TEST(KernelEventThreads, PulseOfAutoResetReleasesOneWaiter) {
  Watchdog dog("auto pulse");
  Shared s;
  s.event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  auto threads = StartWaiters(s, 2);
  PulseEvent(s.event);
  while (s.passed.load() < 1) {
    std::this_thread::yield();
  }
  EXPECT_EQ(vela::kernel::WaitersOf(s.event), 1u);
  EXPECT_EQ(s.passed.load(), 1);
  SetEvent(s.event);
  JoinAll(threads);
  CloseHandle(s.event);
}

// A wait-all blocked on two auto-reset events takes neither until both are set, even while
// a wait-any on the first keeps looking.
TEST(KernelEventThreads, WaitAllTakesBothAtOnce) {
  Watchdog dog("wait-all");
  struct Ctx {
    HANDLE pair[2];
    std::atomic<DWORD> result{kMarker};
  } ctx{{CreateEvent(nullptr, FALSE, FALSE, nullptr), CreateEvent(nullptr, FALSE, FALSE, nullptr)}};
  HANDLE t = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* c = static_cast<Ctx*>(p);
        c->result = WaitForMultipleObjects(2, c->pair, TRUE, INFINITE);
        return 0;
      },
      &ctx, 0, nullptr);
  AwaitWaiters(ctx.pair[1], 1);
  SetEvent(ctx.pair[0]);
  EXPECT_EQ(WaitForSingleObject(ctx.pair[0], 0), WAIT_OBJECT_0) << "wait-all must not hold a partial signal";
  SetEvent(ctx.pair[0]);
  SetEvent(ctx.pair[1]);
  ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ctx.result.load(), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForMultipleObjects(2, ctx.pair, FALSE, 0), DWORD{WAIT_TIMEOUT});
  CloseHandle(t);
  CloseHandle(ctx.pair[0]);
  CloseHandle(ctx.pair[1]);
}

// On the manual clock a waiting thread times out exactly when the clock passes its deadline.
TEST(KernelEventThreads, TimeoutFollowsManualClock) {
  Watchdog dog("manual time-out");
  vela::clock::UseManual(SYSTEMTIME{2010, 8, 3, 4, 0, 0, 0, 0});
  struct Ctx {
    HANDLE event;
    std::atomic<DWORD> result{kMarker};
  } ctx{CreateEvent(nullptr, TRUE, FALSE, nullptr)};
  HANDLE t = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* c = static_cast<Ctx*>(p);
        c->result = WaitForSingleObject(c->event, 10000);
        return 0;
      },
      &ctx, 0, nullptr);
  AwaitWaiters(ctx.event, 1);
  vela::clock::Advance(9999ms);
  EXPECT_EQ(WaitForSingleObject(t, 0), DWORD{WAIT_TIMEOUT});
  EXPECT_EQ(ctx.result.load(), kMarker);
  vela::clock::Advance(1ms);
  ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ctx.result.load(), DWORD{WAIT_TIMEOUT});
  vela::clock::UseHost();
  CloseHandle(t);
  CloseHandle(ctx.event);
}

// A handle closed while another thread waits on it: the object lives on for that wait.
TEST(KernelEventThreads, CloseDuringWaitKeepsObjectForTheWaiter) {
  Watchdog dog("close during wait");
  Shared s;
  s.event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE other = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), s.event, GetCurrentProcess(), &other, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  auto threads = StartWaiters(s, 1);
  CloseHandle(s.event);
  SetEvent(other);
  JoinAll(threads);
  EXPECT_EQ(s.passed.load(), 1);
  CloseHandle(other);
}

// A thread blocked in MsgWaitForMultipleObjects wakes for a message posted to it, and on the
// manual clock for its window timer falling due.
TEST(KernelMsgWaitThreads, WakesForPostedMessageAndTimer) {
  Watchdog dog("MsgWaitForMultipleObjects");
  vela::clock::UseManual(SYSTEMTIME{2010, 8, 3, 4, 0, 0, 0, 0});
  struct Ctx {
    HANDLE ready = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    HANDLE never = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    std::atomic<DWORD> first{kMarker};
    std::atomic<DWORD> second{kMarker};
  } ctx;
  DWORD id = 0;
  HANDLE t = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* c = static_cast<Ctx*>(p);
        MSG m;
        PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
        SetEvent(c->ready);
        c->first = MsgWaitForMultipleObjects(1, &c->never, FALSE, INFINITE, QS_POSTMESSAGE);
        PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);
        SetTimer(nullptr, 1, 1000, nullptr);
        SetEvent(c->ready);
        c->second = MsgWaitForMultipleObjects(1, &c->never, FALSE, INFINITE, QS_TIMER);
        return 0;
      },
      &ctx, 0, &id);
  ASSERT_EQ(WaitForSingleObject(ctx.ready, INFINITE), WAIT_OBJECT_0);
  AwaitWaiters(ctx.never, 1);
  ASSERT_TRUE(PostThreadMessageW(id, WM_APP, 0, 0));
  ASSERT_EQ(WaitForSingleObject(ctx.ready, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ctx.first.load(), WAIT_OBJECT_0 + 1);
  AwaitWaiters(ctx.never, 1);
  vela::clock::Advance(999ms);
  EXPECT_EQ(WaitForSingleObject(t, 0), DWORD{WAIT_TIMEOUT});
  vela::clock::Advance(1ms);
  ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ctx.second.load(), WAIT_OBJECT_0 + 1);
  vela::clock::UseHost();
  CloseHandle(t);
  CloseHandle(ctx.ready);
  CloseHandle(ctx.never);
}

TEST(KernelCriticalSectionThreads, ExcludesOtherThreads) {
  Watchdog dog("critical section");
  struct Ctx {
    CRITICAL_SECTION cs;
    long counter = 0;
    std::atomic<bool> tried{false};
    std::atomic<BOOL> tryResult{TRUE};
  } ctx;
  InitializeCriticalSection(&ctx.cs);
  EnterCriticalSection(&ctx.cs);
  std::thread probe([&] {
    ctx.tryResult = TryEnterCriticalSection(&ctx.cs);
    ctx.tried = true;
  });
  probe.join();
  EXPECT_FALSE(ctx.tryResult.load());
  LeaveCriticalSection(&ctx.cs);

  auto work = [](LPVOID p) -> DWORD {
    auto* c = static_cast<Ctx*>(p);
    for (int i = 0; i < 2000; ++i) {
      EnterCriticalSection(&c->cs);
      EnterCriticalSection(&c->cs);
      ++c->counter;
      LeaveCriticalSection(&c->cs);
      LeaveCriticalSection(&c->cs);
    }
    return 0;
  };
  HANDLE ts[4];
  for (HANDLE& t : ts) {
    t = CreateThread(nullptr, 0, work, &ctx, 0, nullptr);
  }
  EXPECT_EQ(WaitForMultipleObjects(4, ts, TRUE, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ctx.counter, 8000);
  for (HANDLE t : ts) {
    CloseHandle(t);
  }
  DeleteCriticalSection(&ctx.cs);
}

}  // namespace

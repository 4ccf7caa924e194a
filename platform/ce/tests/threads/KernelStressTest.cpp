// Many short rounds of the kernel objects against each other: races and lost wake-ups show
// here as hangs (caught by the watchdog) or as reports of the thread sanitizer.
#include <windows.h>
#include <mmsystem.h>
#include <vela/Clock.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Watchdog.h"
#include "mmtimer/TimerQueue.h"

namespace {

using namespace std::chrono_literals;
using vela::test::Watchdog;

TEST(KernelStress, CreateSignalWaitCloseAcrossThreads) {
  Watchdog dog("create/signal/wait/close");
  for (int round = 0; round < 300; ++round) {
    HANDLE go = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    HANDLE t = CreateThread(
        nullptr, 0, [](LPVOID p) -> DWORD { return WaitForSingleObject(static_cast<HANDLE>(p), INFINITE); }, go, 0,
        nullptr);
    ASSERT_NE(t, nullptr);
    // Sometimes before the wait begins, sometimes during it.
    if (round % 2) {
      std::this_thread::yield();
    }
    SetEvent(go);
    ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeThread(t, &code);
    ASSERT_EQ(code, WAIT_OBJECT_0) << round;
    CloseHandle(go);
    CloseHandle(t);
  }
}

TEST(KernelStress, PingPongNeverLosesASignal) {
  Watchdog dog("ping-pong");
  struct Ctx {
    HANDLE ping = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    HANDLE pong = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  } ctx;
  constexpr int kRounds = 2000;
  HANDLE t = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* c = static_cast<Ctx*>(p);
        for (int i = 0; i < kRounds; ++i) {
          if (WaitForSingleObject(c->ping, INFINITE) != WAIT_OBJECT_0) {
            return 1;
          }
          SetEvent(c->pong);
        }
        return 0;
      },
      &ctx, 0, nullptr);
  for (int i = 0; i < kRounds; ++i) {
    SetEvent(ctx.ping);
    ASSERT_EQ(WaitForSingleObject(ctx.pong, INFINITE), WAIT_OBJECT_0);
  }
  ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  CloseHandle(t);
  CloseHandle(ctx.ping);
  CloseHandle(ctx.pong);
}

// Two threads take pairs of auto-reset events with wait-all while a third sets them: every
// set pair is taken whole by exactly one of them.
TEST(KernelStress, WaitAllUnderContention) {
  Watchdog dog("wait-all contention");
  struct Ctx {
    HANDLE pair[2] = {CreateEvent(nullptr, FALSE, FALSE, nullptr), CreateEvent(nullptr, FALSE, FALSE, nullptr)};
    HANDLE stop = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> taken{0};
  } ctx;
  auto taker = [](LPVOID p) -> DWORD {
    auto* c = static_cast<Ctx*>(p);
    for (;;) {
      const DWORD r = WaitForMultipleObjects(2, c->pair, TRUE, 0);
      if (r == WAIT_OBJECT_0) {
        ++c->taken;
      } else if (WaitForSingleObject(c->stop, 0) == WAIT_OBJECT_0) {
        return 0;
      } else {
        std::this_thread::yield();
      }
    }
  };
  HANDLE a = CreateThread(nullptr, 0, taker, &ctx, 0, nullptr);
  HANDLE b = CreateThread(nullptr, 0, taker, &ctx, 0, nullptr);
  constexpr int kPairs = 300;
  for (int i = 0; i < kPairs; ++i) {
    SetEvent(ctx.pair[i % 2]);
    SetEvent(ctx.pair[(i + 1) % 2]);
    while (ctx.taken.load() <= i) {
      std::this_thread::yield();
    }
  }
  SetEvent(ctx.stop);
  HANDLE both[2] = {a, b};
  ASSERT_EQ(WaitForMultipleObjects(2, both, TRUE, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ctx.taken.load(), kPairs);
  for (HANDLE h : {a, b, ctx.pair[0], ctx.pair[1], ctx.stop}) {
    CloseHandle(h);
  }
}

// Timers killed while the clock runs on another thread: once timeKillEvent has returned, the
// callback is not running and never runs again.
struct TimerProbe {
  std::atomic<bool> inside{false};
  std::atomic<bool> killed{false};
  std::atomic<bool> lateCall{false};
  std::atomic<int> calls{0};
};

void Probe(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* p = reinterpret_cast<TimerProbe*>(user);
  if (p->killed.load()) {
    p->lateCall = true;
  }
  p->inside = true;
  ++p->calls;
  for (int i = 0; i < 100; ++i) {
    std::this_thread::yield();
  }
  p->inside = false;
}

TEST(KernelStress, TimerKillWhileFiring) {
  Watchdog dog("timer kill");
  vela::clock::UseManual(SYSTEMTIME{2010, 8, 3, 4, 0, 0, 0, 0});
  std::atomic<bool> running{true};
  std::thread clockThread([&] {
    while (running.load()) {
      vela::clock::Advance(1ms);
      std::this_thread::yield();
    }
  });
  int fired = 0;
  for (int round = 0; round < 200; ++round) {
    TimerProbe probe;
    const UINT id = timeSetEvent(1 + round % 3, 0, Probe, reinterpret_cast<DWORD_PTR>(&probe), TIME_PERIODIC);
    ASSERT_NE(id, 0u);
    while (probe.calls.load() < 1 + round % 2) {
      std::this_thread::yield();
    }
    ASSERT_EQ(timeKillEvent(id), UINT{TIMERR_NOERROR});
    EXPECT_FALSE(probe.inside.load()) << "kill returned while the callback ran";
    probe.killed = true;
    for (int i = 0; i < 20; ++i) {
      std::this_thread::yield();
    }
    EXPECT_FALSE(probe.lateCall.load()) << "callback ran after its kill";
    fired += probe.calls.load();
    vela::mmtimer::WaitUntilIdle();  // the probe leaves scope: nothing may still use it
  }
  running = false;
  clockThread.join();
  vela::clock::UseHost();
  EXPECT_GE(fired, 200);
}

}  // namespace
